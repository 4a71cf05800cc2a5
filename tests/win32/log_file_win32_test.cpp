// The installer's log file on Windows: made in a folder created for it, appended to, rotated.
#include "platform/win32/log_file_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win32/windows_api.h"

namespace px::win32 {
namespace {

std::string Read(const Text& path) {
  UniqueKernelHandle file(
      CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    static_cast<void>(file.release());
    return "(none)";
  }
  std::string bytes(GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  return bytes;
}

TEST(LogFileWin32, AppendsInANewFolderAndRotatesPastOneMegabyte) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const Text folder = FromWide(temp) + u"px-log-test\\" + Decimal(GetCurrentProcessId());
  const Text path = folder + u"\\px-installer.log";
  const Text rotated = folder + u"\\px-installer.1.log";

  LogFileWin32::Open(path)->Write("first\n");
  LogFileWin32::Open(path)->Write("second\n");
  EXPECT_EQ(Read(path), "first\nsecond\n");

  const std::string big(kLogRotateBytes, 'a');
  LogFileWin32::Open(path)->Write(big);  // now past a megabyte
  LogFileWin32::Open(path)->Write("new\n");
  EXPECT_EQ(Read(path), "new\n");
  EXPECT_EQ(Read(rotated).size(), big.size() + 13);

  LogFileWin32::Open(path)->Write(big + big);  // the older rotated file is replaced
  LogFileWin32::Open(path)->Write("newer\n");
  EXPECT_EQ(Read(rotated).size(), 2 * big.size() + 4);

  EXPECT_EQ(LogFileWin32::Open(folder), nullptr);  // a folder for a file
  DeleteFileW(Wide(path));
  DeleteFileW(Wide(rotated));
  RemoveDirectoryW(Wide(folder));
}

}  // namespace
}  // namespace px::win32
