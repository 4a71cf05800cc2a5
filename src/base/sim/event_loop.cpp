#include "base/sim/event_loop.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace px::sim {

namespace {
std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

class EventLoop::SimTimer : public Timer {
 public:
  SimTimer(EventLoop& loop, Slot& slot) : loop_(loop), slot_(slot) {}
  ~SimTimer() override { slot_.alive = false; }

  void SetInterval(std::uint32_t ms) override {
    slot_.interval = ms;
    loop_.Arm(slot_);
  }
  void SetEnabled(bool enabled) override {
    if (enabled == slot_.enabled) return;
    slot_.enabled = enabled;
    loop_.Arm(slot_);
  }
  std::uint32_t Interval() const override { return slot_.interval; }
  bool Enabled() const override { return slot_.enabled; }

 private:
  EventLoop& loop_;
  Slot& slot_;
};

EventLoop::EventLoop(Clock clock) : clock_(clock), real_start_ns_(SteadyNs()) {}
EventLoop::~EventLoop() = default;

std::unique_ptr<Timer> EventLoop::CreateTimer(std::function<void()> on_tick) {
  slots_.push_back(std::make_unique<Slot>());
  slots_.back()->on_tick = std::move(on_tick);
  return std::make_unique<SimTimer>(*this, *slots_.back());
}

std::int64_t EventLoop::NowMs() const {
  if (clock_ == Clock::kVirtual) return virtual_now_;
  return (SteadyNs() - real_start_ns_) / 1'000'000;
}

void EventLoop::Arm(Slot& slot) {
  slot.due = NowMs() + std::max(slot.interval, kMinimumPeriodMs);
  slot.refused = false;
  if (!start_check_ || !slot.enabled || slot.interval == 0) return;
  if (std::optional<Text> failure = start_check_()) {
    // Windows keeps no timer it refused, though the timer's own settings say it runs.
    slot.refused = true;
    failures_.push_back(std::move(*failure));
  }
}

EventLoop::Slot* EventLoop::NextDue() {
  Slot* next = nullptr;
  for (auto& slot : slots_) {
    if (!slot->alive || !slot->enabled || slot->interval == 0 || slot->refused) continue;
    if (!next || slot->due < next->due) next = slot.get();
  }
  return next;
}

EventLoop::Stopped EventLoop::Run(std::optional<std::int64_t> stop_at_ms) {
  while (!quit_) {
    if (!failures_.empty()) {
      const Text failure = std::move(failures_.front());
      failures_.erase(failures_.begin());
      if (on_failure_) on_failure_(failure);
      if (after_tick_) after_tick_();
      continue;
    }
    Slot* slot = NextDue();
    if (!slot) return Stopped::kIdle;
    if (stop_at_ms && slot->due > *stop_at_ms) {
      if (clock_ == Clock::kVirtual) {
        virtual_now_ = std::max(virtual_now_, *stop_at_ms);
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(*stop_at_ms - NowMs()));
      }
      return Stopped::kTimeLimit;
    }
    if (clock_ == Clock::kVirtual) {
      virtual_now_ = std::max(virtual_now_, slot->due);
    } else if (const std::int64_t wait = slot->due - NowMs(); wait > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    // A periodic timer counts its next period from this tick; the handler may re-arm it.
    slot->due = NowMs() + std::max(slot->interval, kMinimumPeriodMs);
    slot->on_tick();
    if (after_tick_) after_tick_();
  }
  return Stopped::kQuit;
}

}  // namespace px::sim
