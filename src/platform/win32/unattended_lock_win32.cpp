#include "platform/win32/unattended_lock_win32.h"

#include <memory>

#include "platform/win32/security_win32.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_functions.h"

namespace px::win32 {

namespace {

constexpr wchar_t kNamespace[] = L"px-installer";
constexpr wchar_t kMutexName[] = L"px-installer\\quiet";
constexpr wchar_t kLockFileName[] = L"\\quiet.lock";

using CreateBoundaryDescriptorFunction = HANDLE(WINAPI*)(LPCWSTR, ULONG);
using AddSidToBoundaryDescriptorFunction = BOOL(WINAPI*)(HANDLE*, PSID);
using DeleteBoundaryDescriptorFunction = VOID(WINAPI*)(HANDLE);
using CreatePrivateNamespaceFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
using OpenPrivateNamespaceFunction = HANDLE(WINAPI*)(LPVOID, LPCWSTR);
using ClosePrivateNamespaceFunction = BOOLEAN(WINAPI*)(HANDLE, ULONG);

ClosePrivateNamespaceFunction ClosePrivateNamespaceFn() {
  return SystemFunction<ClosePrivateNamespaceFunction>(L"kernel32.dll", "ClosePrivateNamespace");
}

// A boundary descriptor naming the Administrators group, deleted on every path.
class Boundary {
 public:
  Boundary() {
    create_ = SystemFunction<CreateBoundaryDescriptorFunction>(L"kernel32.dll",
                                                               "CreateBoundaryDescriptorW");
    add_sid_ = SystemFunction<AddSidToBoundaryDescriptorFunction>(L"kernel32.dll",
                                                                  "AddSIDToBoundaryDescriptor");
    delete_ = SystemFunction<DeleteBoundaryDescriptorFunction>(L"kernel32.dll",
                                                               "DeleteBoundaryDescriptor");
    if (!create_ || !add_sid_ || !delete_) return;
    handle_ = create_(kNamespace, 0);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (handle_ != nullptr &&
        !(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
          add_sid_(&handle_, sid))) {
      delete_(handle_);
      handle_ = nullptr;
    }
  }
  ~Boundary() {
    if (handle_ != nullptr) delete_(handle_);
  }
  Boundary(const Boundary&) = delete;
  Boundary& operator=(const Boundary&) = delete;

  HANDLE get() const { return handle_; }

 private:
  CreateBoundaryDescriptorFunction create_ = nullptr;
  AddSidToBoundaryDescriptorFunction add_sid_ = nullptr;
  DeleteBoundaryDescriptorFunction delete_ = nullptr;
  HANDLE handle_ = nullptr;
};

}  // namespace

Win32UnattendedLock::~Win32UnattendedLock() {
  held_.reset();
  if (namespace_ != nullptr) {
    if (const auto close = ClosePrivateNamespaceFn()) close(namespace_, 0);
  }
}

UnattendedLock::Claim Win32UnattendedLock::Take() {
  bool tried = false;
  const Claim claim = TakeInNamespace(tried);
  if (tried) return claim;
  const Text folder = lock_folder_ ? lock_folder_() : Text();
  if (folder.empty()) return Claim::kNone;
  return TakeFile(folder);
}

UnattendedLock::Claim Win32UnattendedLock::TakeInNamespace(bool& tried) {
  const auto create_namespace =
      SystemFunction<CreatePrivateNamespaceFunction>(L"kernel32.dll", "CreatePrivateNamespaceW");
  const auto open_namespace =
      SystemFunction<OpenPrivateNamespaceFunction>(L"kernel32.dll", "OpenPrivateNamespaceW");
  if (!create_namespace || !open_namespace || !ClosePrivateNamespaceFn()) return Claim::kNone;
  const Boundary boundary;
  const std::unique_ptr<SecurityDescriptor> descriptor =
      SecurityDescriptor::FromSddl(kNamespaceSddl);
  if (boundary.get() == nullptr || !descriptor) return Claim::kNone;

  // The run that made the namespace may end between our attempt to make it and to open it.
  for (int attempt = 0; attempt < 3 && namespace_ == nullptr; ++attempt) {
    namespace_ = create_namespace(descriptor->attributes(), boundary.get(), kNamespace);
    if (namespace_ == nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
      namespace_ = open_namespace(boundary.get(), kNamespace);
    } else if (namespace_ == nullptr) {
      break;
    }
  }
  if (namespace_ == nullptr) return Claim::kNone;  // not an administrator, or not supported
  tried = true;

  held_.reset(CreateMutexW(nullptr, FALSE, kMutexName));
  const DWORD error = GetLastError();
  if (held_ && error == ERROR_ALREADY_EXISTS) {
    held_.reset();
    return Claim::kRunning;
  }
  // A run under another account (SYSTEM, from a deployment tool) may own it with no right for us.
  if (error == ERROR_ACCESS_DENIED) return Claim::kRunning;
  if (held_) return Claim::kTaken;
  // Another kind of object of that name (ERROR_INVALID_HANDLE), or no resources left.
  refusal_ = Win32Error(L"CreateMutexW", error).text;
  return Claim::kNone;
}

UnattendedLock::Claim Win32UnattendedLock::TakeFile(const Text& folder) {
  const std::wstring path = std::wstring(Wide(folder), folder.size()) + kLockFileName;
  const HANDLE file = CreateFileW(
      path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    held_.reset(file);
    return Claim::kTaken;
  }
  // Held open by another run. Anything else (a file still being deleted as a run ends, say)
  // must not turn runs away.
  const DWORD error = GetLastError();
  if (error == ERROR_SHARING_VIOLATION) return Claim::kRunning;
  refusal_ = Win32Error(L"CreateFileW", error).text;
  return Claim::kNone;
}

}  // namespace px::win32
