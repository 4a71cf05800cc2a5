// px-capture's folder: held from its making on, so that it can be neither renamed away nor
// replaced while the capture writes, with the files made in the folder that was made.
#include <gtest/gtest.h>

#include <string>

#include "base/utf.h"
#include "capture/win32/capture_win32.h"

namespace px::capture::win32 {
namespace {

TEST(CaptureFolder, IsHeldSoThatItCannotBeSwappedAndItsFilesAreMadeInIt) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring base =
      std::wstring(temp) + L"px-capture-test-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring folder = base + L"\\new";
  const std::wstring moved = base + L"\\moved";
  const Text folder_text = px::win32::FromWide(folder);
  {
    const px::win32::UniqueKernelHandle held = MakeCaptureFolder(folder_text, true);
    ASSERT_TRUE(held) << GetLastError();
    EXPECT_FALSE(MakeCaptureFolder(folder_text, true));  // it must be new
    EXPECT_FALSE(MoveFileExW(folder.c_str(), moved.c_str(), 0));
    EXPECT_FALSE(RemoveDirectoryW(folder.c_str()));
    EXPECT_TRUE(WriteWholeFile(held.get(), folder_text, u"usb.txt", "bytes", true).ok());
    EXPECT_FALSE(WriteWholeFile(held.get(), folder_text, u"usb.txt", "again", true).ok());
  }
  EXPECT_NE(GetFileAttributesW((folder + L"\\usb.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW((folder + L"\\usb.txt").c_str());
  // Released, it is an ordinary folder again.
  EXPECT_TRUE(MoveFileExW(folder.c_str(), moved.c_str(), 0));
  RemoveDirectoryW(moved.c_str());
  RemoveDirectoryW(base.c_str());
}

}  // namespace
}  // namespace px::capture::win32
