#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "base/sim/event_loop.h"
#include "platform/form_host.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_view.h"

namespace px::sim {

// Form1 on the simulated PC: the window's texts painted through the painters (a terminal,
// pictures), the machine's event loop for its timers, and a user who closes the window at
// close_at_ms, if ever. Like Windows it makes a window for the timers on every run and one for
// the form when the run shows it; the machine's faults may fail either, and each timer start.
class SimFormHost : public FormHost, public FaultHook {
 public:
  explicit SimFormHost(EventLoop& loop, std::vector<WindowPainter*> painters = {},
                       std::optional<std::int64_t> close_at_ms = std::nullopt)
      : loop_(loop), painters_(std::move(painters)), close_at_ms_(close_at_ms) {}
  ~SimFormHost() override { loop_.SetStartCheck(nullptr); }
  SimFormHost(const SimFormHost&) = delete;
  SimFormHost& operator=(const SimFormHost&) = delete;

  Status Open(bool show_window, RunEvents& events) override;
  TimerFactory& timers() override { return loop_; }
  InstallerView* window() override { return view_.get(); }
  void Run() override;
  void Quit() override { loop_.Quit(); }

  // The window, once opened with one.
  const SimView* view() const { return view_.get(); }

 private:
  EventLoop& loop_;
  std::vector<WindowPainter*> painters_;
  std::optional<std::int64_t> close_at_ms_;
  std::unique_ptr<SimView> view_;
};

}  // namespace px::sim
