// Window timers as Windows runs them, on the virtual clock.
#include "base/sim/event_loop.h"

#include <gtest/gtest.h>

namespace px::sim {
namespace {

struct Ticks {
  EventLoop loop{EventLoop::Clock::kVirtual};
  std::vector<std::pair<std::int64_t, char>> seen;
  std::unique_ptr<Timer> Make(char name, std::function<void(Timer&)> then = {}) {
    auto holder = std::make_shared<Timer*>(nullptr);
    auto timer = loop.CreateTimer([this, name, holder, then] {
      seen.emplace_back(loop.NowMs(), name);
      if (then) then(**holder);
    });
    *holder = timer.get();
    return timer;
  }
};

TEST(EventLoop, IntervalZeroNeverTicksAndShortIntervalsActAsTen) {
  Ticks t;
  auto idle = t.Make('z');
  auto fast = t.Make('f', [](Timer& self) { self.SetEnabled(false); });
  fast->SetInterval(1);
  EXPECT_EQ(t.loop.Run(), EventLoop::Stopped::kIdle);
  EXPECT_EQ(t.seen, (std::vector<std::pair<std::int64_t, char>>{{10, 'f'}}));
  EXPECT_TRUE(idle->Enabled());
  EXPECT_EQ(idle->Interval(), 0u);
}

TEST(EventLoop, PeriodicTicksAndANewIntervalRestartsTheCount) {
  Ticks t;
  int n = 0;
  auto a = t.Make('a', [&n](Timer& self) {
    if (++n == 2) self.SetInterval(300);
    if (n == 4) self.SetEnabled(false);
  });
  a->SetInterval(100);
  auto b = t.Make('b', [](Timer& self) { self.SetEnabled(false); });
  b->SetInterval(200);
  t.loop.Run();
  const std::vector<std::pair<std::int64_t, char>> expected = {
      {100, 'a'}, {200, 'a'}, {200, 'b'}, {500, 'a'}, {800, 'a'}};
  EXPECT_EQ(t.seen, expected);
}

TEST(EventLoop, DisabledTimerRestartsItsCountWhenEnabledAgain) {
  Ticks t;
  auto a = t.Make('a', [](Timer& self) { self.SetEnabled(false); });
  a->SetEnabled(false);
  a->SetInterval(50);
  EXPECT_EQ(t.loop.Run(120), EventLoop::Stopped::kIdle);
  a->SetEnabled(true);
  EXPECT_EQ(t.loop.Run(1000), EventLoop::Stopped::kIdle);
  EXPECT_EQ(t.seen, (std::vector<std::pair<std::int64_t, char>>{{50, 'a'}}));
}

TEST(EventLoop, StopsAtTheTimeLimitAndOnQuit) {
  Ticks t;
  auto a = t.Make('a');
  a->SetInterval(1000);
  EXPECT_EQ(t.loop.Run(3500), EventLoop::Stopped::kTimeLimit);
  EXPECT_EQ(t.loop.NowMs(), 3500);
  EXPECT_EQ(t.seen.size(), 3u);
  auto q = t.Make('q', [&t](Timer&) { t.loop.Quit(); });
  q->SetInterval(10);
  EXPECT_EQ(t.loop.Run(), EventLoop::Stopped::kQuit);
}

}  // namespace
}  // namespace px::sim
