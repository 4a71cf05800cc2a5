// The answers Windows (or Wine) gives for the choice of a program's path, and the rundll32
// that the installer starts with them.
#include "platform/win32/system_folders_win32.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/utf.h"
#include "base/win32/windows_api.h"

namespace px::win32 {
namespace {

Text Folder(UINT(WINAPI* function)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH];
  const UINT length = function(buffer, MAX_PATH);
  return FromWide(buffer, length < MAX_PATH ? length : 0);
}

TEST(QuerySystemFolders, AreTheRunningSystemsAnswers) {
  const Expected<SystemFolders> folders = QuerySystemFolders();
  ASSERT_TRUE(folders.ok()) << ToUtf8(folders.error().text);
  EXPECT_EQ(folders.value().system, Folder(&GetSystemDirectoryW));
  EXPECT_EQ(folders.value().windows, Folder(&GetWindowsDirectoryW));
  EXPECT_FALSE(folders.value().system.empty());
  EXPECT_FALSE(folders.value().windows.empty());

  // Asked another way: the native processor, and whether this process is under WOW64.
  SYSTEM_INFO native{};
  GetNativeSystemInfo(&native);
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(folders.value().under_wow64,
            wow64 && (native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                      native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64));
  EXPECT_EQ(RunsUnderWow64(), folders.value().under_wow64);
}

// The executable the installation command runs exists: the native one under WOW64.
TEST(QuerySystemFolders, NameTheInstallersRundll32) {
  const Expected<SystemFolders> folders = QuerySystemFolders();
  ASSERT_TRUE(folders.ok());
  const Text rundll32 = ApplicationPathFor(
      u"rundll32 printui.dll,PrintUIEntry /if /b \"P\" /f C:\\PX\\PX.inf /r USB001 /m \"P\"",
      folders.value());
  const DWORD attributes = GetFileAttributesW(Wide(rundll32));
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << ToUtf8(rundll32);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << ToUtf8(rundll32);
  const Text native_folder = folders.value().under_wow64
                                 ? folders.value().windows + u"\\Sysnative\\"
                                 : folders.value().system + u"\\";
  EXPECT_EQ(rundll32, native_folder + u"rundll32.exe");
  std::printf("rundll32: %s\n", ToUtf8(rundll32).c_str());
}

}  // namespace
}  // namespace px::win32
