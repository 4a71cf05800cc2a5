#include "platform/win32/system_folders_win32.h"

#include <string>

#include "base/win32/windows_api.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_functions.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace px::win32 {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (const HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

using FolderFunction = UINT(WINAPI*)(LPWSTR, UINT);

Expected<Text> Folder(FolderFunction function, const wchar_t* name) {
  wchar_t buffer[MAX_PATH];
  const UINT length = function(buffer, MAX_PATH);
  if (length == 0) return LastError(name);
  if (length >= MAX_PATH) return Win32Error(name, ERROR_INSUFFICIENT_BUFFER);
  return FromWide(buffer, length);
}

}  // namespace

bool RunsUnderWow64() {
  using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const auto is_wow64_process2 =
      SystemFunction<IsWow64Process2Function>(L"kernel32.dll", "IsWow64Process2");
  Wow64Answers answers;
  USHORT process_machine = 0;
  USHORT native_machine = 0;
  if (is_wow64_process2 != nullptr &&
      is_wow64_process2(GetCurrentProcess(), &process_machine, &native_machine)) {
    answers.has_machines = true;
    answers.process_machine = process_machine;
    answers.native_machine = native_machine;
  } else {
    BOOL wow64 = FALSE;
    answers.is_wow64_process = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }
  return UnderWow64(answers);
}

Expected<SystemFolders> QuerySystemFolders() {
  Expected<Text> system = Folder(&GetSystemDirectoryW, L"GetSystemDirectoryW");
  if (!system) return system.error();
  Expected<Text> windows = Folder(&GetWindowsDirectoryW, L"GetWindowsDirectoryW");
  if (!windows) return windows.error();
  return SystemFolders{std::move(system.value()), std::move(windows.value()), RunsUnderWow64()};
}

}  // namespace px::win32
