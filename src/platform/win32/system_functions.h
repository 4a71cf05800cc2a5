#pragma once

#include <cstring>

#include "base/win32/windows_api.h"

namespace px::win32 {

// A function of a system DLL that older Windows versions lack (Windows 7 is the oldest the
// program runs on), looked up at run time instead of imported, so that the program still loads
// there. Null when the running system has no such function. The module must be loaded already
// (kernel32 and user32 always are).
template <class Function>
Function SystemFunction(const wchar_t* module_name, const char* function_name) {
  const HMODULE module = GetModuleHandleW(module_name);
  if (module == nullptr) return nullptr;
  const FARPROC address = GetProcAddress(module, function_name);
  Function function = nullptr;
  static_assert(sizeof function == sizeof address);
  std::memcpy(&function, &address, sizeof function);
  return function;
}

}  // namespace px::win32
