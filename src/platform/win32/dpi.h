#pragma once

#include "base/win32/windows_api.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace px::win32 {

// The DPI the window is drawn at: its monitor's on Windows 10 and later (the program is per
// monitor DPI aware), the system DPI before.
UINT WindowDpi(HWND window);

// The outer size of a window whose client area has the given size, at a DPI.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace px::win32
