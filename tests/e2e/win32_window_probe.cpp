// A helper of the Wine screenshot test: finds a top-level window by its caption.
//   win32_window_probe wait CAPTION SECONDS  prints the client area in screen pixels, "x y w h",
//                                            once the window is visible (exit 1 on timeout)
//   win32_window_probe close CAPTION         asks the window to close, as its close button does

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/win32/windows_api.h"

namespace {

HWND FindVisible(const wchar_t* caption) {
  const HWND window = FindWindowW(nullptr, caption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int Wait(const wchar_t* caption, int seconds) {
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while ((window = FindVisible(caption)) == nullptr) {
    if (GetTickCount() - start > static_cast<DWORD>(seconds) * 1000) {
      std::fprintf(stderr, "no visible window with that caption after %d s\n", seconds);
      return 1;
    }
    Sleep(100);
  }
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  return 0;
}

int Close(const wchar_t* caption) {
  const HWND window = FindWindowW(nullptr, caption);
  if (window == nullptr) {
    std::fprintf(stderr, "no window with that caption\n");
    return 1;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wcscmp(argv[1], L"wait") == 0) return Wait(argv[2], _wtoi(argv[3]));
  if (argc >= 3 && std::wcscmp(argv[1], L"close") == 0) return Close(argv[2]);
  std::fprintf(stderr, "usage: win32_window_probe wait CAPTION SECONDS | close CAPTION\n");
  return 2;
}
