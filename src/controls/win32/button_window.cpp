#include "controls/win32/button_window.h"

#include <algorithm>
#include <map>
#include <vector>

#include "controls/common/blit.h"

namespace px::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PxImageButton";
// Posted when the region is to go: see Reshape.
constexpr UINT kSettleRegion = WM_USER + 1;

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
  std::unique_ptr<ButtonWindow> site(new ButtonWindow(api));
  if (!site->Open(parent, id, bounds, {kClassName, WS_TABSTOP, true})) return nullptr;
  site->timers_ = std::make_unique<Timers>(site->hwnd());
  return site;
}

ButtonWindow::ButtonWindow(ButtonApi& api) : api_(api) {}

ButtonWindow::~ButtonWindow() {
  timers_.reset();
  Close();
}

TimerFactory& ButtonWindow::ChildTimers() { return *timers_; }

std::unique_ptr<ImageArea> ButtonWindow::CreateImageArea(std::string_view, TwipRect,
                                                         InputListener&) {
  return nullptr;
}

std::int32_t ButtonWindow::Hwnd() const {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(hwnd()));
}

GdiHandle ButtonWindow::Hdc() const { return reinterpret_cast<GdiHandle>(gdi_surface().dc()); }

bool ButtonWindow::Enabled() const { return IsWindowEnabled(hwnd()) != FALSE; }

void ButtonWindow::SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

void ButtonWindow::SetBackStyle(std::int16_t style) { Reshape(mask_.SetBackStyle(style)); }

void ButtonWindow::SetSurfacePicture(PictureRef picture) {
  Reshape(mask_.SetPicture(std::move(picture)));
}

void ButtonWindow::SetDrawMode(std::int16_t mode) {
  draw_mode_ = mode;
  SetROP2(gdi_surface().dc(), mode);
}

void ButtonWindow::PaintPicture(std::int32_t, const Picture& picture, TwipRect dest) {
  gdi_surface().CopyPicture(
      picture, {0, 0, PixelsToTwips(picture.PixelWidth()), PixelsToTwips(picture.PixelHeight())},
      dest);
}

void ButtonWindow::ReportError(const ControlError& error) {
  if (on_error_) {
    on_error_(error);
    return;
  }
  const Text text = u"Run-time error '" + Decimal(error.number) + u"':\n\n" + error.description;
  MessageBoxW(GetAncestor(hwnd(), GA_ROOT), Wide(text), L"iButton", MB_OK | MB_ICONERROR);
}

namespace {

HRGN ShapeRegion(const std::vector<PixelRect>& shape, std::int32_t width, std::int32_t height) {
  // A shape without pixels leaves nothing of the control: an empty region.
  if (shape.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<std::byte> memory(sizeof(RGNDATAHEADER) + shape.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(memory.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(shape.size());
  data->rdh.nRgnSize = static_cast<DWORD>(shape.size() * sizeof(RECT));
  data->rdh.rcBound = {0, 0, width, height};
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (const PixelRect& run : shape) {
    *rects++ = {run.x, run.y, run.x + run.width, run.y + run.height};
  }
  return ExtCreateRegion(nullptr, static_cast<DWORD>(memory.size()), data);
}

}  // namespace

HRGN MaskRegion(const Picture& mask) {
  const std::vector<PixelRect> shape = MaskShape(mask);
  if (shape.empty()) return nullptr;
  return ShapeRegion(shape, mask.PixelWidth(), mask.PixelHeight());
}

// The end of a shape waits for a posted message, or for the next message, whichever comes first.
void ButtonWindow::Reshape(ShapeMask::Step step) {
  if (step == ShapeMask::Step::kEndLater) PostMessageW(hwnd(), kSettleRegion, 0, 0);
  if (step != ShapeMask::Step::kSetShape) return;
  const Picture& mask = *mask_.picture();
  // The window owns the region from here on.
  SetWindowRgn(hwnd(), ShapeRegion(mask_.shape(), mask.PixelWidth(), mask.PixelHeight()), TRUE);
}

void ButtonWindow::SettleRegion() {
  if (mask_.Settle()) SetWindowRgn(hwnd(), nullptr, TRUE);
}

LRESULT ButtonWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  SettleRegion();
  switch (message) {
    case kSettleRegion:
      return 0;
    case WM_TIMER:
      timers_->OnTimer(w);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    default:
      return ChildWindow::Handle(message, w, l);
  }
}

}  // namespace px::win32
