#include "platform/win32/winspool_functions.h"

#include <cstring>
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace px::win32 {

namespace {

HMODULE LoadFromSystemFolder() {
  if (const HMODULE module =
          LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  // Windows 7 without KB2533623 refuses the flag: the full path in the system folder instead.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\winspool.drv";
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <class Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  const FARPROC address = GetProcAddress(module, name);
  static_assert(sizeof function == sizeof address);
  std::memcpy(&function, &address, sizeof function);
}

WinspoolFunctions* Load() {
  static WinspoolFunctions functions;
  const HMODULE module = LoadFromSystemFolder();
  if (module == nullptr) return nullptr;
#define PX_WINSPOOL_RESOLVE(name) Resolve(module, #name, functions.name);
  PX_WINSPOOL_FUNCTIONS(PX_WINSPOOL_RESOLVE)
#undef PX_WINSPOOL_RESOLVE
  return &functions;
}

}  // namespace

const WinspoolFunctions* Winspool() {
  // Asked from the program's one thread only: plain statics, without the locking (and the
  // threads library) a guarded one would link in.
  static bool loaded = false;
  static const WinspoolFunctions* functions = nullptr;
  if (!loaded) {
    functions = Load();
    loaded = true;
  }
  return functions;
}

}  // namespace px::win32
