#pragma once

// The window that hosts the controls, as the controls that draw on it see it.
#include <windows.h>

#include <memory>

namespace px::kit {

// A retained surface over a window's client area: what BForm::Printform draws the window's
// border on, repainted from its image on WM_PAINT. The window's procedure hands it WM_SIZE,
// WM_PAINT and WM_ERASEBKGND first:
//   if (host->HandleMessage(message, w, l, &result)) return result;
// The window must outlive it.
class HostSurface {
 public:
  explicit HostSurface(HWND window);
  ~HostSurface();
  HostSurface(const HostSurface&) = delete;
  HostSurface& operator=(const HostSurface&) = delete;

  // True when the message was handled, with its result in *result.
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT* result);

 private:
  friend struct KitAccess;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace px::kit
