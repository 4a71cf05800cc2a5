#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "controls/common/control_site.h"
#include "controls/win32/child_window.h"

namespace px::win32 {

// A control's own child window with picture children: the children are windowless, as light
// image controls are: the window paints them over its retained image and hands them the mouse
// when the pointer is on them. Everything else is that of every control window (ChildWindow).
class ControlSiteWindow final : public ChildSite<ControlSite> {
 public:
  // A visible child of `parent` at `bounds` (twips, in the parent's client area); the window is
  // destroyed with this object. nullptr when Windows refuses to make the window.
  static std::unique_ptr<ControlSiteWindow> Create(HWND parent, int id, TwipRect bounds);
  ~ControlSiteWindow() override;

  // The tooltip window that shows the children's tips (nullptr when it could not be made).
  HWND tool_tips() const { return tool_tips_; }
  // The control's look as the screen shows it: its image with the visible children on top.
  PictureRef Composite() const;

  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

 private:
  class Area;
  friend class Area;

  ControlSiteWindow() = default;
  void Paint(HDC dc, const RECT& dirty) override;
  InputListener* ElementAt(POINT at) const override;
  TwipPoint OriginOf(const InputListener& element) const override;
  void UpdateToolTip(Area& area);
  void RemoveArea(Area* area);

  HWND tool_tips_ = nullptr;
  std::vector<Area*> areas_;
  UINT next_tool_id_ = 1;
};

}  // namespace px::win32
