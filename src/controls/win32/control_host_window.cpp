#include "controls/win32/control_host_window.h"

#include "controls/win32/child_window.h"

namespace px::win32 {

HostWindowSurface::HostWindowSurface(HWND window)
    : window_(window), surface_(std::make_unique<GdiSurface>(window)) {}

TwipSize HostWindowSurface::OuterSize() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return {PixelsToTwips(r.right - r.left), PixelsToTwips(r.bottom - r.top)};
}

bool HostWindowSurface::HandleMessage(UINT message, WPARAM /*w*/, LPARAM l, LRESULT* result) {
  switch (message) {
    case WM_SIZE:
      surface_->Resize({PixelsToTwips(LOWORD(l)), PixelsToTwips(HIWORD(l))});
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT:
      PaintRetained(window_, *surface_);
      *result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace px::win32
