#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/timers.h"

namespace px::sim {

// The simulated machine's message loop: window timers on a virtual clock (time jumps from
// tick to tick) or on the real one. Ticks run one at a time, never re-entered, in order of
// their due time and then of their creation.
class EventLoop : public TimerFactory {
 public:
  enum class Clock { kVirtual, kReal };
  explicit EventLoop(Clock clock);
  ~EventLoop() override;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> on_tick) override;
  void SetOnFailure(std::function<void(const Text& failure)> on_failure) override {
    on_failure_ = std::move(on_failure);
  }
  // Asked each time a timer is started: the failure that start meets (the machine's planned
  // SetTimer fault), or nothing. A failed start leaves the timer stopped.
  void SetStartCheck(std::function<std::optional<Text>()> check) {
    start_check_ = std::move(check);
  }

  // Milliseconds since the loop was made.
  std::int64_t NowMs() const;

  // Runs ticks until Quit(), until no timer is due any more, or until stop_at_ms; returns
  // the reason.
  enum class Stopped { kQuit, kIdle, kTimeLimit };
  Stopped Run(std::optional<std::int64_t> stop_at_ms = std::nullopt);
  void Quit() { quit_ = true; }
  bool quitting() const { return quit_; }

  // Called after every tick, as Windows paints once a handler has returned.
  void SetAfterTick(std::function<void()> after_tick) { after_tick_ = std::move(after_tick); }

  // Windows raises shorter intervals to its minimum timer period.
  static constexpr std::uint32_t kMinimumPeriodMs = 10;

 private:
  class SimTimer;
  struct Slot {
    std::function<void()> on_tick;
    std::uint32_t interval = 0;
    bool enabled = true;
    std::int64_t due = 0;
    bool alive = true;
    bool refused = false;  // its last start failed: it does not tick until started again
  };
  void Arm(Slot& slot);
  Slot* NextDue();

  Clock clock_;
  std::int64_t virtual_now_ = 0;
  std::int64_t real_start_ns_ = 0;
  bool quit_ = false;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::function<void()> after_tick_;
  std::function<void(const Text&)> on_failure_;
  std::function<std::optional<Text>()> start_check_;
  std::vector<Text> failures_;  // told before the next tick
};

}  // namespace px::sim
