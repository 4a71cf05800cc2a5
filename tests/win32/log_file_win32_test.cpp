// The installer's log on Windows: its files through handles (appended to, rotated, links
// refused), its folder made with the program's DACL, and the unattended lock's fallback file.
#include <gtest/gtest.h>

#include <string>

#include "app/log_trust.h"
#include "app/rotating_log.h"
#include "base/utf.h"
#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/log_folders_win32.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/unattended_lock_win32.h"

namespace px::win32 {
namespace {

// Read as px-capture reads the log: shared with the run that writes it.
std::string Read(const Text& path) {
  UniqueKernelHandle file(CreateFileW(Wide(path), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    static_cast<void>(file.release());
    return "(none)";
  }
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  return bytes;
}

void Write(const Text& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

class LogFileWin32 : public ::testing::Test {
 protected:
  LogFileWin32() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    base = FromWide(temp) + u"px-log-test-" + Decimal(GetCurrentProcessId());
    folder = base + u"\\logs";
  }
  ~LogFileWin32() override {
    for (const char16_t* name :
         {u"px-installer.log", u"px-installer.1.log", u"other", u"link.log", u"quiet.lock"}) {
      DeleteFileW(Wide(folder + u"\\" + name));
    }
    RemoveDirectoryW(Wide(folder));
    RemoveDirectoryW(Wide(base));
  }

  Text base, folder;
  Win32LogFiles files;
};

TEST_F(LogFileWin32, AppendsInANewFolderAndRotatesPastOneMegabyteThroughItsHandle) {
  const Text path = folder + u"\\px-installer.log";
  const Text rotated = folder + u"\\px-installer.1.log";
  RotatingLog::Open(files, path)->Write("first\n");
  RotatingLog::Open(files, path)->Write("second\n");
  EXPECT_EQ(Read(path), "first\nsecond\n");

  // Past a megabyte during a run: renamed at once, replacing an older one.
  Write(rotated, "older");
  std::unique_ptr<RotatingLog> log = RotatingLog::Open(files, path);
  log->Write(std::string(kLogRotateBytes, 'a'));
  log->Write("new\n");
  EXPECT_EQ(Read(rotated).size(), kLogRotateBytes + 13);
  EXPECT_EQ(Read(path), "new\n");

  // Past it when a run begins.
  log.reset();
  Write(path, std::string(kLogRotateBytes + 1, 'b'));
  RotatingLog::Open(files, path)->Write("newer\n");
  EXPECT_EQ(Read(path), "newer\n");
  EXPECT_TRUE(Read(rotated) == std::string(kLogRotateBytes + 1, 'b'));

  EXPECT_EQ(RotatingLog::Open(files, folder), nullptr);  // a folder for a file
}

TEST_F(LogFileWin32, AHardLinkToAnotherFileIsNeitherWrittenNorRotated) {
  CreateDirectoryW(Wide(base), nullptr);
  CreateDirectoryW(Wide(folder), nullptr);
  const Text other = folder + u"\\other";
  const std::string bytes(kLogRotateBytes + 1, 'o');
  Write(other, bytes);
  ASSERT_TRUE(CreateHardLinkW(Wide(folder + u"\\link.log"), Wide(other), nullptr));
  Text why;
  EXPECT_EQ(RotatingLog::Open(files, folder + u"\\link.log", &why), nullptr);
  EXPECT_NE(why.find(u"2 hard links"), Text::npos) << ToUtf8(why);
  EXPECT_TRUE(Read(other) == bytes);
  EXPECT_EQ(Read(folder + u"\\link.1.log"), "(none)");
}

TEST_F(LogFileWin32, ARelativePathIsTakenFromTheCurrentFolder) {
  CreateDirectoryW(Wide(base), nullptr);
  CreateDirectoryW(Wide(folder), nullptr);
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(Wide(folder));
  const std::unique_ptr<RotatingLog> log = RotatingLog::Open(files, u"px-installer.log");
  SetCurrentDirectoryW(current);
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->path(), folder + u"\\px-installer.log");
}

TEST_F(LogFileWin32, TheFolderIsMadeAsTheProgramsOwnAndThenUsedAsItStands) {
  CreateDirectoryW(Wide(base), nullptr);
  Win32LogFolders folders;
  EXPECT_FALSE(folders.Inspect(folder).exists);
  const LogFolderChoice made = PrepareLogFolder(folders, folder, u"T");
  EXPECT_TRUE(made.usable) << ToUtf8(made.note);
  const FolderFacts facts = folders.Inspect(folder);
  EXPECT_TRUE(facts.exists);
  EXPECT_TRUE(facts.attributes & kFileAttributeDirectory);
  // Wine keeps no owner of its own for a file: it reports the account, which the rule takes.
  EXPECT_TRUE(OwnerIsTrusted(facts.owner, ProcessAccountSid())) << ToUtf8(facts.owner);
  const LogFolderChoice again = PrepareLogFolder(folders, folder, u"T");
  EXPECT_TRUE(again.usable);
  EXPECT_EQ(again.note, u"");
}

TEST_F(LogFileWin32, OneUnattendedRunAtATime) {
  CreateDirectoryW(Wide(base), nullptr);
  CreateDirectoryW(Wide(folder), nullptr);
  auto lock_folder = [this] { return folder; };
  {
    Win32UnattendedLock first(lock_folder);
    ASSERT_EQ(first.Take(), UnattendedLock::Claim::kTaken);
    Win32UnattendedLock second(lock_folder);
    EXPECT_EQ(second.Take(), UnattendedLock::Claim::kRunning);
  }
  Win32UnattendedLock after(lock_folder);
  EXPECT_EQ(after.Take(), UnattendedLock::Claim::kTaken);
}

}  // namespace
}  // namespace px::win32
