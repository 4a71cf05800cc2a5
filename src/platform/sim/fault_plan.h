#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_error.h"

namespace px::sim {

// How an operation's failure shows: a status code the caller gets back (the registry's, the
// spooler's), or an HRESULT inside a SystemError's text ("0x80041069").
enum class FaultCode { kStatus, kHresult };

// A platform operation that a machine may make fail, and the failures Windows documents for it.
struct FaultableCall {
  std::string_view call;              // the name machine.toml gives it: "RegOpenKeyExA"
  std::string_view logged_as;         // the words of a log line that names the failure
  FaultCode code;                     // how the failure's code is written in that line
  std::vector<std::uint32_t> errors;  // Win32 errors or HRESULTs
};

// Every operation a fault may be planned for, in the order the docs list them.
std::span<const FaultableCall> FaultableCalls();
// The operation of that name, or null.
const FaultableCall* FindFaultableCall(std::string_view call);
// The code as the log writes it: "1722", or "0x80041069" (a Win32 error as its HRESULT).
std::string LoggedCode(const FaultableCall& call, std::uint32_t error);

// A planned failure as the Win32 backend names one: the call, then its HRESULT
// ("CreateProcessW: 0x80070002").
SystemError PlannedError(TextView what, std::uint32_t error);

// The nth call of an operation (counted from 1 in each run) answers error.
struct PlannedFault {
  std::string call;
  std::int64_t nth = 1;
  std::uint32_t error = 0;
};

// The machine's planned faults, and the count of every operation's calls so far. Each of the
// simulated PC's interfaces asks it before doing anything: a failed call does nothing.
class FaultPlan {
 public:
  FaultPlan() = default;
  explicit FaultPlan(std::vector<PlannedFault> faults) : faults_(std::move(faults)) {}

  // Counts one call of the operation: the error it fails with, or 0 when it goes ahead.
  std::uint32_t Call(std::string_view call);

  // How many times each operation was called.
  const std::map<std::string, std::int64_t, std::less<>>& counts() const { return counts_; }
  // How many of the planned faults have happened.
  int injected() const { return injected_; }

 private:
  std::vector<PlannedFault> faults_;
  std::map<std::string, std::int64_t, std::less<>> counts_;
  int injected_ = 0;
};

// What a simulated interface keeps of the machine's faults: none until it is given a plan.
class FaultHook {
 public:
  virtual ~FaultHook() = default;
  void SetFaults(FaultPlan* plan) { plan_ = plan; }

 protected:
  std::uint32_t Injected(std::string_view call) const { return plan_ ? plan_->Call(call) : 0; }
  FaultPlan* faults() const { return plan_; }

 private:
  FaultPlan* plan_ = nullptr;
};

}  // namespace px::sim
