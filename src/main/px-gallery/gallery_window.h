#pragma once

#include <filesystem>
#include <memory>

#include "base/win32/windows_api.h"
#include "controls/win32/control_bform.h"
#include "controls/win32/control_host_window.h"
#include "gallery_buttons.h"

namespace px::gallery {

// px-gallery's one window: borderless, a BForm as its title bar along the top and the frame's
// skin border drawn around the rest (Printform). It does what a frame leaves to its host:
// dragging on MouseDown, minimising on MinClick, closing on CloseClick.
class GalleryWindow {
 public:
  static constexpr int kBarId = 1;

  // client: the size of the window in twips. nullptr when Windows refuses the window.
  static std::unique_ptr<GalleryWindow> Create(HINSTANCE instance, TwipSize client);
  ~GalleryWindow();
  GalleryWindow(const GalleryWindow&) = delete;
  GalleryWindow& operator=(const GalleryWindow&) = delete;

  HWND hwnd() const { return window_; }
  win32::BFormControl& bar() { return *bar_; }
  GalleryButtons& buttons() { return *buttons_; }
  // Ends the message loop when the window goes.
  void QuitOnClose() { quit_on_close_ = true; }

 private:
  explicit GalleryWindow(HWND window);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void Layout();

  HWND window_;
  std::unique_ptr<win32::HostWindowSurface> host_;
  std::unique_ptr<win32::BFormControl> bar_;
  std::unique_ptr<GalleryButtons> buttons_;
  bool quit_on_close_ = false;
};

// What the screen shows over a window right now, as a picture (nullptr when it cannot be read).
PictureRef CaptureScreen(HWND window);

// Writes a picture as a 32-bit BMP file; false when the file cannot be written.
bool WriteBmp(const Picture& picture, const std::filesystem::path& path);

}  // namespace px::gallery
