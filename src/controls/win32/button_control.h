#pragma once

#include <memory>

#include "controls/button/ibutton.h"
#include "controls/win32/button_api_win32.h"
#include "controls/win32/button_window.h"

namespace px::win32 {

// iButton as a Windows child control: its window, the system calls it makes, and the button
// itself, whose events go to the host's handlers.
class ButtonControl {
 public:
  // A visible button at `bounds` (twips) in the parent's client area, placed and shown as a
  // host does it (first resize, first show); nullptr when Windows refuses the window. events
  // must outlive the control.
  static std::unique_ptr<ButtonControl> Create(HWND parent, int id, TwipRect bounds,
                                               iButtonEvents& events);
  // Loads saved settings, then places and shows the button, as a host that restores a button.
  static std::unique_ptr<ButtonControl> Create(HWND parent, int id, TwipRect bounds,
                                               iButtonEvents& events, PropertyStore& settings,
                                               ControlStatus* loaded);

  HWND hwnd() const { return window_->hwnd(); }
  iButton& button() { return *button_; }
  ButtonWindow& window() { return *window_; }
  ButtonApiWin32& api() { return api_; }

 private:
  ButtonControl() = default;

  ButtonApiWin32 api_;
  std::unique_ptr<ButtonWindow> window_;
  std::unique_ptr<iButton> button_;
};

}  // namespace px::win32
