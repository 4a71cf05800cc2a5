#include "platform/win32/window_timers.h"

#include "platform/win32/system_error_win32.h"

namespace px::win32 {

namespace {

constexpr wchar_t kTimerWindowClass[] = L"PxInstallerTimers";
// Posted to the timers' window after a SetTimer was refused.
constexpr UINT kTimerFailed = WM_APP + 1;

}  // namespace

class WindowTimers::WindowTimer : public Timer {
 public:
  WindowTimer(WindowTimers& owner, std::shared_ptr<Slot> slot)
      : owner_(owner), slot_(std::move(slot)) {}
  ~WindowTimer() override { owner_.Remove(slot_->id); }

  // Setting the interval restarts the count, as SetTimer does for a running timer.
  void SetInterval(std::uint32_t ms) override {
    slot_->interval = ms;
    owner_.Arm(*slot_);
  }
  void SetEnabled(bool enabled) override {
    if (enabled == slot_->enabled) return;
    slot_->enabled = enabled;
    owner_.Arm(*slot_);
  }
  std::uint32_t Interval() const override { return slot_->interval; }
  bool Enabled() const override { return slot_->enabled; }

 private:
  WindowTimers& owner_;
  std::shared_ptr<Slot> slot_;
};

Expected<std::unique_ptr<WindowTimers>> WindowTimers::Create(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &WindowTimers::WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kTimerWindowClass;
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return LastError(L"RegisterClassExW");
  }
  std::unique_ptr<WindowTimers> timers(new WindowTimers());
  const HWND window = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, instance, nullptr);
  if (window == nullptr) return LastError(L"CreateWindowExW");
  timers->window_.reset(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(timers.get()));
  return timers;
}

WindowTimers::~WindowTimers() {
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

std::unique_ptr<Timer> WindowTimers::CreateTimer(std::function<void()> on_tick) {
  auto slot = std::make_shared<Slot>();
  slot->id = next_id_++;
  slot->on_tick = std::move(on_tick);
  slots_[slot->id] = slot;
  return std::make_unique<WindowTimer>(*this, std::move(slot));
}

void WindowTimers::Arm(const Slot& slot) {
  if (slot.enabled && slot.interval != 0) {
    // Windows raises intervals below USER_TIMER_MINIMUM (10 ms) to it.
    if (SetTimer(window_.get(), slot.id, slot.interval, nullptr) == 0) {
      failures_.push_back(LastError(L"SetTimer").text);
      if (failures_.size() == 1) PostMessageW(window_.get(), kTimerFailed, 0, 0);
    }
  } else {
    KillTimer(window_.get(), slot.id);
  }
}

void WindowTimers::Remove(UINT_PTR id) {
  KillTimer(window_.get(), id);
  slots_.erase(id);
}

void WindowTimers::OnTimer(UINT_PTR id) {
  const auto found = slots_.find(id);
  if (found == slots_.end()) return;
  // Held for the tick: the handler may destroy its own timer.
  const std::shared_ptr<Slot> slot = found->second;
  // A WM_TIMER retrieved before the timer was stopped is not a tick.
  if (!slot->enabled || slot->interval == 0) return;
  if (in_tick_) return;
  in_tick_ = true;
  slot->on_tick();
  in_tick_ = false;
  OnFailures();
}

void WindowTimers::OnFailures() {
  // A tick that opened a modal box is still running: its end tells them.
  if (in_tick_) return;
  std::vector<Text> failures;
  failures.swap(failures_);
  for (const Text& failure : failures) {
    if (on_failure_) on_failure_(failure);
  }
}

LRESULT CALLBACK WindowTimers::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_TIMER || message == kTimerFailed) {
    auto* timers = reinterpret_cast<WindowTimers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timers == nullptr) return 0;
    if (message == WM_TIMER) {
      timers->OnTimer(static_cast<UINT_PTR>(w));
    } else {
      timers->OnFailures();
    }
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace px::win32
