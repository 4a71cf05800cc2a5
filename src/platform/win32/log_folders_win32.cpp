#include "platform/win32/log_folders_win32.h"

#include <aclapi.h>
#include <shlobj.h>

#include "base/win32/unique_handle.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/security_win32.h"

namespace px::win32 {

namespace {

// The folder's name itself, whatever it is: a folder, a junction, a file.
UniqueKernelHandle OpenName(const Text& folder, DWORD access) {
  const HANDLE handle = CreateFileW(
      Wide(folder), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  return UniqueKernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// FOLDERID_ProgramData. Taken from the uuid library, it would bring its every GUID along
// (29 KB).
constexpr GUID kFolderIdProgramData = {
    0x62ab5d82, 0xfdc1, 0x4dc3, {0xa9, 0xdd, 0x07, 0x0d, 0x1d, 0x49, 0x5d, 0x97}};

}  // namespace

FolderFacts Win32LogFolders::Inspect(const Text& folder) {
  FolderFacts facts;
  const UniqueKernelHandle name = OpenName(folder, READ_CONTROL | FILE_READ_ATTRIBUTES);
  if (!name) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) facts.error = error;
    return facts;
  }
  facts.exists = true;
  facts.attributes = FactsOf(name.get()).attributes;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(name.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                      nullptr, nullptr, &descriptor) == ERROR_SUCCESS) {
    facts.owner = SidText(owner);
    LocalFree(descriptor);
  }
  return facts;
}

Text Win32LogFolders::AccountSid() { return ProcessAccountSid(); }

std::uint32_t Win32LogFolders::CreateProtected(const Text& folder) {
  auto create = [&folder](const wchar_t* sddl) -> DWORD {
    const std::unique_ptr<SecurityDescriptor> descriptor = SecurityDescriptor::FromSddl(sddl);
    if (!descriptor) return ERROR_INVALID_PARAMETER;
    return CreateDirectoryW(Wide(folder), descriptor->attributes()) ? ERROR_SUCCESS
                                                                    : GetLastError();
  };
  const DWORD made = create(kProtectedFolderSddl);
  // Only an elevated administrator may give Administrators the folder; anyone else owns it.
  if (made != ERROR_INVALID_OWNER) return made;
  return create(kProtectedFolderSddl + 4);
}

std::uint32_t Win32LogFolders::Protect(const Text& folder) {
  // On the handle, not by name: SetNamedSecurityInfo would carry the DACL down onto whatever
  // the folder holds, links to files elsewhere included. The owner changes too: whoever owns
  // the folder may change its DACL whatever the DACL says.
  const UniqueKernelHandle name = OpenName(folder, READ_CONTROL | WRITE_DAC | WRITE_OWNER);
  if (!name) return GetLastError();
  const std::unique_ptr<SecurityDescriptor> descriptor =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl);
  if (!descriptor) return ERROR_INVALID_PARAMETER;
  if (!SetKernelObjectSecurity(name.get(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                               descriptor->get())) {
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

std::uint32_t Win32LogFolders::Rename(const Text& from, const Text& to) {
  return MoveFileExW(Wide(from), Wide(to), 0) ? ERROR_SUCCESS : GetLastError();
}

Text ProgramDataFolder() {
  wchar_t* path = nullptr;
  if (FAILED(SHGetKnownFolderPath(kFolderIdProgramData, 0, nullptr, &path))) {
    CoTaskMemFree(path);
    return Text();
  }
  Text folder = FromWide(path);
  CoTaskMemFree(path);
  return folder;
}

}  // namespace px::win32
