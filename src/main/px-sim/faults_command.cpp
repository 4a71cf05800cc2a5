// px-sim faults: the installer's run on a simulated PC, then the same run again once for each
// platform call it made and each failure Windows documents for that call, with the checks that
// every run still ends soundly.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>

#include "app/exit_codes.h"
#include "app/rotating_log.h"
#include "app/run_installer.h"
#include "app/run_lines.h"
#include "base/utf.h"
#include "commands.h"
#include "detect/model_table.h"
#include "platform/sim/command_line.h"
#include "platform/sim/log_file.h"
#include "platform/sim/sim_form_host.h"
#include "platform/sim/sim_message_boxes.h"
#include "platform/sim/simulated_pc.h"
#include "platform/sim/text_case.h"
#include "run_facts.h"

namespace px::sim {

namespace {

// A windowed run that is still waiting for a printer then is closed by its user; a run without
// the window must have ended before.
constexpr std::int64_t kBoundMs = 30 * 60 * 1000;

struct FaultsOptions {
  std::string machine;
  std::string args;
};

// The log's lines, kept whatever becomes of the log's file.
class LinesKept : public LineSink {
 public:
  explicit LinesKept(std::vector<std::string>& lines) : lines_(lines) {}
  void Write(std::string_view line) override {
    lines_.emplace_back(line.substr(0, line.find('\n')));
  }

