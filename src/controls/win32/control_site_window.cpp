#include "controls/win32/control_site_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/common/blit.h"
#include "base/win32/argb_dib.h"
#include "controls/win32/control_input.h"

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
    InvalidateRect(site_.window_, &r, FALSE);
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
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  if (!RegisterChildClass(instance, kClassName)) return nullptr;
  const RECT r = ToPixelRect(bounds);
  HWND window =
      CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (window == nullptr) return nullptr;
  std::unique_ptr<ControlSiteWindow> site(new ControlSiteWindow(window));
  site->size_ = {bounds.width, bounds.height};
  site->surface_->Resize(site->size_);
  return site;
}

ControlSiteWindow::ControlSiteWindow(HWND window)
    : window_(window), surface_(std::make_unique<GdiSurface>(window)) {
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  tool_tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, nullptr, nullptr);
}

ControlSiteWindow::~ControlSiteWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  if (tool_tips_ != nullptr) DestroyWindow(tool_tips_);
  DestroyWindow(window_);
}

LRESULT CALLBACK ControlSiteWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* site = reinterpret_cast<ControlSiteWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (site == nullptr) return DefWindowProcW(window, message, w, l);
  return site->Handle(message, w, l);
}

void ControlSiteWindow::SetSize(TwipSize size) {
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  const TwipSize before = size_;
  size_ = size;
  RECT now{};
  GetClientRect(window_, &now);
  const int w = TwipsToPixels(size.width), h = TwipsToPixels(size.height);
  if (w == now.right && h == now.bottom) {
    // The same pixels: Windows sends nothing, but the control's size did change.
    surface_->Resize(size_);
    if (control_ != nullptr && before != size_) control_->OnResize();
    return;
  }
  SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlSiteWindow::OnSized(int width, int height) {
  // A size that came from SetSize keeps its twips; one from outside is taken in pixels.
  if (TwipsToPixels(size_.width) != width || TwipsToPixels(size_.height) != height) {
    size_ = {PixelsToTwips(width), PixelsToTwips(height)};
  }
  surface_->Resize(size_);
  if (control_ != nullptr) control_->OnResize();
}

void ControlSiteWindow::PropertyChanged(TextView key) {
  if (on_property_changed_) on_property_changed_(key);
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
    tool.hwnd = window_;
    tool.uId = area->tool_id();
    tool.rect = area->pixel_rect();
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tool_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return area;
}

void ControlSiteWindow::RemoveArea(Area* area) {
  std::erase(areas_, area);
  if (captured_area_ == area) {
    captured_area_ = nullptr;
    captured_ = Target::kNone;
  }
  if (tool_tips_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window_;
    tool.uId = area->tool_id();
    SendMessageW(tool_tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void ControlSiteWindow::UpdateToolTip(Area& area) {
  if (tool_tips_ == nullptr) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_;
  tool.uId = area.tool_id();
  // A hidden child has no tip: its rectangle becomes empty.
  tool.rect = area.Visible() ? area.pixel_rect() : RECT{};
  SendMessageW(tool_tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  Text text = area.tool_tip();
  tool.lpszText = const_cast<wchar_t*>(Wide(text));
  SendMessageW(tool_tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

ControlSiteWindow::Area* ControlSiteWindow::HitTest(POINT at) const {
  for (auto it = areas_.rbegin(); it != areas_.rend(); ++it) {
    const RECT r = (*it)->pixel_rect();
    if ((*it)->Visible() && PtInRect(&r, at)) return *it;
  }
  return nullptr;
}

PictureRef ControlSiteWindow::Composite() const {
  const PictureRef image = surface_->Image();
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

void ControlSiteWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  // The children are painted over a copy of the retained image, never into it.
  const PictureRef composite = Composite();
  const BITMAPINFO info = ArgbDibInfo(composite->PixelWidth(), composite->PixelHeight());
  if (composite->PixelWidth() > 0 && composite->PixelHeight() > 0) {
    SetDIBitsToDevice(dc, 0, 0, composite->PixelWidth(), composite->PixelHeight(), 0, 0, 0,
                      composite->PixelHeight(), composite->Pixels().data(), &info, DIB_RGB_COLORS);
  }
  EndPaint(window_, &ps);
}

void ControlSiteWindow::OnMouse(UINT message, WPARAM w, LPARAM l) {
  const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  Area* hit = HitTest(at);
  const bool any_held = (w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
  // Which element gets this message: the one holding the mouse, else the one under it.
  Area* area = captured_ != Target::kNone ? captured_area_ : hit;
  InputListener* listener = area != nullptr ? static_cast<InputListener*>(&area->input())
                                            : static_cast<InputListener*>(control_);
  if (listener == nullptr) return;
  std::int16_t shift = ShiftState(w);
  float x = static_cast<float>(PixelsToTwips(at.x));
  float y = static_cast<float>(PixelsToTwips(at.y));
  if (area != nullptr) {
    x -= static_cast<float>(area->Bounds().x);
    y -= static_cast<float>(area->Bounds().y);
  }
  switch (message) {
    case WM_MOUSEMOVE: {
      std::int16_t button = HeldButtons(w);
      listener->OnMouseMove(button, shift, x, y);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (captured_ == Target::kNone) {
        captured_ = area != nullptr ? Target::kArea : Target::kControl;
        captured_area_ = area;
        SetCapture(window_);
      }
      click_pending_ = true;
      std::int16_t button = MessageButton(message);
      listener->OnMouseDown(button, shift, x, y);
      break;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (captured_ == Target::kNone) {
        captured_ = area != nullptr ? Target::kArea : Target::kControl;
        captured_area_ = area;
        SetCapture(window_);
      }
      click_pending_ = false;  // the double-click stands for this press's click
      listener->OnDblClick();
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      std::int16_t button = MessageButton(message);
      listener->OnMouseUp(button, shift, x, y);
      if (!any_held) {
        const bool over = captured_ == Target::kArea ? hit == captured_area_
                                                     : hit == nullptr && at.x >= 0 && at.y >= 0 &&
                                                           at.x < surface_->pixel_width() &&
                                                           at.y < surface_->pixel_height();
        const bool click = click_pending_ && over;
        captured_ = Target::kNone;
        captured_area_ = nullptr;
        click_pending_ = false;
        ReleaseCapture();
        if (click) listener->OnClick();
      }
      break;
    }
    default:
      break;
  }
}

LRESULT ControlSiteWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE:
      OnSized(LOWORD(l), HIWORD(l));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the retained image covers everything
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      OnMouse(message, w, l);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(l) != window_) {
        captured_ = Target::kNone;
        captured_area_ = nullptr;
        click_pending_ = false;
      }
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (control_ != nullptr) {
        std::int16_t key = static_cast<std::int16_t>(w);
        std::int16_t shift = KeyShiftState();
        if (message == WM_KEYDOWN) {
          control_->OnKeyDown(key, shift);
        } else {
          control_->OnKeyUp(key, shift);
        }
      }
      return 0;
    case WM_CHAR:
      if (control_ != nullptr) {
        std::int16_t ascii = static_cast<std::int16_t>(w);
        control_->OnKeyPress(ascii);
      }
      return 0;
    case WM_SETFOCUS:
      if (control_ != nullptr) control_->OnGotFocus();
      return 0;
    case WM_KILLFOCUS:
      if (control_ != nullptr) control_->OnLostFocus();
      return 0;
    case WM_SHOWWINDOW:
      if (w && control_ != nullptr) control_->OnShow();
      return 0;
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

}  // namespace px::win32
