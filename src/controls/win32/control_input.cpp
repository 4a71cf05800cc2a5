#include "controls/win32/control_input.h"

#include "controls/common/control_site.h"

namespace px::win32 {

std::int16_t ShiftState(WPARAM w) {
  std::int16_t shift = 0;
  if (w & MK_SHIFT) shift |= kShiftMask;
  if (w & MK_CONTROL) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

std::int16_t KeyShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

std::int16_t HeldButtons(WPARAM w) {
  std::int16_t buttons = 0;
  if (w & MK_LBUTTON) buttons |= kLeftButton;
  if (w & MK_RBUTTON) buttons |= kRightButton;
  if (w & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

std::int16_t MessageButton(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return kRightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

bool RegisterChildClass(HINSTANCE instance, const wchar_t* class_name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, class_name, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace px::win32
