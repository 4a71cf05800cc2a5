#include "platform/win32/processes_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/utf.h"
#include "base/win32/windows_api.h"
#include "wine_path.h"

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

// A folder of the user's, such as Downloads, that the installer was started from: the current
// folder while it lives.
class CurrentFolder {
 public:
  CurrentFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"px-planted";
    CreateDirectoryW(path_.c_str(), nullptr);
    GetCurrentDirectoryW(MAX_PATH, previous_);
    entered_ = SetCurrentDirectoryW(path_.c_str());
  }
  ~CurrentFolder() {
    SetCurrentDirectoryW(previous_);
    for (const std::wstring& file : planted_) DeleteFileW(file.c_str());
    RemoveDirectoryW(path_.c_str());
  }
  bool entered() const { return entered_; }
  // Plants a file: a copy of the planted program, or the given text.
  bool Plant(const wchar_t* name, const char* text = nullptr) {
    const std::wstring file = path_ + L"\\" + name;
    planted_.push_back(file);
    if (text == nullptr)
      return CopyFileW(px::testing::WindowsPathOf(PX_PLANTED_PROGRAM).c_str(), file.c_str(), FALSE);
    std::FILE* out = _wfopen(file.c_str(), L"wb");
    if (out == nullptr) return false;
    std::fputs(text, out);
    return std::fclose(out) == 0;
  }

 private:
  std::wstring path_;
  wchar_t previous_[MAX_PATH] = {};
  bool entered_ = false;
  std::vector<std::wstring> planted_;
};

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
  for (const PlantedCase& c : cases) {
    CurrentFolder downloads;
    ASSERT_TRUE(downloads.entered());
    ASSERT_TRUE(downloads.Plant(c.planted_name));
    auto started = Win32Processes().Start(c.command_line, ShowState::kHidden);
    ASSERT_TRUE(started.ok()) << ToUtf8(c.command_line);
    EXPECT_EQ(WaitForExit(*started.value()), c.exit_code) << ToUtf8(c.command_line);
  }
}

// cmd looks for a command in its current folder before the PATH: started in the installer's
// current folder, the spooler command would run a planted net.bat (ending with 42) instead of
// the system's net.
TEST(Win32Processes, ChildrenStartInTheSystemFolder) {
  CurrentFolder downloads;
  ASSERT_TRUE(downloads.entered());
  ASSERT_TRUE(downloads.Plant(L"net.bat", "@exit 42\r\n"));
  ASSERT_TRUE(downloads.Plant(L"net.exe"));
  auto started = Win32Processes().Start(u"cmd /c net start spooler", ShowState::kHidden);
  ASSERT_TRUE(started.ok());
  const std::optional<std::uint32_t> code = WaitForExit(*started.value());
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 42u);
}

// Children get the system's environment, not the installer's: a variable the user set is absent,
// and the system's folders are there.
TEST(Win32Processes, ChildrenGetTheSystemsEnvironmentNotTheCallers) {
  wchar_t pathext[256] = L"";
  GetEnvironmentVariableW(L"PATHEXT", pathext, 256);
  ASSERT_TRUE(SetEnvironmentVariableW(L"PX_PLANTED", L"1"));
  ASSERT_TRUE(SetEnvironmentVariableW(L"PATHEXT", L".PX"));
  for (const char16_t* command :
       {u"cmd /c if defined PX_PLANTED exit 42", u"cmd /c if not defined SystemRoot exit 43",
        u"cmd /c if not defined windir exit 44", u"cmd /c if \"%PATHEXT%\"==\".PX\" exit 45"}) {
    auto started = Win32Processes().Start(command, ShowState::kHidden);
    ASSERT_TRUE(started.ok()) << ToUtf8(command);
    EXPECT_EQ(WaitForExit(*started.value()), 0u) << ToUtf8(command);
  }
  SetEnvironmentVariableW(L"PX_PLANTED", nullptr);
  SetEnvironmentVariableW(L"PATHEXT", pathext);
}

}  // namespace
}  // namespace px::win32
