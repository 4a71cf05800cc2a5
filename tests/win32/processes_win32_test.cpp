#include "platform/win32/processes_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/utf.h"
#include "platform/win32/application_path.h"
#include "platform/win32/windows_api.h"

namespace px::win32 {
namespace {

struct PathCase {
  const char16_t* command_line;
  const char16_t* application;
};

TEST(ApplicationPathFor, NamesTheSystemFoldersProgramForABareName) {
  const PathCase cases[] = {
      {u"cmd /c net start spooler", u"C:\\windows\\system32\\cmd.exe"},
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"P 1\"", u"C:\\windows\\system32\\rundll32.exe"},
      {u"CMD.EXE /c exit 3", u"C:\\windows\\system32\\CMD.EXE"},
      {u"  cmd\t/c", u"C:\\windows\\system32\\cmd.exe"},
      {u"\"cmd\" /c", u"C:\\windows\\system32\\cmd.exe"},
      {u"cmd", u"C:\\windows\\system32\\cmd.exe"},
      // Paths are taken as they stand.
      {u"\"C:\\Program Files\\x.exe\" /a", u"C:\\Program Files\\x.exe"},
      {u"C:\\tools\\x.exe /a", u"C:\\tools\\x.exe"},
      {u".\\cmd.exe /c", u".\\cmd.exe"},
      {u"", u""},
      {u"   ", u""},
      {u"\"\" /c", u""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ApplicationPathFor(c.command_line, u"C:\\windows\\system32"), c.application)
        << ToUtf8(c.command_line);
  }
  EXPECT_EQ(ApplicationPathFor(u"cmd", u"C:\\"), u"C:\\cmd.exe");
}

// Polls a started process until it has ended.
std::optional<std::uint32_t> WaitForExit(Process& process, DWORD limit_ms = 20000) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (auto code = process.ExitCode()) return code;
    if (GetTickCount() - start > limit_ms) return std::nullopt;
    Sleep(20);
  }
}

TEST(Win32Processes, StartsWithoutWaitingAndReportsTheExitCode) {
  Win32Processes processes;
  for (const ShowState show : {ShowState::kHidden, ShowState::kMinimized}) {
    auto started = processes.Start(u"cmd /c exit 3", show);
    ASSERT_TRUE(started.ok()) << ToUtf8(started.error().text);
    EXPECT_EQ(WaitForExit(*started.value()), 3u);
  }
}

TEST(Win32Processes, AProgramThatIsNotThereIsAnError) {
  Win32Processes processes;
  for (const char16_t* command : {u"px-no-such-program /x", u"C:\\px\\no-such.exe", u"  "}) {
    auto started = processes.Start(command, ShowState::kHidden);
    ASSERT_FALSE(started.ok());
    EXPECT_EQ(started.error().text.rfind(u"CreateProcessW: 0x8007", 0), 0u);
  }
}

// A cmd.exe planted in the current folder is not the one that runs.
TEST(Win32Processes, ABareNameNeverRunsAProgramFromTheCurrentFolder) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"px-planted";
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t system[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
  // A program that ends differently from "cmd /c exit 7": the registry tool says 1.
  const std::wstring planted = folder + L"\\cmd.exe";
  ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\reg.exe").c_str(), planted.c_str(), FALSE));

  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  Win32Processes processes;
  auto started = processes.Start(u"cmd /c exit 7", ShowState::kHidden);
  SetCurrentDirectoryW(previous);
  ASSERT_TRUE(started.ok());
  EXPECT_EQ(WaitForExit(*started.value()), 7u);

  DeleteFileW(planted.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace px::win32
