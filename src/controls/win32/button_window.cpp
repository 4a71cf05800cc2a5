#include "controls/win32/button_window.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "controls/common/blit.h"
#include "controls/win32/control_input.h"

namespace px::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PxImageButton";

}  // namespace

// The button's timers, as SetTimer timers of its own window. A tick never starts while another
// tick of this window is still running.
class ButtonWindow::Timers final : public TimerFactory {
 public:
  explicit Timers(HWND window) : window_(window) {}
  ~Timers() override {
    for (auto& [id, slot] : slots_) KillTimer(window_, id);
  }

  std::unique_ptr<Timer> CreateTimer(std::function<void()> on_tick) override {
    const UINT_PTR id = next_id_++;
    slots_[id] = {std::move(on_tick), 0, true};
    return std::make_unique<WindowTimer>(*this, id);
  }

  void OnTimer(UINT_PTR id) {
    const auto it = slots_.find(id);
    if (it == slots_.end() || in_tick_) return;
    in_tick_ = true;
    const std::function<void()> tick = it->second.on_tick;  // the handler may drop the timer
    tick();
    in_tick_ = false;
  }

 private:
  struct Slot {
    std::function<void()> on_tick;
    std::uint32_t interval = 0;
    bool enabled = true;
  };
  class WindowTimer final : public Timer {
   public:
    WindowTimer(Timers& timers, UINT_PTR id) : timers_(timers), id_(id) {}
    ~WindowTimer() override {
      KillTimer(timers_.window_, id_);
      timers_.slots_.erase(id_);
    }
    void SetInterval(std::uint32_t ms) override {
      slot().interval = ms;
      timers_.Arm(id_);
    }
    void SetEnabled(bool enabled) override {
      if (enabled == slot().enabled) return;
      slot().enabled = enabled;
      timers_.Arm(id_);
    }
    std::uint32_t Interval() const override { return timers_.slots_.at(id_).interval; }
    bool Enabled() const override { return timers_.slots_.at(id_).enabled; }

   private:
    Slot& slot() { return timers_.slots_.at(id_); }
    Timers& timers_;
    UINT_PTR id_;
  };

  // SetTimer on a running id restarts its count, as a new interval does.
  void Arm(UINT_PTR id) {
    const Slot& slot = slots_.at(id);
    if (slot.enabled && slot.interval > 0) {
      SetTimer(window_, id, std::max<std::uint32_t>(slot.interval, USER_TIMER_MINIMUM), nullptr);
    } else {
      KillTimer(window_, id);
    }
  }

  HWND window_;
  std::map<UINT_PTR, Slot> slots_;
  UINT_PTR next_id_ = 1;
  bool in_tick_ = false;
};

std::unique_ptr<ButtonWindow> ButtonWindow::Create(HWND parent, int id, TwipRect bounds,
                                                   ButtonApi& api) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  if (!RegisterChildClass(instance, kClassName)) return nullptr;
  const PixelRect p = ToPixels(bounds);
  HWND window = CreateWindowExW(
      0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, p.x, p.y, p.width, p.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (window == nullptr) return nullptr;
  std::unique_ptr<ButtonWindow> site(new ButtonWindow(window, api));
  site->size_ = {bounds.width, bounds.height};
  site->surface_->Resize(site->size_);
  return site;
}

ButtonWindow::ButtonWindow(HWND window, ButtonApi& api)
    : window_(window),
      api_(api),
      surface_(std::make_unique<GdiSurface>(window)),
      timers_(std::make_unique<Timers>(window)) {
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

ButtonWindow::~ButtonWindow() {
  timers_.reset();
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  surface_.reset();
  DestroyWindow(window_);
}

LRESULT CALLBACK ButtonWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* site = reinterpret_cast<ButtonWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (site == nullptr) return DefWindowProcW(window, message, w, l);
  return site->Handle(message, w, l);
}

void ButtonWindow::SetSize(TwipSize size) {
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  size_ = size;
  surface_->Resize(size_);
  // The control hears of its new size once, from here, in twips as asked.
  sizing_ = true;
  SetWindowPos(window_, nullptr, 0, 0, TwipsToPixels(size.width), TwipsToPixels(size.height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  sizing_ = false;
  if (control_ != nullptr) control_->OnResize();
}

void ButtonWindow::OnSized(int width, int height) {
  if (sizing_) return;
  const TwipSize size = {PixelsToTwips(width), PixelsToTwips(height)};
  if (size == size_) return;
  size_ = size;
  surface_->Resize(size_);
  if (control_ != nullptr) control_->OnResize();
}

TimerFactory& ButtonWindow::ChildTimers() { return *timers_; }

void ButtonWindow::PropertyChanged(TextView key) {
  if (on_property_changed_) on_property_changed_(key);
}

std::unique_ptr<ImageArea> ButtonWindow::CreateImageArea(std::string_view, TwipRect,
                                                         InputListener&) {
  return nullptr;
}

std::int32_t ButtonWindow::Hwnd() const {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window_));
}

GdiHandle ButtonWindow::Hdc() const { return reinterpret_cast<GdiHandle>(surface_->dc()); }

bool ButtonWindow::Enabled() const { return IsWindowEnabled(window_) != FALSE; }

