#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "base/win32/windows_api.h"
#include "controls/common/button_site.h"
#include "controls/win32/child_window.h"

namespace px::win32 {

// An image button's own child window: its retained surface (a GdiSurface, whose memory DC is
// the button's hdc), its child timers (SetTimer on the window itself), its shape mask (a window
// region) and the Windows messages turned into the button's notifications. A press takes the
// focus; the rest of the input is that of every control window (ChildWindow).
//
// The shape mask: while the background style is transparent and a surface picture is set, the
// window's region is made of the picture's pixels that are not the key colour 0x00FD00FF, one
// rectangle per run of such pixels in a row; the parent window shows through the rest. A
// region rather than a layered window, because layered child windows need Windows 8 and the
// program runs on Windows 7. The region is set only when the shape changes, and removed once
// the button is back in the message loop (ShapeMask).
class ButtonWindow final : public ChildSite<ButtonSite> {
 public:
  // A visible child of `parent` at `bounds` (twips, in the parent's client area); nullptr when
  // Windows refuses the window. The window is destroyed with this object.
  static std::unique_ptr<ButtonWindow> Create(HWND parent, int id, TwipRect bounds, ButtonApi& api);
  ~ButtonWindow() override;

  // The host's error handling; without one, errors go to a message box.
  void OnError(std::function<void(const ControlError&)> handler) { on_error_ = std::move(handler); }

  // The image button makes no picture children: nullptr.
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

  // ButtonSite.
  std::int32_t Hwnd() const override;
  GdiHandle Hdc() const override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::int16_t BackStyle() const override { return mask_.back_style(); }
  void SetBackStyle(std::int16_t style) override;
  void SetSurfacePicture(PictureRef picture) override;
  const PictureRef& SurfacePicture() const override { return mask_.picture(); }
  std::int16_t DrawMode() const override { return draw_mode_; }
  void SetDrawMode(std::int16_t mode) override;
  void PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) override;
  TimerFactory& ChildTimers() override;
  ButtonApi& Api() override { return api_; }
  void ReportError(const ControlError& error) override;

  // Whether the shape mask is in force (the window has a region), and how many times the
  // window's region has been set or removed.
  bool has_region() const { return mask_.on(); }
  int region_changes() const { return mask_.changes(); }

 private:
  class Timers;
  explicit ButtonWindow(ButtonApi& api);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l) override;
  void Reshape(ShapeMask::Step step);
  void SettleRegion();

  ButtonApi& api_;
  std::unique_ptr<Timers> timers_;
  std::function<void(const ControlError&)> on_error_;
  std::int16_t draw_mode_ = R2_COPYPEN;
  ShapeMask mask_;
};

// The region of a mask picture: its pixels that are not the key colour. nullptr for a mask
// without such pixels. The caller owns the region.
HRGN MaskRegion(const Picture& mask);

}  // namespace px::win32
