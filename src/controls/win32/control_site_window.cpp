#include "controls/win32/control_site_window.h"

#include <commctrl.h>

#include <algorithm>

#include "base/win32/argb_dib.h"
#include "controls/common/blit.h"

namespace px::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PxControlSite";

RECT ToPixelRect(TwipRect r) {
  const PixelRect p = ToPixels(r);
  return {p.x, p.y, p.x + p.width, p.y + p.height};
}

}  // namespace

// A windowless picture child: its state lives here, the site paints it and feeds it the mouse.
class ControlSiteWindow::Area final : public ImageArea {
 public:
  Area(ControlSiteWindow& site, TwipRect bounds, InputListener& input, UINT tool_id)
      : site_(site), bounds_(bounds), input_(input), tool_id_(tool_id) {}
  ~Area() override { site_.RemoveArea(this); }

  void Move(TwipPoint top_left) override {
    Invalidate();
    bounds_.x = top_left.x;
    bounds_.y = top_left.y;
    Invalidate();
    site_.UpdateToolTip(*this);
  }
  TwipRect Bounds() const override { return bounds_; }
  void SetPicture(PictureRef picture) override {
    if (picture == picture_) return;
    picture_ = std::move(picture);
    Invalidate();
  }
  const PictureRef& GetPicture() const override { return picture_; }
  void SetVisible(bool visible) override {
    visible_ = visible;
    Invalidate();
    site_.UpdateToolTip(*this);
  }
  bool Visible() const override { return visible_; }
  void SetToolTip(const Text& text) override {
    tool_tip_ = text;
    site_.UpdateToolTip(*this);
  }

  InputListener& input() const { return input_; }
  const Text& tool_tip() const { return tool_tip_; }
  UINT tool_id() const { return tool_id_; }
  RECT pixel_rect() const { return ToPixelRect(bounds_); }

 private:
  void Invalidate() const {
    const RECT r = pixel_rect();
    InvalidateRect(site_.hwnd(), &r, FALSE);
  }

  ControlSiteWindow& site_;
  TwipRect bounds_;
  InputListener& input_;
  UINT tool_id_;
  PictureRef picture_;
  bool visible_ = true;
  Text tool_tip_;
};

std::unique_ptr<ControlSiteWindow> ControlSiteWindow::Create(HWND parent, int id, TwipRect bounds) {
  std::unique_ptr<ControlSiteWindow> site(new ControlSiteWindow());
  if (!site->Open(parent, id, bounds, {kClassName, WS_CLIPSIBLINGS, false})) return nullptr;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  site->tool_tips_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, site->hwnd(), nullptr, nullptr, nullptr);
  return site;
}

ControlSiteWindow::~ControlSiteWindow() {
  if (tool_tips_ != nullptr) DestroyWindow(tool_tips_);
  Close();
}

std::unique_ptr<ImageArea> ControlSiteWindow::CreateImageArea(std::string_view /*name*/,
                                                              TwipRect bounds,
                                                              InputListener& input) {
  auto area = std::make_unique<Area>(*this, bounds, input, next_tool_id_++);
  areas_.push_back(area.get());
  if (tool_tips_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = area->tool_id();
    tool.rect = area->pixel_rect();
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tool_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return area;
}

void ControlSiteWindow::RemoveArea(Area* area) {
  std::erase(areas_, area);
  ForgetElement(&area->input());
  if (tool_tips_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd();
    tool.uId = area->tool_id();
    SendMessageW(tool_tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void ControlSiteWindow::UpdateToolTip(Area& area) {
  if (tool_tips_ == nullptr) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = hwnd();
  tool.uId = area.tool_id();
  // A hidden child has no tip: its rectangle becomes empty.
  tool.rect = area.Visible() ? area.pixel_rect() : RECT{};
  SendMessageW(tool_tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  Text text = area.tool_tip();
  tool.lpszText = const_cast<wchar_t*>(Wide(text));
  SendMessageW(tool_tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The visible child under the point (the last made on top), else the control itself.
InputListener* ControlSiteWindow::ElementAt(POINT at) const {
  for (auto it = areas_.rbegin(); it != areas_.rend(); ++it) {
    const RECT r = (*it)->pixel_rect();
    if ((*it)->Visible() && PtInRect(&r, at)) return &(*it)->input();
  }
  return ChildWindow::ElementAt(at);
}

TwipPoint ControlSiteWindow::OriginOf(const InputListener& element) const {
  for (const Area* area : areas_) {
    if (&area->input() == &element) return {area->Bounds().x, area->Bounds().y};
  }
  return {};
}

PictureRef ControlSiteWindow::Composite() const {
  const PictureRef image = gdi_surface().Image();
  std::vector<Argb> pixels(image->Pixels().begin(), image->Pixels().end());
  const std::int32_t w = image->PixelWidth(), h = image->PixelHeight();
  for (const Area* area : areas_) {
    if (!area->Visible() || !area->GetPicture()) continue;
    const Picture& p = *area->GetPicture();
    const TwipRect b = area->Bounds();
    // The picture at the child's top-left, unscaled, clipped to the child.
    const std::int32_t pw = std::min(PixelsToTwips(p.PixelWidth()), b.width);
    const std::int32_t ph = std::min(PixelsToTwips(p.PixelHeight()), b.height);
    BlitPicture(p, {0, 0, pw, ph}, {b.x, b.y, pw, ph}, pixels, w, h);
  }
  return MakePixelPicture(w, h, std::move(pixels));
}

// The children are painted over a copy of the retained image, never into it.
void ControlSiteWindow::Paint(HDC dc, const RECT& /*dirty*/) {
  const PictureRef composite = Composite();
  const BITMAPINFO info = ArgbDibInfo(composite->PixelWidth(), composite->PixelHeight());
  if (composite->PixelWidth() > 0 && composite->PixelHeight() > 0) {
    SetDIBitsToDevice(dc, 0, 0, composite->PixelWidth(), composite->PixelHeight(), 0, 0, 0,
                      composite->PixelHeight(), composite->Pixels().data(), &info, DIB_RGB_COLORS);
  }
}

}  // namespace px::win32
