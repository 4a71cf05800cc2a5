#pragma once

#include <memory>
#include <string>

#include "controls/win32/button_control.h"

namespace px::gallery {

// The image buttons of px-gallery's window: a push button and a toggle button (on at first),
// both cut to their shape, and one line per button on the window that tells the button's latest
// events.
class GalleryButtons {
 public:
  static constexpr int kPushId = 2;
  static constexpr int kToggleId = 3;
  static constexpr TwipPoint kPushAt = {300, 1500};
  static constexpr TwipPoint kToggleAt = {3000, 1500};

  // nullptr when Windows refuses a button window.
  static std::unique_ptr<GalleryButtons> Create(HWND window, HostWindow& host);
  ~GalleryButtons();

  win32::ButtonControl& push() { return *push_; }
  win32::ButtonControl& toggle() { return *toggle_; }
  // Prints the event lines anew, as after the host has cleared its surface.
  void ShowEvents();

 private:
  class Events;
  explicit GalleryButtons(HostWindow& host);

  HostWindow& host_;
  std::unique_ptr<Events> push_events_;
  std::unique_ptr<Events> toggle_events_;
  std::unique_ptr<win32::ButtonControl> push_;
  std::unique_ptr<win32::ButtonControl> toggle_;
};

}  // namespace px::gallery
