#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/timers.h"
#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/system_error.h"

namespace px::win32 {

// The installer's timers, as SetTimer timers of a message-only window of their own.
//
// Ticks never overlap: a WM_TIMER that arrives while a tick handler runs (a modal message box
// it opened, or a COM call, pumps messages) is dropped. A window timer is periodic, so the
// dropped tick comes again one interval after the handler has returned, for as long as the
// handler leaves its timer enabled.
class WindowTimers : public TimerFactory {
 public:
  static Expected<std::unique_ptr<WindowTimers>> Create(HINSTANCE instance);
  ~WindowTimers() override;

  WindowTimers(const WindowTimers&) = delete;
  WindowTimers& operator=(const WindowTimers&) = delete;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> on_tick) override;
  // A refused SetTimer is posted to the timers' window and told from there, never from inside
  // the call that started the timer.
  void SetOnFailure(std::function<void(const Text& failure)> on_failure) override {
    on_failure_ = std::move(on_failure);
  }

  bool in_tick() const { return in_tick_; }

 private:
  class WindowTimer;
  struct Slot {
    UINT_PTR id = 0;
    std::function<void()> on_tick;
    std::uint32_t interval = 0;
    bool enabled = true;
  };

  WindowTimers() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void Arm(const Slot& slot);
  void Remove(UINT_PTR id);
  void OnTimer(UINT_PTR id);
  void OnFailures();

  UniqueWindow window_;
  std::map<UINT_PTR, std::shared_ptr<Slot>> slots_;
  UINT_PTR next_id_ = 1;
  bool in_tick_ = false;
  std::function<void(const Text&)> on_failure_;
  std::vector<Text> failures_;  // refused starts not told yet
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace px::win32
