#pragma once

#include <memory>

#include "base/win32/windows_api.h"
#include "controls/common/control_site.h"
#include "controls/win32/gdi_surface.h"

namespace px::win32 {

// A window that hosts controls, as their methods that draw on it see it: a retained surface
// over its client area and its outer size. The window's procedure hands it WM_SIZE, WM_PAINT
// and WM_ERASEBKGND through HandleMessage.
class HostWindowSurface final : public HostWindow {
 public:
  explicit HostWindowSurface(HWND window);

  Surface& GetSurface() override { return *surface_; }
  TwipSize OuterSize() const override;

  // True when the message was handled, with its result in *result.
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT* result);

 private:
  HWND window_;
  std::unique_ptr<GdiSurface> surface_;
};

}  // namespace px::win32
