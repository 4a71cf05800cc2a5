#include "platform/win32/system_info_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/utf.h"
#include "base/win32/windows_api.h"

namespace px::win32 {
namespace {

struct FolderCase {
  const char16_t* module_path;
  const char16_t* folder;
};

TEST(FolderOf, DropsTheFileNameAndKeepsADriveRoot) {
  const FolderCase cases[] = {
      {u"C:\\Users\\me\\Downloads\\px-installer.exe", u"C:\\Users\\me\\Downloads"},
      {u"C:\\px-installer.exe", u"C:\\"},
      {u"D:\\x\\y\\z\\a.exe", u"D:\\x\\y\\z"},
      {u"\\\\server\\share\\px-installer.exe", u"\\\\server\\share"},
      {u"\\\\?\\C:\\px-installer.exe", u"\\\\?\\C:\\"},
      {u"\\\\?\\C:\\long\\px-installer.exe", u"\\\\?\\C:\\long"},
      {u"px-installer.exe", u""},
  };
  for (const FolderCase& c : cases) {
    EXPECT_EQ(FolderOf(c.module_path), c.folder) << ToUtf8(c.module_path);
  }
}

TEST(Win32SystemInfo, ProgramFolderHoldsTheRunningProgram) {
  Win32SystemInfo system;
  const Text folder = system.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  const Text module_path = FromWide(module, length);
  ASSERT_EQ(module_path.rfind(folder, 0), 0u);
  const Text separator = folder.ends_with(u'\\') ? u"" : u"\\";
  EXPECT_TRUE(system.FileExists(module_path));
  EXPECT_TRUE(
      system.FileExists(folder + separator + module_path.substr(module_path.rfind(u'\\') + 1)));
  EXPECT_FALSE(system.FileExists(folder)) << "a folder is not a file";
  EXPECT_FALSE(system.FileExists(folder + separator + u"PX\\no-such-file.inf"));
}

// The user who owns the program's folder must not swap the driver package while the elevated
// installation uses it.
TEST(Win32SystemInfo, AHeldFolderCannotBeChangedUntilTheHoldEnds) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const Text base = FromWide(temp) + u"px-hold-" + Decimal(GetCurrentProcessId());
  const Text folder = base + u"\\PX";
  const Text inf = folder + u"\\PX.inf";
  CreateDirectoryW(Wide(base), nullptr);
  CreateDirectoryW(Wide(folder), nullptr);
  auto rewrite = [&inf] {
    const HANDLE file =
        CreateFileW(Wide(inf), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  };
  ASSERT_TRUE(rewrite());

  Win32SystemInfo system;
  std::unique_ptr<FileHold> hold = system.HoldFiles(folder);
  ASSERT_NE(hold, nullptr);
  EXPECT_FALSE(rewrite());
  EXPECT_FALSE(DeleteFileW(Wide(inf)));
  EXPECT_FALSE(MoveFileExW(Wide(inf), Wide(inf + u".old"), 0));
  hold.reset();
  EXPECT_TRUE(rewrite());

  EXPECT_EQ(system.HoldFiles(base + u"\\missing"), nullptr);
  DeleteFileW(Wide(inf));
  RemoveDirectoryW(Wide(folder));
  RemoveDirectoryW(Wide(base));
}

TEST(Win32SystemInfo, UiLanguageIsTheUsers) {
  EXPECT_EQ(Win32SystemInfo().UserDefaultUiLanguage(), GetUserDefaultUILanguage());
}

}  // namespace
}  // namespace px::win32
