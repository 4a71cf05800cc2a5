// Which executable a command line runs, from made-up answers of Windows: built and run on
// Linux as well as under Wine.
#include "platform/win32/application_path.h"

#include <gtest/gtest.h>

#include "base/utf.h"

namespace px::win32 {
namespace {

const SystemFolders k32BitWindows{u"C:\\Windows\\system32", u"C:\\Windows", false};
const SystemFolders kWow64OnX64{u"C:\\Windows\\SysWOW64", u"C:\\Windows", true};
// 64-bit Windows on ARM, and the native process on x64: no Sysnative to go through.
const SystemFolders kNotWow64OnAmd64{u"C:\\Windows\\SysWOW64", u"C:\\Windows", false};
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
      {kPrintUi, &kNotWow64OnAmd64, u"C:\\Windows\\SysWOW64\\rundll32.exe"},
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
        << (c.folders->wow64_on_amd64 ? " under WOW64 on x64" : "");
  }
}

}  // namespace
}  // namespace px::win32
