#include "platform/win32/winspool_functions.h"

#include <cstring>

#include "platform/win32/system_folders_win32.h"

namespace px::win32 {

namespace {

template <class Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  const FARPROC address = GetProcAddress(module, name);
  static_assert(sizeof function == sizeof address);
  std::memcpy(&function, &address, sizeof function);
}

WinspoolFunctions* Load() {
  static WinspoolFunctions functions;
  const HMODULE module = LoadSystemLibrary(L"winspool.drv");
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
