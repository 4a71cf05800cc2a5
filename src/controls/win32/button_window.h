#pragma once

#include <functional>
#include <map>
#include <memory>

#include "controls/common/button_site.h"
#include "controls/win32/gdi_surface.h"
#include "base/win32/windows_api.h"

namespace px::win32 {

// An image button's own child window: its retained surface (a GdiSurface, whose memory DC is
// the button's hdc), its child timers (SetTimer on the window itself), its shape mask (a window
// region) and the Windows messages turned into the button's notifications.
//
// The window class has CS_DBLCLKS, so the second press of a double click arrives as a
// double-click message, which becomes the double-click notification in place of the press. A
// press takes the focus and the mouse capture; the release over the window after a press on it
// is a click. A disabled window gets no input from Windows at all.
//
// The shape mask: while the background style is transparent and a surface picture is set, the
// window's region is made of the picture's pixels that are not the key colour 0x00FD00FF, one
// rectangle per run of such pixels in a row; the parent window shows through the rest. A
// region rather than a layered window, because layered child windows need Windows 8 and the
// program runs on Windows 7.
class ButtonWindow final : public ButtonSite {
 public:
  // A visible child of `parent` at `bounds` (twips, in the parent's client area); nullptr when
  // Windows refuses the window. The window is destroyed with this object.
  static std::unique_ptr<ButtonWindow> Create(HWND parent, int id, TwipRect bounds, ButtonApi& api);
  ~ButtonWindow() override;
  ButtonWindow(const ButtonWindow&) = delete;
  ButtonWindow& operator=(const ButtonWindow&) = delete;

  HWND hwnd() const { return window_; }
  GdiSurface& gdi_surface() { return *surface_; }
  void OnPropertyChanged(std::function<void(TextView)> handler) {
    on_property_changed_ = std::move(handler);
  }
  // The host's error handling; without one, errors go to a message box.
  void OnError(std::function<void(const ControlError&)> handler) { on_error_ = std::move(handler); }

  // ControlSite.
  void Attach(ControlNotifications* control) override { control_ = control; }
  Surface& GetSurface() override { return *surface_; }
  TwipSize Size() const override { return size_; }
  void SetSize(TwipSize size) override;
  void PropertyChanged(TextView key) override;
  // The image button makes no picture children: nullptr.
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

  // ButtonSite.
  std::int32_t Hwnd() const override;
  GdiHandle Hdc() const override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::int16_t BackStyle() const override { return back_style_; }
  void SetBackStyle(std::int16_t style) override;
  void SetSurfacePicture(PictureRef picture) override;
  const PictureRef& SurfacePicture() const override { return surface_picture_; }
  std::int16_t DrawMode() const override { return draw_mode_; }
  void SetDrawMode(std::int16_t mode) override;
  void PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) override;
  TimerFactory& ChildTimers() override;
  ButtonApi& Api() override { return api_; }
  void ReportError(const ControlError& error) override;

  // Whether the shape mask is in force (the window has a region).
  bool has_region() const { return region_on_; }

 private:
  class Timers;
  ButtonWindow(HWND window, ButtonApi& api);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void OnSized(int width, int height);
  void OnMouse(UINT message, WPARAM w, LPARAM l);
  void UpdateRegion(bool reshaped);

  HWND window_;
  ButtonApi& api_;
  std::unique_ptr<GdiSurface> surface_;
  std::unique_ptr<Timers> timers_;
  TwipSize size_;
  ControlNotifications* control_ = nullptr;
  std::function<void(TextView)> on_property_changed_;
  std::function<void(const ControlError&)> on_error_;
  std::int16_t back_style_ = 1;
  std::int16_t draw_mode_ = R2_COPYPEN;
  PictureRef surface_picture_;
  bool region_on_ = false;
  bool click_pending_ = false;
  bool sizing_ = false;
};

// The region of a mask picture: its pixels that are not the key colour. nullptr for a mask
// without such pixels. The caller owns the region.
HRGN MaskRegion(const Picture& mask);

}  // namespace px::win32
