#include "platform/win32/system_error_win32.h"

#include <cstdio>
#include <iterator>

namespace px::win32 {

namespace {

// FormatMessageW into a local buffer; 0 characters when the module has no text for the code.
Text FormatFrom(DWORD flags, HMODULE module, DWORD code) {
  wchar_t buffer[512];
  const DWORD length = FormatMessageW(flags | FORMAT_MESSAGE_IGNORE_INSERTS, module, code, 0,
                                      buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring_view text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.remove_suffix(1);
  }
  return FromWide(text);
}

}  // namespace

Text SystemMessageText(HRESULT hr) {
  const auto code = static_cast<DWORD>(hr);
  Text text = FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
  if (!text.empty()) return text;
  // WMI's codes (facility ITF, 0x8004xxxx) have their texts in wmiutils.dll. It is loaded as
  // data from the system folder only, never searched for.
  if (HRESULT_FACILITY(hr) == FACILITY_ITF) {
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length > 0 && length + 14 < MAX_PATH) {
      std::wstring module_path(path, length);
      module_path += L"\\wbem\\wmiutils.dll";
      HMODULE module = LoadLibraryExW(module_path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
      if (module != nullptr) {
        text = FormatFrom(FORMAT_MESSAGE_FROM_HMODULE, module, code);
        FreeLibrary(module);
      }
    }
  }
  return text;
}

SystemError HresultError(std::wstring_view what, HRESULT hr) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(hr)));
  Text text = FromWide(what);
  text += u": ";
  for (const char* c = hex; *c != '\0'; ++c) text += static_cast<char16_t>(*c);
  const Text system_text = SystemMessageText(hr);
  if (!system_text.empty()) {
    text += u' ';
    text += system_text;
  }
  return SystemError{std::move(text)};
}

SystemError Win32Error(std::wstring_view what, DWORD code) {
  return HresultError(what, HRESULT_FROM_WIN32(code));
}

SystemError LastError(std::wstring_view what) {
  const DWORD code = GetLastError();
  return Win32Error(what, code);
}

}  // namespace px::win32
