// A winspool.drv as someone would plant it beside the installer in a Downloads folder. Loaded,
// it leaves a file "<its own path>.loaded". It exports the functions the installer once
// imported from winspool.drv, so a program that imports them would load it and start.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwchar>

namespace {

void LeaveMarker(HINSTANCE self) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH - 8);
  if (length == 0 || length >= MAX_PATH - 8) return;
  std::wcscpy(path + length, L".loaded");
  const HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
}

BOOL Refuse() {
  SetLastError(ERROR_INVALID_FUNCTION);
  return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI OpenPrinterW(wchar_t*, HANDLE*, void*) {
  return Refuse();
}
extern "C" __declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE) { return Refuse(); }
extern "C" __declspec(dllexport) BOOL WINAPI GetPrinterW(HANDLE, DWORD, BYTE*, DWORD, DWORD*) {
  return Refuse();
}
extern "C" __declspec(dllexport) BOOL WINAPI
    EnumPortsW(wchar_t*, DWORD, BYTE*, DWORD, DWORD*, DWORD*) {
  return Refuse();
}
extern "C" __declspec(dllexport) BOOL WINAPI
    EnumPrintersW(DWORD, wchar_t*, DWORD, BYTE*, DWORD, DWORD*, DWORD*) {
  return Refuse();
}
