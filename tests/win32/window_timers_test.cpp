#include "platform/win32/window_timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace px::win32 {
namespace {

// Dispatches the thread's messages for a while, as the message loop does.
void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&message);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
}

// Pumps until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, DWORD limit_ms = 5000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > limit_ms) return false;
    Pump(5);
  }
  return true;
}

class WindowTimersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto created = WindowTimers::Create(GetModuleHandleW(nullptr));
    ASSERT_TRUE(created.ok());
    timers_ = std::move(created.value());
  }
  std::unique_ptr<WindowTimers> timers_;
  std::string ticks_;
};

TEST_F(WindowTimersTest, ANewTimerIsEnabledWithIntervalZeroAndDoesNotTick) {
  auto timer = timers_->CreateTimer([this] { ticks_ += 'a'; });
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 0u);
  Pump(100);
  EXPECT_EQ(ticks_, "");
}

TEST_F(WindowTimersTest, TicksOnlyWhileEnabledWithAnInterval) {
  auto timer = timers_->CreateTimer([this] { ticks_ += 'a'; });
  timer->SetEnabled(false);
  timer->SetInterval(10);
  Pump(100);
  EXPECT_EQ(ticks_, "") << "disabled";
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks_.size() >= 2; }));
  timer->SetInterval(0);
  ticks_.clear();
  Pump(100);
  EXPECT_EQ(ticks_, "") << "interval 0";
}

// The start-up chain: a 1 ms timer that re-arms itself at a longer interval, then hands over to
// the next timer and stops; the next one stops itself after three ticks.
TEST_F(WindowTimersTest, ChainedTimersTickInTheirOrder) {
  std::unique_ptr<Timer> first;
  std::unique_ptr<Timer> second;
  int first_ticks = 0;
  first = timers_->CreateTimer([&] {
    ticks_ += 'a';
    if (++first_ticks <= 3) {
      first->SetInterval(20);
      first->SetEnabled(true);
    } else {
      second->SetInterval(1);
      second->SetEnabled(true);
      first->SetEnabled(false);
    }
  });
  second = timers_->CreateTimer([&] {
    ticks_ += 'b';
    if (ticks_.size() == 7) second->SetEnabled(false);
  });
  second->SetEnabled(false);
  first->SetInterval(1);
  first->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks_.size() >= 7; }));
  Pump(100);
  EXPECT_EQ(ticks_, "aaaabbb");
}

TEST_F(WindowTimersTest, TicksComeNoEarlierThanTheirInterval) {
  const DWORD start = GetTickCount();
  std::vector<DWORD> fast;
  std::vector<DWORD> slow;
  auto a = timers_->CreateTimer([&] { fast.push_back(GetTickCount() - start); });
  auto b = timers_->CreateTimer([&] { slow.push_back(GetTickCount() - start); });
  a->SetInterval(50);
  b->SetInterval(200);
  ASSERT_TRUE(PumpUntil([&] { return !slow.empty(); }));
  // The tick counter moves in steps of up to 16 ms.
  constexpr DWORD kResolution = 16;
  EXPECT_GE(slow.front() + kResolution, 200u);
  ASSERT_GE(fast.size(), 2u);
  for (std::size_t i = 0; i < fast.size(); ++i) {
    EXPECT_GE(fast[i] + kResolution, 50u * (i + 1)) << "tick " << i;
  }
  EXPECT_LE(fast.size(), slow.front() / 50 + 1);
}

TEST_F(WindowTimersTest, ANewIntervalRestartsTheCount) {
  const DWORD start = GetTickCount();
  DWORD first_tick = 0;
  auto timer = timers_->CreateTimer([&] {
    if (first_tick == 0) first_tick = GetTickCount() - start;
  });
  timer->SetInterval(150);
  Pump(100);
  timer->SetInterval(150);
  ASSERT_TRUE(PumpUntil([&] { return first_tick != 0; }));
  EXPECT_GE(first_tick + 16, 250u);
}

// A handler that pumps messages itself (a modal message box does) is not re-entered, and no
// other timer's tick runs inside it either.
TEST_F(WindowTimersTest, ATickIsNeverEnteredWhileAnotherRuns) {
  int depth = 0;
  int deepest = 0;
  int other_ticks_inside = 0;
  int other_ticks = 0;
  std::unique_ptr<Timer> modal;
  modal = timers_->CreateTimer([&] {
    deepest = std::max(deepest, ++depth);
    const int before = other_ticks;
    Pump(150);
    other_ticks_inside += other_ticks - before;
    modal->SetEnabled(false);
    --depth;
  });
  auto other = timers_->CreateTimer([&] {
    deepest = std::max(deepest, ++depth);
    ++other_ticks;
    --depth;
  });
  modal->SetInterval(10);
  other->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return !modal->Enabled() && other_ticks >= 3; }));
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(other_ticks_inside, 0);
}

// The closing step's case: its tick opens a modal message box, which runs a message loop of
// its own for as long as the box is up.
void CALLBACK ConfirmMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"timers");
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(WindowTimersTest, AModalBoxInATickHoldsBackEveryTick) {
  int box_ticks = 0;
  auto boxed = timers_->CreateTimer([&] {
    ++box_ticks;
    ticks_ += '[';
    SetTimer(nullptr, 0, 200, &ConfirmMessageBox);
    MessageBoxW(nullptr, L"confirm", L"timers", MB_OK);
    ticks_ += ']';
  });
  auto other = timers_->CreateTimer([&] { ticks_ += 'x'; });
  boxed->SetInterval(10);
  other->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return box_ticks >= 2; }));
  boxed->SetEnabled(false);
  other->SetEnabled(false);
  // Every tick ran to its end before the next began: the brackets never nest or hold an x.
  int open = 0;
  for (char c : ticks_) {
    if (c == '[') {
      EXPECT_EQ(open++, 0) << ticks_;
    } else if (c == ']') {
      --open;
    } else {
      EXPECT_EQ(open, 0) << ticks_;
    }
  }
}

TEST_F(WindowTimersTest, AHandlerMayDestroyItsOwnTimer) {
  std::unique_ptr<Timer> timer;
  timer = timers_->CreateTimer([&] {
    ticks_ += 'a';
    timer.reset();
  });
  timer->SetInterval(10);
  ASSERT_TRUE(PumpUntil([&] { return timer == nullptr; }));
  Pump(50);
  EXPECT_EQ(ticks_, "a");
}

}  // namespace
}  // namespace px::win32
