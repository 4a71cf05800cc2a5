// Which executable a command line runs, from made-up answers of Windows: built and run on
// Linux as well as under Wine.
#include "platform/win32/application_path.h"

#include <gtest/gtest.h>

#include "base/utf.h"

namespace px::win32 {
namespace {

const SystemFolders k32BitWindows{u"C:\\Windows\\system32", u"C:\\Windows", false};
const SystemFolders kWow64OnX64{u"C:\\Windows\\SysWOW64", u"C:\\Windows", true};
// Not under WOW64 (say on an unknown native machine): no Sysnative to go through, whatever the
// system folder is called.
const SystemFolders kNotUnderWow64{u"C:\\Windows\\SysWOW64", u"C:\\Windows", false};
const SystemFolders kRoots{u"C:\\", u"D:\\", true};
// A bare name joined to an unknown folder would be relative, found in the current folder.
const SystemFolders kNoSystemFolder{u"", u"C:\\W", true};
const SystemFolders kNoWindowsFolder{u"C:\\W\\SysWOW64", u"", true};

struct PathCase {
  const char16_t* command_line;
  const SystemFolders* folders;
  const char16_t* application;
};

constexpr char16_t kPrintUi[] =
    u"rundll32 printui.dll,PrintUIEntry /if /b \"P 1\" /f C:\\\\PX\\PX.inf /r USB001 /m \"P 1\"";

TEST(ApplicationPathFor, ChoosesTheFolderByProgramAndArchitecture) {
  const PathCase cases[] = {
      // Bare names come from the system folder.
      {u"cmd /c net start spooler", &k32BitWindows, u"C:\\Windows\\system32\\cmd.exe"},
      {kPrintUi, &k32BitWindows, u"C:\\Windows\\system32\\rundll32.exe"},
      {u"CMD.EXE /c exit 3", &k32BitWindows, u"C:\\Windows\\system32\\CMD.EXE"},
      {u"  cmd\t/c", &k32BitWindows, u"C:\\Windows\\system32\\cmd.exe"},
      {u"\"cmd\" /c", &k32BitWindows, u"C:\\Windows\\system32\\cmd.exe"},
      {u"cmd", &k32BitWindows, u"C:\\Windows\\system32\\cmd.exe"},
      // Under WOW64 on x64, rundll32 is the native one; cmd stays the process's own.
      {kPrintUi, &kWow64OnX64, u"C:\\Windows\\Sysnative\\rundll32.exe"},
      {u"RunDll32.EXE printui.dll,PrintUIEntry", &kWow64OnX64,
       u"C:\\Windows\\Sysnative\\RunDll32.EXE"},
      {u"\"rundll32\" x", &kWow64OnX64, u"C:\\Windows\\Sysnative\\rundll32.exe"},
      {u"cmd /c net start spooler", &kWow64OnX64, u"C:\\Windows\\SysWOW64\\cmd.exe"},
      {u"rundll32x /a", &kWow64OnX64, u"C:\\Windows\\SysWOW64\\rundll32x.exe"},
      {u"rundll32.dll /a", &kWow64OnX64, u"C:\\Windows\\SysWOW64\\rundll32.dll"},
      {kPrintUi, &kNotUnderWow64, u"C:\\Windows\\SysWOW64\\rundll32.exe"},
      // Paths are taken as they stand, whatever the architecture.
      {u"\"C:\\Program Files\\x.exe\" /a", &k32BitWindows, u"C:\\Program Files\\x.exe"},
      {u"C:\\tools\\x.exe /a", &k32BitWindows, u"C:\\tools\\x.exe"},
      {u".\\cmd.exe /c", &k32BitWindows, u".\\cmd.exe"},
      {u"C:\\Windows\\SysWOW64\\rundll32.exe x", &kWow64OnX64,
       u"C:\\Windows\\SysWOW64\\rundll32.exe"},
      {u"cmd", &kRoots, u"C:\\cmd.exe"},
      {u"rundll32", &kRoots, u"D:\\Sysnative\\rundll32.exe"},
      // An unknown folder names nothing, unless the program is not taken from it.
      {u"cmd /c", &kNoSystemFolder, u""},
      {kPrintUi, &kNoWindowsFolder, u""},
      {kPrintUi, &kNoSystemFolder, u"C:\\W\\Sysnative\\rundll32.exe"},
      {u"cmd /c", &kNoWindowsFolder, u"C:\\W\\SysWOW64\\cmd.exe"},
      // Nothing to run.
      {u"", &k32BitWindows, u""},
      {u"   ", &kWow64OnX64, u""},
      {u"\"\" /c", &k32BitWindows, u""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ToUtf8(ApplicationPathFor(c.command_line, *c.folders)), ToUtf8(c.application))
        << ToUtf8(c.command_line) << " with system folder " << ToUtf8(c.folders->system)
        << (c.folders->under_wow64 ? " under WOW64" : "");
  }
}

// The answers of IsWow64Process2 (process and native machine) or, without it, IsWow64Process.
TEST(UnderWow64, TakesTheNativeProgramsOnX64AndArm64Only) {
  constexpr std::uint16_t kUnknown = 0, kI386 = 0x014C, kAmd64 = 0x8664, kArm64 = 0xAA64;
  constexpr std::uint16_t kIa64 = 0x0200;
  struct Wow64Case {
    Wow64Answers answers;
    bool under_wow64;
  };
  const Wow64Case cases[] = {
      {{true, kI386, kAmd64, false}, true},     // x64 Windows 10 and later
      {{true, kI386, kArm64, false}, true},     // ARM64 Windows: x86 emulated
      {{true, kUnknown, kI386, false}, false},  // 32-bit Windows 10
      {{true, kUnknown, kAmd64, false}, false},
      {{true, kUnknown, kArm64, false}, false},
      {{true, kI386, kIa64, true}, false},  // IsWow64Process2 decides where it answered
      {{false, 0, 0, true}, true},          // x64 Windows before 10 (1511)
      {{false, 0, 0, false}, false},        // 32-bit Windows before 10 (1511)
  };
  for (const Wow64Case& c : cases) {
    EXPECT_EQ(UnderWow64(c.answers), c.under_wow64)
        << "machines " << c.answers.has_machines << " " << std::hex << c.answers.process_machine
        << " " << c.answers.native_machine << ", IsWow64Process " << c.answers.is_wow64_process;
  }
}

}  // namespace
}  // namespace px::win32
