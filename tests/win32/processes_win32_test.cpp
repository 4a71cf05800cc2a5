#include "platform/win32/processes_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf.h"
#include "base/win32/windows_api.h"

namespace px::win32 {
namespace {

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

// The planted program's path as Windows sees it; a build-tree path of the Linux host is on
// drive Z:.
std::wstring PlantedProgram() {
  std::string path = PX_PLANTED_PROGRAM;
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
  return std::wstring(path.begin(), path.end());
}

// A cmd.exe or rundll32.exe planted in the current folder is not the one that runs: the planted
// one would end with 42.
TEST(Win32Processes, ABareNameNeverRunsAProgramFromTheCurrentFolder) {
  struct PlantedCase {
    const wchar_t* planted_name;
    const char16_t* command_line;
    std::uint32_t exit_code;  // the system's own program's
  };
  const PlantedCase cases[] = {
      {L"cmd.exe", u"cmd /c exit 7", 7},
      {L"rundll32.exe", u"rundll32", 0},
  };
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"px-planted";
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);

  for (const PlantedCase& c : cases) {
    const std::wstring planted = folder + L"\\" + c.planted_name;
    ASSERT_TRUE(CopyFileW(PlantedProgram().c_str(), planted.c_str(), FALSE));
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    auto started = Win32Processes().Start(c.command_line, ShowState::kHidden);
    SetCurrentDirectoryW(previous);
    ASSERT_TRUE(started.ok()) << ToUtf8(c.command_line);
    EXPECT_EQ(WaitForExit(*started.value()), c.exit_code) << ToUtf8(c.command_line);
    DeleteFileW(planted.c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace px::win32
