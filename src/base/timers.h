#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "base/text.h"

namespace px {

// A window timer, as Windows runs them: it ticks every interval milliseconds while it is
// enabled and its interval is not 0; a new interval restarts the count; intervals below 10 ms
// act as 10 ms. Ticks come from the event loop one at a time: a tick never starts while
// another tick handler (or a modal box it opened) is still running.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(std::uint32_t ms) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual std::uint32_t Interval() const = 0;
  virtual bool Enabled() const = 0;
};

class TimerFactory {
 public:
  virtual ~TimerFactory() = default;
  // A new timer with interval 0 and its enabled flag set (so it does not tick yet).
  virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> on_tick) = 0;
  // A timer Windows refused to start (SetTimer failed: the desktop's or the process's quota of
  // timers is used up) does not tick: on_failure is told instead, with the call and its code, as
  // a tick of its own once the current one has returned. Without it the failure is ignored and
  // a run waiting for that tick would wait for ever. Timers that cannot fail ignore it.
  virtual void SetOnFailure(std::function<void(const Text& failure)> /*on_failure*/) {}
};

}  // namespace px