 private:
  std::vector<std::string>& lines_;
};

// The spooler's changes that a run reported done.
class ReportedCalls : public RunEvents {
 public:
  void On(const RunEvent& event) override {
    if (const auto* call = std::get_if<event::SpoolerCall>(&event); call && call->code == 0) {
      done.push_back(call->call);
    }
  }
  std::vector<std::vector<Text>> done;
};

// What one run left behind.
struct Outcome {
  int code = 0;
  bool closed = false;  // the user closed the window: the run had not ended by the bound
  Text model;
  Text port;
  std::vector<std::string> log;
  std::vector<PrinterQueueInfo> printers;
  std::vector<PrinterDriverInfo> drivers;
  std::vector<std::vector<Text>> done;
  std::map<std::string, std::int64_t, std::less<>> counts;
};

Outcome RunOnce(Machine machine, const ParsedCommandLine& command_line, const Text& arguments,
                const std::filesystem::path& log_path) {
  std::error_code ignored;
  std::filesystem::remove(log_path, ignored);
  EventLoop loop(EventLoop::Clock::kVirtual);
  const auto now = [&loop] { return loop.NowMs(); };
  Outcome outcome;
  LogLines kept([&] { return std::make_unique<LinesKept>(outcome.log); }, now);
  SimulatedPc pc(machine, loop);
  SimLogFiles log_files;
  log_files.SetFaults(&pc.faults);
  LogLines file(
      [&]() -> std::unique_ptr<LineSink> {
        return RotatingLog::Open(log_files, FromUtf8(log_path.string()).value_or(Text()));
      },
      now);
  ReportedCalls calls;
  RunReaders readers{&kept, &file, &calls};
  SimFormHost host(loop, {}, kBoundMs);
  host.SetFaults(&pc.faults);
  // The log tells each run's error box; a campaign prints one line per run.
  SimMessageBoxes boxes(nullptr, u"px-installer", nullptr);
  boxes.SetFaults(&pc.faults);
  Backend backend{pc.usb,    pc.registry, pc.processes, pc.spooler,
                  pc.system, host,        boxes,        HeaderFor(machine, arguments)};
  backend.release_package = ReleasePackageOf(machine);
  backend.lock = &pc.lock;
  const RunResult result = RunInstaller(command_line, backend, readers);
  outcome.code = static_cast<int>(result.code);
  outcome.closed = result.window_closed;
  outcome.model = result.model_name;
  outcome.port = result.port_name;
  outcome.printers = pc.spooler.printers();
  outcome.drivers = pc.spooler.drivers();
  outcome.done = std::move(calls.done);
  outcome.counts = pc.faults.counts();
  return outcome;
}

bool IsPackageModel(TextView name) {
  const auto& rows = ModelTable::Builtin().rows();
  return std::any_of(rows.begin(), rows.end(), [name](const ModelRow& row) {
    return row.model == name || (!row.model_dash.empty() && row.model_dash == name);
  });
}

bool HasDriver(const Outcome& run, TextView name) {
  return std::any_of(run.drivers.begin(), run.drivers.end(),
                     [&](const PrinterDriverInfo& d) { return SameNoCase(d.name, name); });
}

// Whether a port list ("USB001" or "USB001, USB002") holds the port.
bool PortListHas(TextView ports, TextView port) {
  for (std::size_t start = 0; start <= ports.size();) {
    std::size_t comma = ports.find(u',', start);
    if (comma == TextView::npos) comma = ports.size();
    TextView one = ports.substr(start, comma - start);
    while (!one.empty() && one.front() == u' ') one.remove_prefix(1);
    if (SameNoCase(one, port)) return true;
    start = comma + 1;
  }
  return false;
}

// What is wrong with a run's end, or empty when it ended soundly. The run without faults is
// the reference: its port is the printer's, its exit code needs no explaining.
std::string Verdict(const Machine& machine, const Outcome& reference, const Outcome& run,
                    bool uninstall, const FaultableCall* call, std::uint32_t error) {
  const bool documented =
      std::any_of(std::begin(kExitCodes), std::end(kExitCodes),
                  [&](ExitCode code) { return static_cast<int>(code) == run.code; });
  if (!documented) return "exit code " + std::to_string(run.code) + " is undocumented";
  if (run.closed && !reference.closed) return "the run did not end within the bound";

  std::set<Text> names;
  for (const PrinterQueueInfo& queue : run.printers) {
    if (!queue.driver.empty() && !HasDriver(run, queue.driver)) {
      return "queue " + ToUtf8(queue.name) + " has no driver " + ToUtf8(queue.driver);
    }
    Text folded = queue.name;
    for (char16_t& c : folded) c = UpcaseChar(c);
    if (!names.insert(folded).second) return "a second queue " + ToUtf8(queue.name);
    for (const PrinterQueueInfo& before : machine.printers) {
      if (SameNoCase(before.name, queue.name) && !SameNoCase(before.port, queue.port) &&
          !PortListHas(queue.port, reference.port)) {
        return "queue " + ToUtf8(queue.name) + " moved to " + ToUtf8(queue.port);
      }
    }
  }
  for (const std::vector<Text>& done : run.done) {
    if (done.size() == 3 && done[0] == u"DeletePrinterDriverEx") {
      for (const PrinterDriverInfo& d : run.drivers) {
        if (SameNoCase(d.name, done[2]) && SameNoCase(d.environment, done[1])) {
          return "driver " + ToUtf8(d.name) + " reported removed is still there";
        }
      }
    }
  }

  if (run.code == 0 && !run.closed) {
    if (uninstall) {
      for (const PrinterQueueInfo& queue : run.printers) {
        if (IsPackageModel(queue.driver))
          return "exit 0, but queue " + ToUtf8(queue.name) + " stays";
      }
      for (const PrinterDriverInfo& driver : run.drivers) {
        if (IsPackageModel(driver.name))
          return "exit 0, but driver " + ToUtf8(driver.name) + " stays";
      }
    } else {
      const bool held = std::any_of(run.printers.begin(), run.printers.end(), [&](const auto& q) {
        return SameNoCase(q.name, run.model) && SameNoCase(q.driver, run.model) &&
               HasDriver(run, q.driver) && !reference.port.empty() &&
               PortListHas(q.port, reference.port);
      });
      if (!held) return "exit 0, but no queue of the model on the printer's port";
    }
  }

  if (call == nullptr) return "";
  // The log is never needed for the run: its faults change nothing else.
  if (call->call.starts_with("log ")) {
    const auto same = [](const PrinterQueueInfo& a, const PrinterQueueInfo& b) {
      return a.name == b.name && a.port == b.port && a.driver == b.driver;
    };
    if (run.code != reference.code ||
        !std::equal(run.printers.begin(), run.printers.end(), reference.printers.begin(),
                    reference.printers.end(), same)) {
      return "a fault of the log changed the run";
    }
    return "";
  }
  if (run.code != reference.code && run.code != 0) {
    const std::string code = LoggedCode(*call, error);
    const bool named = std::any_of(run.log.begin(), run.log.end(), [&](const std::string& line) {
      return line.find(call->logged_as) != std::string::npos &&
             line.find(code) != std::string::npos;
    });
    if (!named) return "no log line names " + std::string(call->logged_as) + " and " + code;
  }
  return "";
}

// The calls of an operation to fail: every one, or for an operation called more than
// kEveryCallUpTo times (a windowed run's passes while it waits for a printer), the first ones,
// those at powers of two and the last: a pass that fails later is met as the ones before.
constexpr std::int64_t kEveryCallUpTo = 16;

std::vector<std::int64_t> CallsToFail(std::int64_t count) {
  std::vector<std::int64_t> ks;
  for (std::int64_t k = 1; k <= count; ++k) {
    const bool power_of_two = (k & (k - 1)) == 0;
    if (count <= kEveryCallUpTo || k <= kEveryCallUpTo / 2 || power_of_two || k == count) {
      ks.push_back(k);
    }
  }
  return ks;
}

std::string LastLine(const Outcome& run) { return run.log.empty() ? "" : run.log.back(); }

int Campaign(const FaultsOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  const Text arguments = FromUtf8(options.args).value_or(u"\uFFFD");
  const ParsedCommandLine command_line = ParseCommandLine(SplitCommandLine(arguments));
  const bool uninstall = command_line.options.uninstall;
  const std::filesystem::path log_path = std::filesystem::temp_directory_path() /
                                         ("px-sim-faults-" + std::to_string(getpid())) / "run.log";

  const Outcome reference = RunOnce(machine, command_line, arguments, log_path);
  int faults = 0;
  int failed = 0;
  const std::string verdict = Verdict(machine, reference, reference, uninstall, nullptr, 0);
  std::cout << "no fault: exit " << reference.code << ": " << LastLine(reference) << "\n";
  if (!verdict.empty()) {
    std::cout << "  FAILED: " << verdict << "\n";
    ++failed;
  }
  std::int64_t calls = 0;
  for (const auto& [name, count] : reference.counts) {
    const FaultableCall* call = FindFaultableCall(name);
    if (call == nullptr) continue;
    calls += count;
    for (const std::int64_t k : CallsToFail(count)) {
      for (const std::uint32_t error : call->errors) {
        Machine faulty = machine;
        faulty.planned_faults = {{name, k, error}};
        const Outcome run = RunOnce(faulty, command_line, arguments, log_path);
        ++faults;
        const std::string why = Verdict(machine, reference, run, uninstall, call, error);
        std::cout << name << " " << k << " " << LoggedCode(*call, error) << ": exit " << run.code
                  << ": " << LastLine(run) << "\n";
        if (!why.empty()) {
          std::cout << "  FAILED: " << why << "\n";
          ++failed;
        }
      }
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(log_path.parent_path(), ignored);
  std::cout << calls << " calls of " << reference.counts.size() << " operations\n";
  std::cout << faults << " faults, " << faults - failed << " survived, " << failed << " failed\n";
  return failed == 0 ? 0 : 1;
}

}  // namespace

void AddFaultsCommand(CLI::App& app) {
  auto options = std::make_shared<FaultsOptions>();
  auto* command = app.add_subcommand(
      "faults", "Run the installer once per platform call and documented failure of that call");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command->add_option("--args", options->args, "px-installer's own command line, e.g. \"/quiet\"");
  command->callback([options] {
    if (Campaign(*options) != 0) throw CLI::RuntimeError(1);
  });
}

}  // namespace px::sim