void ButtonWindow::SetEnabled(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

void ButtonWindow::SetBackStyle(std::int16_t style) {
  back_style_ = style;
  UpdateRegion(false);
}

void ButtonWindow::SetSurfacePicture(PictureRef picture) {
  surface_picture_ = std::move(picture);
  UpdateRegion(true);
}

void ButtonWindow::SetDrawMode(std::int16_t mode) {
  draw_mode_ = mode;
  SetROP2(surface_->dc(), mode);
}

void ButtonWindow::PaintPicture(std::int32_t, const Picture& picture, TwipRect dest) {
  surface_->CopyPicture(
      picture, {0, 0, PixelsToTwips(picture.PixelWidth()), PixelsToTwips(picture.PixelHeight())},
      dest);
}

void ButtonWindow::ReportError(const ControlError& error) {
  if (on_error_) {
    on_error_(error);
    return;
  }
  const Text text = u"Run-time error '" + Decimal(error.number) + u"':\n\n" + error.description;
  MessageBoxW(GetAncestor(window_, GA_ROOT), Wide(text), L"iButton", MB_OK | MB_ICONERROR);
}

HRGN MaskRegion(const Picture& mask) {
  const std::int32_t w = mask.PixelWidth(), h = mask.PixelHeight();
  const std::span<const Argb> pixels = mask.Pixels();
  if (pixels.size() != static_cast<std::size_t>(w) * h) return nullptr;
  const Argb key =
      OpaqueArgb(RedOf(kMaskKeyColor), GreenOf(kMaskKeyColor), BlueOf(kMaskKeyColor)) & 0xFFFFFF;
  std::vector<RECT> runs;
  for (std::int32_t y = 0; y < h; ++y) {
    std::int32_t x = 0;
    while (x < w) {
      while (x < w && (pixels[y * w + x] & 0xFFFFFF) == key) ++x;
      const std::int32_t start = x;
      while (x < w && (pixels[y * w + x] & 0xFFFFFF) != key) ++x;
      if (x > start) runs.push_back({start, y, x, y + 1});
    }
  }
  if (runs.empty()) return nullptr;
  std::vector<std::byte> memory(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(memory.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(runs.size());
  data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  data->rdh.rcBound = {0, 0, w, h};
  std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data->Buffer));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(memory.size()), data);
}

void ButtonWindow::UpdateRegion(bool reshaped) {
  const bool on = back_style_ == 0 && surface_picture_ != nullptr;
  if (on && (reshaped || !region_on_)) {
    HRGN region = MaskRegion(*surface_picture_);
    // A mask that is all key colour leaves nothing of the control: an empty region.
    if (region == nullptr) region = CreateRectRgn(0, 0, 0, 0);
    SetWindowRgn(window_, region, TRUE);  // the window owns the region from here on
  } else if (!on && region_on_) {
    SetWindowRgn(window_, nullptr, TRUE);
  }
  region_on_ = on;
}

void ButtonWindow::OnMouse(UINT message, WPARAM w, LPARAM l) {
  if (control_ == nullptr) return;
  std::int16_t shift = ShiftState(w);
  float x = static_cast<float>(PixelsToTwips(GET_X_LPARAM(l)));
  float y = static_cast<float>(PixelsToTwips(GET_Y_LPARAM(l)));
  std::int16_t button = MessageButton(message);
  switch (message) {
    case WM_MOUSEMOVE: {
      std::int16_t held = HeldButtons(w);
      control_->OnMouseMove(held, shift, x, y);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (GetFocus() != window_) SetFocus(window_);
      SetCapture(window_);
      click_pending_ = true;
      control_->OnMouseDown(button, shift, x, y);
      return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      SetCapture(window_);
      click_pending_ = false;
      control_->OnDblClick();
      return;
    default: {  // a release
      RECT client{};
      GetClientRect(window_, &client);
      const bool inside = PtInRect(&client, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}) != FALSE;
      const bool click = click_pending_ && inside;
      click_pending_ = false;
      if (HeldButtons(w) == 0 && GetCapture() == window_) ReleaseCapture();
      control_->OnMouseUp(button, shift, x, y);
      if (click && control_ != nullptr) control_->OnClick();
      return;
    }
  }
}

LRESULT ButtonWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE:
      OnSized(LOWORD(l), HIWORD(l));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      surface_->Paint(dc, paint.rcPaint);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      timers_->OnTimer(w);
      return 0;
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
      click_pending_ = false;
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      if (control_ == nullptr) return 0;
      auto key = static_cast<std::int16_t>(w);
      std::int16_t shift = KeyShiftState();
      if (message == WM_KEYDOWN) {
        control_->OnKeyDown(key, shift);
      } else {
        control_->OnKeyUp(key, shift);
      }
      return 0;
    }
    case WM_CHAR: {
      if (control_ == nullptr) return 0;
      auto key = static_cast<std::int16_t>(w);
      control_->OnKeyPress(key);
      return 0;
    }
    case WM_SETFOCUS:
      if (control_ != nullptr) control_->OnGotFocus();
      return 0;
    case WM_KILLFOCUS:
      if (control_ != nullptr) control_->OnLostFocus();
      return 0;
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

}  // namespace px::win32
