// BForm's buttons under the pointer, and the events it raises.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/frame/bform.h"
#include "frame_fixture.h"

namespace px::test {
namespace {

// What each kind of pointer action on each part does to the buttons' pictures and the events.
struct LookCase {
  const char* action;  // move, down, up, click, dblclick
  TwipPoint at;
  const char* pmin;  // picture name after the action
  const char* pclose;
  const char* event;  // "" for none
};

TEST_F(FrameTest, ButtonLooksFollowThePointer) {
  site_.SetSize({3000, 405});
  const TwipPoint on_min{2300, 100}, on_close{2700, 200}, on_bar{1000, 100};
  const LookCase cases[] = {
      {"move", on_min, "Pi3", "none", ""},
      {"move", on_close, "Pi3", "Pi4", ""},
      {"move", on_bar, "none", "none", ""},
      {"down", on_min, "pi1", "none", ""},
      {"down", on_close, "pi1", "pi2", ""},
      {"up", on_min, "none", "pi2", ""},
      {"up", on_close, "none", "none", ""},
      {"click", on_min, "none", "none", "MinClick"},
      {"click", on_close, "none", "none", "CloseClick"},
      {"down", on_bar, "none", "none", "MouseDown 1 0 1000 100"},
      {"dblclick", on_bar, "none", "none", "DblClick"},
      {"click", on_bar, "none", "none", ""},
      {"up", on_bar, "none", "none", ""},
      {"dblclick", on_min, "none", "none", ""},
      // Any button presses and releases a button alike.
      {"rightdown", on_close, "none", "pi2", ""},
      {"rightup", on_close, "none", "none", ""},
  };
  for (const LookCase& c : cases) {
    SCOPED_TRACE(std::string(c.action) + " at " + std::to_string(c.at.x));
    events_.lines.clear();
    const std::string a = c.action;
    if (a == "move") site_.MouseMove(c.at);
    if (a == "down") site_.MouseDown(c.at);
    if (a == "up") site_.MouseUp(c.at);
    if (a == "rightdown") site_.MouseDown(c.at, kRightButton);
    if (a == "rightup") site_.MouseUp(c.at, kRightButton);
    if (a == "click") site_.Click(c.at);
    if (a == "dblclick") site_.DblClick(c.at);
    EXPECT_EQ(log_.PictureName(Area("Pmin").GetPicture().get()), c.pmin);
    EXPECT_EQ(log_.PictureName(Area("Pclose").GetPicture().get()), c.pclose);
    EXPECT_EQ(events_.lines, std::string(c.event).empty() ? std::vector<std::string>{}
                                                          : std::vector<std::string>{c.event});
  }
}

// A double click on Pmin or Pclose as the user makes it: the site turns the second press into a
// double-click, which the buttons ignore, so there is one click event and, after the last
// release, no pressed look left behind.
TEST_F(FrameTest, DoubleClickOnAButtonClicksOnceAndLeavesNoPressedLook) {
  site_.SetSize({3000, 405});
  const struct {
    const char* button;
    TwipPoint at;
    const char* event;
  } cases[] = {{"Pmin", {2300, 100}, "MinClick"}, {"Pclose", {2700, 200}, "CloseClick"}};
  for (const auto& c : cases) {
    events_.lines.clear();
    site_.UserDoubleClick(c.at);
    EXPECT_EQ(events_.lines, std::vector<std::string>{c.event}) << c.button;
    EXPECT_EQ(Area(c.button).GetPicture(), nullptr) << c.button;
  }
}

TEST_F(FrameTest, MouseDownHandsItsArgumentsByReference) {
  site_.SetSize({3000, 405});
  std::vector<float> seen;
  events_.on_mouse_down = [&](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    seen = {static_cast<float>(button), static_cast<float>(shift), x, y};
    button = 0;
    shift = 7;
    x = -1.5f;
  };
  const sim::MouseArgs after = site_.MouseDown({1234, 56}, kMiddleButton, kShiftMask | kCtrlMask);
  EXPECT_EQ(seen, (std::vector<float>{4, 3, 1234, 56}));  // the press, unchanged
  EXPECT_EQ(after.button, 0);                             // the handler's values come back
  EXPECT_EQ(after.shift, 7);
  EXPECT_EQ(after.x, -1.5f);
  EXPECT_EQ(after.y, 56);
}

TEST_F(FrameTest, EventsGoOnlyWhereTheyBelong) {
  site_.SetSize({3000, 405});
  site_.MouseDown({2300, 100});  // on Pmin: no MouseDown for the host
  site_.MouseUp({2300, 100});
  site_.Click({2300, 100});
  site_.MouseDown({2700, 100}, kRightButton);
  site_.MouseUp({2700, 100}, kRightButton);
  site_.Click({2700, 100});  // a click with any button
  site_.DblClick({50, 50});
  EXPECT_EQ(events_.lines, (std::vector<std::string>{"MinClick", "CloseClick", "DblClick"}));
}

}  // namespace
}  // namespace px::test

namespace px::test {
namespace {

// A reader sees a title bar named by the caption with two push buttons, whose states follow
// their looks and whose default actions are clicks; Nomin leaves the minimise button invisible.
TEST_F(FrameTest, ReadersSeeTheBarAndPressItsButtons) {
  site_.SetSize({3000, 405});
  frame_->SetCaption(u"Setup");
  AccessibleDescription d = frame_->Describe(UiLanguage::kChinese);
  EXPECT_EQ(d.self.role, AccessibleRole::kTitleBar);
  EXPECT_EQ(d.self.name, u"Setup");
  EXPECT_EQ(d.self.state, 0u);
  ASSERT_EQ(d.parts.size(), 2u);
  EXPECT_EQ(d.parts[0].name, u"最小化");
  EXPECT_EQ(d.parts[1].name, u"退出");
  EXPECT_EQ(d.parts[1].role, AccessibleRole::kPushButton);
  EXPECT_EQ(d.parts[1].default_action, u"按下");
  EXPECT_EQ(d.parts[1].bounds, (TwipRect{2640, 70, 315, 315}));

  site_.MouseMove({2700, 200});
  EXPECT_EQ(frame_->Describe(UiLanguage::kEnglish).parts[1].state, kAccessibleHotTracked);
  site_.MouseDown({2700, 200});
  EXPECT_EQ(frame_->Describe(UiLanguage::kEnglish).parts[1].state, kAccessiblePressed);
  site_.MouseUp({2700, 200});

  EXPECT_TRUE(frame_->DoDefaultAction(BForm::kClosePart));
  EXPECT_TRUE(frame_->DoDefaultAction(BForm::kMinimizePart));
  EXPECT_EQ(events_.lines, (std::vector<std::string>{"CloseClick", "MinClick"}));
  EXPECT_EQ(Area("Pmin").GetPicture(), nullptr);
  EXPECT_FALSE(frame_->DoDefaultAction(0));  // the bar itself has none

  frame_->Nomin();
  d = frame_->Describe(UiLanguage::kEnglish);
  EXPECT_EQ(d.parts[0].state, kAccessibleInvisible);
  EXPECT_EQ(d.parts[0].default_action, u"");
  EXPECT_FALSE(frame_->DoDefaultAction(BForm::kMinimizePart));
  EXPECT_EQ(events_.lines.size(), 2u);
}

}  // namespace
}  // namespace px::test
