#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/common/control_site.h"
#include "controls/win32/gdi_surface.h"
#include "base/win32/windows_api.h"

namespace px::win32 {

// A control's own child window: its surface (a GdiSurface), its size, its picture children and
// the Windows messages turned into the control's notifications. The picture children are
// windowless, as light image controls are: the window paints them over its retained image and
// hands them the mouse when the pointer is on them. While a mouse button is held, the element
// that took the press keeps the mouse (capture) until the last button is released; a click
// follows a release over that same element; a double-click replaces the second press.
class ControlSiteWindow final : public ControlSite {
 public:
  // A visible child of `parent` at `bounds` (twips, in the parent's client area); the window is
  // destroyed with this object. nullptr when Windows refuses to make the window.
  static std::unique_ptr<ControlSiteWindow> Create(HWND parent, int id, TwipRect bounds);
  ~ControlSiteWindow() override;
  ControlSiteWindow(const ControlSiteWindow&) = delete;
  ControlSiteWindow& operator=(const ControlSiteWindow&) = delete;

  HWND hwnd() const { return window_; }
  // The tooltip window that shows the children's tips (nullptr when it could not be made).
  HWND tool_tips() const { return tool_tips_; }
  GdiSurface& gdi_surface() { return *surface_; }
  // Called with the key of every property-changed notice.
  void OnPropertyChanged(std::function<void(TextView)> handler) {
    on_property_changed_ = std::move(handler);
  }
  // The control's look as the screen shows it: its image with the visible children on top.
  PictureRef Composite() const;

  void Attach(ControlNotifications* control) override { control_ = control; }
  Surface& GetSurface() override { return *surface_; }
  TwipSize Size() const override { return size_; }
  void SetSize(TwipSize size) override;
  void PropertyChanged(TextView key) override;
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

 private:
  class Area;
  friend class Area;
  enum class Target { kNone, kControl, kArea };

  explicit ControlSiteWindow(HWND window);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void OnSized(int width, int height);
  void OnPaint();
  void OnMouse(UINT message, WPARAM w, LPARAM l);
  Area* HitTest(POINT at) const;
  void UpdateToolTip(Area& area);
  void RemoveArea(Area* area);

  HWND window_;
  HWND tool_tips_ = nullptr;
  std::unique_ptr<GdiSurface> surface_;
  TwipSize size_;
  ControlNotifications* control_ = nullptr;
  std::vector<Area*> areas_;
  std::function<void(TextView)> on_property_changed_;
  // The element holding the mouse while a button is down, and whether its release clicks.
  Area* captured_area_ = nullptr;
  Target captured_ = Target::kNone;
  bool click_pending_ = false;
  UINT next_tool_id_ = 1;
};

}  // namespace px::win32
