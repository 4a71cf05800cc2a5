#include "platform/win32/startup.h"

#include <memory>

#include "base/win32/com_ptr.h"
#include "base/win32/windows_api.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_functions.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace px::win32 {

Expected<ComStart> StartCom() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return HresultError(L"CoInitializeEx", hr);
  // Who may call into the process: SYSTEM and Administrators. Without a descriptor COM would
  // take the machine's defaults, and an elevated process needs nobody else calling it.
  const std::unique_ptr<SecurityDescriptor> self_relative = SecurityDescriptor::FromSddl(kComSddl);
  if (!self_relative) {
    CoUninitialize();
    return LastError(L"ConvertStringSecurityDescriptorToSecurityDescriptorW");
  }
  AbsoluteSecurityDescriptor descriptor(*self_relative);
  if (descriptor.get() == nullptr) {
    CoUninitialize();
    return LastError(L"MakeAbsoluteSD");
  }
  hr = CoInitializeSecurity(descriptor.get(), -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                            RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  // Already set (by a hooking DLL, say) is not a failure: WMI's proxies get their blanket anyway,
  // but who may call the process is then someone else's choice, which the log tells.
  ComStart started;
  if (hr == RPC_E_TOO_LATE) {
    started.security_set_before = HresultError(L"CoInitializeSecurity", hr);
  } else if (FAILED(hr)) {
    CoUninitialize();
    return HresultError(L"CoInitializeSecurity", hr);
  }
  return started;
}

void StopCom() { CoUninitialize(); }

void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto set_default_dll_directories =
      SystemFunction<SetDefaultDllDirectoriesFunction>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (set_default_dll_directories != nullptr &&
      set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return;
  }
  SetDllDirectoryW(L"");
}

}  // namespace px::win32
