#include "platform/win32/system_info_win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/utf.h"
#include "base/win32/windows_api.h"

#include <aclapi.h>

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
  Expected<std::unique_ptr<FileHold>> held = system.HoldFiles(folder);
  ASSERT_TRUE(held.ok()) << ToUtf8(held.error().text);
  std::unique_ptr<FileHold> hold = std::move(held.value());
  ASSERT_NE(hold, nullptr);
  EXPECT_FALSE(rewrite());
  EXPECT_FALSE(DeleteFileW(Wide(inf)));
  EXPECT_FALSE(MoveFileExW(Wide(inf), Wide(inf + u".old"), 0));
  hold.reset();
  EXPECT_TRUE(rewrite());

  EXPECT_EQ(system.HoldFiles(base + u"\\missing").value(), nullptr);
  DeleteFileW(Wide(inf));
  RemoveDirectoryW(Wide(folder));
  RemoveDirectoryW(Wide(base));
}

// What the installation reads is what the hold read: the bytes through the held handle, and no
// link, neither the folder nor a file in it.
TEST(Win32SystemInfo, AHeldFileIsReadThroughItsHandleAndALinkIsNeverRead) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const Text base = FromWide(temp) + u"px-read-" + Decimal(GetCurrentProcessId());
  const Text folder = base + u"\\PX";
  CreateDirectoryW(Wide(base), nullptr);
  CreateDirectoryW(Wide(folder), nullptr);
  const HANDLE file =
      CreateFileW(Wide(folder + u"\\PX.inf"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "[Version]\r\n", 11, &written, nullptr);
  CloseHandle(file);
  // Wine answers CreateSymbolicLinkW with success and makes nothing.
  auto link = [](const Text& name, const Text& target, DWORD flags) {
    return CreateSymbolicLinkW(Wide(name), Wide(target), flags) &&
           GetFileAttributesW(Wide(name)) != INVALID_FILE_ATTRIBUTES;
  };
  const bool file_link = link(folder + u"\\PX58.GPD", folder + u"\\PX.inf", 0);
  const bool folder_link = link(base + u"\\PX-link", folder, SYMBOLIC_LINK_FLAG_DIRECTORY);

  Win32SystemInfo system;
  {
    Expected<std::unique_ptr<FileHold>> held = system.HoldFiles(folder);
    ASSERT_TRUE(held.ok()) << ToUtf8(held.error().text);
    const std::unique_ptr<FileHold> hold = std::move(held.value());
    ASSERT_NE(hold, nullptr);
    const Expected<std::string> bytes = hold->Read(u"PX.inf");
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(bytes.value(), "[Version]\r\n");
    EXPECT_FALSE(hold->Read(u"PX80.GPD").ok()) << "not held";
    if (file_link) {
      EXPECT_EQ(hold->Names(), (std::vector<Text>{u"PX.inf", u"PX58.GPD"}));
      EXPECT_FALSE(hold->Read(u"PX58.GPD").ok()) << "a link is not read";
    }
  }
  if (folder_link) {
    EXPECT_EQ(system.HoldFiles(base + u"\\PX-link").value(), nullptr);
  }
  if (!file_link || !folder_link) std::printf("note: this Windows makes no symbolic links here\n");
  DeleteFileW(Wide(folder + u"\\PX58.GPD"));
  RemoveDirectoryW(Wide(base + u"\\PX-link"));
  DeleteFileW(Wide(folder + u"\\PX.inf"));
  RemoveDirectoryW(Wide(folder));
  RemoveDirectoryW(Wide(base));
}

bool OwnedByAdministrators(const Text& folder) {
  const HANDLE handle = CreateFileW(Wide(folder), READ_CONTROL, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const bool got = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                   nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS;
  const bool admins = got && IsWellKnownSid(owner, WinBuiltinAdministratorsSid);
  if (got) LocalFree(descriptor);
  CloseHandle(handle);
  return admins;
}

// The folder PrintUIEntry reads from is new, the installer's own, and goes with its files when
// done; one kept for an installation still running goes at the next run.
TEST(Win32SystemInfo, APrivateFolderGoesWhenDoneOrAtTheNextRun) {
  Win32SystemInfo system;
  Text kept;
  {
    Expected<std::unique_ptr<PrivateFolder>> folder = system.MakePrivateFolder();
    ASSERT_TRUE(folder.ok()) << ToUtf8(folder.error().text);
    kept = folder.value()->path();
    EXPECT_NE(kept.find(u"\\Temp\\px-package."), Text::npos) << ToUtf8(kept);
    ASSERT_TRUE(folder.value()->Write(u"PX.inf", "x").ok());
    EXPECT_FALSE(folder.value()->Write(u"PX.inf", "y").ok()) << "every file is new";
    EXPECT_NE(GetFileAttributesW(Wide(kept + u"\\PX.inf")), INVALID_FILE_ATTRIBUTES);
    folder.value()->Keep();
  }
  EXPECT_NE(GetFileAttributesW(Wide(kept)), INVALID_FILE_ATTRIBUTES) << "kept";
  const bool ours = OwnedByAdministrators(kept);
  Text next;
  {
    Expected<std::unique_ptr<PrivateFolder>> folder = system.MakePrivateFolder();
    ASSERT_TRUE(folder.ok());
    next = folder.value()->path();
    ASSERT_TRUE(folder.value()->Write(u"PX.inf", "x").ok());
  }
  EXPECT_EQ(GetFileAttributesW(Wide(next)), INVALID_FILE_ATTRIBUTES) << "removed when done";
  // Only a folder Administrators own is surely the installer's. Wine gives every new folder
  // the user's account whatever the DACL asks: there the kept one stays.
  if (ours) {
    EXPECT_EQ(GetFileAttributesW(Wide(kept)), INVALID_FILE_ATTRIBUTES) << "removed at the next run";
  } else {
    EXPECT_NE(next, kept) << "a name already taken is passed over";
    EXPECT_NE(GetFileAttributesW(Wide(kept)), INVALID_FILE_ATTRIBUTES) << "not ours: left";
    DeleteFileW(Wide(kept + u"\\PX.inf"));
    RemoveDirectoryW(Wide(kept));
  }
}

TEST(Win32SystemInfo, UiLanguageIsTheUsers) {
  EXPECT_EQ(Win32SystemInfo().UserDefaultUiLanguage(), GetUserDefaultUILanguage());
}

}  // namespace
}  // namespace px::win32
