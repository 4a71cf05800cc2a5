// The installer's private folders under <windows>\Temp: made with the DACL of its log folder,
// so that only SYSTEM and Administrators may change what the spooler is given to read.
#include "platform/win32/system_info_win32.h"

#include <aclapi.h>

#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/system_error_win32.h"

namespace px::win32 {
namespace {

constexpr wchar_t kPrefix[] = L"px-package.";

std::wstring WideOf(const Text& text) { return std::wstring(Wide(text), text.size()); }

std::wstring TempFolder() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(windows, length) + L"\\Temp";
}

// Removes the files of a folder and the folder; what is still open elsewhere stays.
void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      // DeleteFileW removes a link itself, never what it points to.
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

// A folder an earlier run left (its installation still ran when the run ended) is removed
// when Administrators or SYSTEM own it, that is when the installer made it; a folder of that
// name that anyone else made is left alone.
void RemoveLeftovers(const std::wstring& temp) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((temp + L"\\" + kPrefix + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const DWORD attributes = entry.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      continue;
    }
    const std::wstring folder = temp + L"\\" + entry.cFileName;
    const HANDLE handle =
        CreateFileW(folder.c_str(), READ_CONTROL, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) continue;
    const UniqueKernelHandle name(handle);
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(name.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
      continue;
    }
    const bool ours = IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                      IsWellKnownSid(owner, WinLocalSystemSid);
    LocalFree(descriptor);
    if (ours) RemoveFolder(folder);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

class Win32PrivateFolder : public PrivateFolder {
 public:
  Win32PrivateFolder(std::wstring path, UniqueKernelHandle handle)
      : wide_(std::move(path)), path_(FromWide(wide_)), handle_(std::move(handle)) {}
  ~Win32PrivateFolder() override {
    handle_.reset();
    if (!kept_) RemoveFolder(wide_);
  }
  Win32PrivateFolder(const Win32PrivateFolder&) = delete;
  Win32PrivateFolder& operator=(const Win32PrivateFolder&) = delete;

  const Text& path() const override { return path_; }

  Status Write(const Text& name, std::string_view bytes) override {
    const std::wstring file = wide_ + L"\\" + std::wstring(Wide(name), name.size());
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError(L"CreateFileW");
    const UniqueKernelHandle owned(handle);
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD written = 0;
      if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                     nullptr)) {
        return LastError(L"WriteFile");
      }
      done += written;
    }
    return Ok();
  }

  void Keep() override { kept_ = true; }

 private:
  std::wstring wide_;
  Text path_;
  UniqueKernelHandle handle_;  // the folder, open without sharing deletion: it cannot be moved
  bool kept_ = false;
};

}  // namespace

Expected<std::unique_ptr<PrivateFolder>> Win32SystemInfo::MakePrivateFolder() {
  const std::wstring temp = TempFolder();
  if (temp.empty()) return Win32Error(L"GetSystemWindowsDirectoryW", ERROR_PATH_NOT_FOUND);
  RemoveLeftovers(temp);
  const std::unique_ptr<SecurityDescriptor> owned =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl);
  // Only an elevated administrator may give Administrators the folder; anyone else owns it.
  const std::unique_ptr<SecurityDescriptor> unowned =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl + 4);
  if (!owned || !unowned)
    return Win32Error(L"ConvertStringSecurityDescriptorToSecurityDescriptorW",
                      ERROR_INVALID_PARAMETER);

  // A name someone made first is passed over: the folder must be new.
  const std::wstring base = temp + L"\\" + kPrefix + WideOf(Decimal(GetCurrentProcessId()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring path = attempt == 0 ? base : base + L"-" + WideOf(Decimal(attempt));
    BOOL made = CreateDirectoryW(path.c_str(), owned->attributes());
    if (!made && GetLastError() == ERROR_INVALID_OWNER) {
      made = CreateDirectoryW(path.c_str(), unowned->attributes());
    }
    if (!made) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return LastError(L"CreateDirectoryW");
    }
    const HANDLE handle = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const SystemError error = LastError(L"CreateFileW");
      RemoveDirectoryW(path.c_str());
      return error;
    }
    return std::unique_ptr<PrivateFolder>(
        std::make_unique<Win32PrivateFolder>(path, UniqueKernelHandle(handle)));
  }
  return Win32Error(L"CreateDirectoryW", ERROR_ALREADY_EXISTS);
}

}  // namespace px::win32
