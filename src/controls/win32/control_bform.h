#pragma once

#include <cstdint>
#include <memory>

#include "base/win32/windows_api.h"
#include "controls/frame/bform.h"
#include "controls/win32/control_site_window.h"

namespace px::win32 {

// BForm as a Windows child control. Its events reach the parent window as WM_NOTIFY messages
// whose NMHDR carries the control's window, its id and one of these codes. MouseDown's
// arguments travel in a BFormMouseDown that the parent may change: the control takes the
// values back after the message returns, as with any by-reference event argument.
inline constexpr UINT kBFormMouseDown = 0x7001;
inline constexpr UINT kBFormMinClick = 0x7002;
inline constexpr UINT kBFormCloseClick = 0x7003;
inline constexpr UINT kBFormDblClick = 0x7004;

struct BFormMouseDown {
  NMHDR header;
  std::int16_t button;
  std::int16_t shift;
  float x;  // twips from the frame's top-left
  float y;
};

class BFormControl final : public BFormEvents {
 public:
  // A visible frame at `bounds` (twips) in the parent's client area; nullptr when Windows
  // refuses the window. The frame is sized at once, so it shows its bar from the start.
  static std::unique_ptr<BFormControl> Create(HWND parent, int id, TwipRect bounds, FrameSkin skin);

  HWND hwnd() const { return site_->hwnd(); }
  BForm& frame() { return *frame_; }
  ControlSiteWindow& site() { return *site_; }

  void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void MinClick() override { Notify(kBFormMinClick); }
  void CloseClick() override { Notify(kBFormCloseClick); }
  void DblClick() override { Notify(kBFormDblClick); }

 private:
  BFormControl(HWND parent, int id, std::unique_ptr<ControlSiteWindow> site);
  void Notify(UINT code);

  HWND parent_;
  int id_;
  std::unique_ptr<ControlSiteWindow> site_;
  std::unique_ptr<BForm> frame_;
};

}  // namespace px::win32
