// The command line, the exit codes and the log file: runs that deployment tools start and read.
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/command_line_options.h"
#include "support/installer_run.h"

namespace px {
namespace {

using testing::InstallerRun;

TEST(CommandLine, TakesSwitchesAsWindowsToolsDo) {
  struct Case {
    std::vector<Text> args;
    bool quiet;
    bool usage;
    std::int32_t wait;
    Text log;
    bool error;
  };
  const Case cases[] = {
      {{}, false, false, 300, u"", false},
      {{u"/quiet"}, true, false, 300, u"", false},
      {{u"-QUIET", u"/Wait", u"30"}, true, false, 30, u"", false},
      {{u"/q", u"-wait", u"0", u"/LOG", u"D:\\logs\\a b.log"},
       true,
       false,
       0,
       u"D:\\logs\\a b.log",
       false},
      {{u"/?"}, false, true, 300, u"", false},
      {{u"/quiet", u"/wait"}, true, false, 300, u"", true},    // a value missing at the end
      {{u"/wait", u"-1"}, false, false, 300, u"", true},       // not a number of seconds
      {{u"/wait", u"86401"}, false, false, 300, u"", true},    // more than a day
      {{u"/log", u""}, false, false, 300, u"", true},          // no file name
      {{u"/quiet", u"/silent"}, true, false, 300, u"", true},  // unknown switch
      {{u"quiet"}, false, false, 300, u"", true},              // a stray word
      {{u"/"}, false, false, 300, u"", true},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    const std::string name = c.args.empty() ? "(none)" : ToUtf8(c.args.front());
    EXPECT_EQ(!parsed.error.empty(), c.error) << name;
    if (c.error) continue;
    EXPECT_EQ(parsed.options.quiet, c.quiet) << name;
    EXPECT_EQ(parsed.options.usage, c.usage) << name;
    EXPECT_EQ(parsed.options.wait_seconds, c.wait) << name;
    EXPECT_EQ(parsed.options.log_path.value_or(u""), c.log) << name;
  }
}

// A deployment tool runs the installer where nobody can close a box: a line that holds /quiet
// is quiet, however badly it is written, and a line that holds it only inside a quoted name is
// not.
TEST(CommandLine, HoldsQuietAnywhereEvenWhenNotUnderstood) {
  struct Case {
    std::vector<Text> args;
    bool error;
    bool quiet;
  };
  const Case cases[] = {
      {{u"/wiat", u"600", u"/quiet"}, true, true},    // a typing error first
      {{u"/quiet", u"/?"}, true, true},               // a usage box nobody would see
      {{u"/log", u"C:\\logs\" /quiet"}, true, true},  // /log "C:\logs\" /quiet
      {{u"/log", u"/quiet"}, true, true},             // /log without its file
      {{u"-Q", u"/wait"}, true, true},                // a value missing at the end
      {{u"/wiat", u"600"}, true, false},
      {{u"/log", u"C:\\a -quiet b.log"}, false, false},  // quoted: only a name
      {{u"/help"}, false, false},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    std::string line;
    for (const Text& arg : c.args) line += ToUtf8(arg) + " ";
    EXPECT_EQ(!parsed.error.empty(), c.error) << line << ToUtf8(parsed.error);
    EXPECT_EQ(parsed.options.quiet, c.quiet) << line;
    EXPECT_EQ(MayShowWindows(parsed, true), !c.quiet) << line;
    EXPECT_FALSE(MayShowWindows(parsed, false)) << line << "on an invisible window station";
  }
}

// Every way a run ends, windowed and unattended, as the exit code the program returns.
TEST_F(InstallerRun, EveryEndingHasItsExitCode) {
  struct Case {
    const char* name;
    std::function<void(sim::Machine&)> set_up;
    bool quiet;
    std::optional<ExitCode> result;
  };
  const auto no_printer = [](sim::Machine& m) { m.usb.resize(1); };
  const Case cases[] = {
      {"registered", {}, true, ExitCode::kRegistered},
      {"registered, windowed", {}, false, ExitCode::kRegistered},
      {"no printer within the wait", no_printer, true, ExitCode::kNoPrinter},
      {"no printer, windowed: scans until closed", no_printer, false, std::nullopt},
      {"package missing", [](sim::Machine& m) { m.package_dir = "/nonexistent/PX"; }, true,
       ExitCode::kPackageMissing},
      {"package missing, windowed", [](sim::Machine& m) { m.package_dir = "/nonexistent/PX"; },
       false, ExitCode::kPackageMissing},
      {"port unknown to the spooler: not registered", [](sim::Machine& m) { m.ports = {u"LPT1:"}; },
       true, ExitCode::kNotRegistered},
      {"installation runs past two minutes", [](sim::Machine& m) { m.install_ms = 200000; }, true,
       ExitCode::kTimedOut},
      {"WMI fails", [](sim::Machine& m) { m.wmi_error_from_ms = 6000; }, true,
       ExitCode::kSystemError},
      {"WMI fails, windowed", [](sim::Machine& m) { m.wmi_error_from_ms = 6000; }, false,
       ExitCode::kSystemError},
      {"the spooler's start command cannot start",
       [](sim::Machine& m) { m.start_fails = {u"CMD"}; }, true, ExitCode::kSystemError},
      {"the installation cannot start", [](sim::Machine& m) { m.start_fails = {u"RUNDLL32"}; },
       true, ExitCode::kSystemError},
  };
  const sim::Machine base = machine;
  for (const Case& c : cases) {
    machine = base;
    if (c.set_up) c.set_up(machine);
    quiet = c.quiet;
    wait_seconds = 30;
    Run(200000);
    EXPECT_EQ(result, c.result) << c.name;
  }
}

// Line for line, but for PrintUIEntry: where nobody sees a window it runs hidden and shows no
// error box (/q), which would otherwise wait for a click until the installation timed out.
TEST_F(InstallerRun, UnattendedRunIsTheWindowsSequenceLineForLine) {
  Run();
  std::vector<std::string> windowed = Lines();
  quiet = true;
  Run();
  const std::string printui = "\tLaunch\tminimized\trundll32 printui.dll,PrintUIEntry ";
  std::size_t launches = 0;
  for (std::string& line : windowed) {
    const std::size_t at = line.find(printui);
    if (at == std::string::npos) continue;
    ++launches;
    line.replace(at, printui.size(), "\tLaunch\thidden\trundll32 printui.dll,PrintUIEntry ");
    line += " /q";
  }
  EXPECT_EQ(launches, 1u);
  EXPECT_EQ(Lines(), windowed);
  EXPECT_EQ(result, ExitCode::kRegistered);
}

TEST_F(InstallerRun, UnattendedWaitEndsAfterTheFiveSecondDelayAndTheWait) {
  machine.usb.resize(1);
  quiet = true;
  wait_seconds = 3;
  Run();
  // Passes at 5 s, 6 s, 7 s and 8 s; the last one gives up.
  EXPECT_EQ(result, ExitCode::kNoPrinter);
  EXPECT_EQ(end_ms, 8020);
  EXPECT_EQ(Last(), "8020\tEnd\tunload");
  EXPECT_EQ(CountOf("\tMessage\t"), 0u);
  EXPECT_EQ(CountOf("\tLaunch\tminimized"), 0u);
}

}  // namespace
}  // namespace px
