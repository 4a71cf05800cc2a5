#include "platform/win32/log_folders_win32.h"

#include <aclapi.h>
#include <shlobj.h>

#include "base/win32/unique_handle.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/nt_files_win32.h"
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

// What the log's folder is held with: looked into, its files made, its owner and DACL set.
constexpr DWORD kHeldAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_FILE |
                              FILE_READ_ATTRIBUTES | READ_CONTROL | WRITE_DAC | WRITE_OWNER |
                              SYNCHRONIZE;

// FOLDERID_ProgramData. Taken from the uuid library, it would bring its every GUID along
// (29 KB).
constexpr GUID kFolderIdProgramData = {
    0x62ab5d82, 0xfdc1, 0x4dc3, {0xa9, 0xdd, 0x07, 0x0d, 0x1d, 0x49, 0x5d, 0x97}};

}  // namespace

// What an allowed ACE's mask lets its account do to a folder's names or its DACL.
constexpr DWORD kWritingRights = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD |
                                 DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

FolderFacts FolderFactsOf(HANDLE folder) {
  FolderFacts facts;
  facts.exists = true;
  facts.attributes = FactsOf(folder).attributes;
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(folder, SE_FILE_OBJECT,
                      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                      &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return facts;
  }
  facts.owner = SidText(owner);
  if (dacl == nullptr) facts.writers.push_back(u"S-1-1-0");
  for (DWORD index = 0; dacl != nullptr && index < dacl->AceCount; ++index) {
    void* ace = nullptr;
    if (!GetAce(dacl, index, &ace)) continue;
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    // An ACE only for what is made inside grants nothing on the folder itself.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) {
      continue;
    }
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Mask & kWritingRights) {
      facts.writers.push_back(SidText(reinterpret_cast<PSID>(&allowed->SidStart)));
    }
  }
  LocalFree(descriptor);
  return facts;
}

FolderFacts Win32LogFolders::Inspect(const Text& folder) {
  held_.reset();
  // Less for a run that may not change the folder's DACL, least for one that may only look.
  UniqueKernelHandle name;
  for (const DWORD access : {kHeldAccess, kHeldAccess & ~(WRITE_DAC | WRITE_OWNER),
                             DWORD{READ_CONTROL | FILE_READ_ATTRIBUTES}}) {
    name = OpenName(folder, access);
    if (name || GetLastError() != ERROR_ACCESS_DENIED) break;
  }
  if (!name) {
    FolderFacts facts;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) facts.error = error;
    return facts;
  }
  FolderFacts facts = FolderFactsOf(name.get());
  // Wine reports a Unix link to a folder as a reparse point by its name only.
  const DWORD by_name = GetFileAttributesW(Wide(folder));
  if (by_name != INVALID_FILE_ATTRIBUTES) facts.attributes |= by_name & kFileAttributeReparsePoint;
  held_ = std::move(name);
  return facts;
}

Text Win32LogFolders::AccountSid() { return ProcessAccountSid(); }

std::uint32_t Win32LogFolders::CreateProtected(const Text& folder) {
  held_.reset();
  auto create = [&](const wchar_t* sddl) -> DWORD {
    const std::unique_ptr<SecurityDescriptor> descriptor = SecurityDescriptor::FromSddl(sddl);
    if (!descriptor) return ERROR_INVALID_PARAMETER;
    NtOpened made = OpenRelative(nullptr, NtPath(folder), kHeldAccess, kNtCreate,
                                 kNtDirectory | kNtAsItself, descriptor->get());
    if (!made.handle) return made.error;
    held_ = std::move(made.handle);
    return ERROR_SUCCESS;
  };
  const DWORD made = create(kProtectedFolderSddl);
  // Only an elevated administrator may give Administrators the folder; anyone else owns it.
  if (made != ERROR_INVALID_OWNER) return made;
  return create(kProtectedFolderSddl + 4);
}

std::uint32_t Win32LogFolders::Protect() {
  // On the held handle, not by name: SetNamedSecurityInfo would carry the DACL down onto
  // whatever the folder holds, links to files elsewhere included. The owner changes too:
  // whoever owns the folder may change its DACL whatever the DACL says.
  if (!held_) return ERROR_INVALID_HANDLE;
  const std::unique_ptr<SecurityDescriptor> descriptor =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl);
  if (!descriptor) return ERROR_INVALID_PARAMETER;
  if (!SetKernelObjectSecurity(held_.get(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                               descriptor->get())) {
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

std::uint32_t Win32LogFolders::Rename(const Text& from, const Text& to) {
  held_.reset();
  return MoveFileExW(Wide(from), Wide(to), 0) ? ERROR_SUCCESS : GetLastError();
}

std::unique_ptr<LogFolder> Win32LogFolders::TakeHeld() {
  if (!held_) return nullptr;
  return HeldLogFolder(std::move(held_));
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
