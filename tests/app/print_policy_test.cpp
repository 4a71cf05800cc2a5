// What this Windows refuses, found before the installation: one run per policy case on the
// simulated PC, its exit code, its box and its log line.
#include <optional>
#include <string>

#include "support/installer_run.h"
#include "texts/installer_texts.h"

namespace px::testing {
namespace {

std::string Reg(const char* key, const char* value) {
  return std::string("[HKEY_LOCAL_MACHINE\\Software\\Policies\\Microsoft\\Windows NT\\Printers") +
         key + "]\r\n" + value + "\r\n\r\n";
}
std::string Wpp(int on) {
  return Reg("\\WPP", on ? "\"WindowsProtectedPrintGroupPolicyState\"=dword:00000001"
                         : "\"WindowsProtectedPrintGroupPolicyState\"=dword:00000000");
}
std::string Level(int level) {
  return Reg("\\Driver", ("\"ValidationLevel\"=dword:0000000" + std::to_string(level)).c_str());
}
std::string DeviceControl(const char* approved) {
  return Reg("", (std::string("\"EnableDeviceControl\"=dword:00000001\r\n") +
                  "\"ApprovedUsbPrintDevices\"=\"" + approved + "\"")
                     .c_str());
}
std::string English(TextId id) { return ToUtf8(TextFor(id, 1)); }

struct PolicyCase {
  const char* name;
  std::string registry;       // policy values besides the printer's own
  std::optional<bool> winrt;  // what IsProtectedPrintEnabled answers
  bool whql = false;          // the release's package is WHQL-signed
  ExitCode code;
  std::string box;      // part of a box's text, or empty: no refusal box
  std::string warning;  // the log's Warning line, or empty: none
};

class PrintPolicyRun : public InstallerRun {};

TEST_F(PrintPolicyRun, EachCaseEndsWithItsCodeBoxAndLogLine) {
  const std::string blocked = English(TextId::kFailed) + "\\n";
  const std::string protected_box =
      blocked + English(TextId::kProtectedPrint) + "\\n" + English(TextId::kProtectedPrintHelp);
  const auto level_box = [&](int level) {
    return blocked + English(TextId::kSignatureHead) + std::to_string(level) +
           English(TextId::kSignatureTail) + "\\n" + English(TextId::kSignatureHelp);
  };
  const std::string unsigned_refused = " refuses a package that is not WHQL-signed";
  const std::string device_box =
      English(TextId::kDeviceControlHead) + "1A86/A798" + English(TextId::kDeviceControlTail);
  const std::string device_log = "device control: 1A86/A798 is not in ApprovedUsbPrintDevices";
  const PolicyCase cases[] = {
      {"nothing set, WinRT off", "", false, false, ExitCode::kRegistered, "", ""},
      {"policy value 0, WinRT unknown", Wpp(0), std::nullopt, false, ExitCode::kRegistered, "", ""},
      {"on by policy, WinRT unknown", Wpp(1), std::nullopt, false, ExitCode::kBlockedByPolicy,
       protected_box, "protected print mode is on (policy)"},
      {"on by policy, WinRT off", Wpp(1), false, true, ExitCode::kBlockedByPolicy, protected_box,
       "protected print mode is on (policy)"},
      {"on in Settings", "", true, true, ExitCode::kBlockedByPolicy, protected_box,
       "protected print mode is on (settings)"},
      {"level 0, unsigned", Level(0), false, false, ExitCode::kBlockedByPolicy, level_box(0),
       "driver signature validation level 0" + unsigned_refused},
      {"level 1, WHQL-signed", Level(1), false, true, ExitCode::kBlockedByPolicy, level_box(1),
       "driver signature validation level 1 refuses a WHQL-signed package"},
      {"level 2, unsigned", Level(2), false, false, ExitCode::kBlockedByPolicy, level_box(2),
       "driver signature validation level 2" + unsigned_refused},
      {"level 2, WHQL-signed", Level(2), false, true, ExitCode::kRegistered, "", ""},
      {"level 3, unsigned", Level(3), std::nullopt, false, ExitCode::kBlockedByPolicy, level_box(3),
       "driver signature validation level 3" + unsigned_refused},
      {"level 3, WHQL-signed", Level(3), false, true, ExitCode::kRegistered, "", ""},
      {"level 4, unsigned", Level(4), false, false, ExitCode::kRegistered, "", ""},
      // A level Windows does not know leaves its default.
      {"level 9, unsigned", Level(9), false, false, ExitCode::kRegistered, "", ""},
      {"device control, printer not listed", DeviceControl("1A86/0001,04B8/0E28"), false, false,
       ExitCode::kRegistered, device_box, device_log},
      {"device control, printer listed", DeviceControl("04B8/0E28, 1a86/a798"), false, false,
       ExitCode::kRegistered, "", ""},
      {"device control, empty list", DeviceControl(""), false, false, ExitCode::kRegistered,
       device_box, device_log},
  };
  machine.ui_language = 0x0409;
  for (const PolicyCase& c : cases) {
    SCOPED_TRACE(c.name);
    registry_text = std::string(kPrinterRegistry) + "\r\n" + c.registry;
    machine.protected_print = c.winrt;
    whql_signed = c.whql;
    Run();
    EXPECT_EQ(result, c.code);
    const bool refused = c.code == ExitCode::kBlockedByPolicy;
    // A refused run installs nothing: no printer, nothing launched after the spooler's start.
    EXPECT_EQ(printers, refused ? 0u : 1u);
    EXPECT_EQ(CountOf("\tLaunch\t"), refused ? 1u : 2u);
    if (c.box.empty()) {
      EXPECT_EQ(CountOf("\tMessage\t"), 1u);  // the success box alone
    } else {
      EXPECT_EQ(CountOf("\tMessage\tpx-installer\t" + c.box), 1u);
    }
    EXPECT_EQ(CountOf("\tWarning\t"), c.warning.empty() ? 0u : 1u);
    if (!c.warning.empty()) {
      EXPECT_EQ(CountOf("\tWarning\t" + c.warning), 1u);
    }
  }
}

// The refusal speaks the user's language; the log's cause stays in English.
TEST_F(PrintPolicyRun, ChineseWindowsGetsTheRefusalInChinese) {
  registry_text = std::string(kPrinterRegistry) + "\r\n" + Wpp(1);
  Run();
  EXPECT_EQ(result, ExitCode::kBlockedByPolicy);
  EXPECT_EQ(CountOf("\tLabel1(5)\t" + ToUtf8(TextFor(TextId::kProtectedPrint, 0))), 1u);
  EXPECT_EQ(CountOf(ToUtf8(TextFor(TextId::kProtectedPrintHelp, 0))), 1u);
  EXPECT_EQ(CountOf("\tWarning\tprotected print mode is on (policy)"), 1u);
}

}  // namespace
}  // namespace px::testing
