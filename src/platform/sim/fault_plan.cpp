#include "platform/sim/fault_plan.h"

#include <algorithm>
#include <cstdio>

#include "base/utf.h"

namespace px::sim {

namespace {

// HRESULTs of WMI and COM.
constexpr std::uint32_t kWbemTimedOut = 0x80041069;      // WBEM_E_TIMED_OUT
constexpr std::uint32_t kWbemAccessDenied = 0x80041003;  // WBEM_E_ACCESS_DENIED
constexpr std::uint32_t kWbemOutOfMemory = 0x80041006;   // WBEM_E_OUT_OF_MEMORY
constexpr std::uint32_t kWbemNotFound = 0x80041002;      // WBEM_E_NOT_FOUND
constexpr std::uint32_t kRpcDisconnected = 0x80010108;   // RPC_E_DISCONNECTED
// Win32 errors.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidHandle = 6;  // the name is another kind of object's
constexpr std::uint32_t kNotEnoughMemory = 8;
constexpr std::uint32_t kCrc = 23;  // ERROR_CRC: the disk could not read the data
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kLockViolation = 33;
constexpr std::uint32_t kDiskFull = 112;
constexpr std::uint32_t kNoSystemResources = 1450;
constexpr std::uint32_t kCommitmentLimit = 1455;
constexpr std::uint32_t kNotEnoughQuota = 1816;
constexpr std::uint32_t kServerUnavailable = 1722;  // RPC_S_SERVER_UNAVAILABLE: spooler stopped
constexpr std::uint32_t kCallFailed = 1726;         // RPC_S_CALL_FAILED: spooler restarting

const std::vector<FaultableCall>& Calls() {
  static const std::vector<FaultableCall> calls = {
      {"ExecQuery",
       "WMI ExecQuery",
       FaultCode::kHresult,
       {kWbemTimedOut, kWbemAccessDenied, kRpcDisconnected}},
      {"NextDependent", "WMI enumeration", FaultCode::kHresult, {kWbemTimedOut, kRpcDisconnected}},
      {"GetDependent", "WMI Get Dependent", FaultCode::kHresult, {kWbemNotFound, kWbemOutOfMemory}},
      {"CreateProcess",
       "CreateProcessW",
       FaultCode::kHresult,
       {kFileNotFound, kAccessDenied, kCommitmentLimit}},
      {"RegOpenKeyA", "RegOpenKeyA", FaultCode::kStatus, {kAccessDenied}},
      {"RegOpenKeyExA", "RegOpenKeyExA", FaultCode::kStatus, {kAccessDenied}},
      {"RegQueryValueExA", "RegQueryValueExA", FaultCode::kStatus, {kAccessDenied}},
      {"RegEnumKeyA", "RegEnumKeyA", FaultCode::kStatus, {kAccessDenied}},
      {"EnumPrinters", "EnumPrinters", FaultCode::kStatus, {kServerUnavailable, kCallFailed}},
      {"GetPrinter",
       "GetPrinter",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed, kAccessDenied}},
      {"SetPrinter",
       "SetPrinter",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed, kAccessDenied}},
      {"DeletePrinter",
       "DeletePrinter",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed, kAccessDenied}},
      {"EnumPrinterDrivers",
       "EnumPrinterDrivers",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed}},
      {"DeletePrinterDriverEx",
       "DeletePrinterDriverEx",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed, kAccessDenied}},
      {"DeletePrinterDriverPackage",
       "DeletePrinterDriverPackage",
       FaultCode::kStatus,
       {kServerUnavailable, kCallFailed, kAccessDenied}},
      {"CreateDirectory", "CreateDirectoryW", FaultCode::kHresult, {kAccessDenied, kDiskFull}},
      {"WriteFile", "WriteFile", FaultCode::kHresult, {kDiskFull}},
      {"CreateFile", "CreateFileW", FaultCode::kHresult, {kAccessDenied, kSharingViolation}},
      {"ReadFile", "ReadFile", FaultCode::kHresult, {kCrc, kLockViolation}},
      {"CreateWindowEx",
       "CreateWindowExW",
       FaultCode::kHresult,
       {kNotEnoughMemory, kNoSystemResources}},
      {"SetTimer", "SetTimer", FaultCode::kHresult, {kNoSystemResources, kNotEnoughQuota}},
      {"MessageBox", "MessageBoxW", FaultCode::kHresult, {kNotEnoughMemory, kNoSystemResources}},
      {"CreateMutex", "CreateMutexW", FaultCode::kHresult, {kInvalidHandle, kNoSystemResources}},
      {"log open", "log open", FaultCode::kStatus, {kAccessDenied, kSharingViolation}},
      {"log write", "log write", FaultCode::kStatus, {kDiskFull}},
      {"log rotate", "log rotate", FaultCode::kStatus, {kAccessDenied, kSharingViolation}},
  };
  return calls;
}

}  // namespace

std::span<const FaultableCall> FaultableCalls() { return Calls(); }

const FaultableCall* FindFaultableCall(std::string_view call) {
  const auto& calls = Calls();
  const auto found = std::find_if(calls.begin(), calls.end(),
                                  [&](const FaultableCall& c) { return c.call == call; });
  return found == calls.end() ? nullptr : &*found;
}

std::string LoggedCode(const FaultableCall& call, std::uint32_t error) {
  if (call.code == FaultCode::kStatus) return std::to_string(error);
  // A Win32 error travels as HRESULT_FROM_WIN32.
  const std::uint32_t hr = error <= 0xFFFF ? (error | 0x80070000u) : error;
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(hr));
  return hex;
}

SystemError PlannedError(TextView what, std::uint32_t error) {
  const FaultableCall hresult{"", "", FaultCode::kHresult, {}};
  return SystemError{Text(what) + u": " + Utf8Literal(LoggedCode(hresult, error))};
}

std::uint32_t FaultPlan::Call(std::string_view call) {
  auto counted = counts_.find(call);
  if (counted == counts_.end()) counted = counts_.emplace(std::string(call), 0).first;
  const std::int64_t nth = ++counted->second;
  for (const PlannedFault& fault : faults_) {
    if (fault.call == call && fault.nth == nth) {
      ++injected_;
      return fault.error;
    }
  }
  return 0;
}

}  // namespace px::sim
