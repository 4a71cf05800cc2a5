// The host window the controls' Win32 tests place a control in, and its messages.
#pragma once

#include "base/win32/windows_api.h"

namespace px::testing {

// A plain top-level popup window at (100, 100) on the screen, 300 x 200 pixels, of a class of
// its own (a second registration fails harmlessly); null when it cannot be made.
inline HWND MakeParentWindow(const wchar_t* class_name, DWORD style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, class_name, class_name, style, 100, 100, 300, 200, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

// Dispatches the thread's messages for about this many milliseconds, as a message loop would.
inline void Pump(int ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

}  // namespace px::testing
