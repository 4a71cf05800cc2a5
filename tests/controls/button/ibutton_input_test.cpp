#include <gtest/gtest.h>

#include "button_fixture.h"

namespace px {
namespace {

using Strings = std::vector<std::string>;

TEST_F(ButtonTest, NewButtonRaisesMouseOutOnceAtTheFirstTickAndStopsItsTimer) {
  EXPECT_TRUE(button->Timer1().Enabled());
  EXPECT_EQ(button->Timer1().Interval(), 50u);
  RunFor(49);
  EXPECT_EQ(events.Count("MouseOut"), 0);
  RunFor(1);
  EXPECT_EQ(events.lines, Strings{"MouseOut"});
  EXPECT_FALSE(button->Timer1().Enabled());
  RunFor(1000);
  EXPECT_EQ(events.Count("MouseOut"), 1);
}

TEST_F(ButtonTest, PointerEnteringAndLeavingIsTrackedByTheTimer) {
  Place(0);
  site.MoveTo(kInside);
  EXPECT_EQ(events.lines, (Strings{"MouseMove 0", "MouseOver"}));
  EXPECT_EQ(button->State(), Hover);
  EXPECT_TRUE(button->Timer1().Enabled());
  site.MoveTo({310, 150});  // a second move over the button is no second MouseOver
  EXPECT_EQ(events.Count("MouseOver"), 1);
  RunFor(200);  // ticks while the pointer stays change nothing
  EXPECT_EQ(button->State(), Hover);
  EXPECT_EQ(Painted(), std::vector<int>{1});
  site.MoveAway();
  RunFor(50);
  EXPECT_EQ(events.lines.back(), "MouseOut");
  EXPECT_EQ(button->State(), Normal);
  EXPECT_FALSE(button->Timer1().Enabled());
}

TEST_F(ButtonTest, WindowOverTheButtonHidesIt) {
  Place(0);
  site.MoveTo(kInside);
  ASSERT_EQ(button->State(), Hover);
  // A window laid over the button where the pointer is: the next tick finds the pointer gone.
  api.AddWindow(0, {100, 100, 800, 600});
  RunFor(50);
  EXPECT_EQ(events.lines.back(), "MouseOut");
  EXPECT_EQ(button->State(), Normal);
}

// Where the shape mask leaves the button see-through the pointer is over the host window, as a
// window region makes it on Windows: no hover, no press, and leaving the shape is leaving the
// button.
TEST_F(ButtonTest, SeeThroughPixelsOfTheShapeAreNotTheButtons) {
  // Frames whose top-left 10 x 10 pixels are the key colour.
  std::vector<Argb> pixels(400 * 30, OpaqueArgb(0, 0, 200));
  for (int slot = 0; slot < 5; ++slot) {
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) pixels[y * 400 + slot * 80 + x] = OpaqueArgb(0xFF, 0, 0xFD);
    }
  }
  Place(0, true, MakePixelPicture(400, 30, std::move(pixels)));
  ASSERT_TRUE(button->SetcBackStyle(0));
  RunFor(50);  // the first tick, with the pointer elsewhere
  events.lines.clear();
  const TwipPoint see_through = {75, 75};  // pixel (5, 5)
  site.MoveTo(see_through);
  site.Press();
  site.Release();
  EXPECT_TRUE(events.lines.empty());
  EXPECT_EQ(button->State(), Normal);

  site.MoveTo(kInside);
  EXPECT_EQ(events.lines, (Strings{"MouseMove 0", "MouseOver"}));
  site.MoveTo(see_through);
  RunFor(50);
  EXPECT_EQ(events.lines.back(), "MouseOut");
  EXPECT_EQ(button->State(), Normal);
  // The opaque style gives the button its whole rectangle again.
  ASSERT_TRUE(button->SetcBackStyle(1));
  site.MoveTo(see_through);
  EXPECT_EQ(events.lines.back(), "MouseOver");
}

TEST_F(ButtonTest, PressDragOffAndBackFollowsThePointerAtTheTicks) {
  Place(1);
  site.MoveTo(kInside);
  site.Press();
  EXPECT_EQ(button->State(), Pressed);
  site.MoveTo(kOutside);
  EXPECT_EQ(button->State(), Pressed);  // until the next tick
  RunFor(50);
  EXPECT_EQ(button->State(), Normal);
  EXPECT_EQ(events.Count("MouseOut"), 0);  // a button is held
  EXPECT_TRUE(button->Timer1().Enabled());
  site.MoveTo(kInside);
  RunFor(50);
  EXPECT_EQ(button->State(), Pressed);
  site.MoveTo(kOutside);
  RunFor(50);
  EXPECT_EQ(button->State(), Normal);
  site.Release();
  EXPECT_EQ(button->State(), Normal);
  EXPECT_FALSE(button->Value());
  EXPECT_EQ(events.Count("Click"), 0);
  EXPECT_EQ(events.Count("MouseOut"), 0);
  RunFor(50);
  EXPECT_EQ(events.lines.back(), "MouseOut");
  EXPECT_FALSE(button->Timer1().Enabled());
}

TEST_F(ButtonTest, LeftClickShowsPressedThenHoverAndRaisesClick) {
  Place(0);
  site.MoveTo(kInside);
  site.Focus();
  events.lines.clear();
  log.ClearLines();
  site.Press();
  EXPECT_EQ(button->State(), Pressed);
  site.Release();
  EXPECT_EQ(events.lines, (Strings{"MouseDown 1 0", "MouseUp 1 0", "Click"}));
  EXPECT_EQ(button->State(), Hover);
  EXPECT_EQ(Painted(), (std::vector<int>{2, 1, 1}));  // pressed, release, click
}

TEST_F(ButtonTest, RightClickRaisesMouseEventsButNoPressedStateAndNoClick) {
  Place(0);
  site.MoveTo(kInside);
  events.lines.clear();
  site.Click(kInside, kRightButton);
  EXPECT_EQ(events.lines, (Strings{"MouseMove 0", "MouseDown 2 0", "MouseUp 2 0"}));
  EXPECT_EQ(button->State(), Hover);
  site.Click(kInside, kMiddleButton);
  EXPECT_EQ(events.Count("Click"), 0);
}

TEST_F(ButtonTest, DoubleClickOnAToggleInvertsValueTwiceAndClicksOnce) {
  Place(1);
  site.MoveTo(kInside);
  events.lines.clear();
  site.DoubleClick(kInside);
  EXPECT_EQ(events.lines, (Strings{"MouseMove 0", "MouseDown 1 0", "MouseUp 1 0", "Click",
                                   "DBClick", "MouseUp 1 0"}));
  EXPECT_FALSE(button->Value());
  EXPECT_EQ(button->State(), Hover);
}

TEST_F(ButtonTest, RightDoubleClickStillRaisesDBClick) {
  Place(0);
  site.DoubleClick(kInside, kRightButton);
  EXPECT_EQ(events.Count("DBClick"), 1);
  EXPECT_EQ(events.Count("Click"), 0);
  EXPECT_NE(button->State(), Pressed);
}

TEST_F(ButtonTest, MouseDownHandlerThatZeroesButtonSuppressesPressedAndClick) {
  Place(1);
  events.on_mouse_down = [](std::int16_t& button) { button = 0; };
  site.Click(kInside);
  EXPECT_EQ(events.Count("MouseDown 0 0"), 1);
  EXPECT_EQ(events.Count("Click"), 0);
  // The release is still a left one: it inverts the toggle over the button.
  EXPECT_TRUE(button->Value());
  for (int frame : Painted()) EXPECT_NE(frame % 4, Pressed);
}

// The control reads Button back after MouseUp and KeyCode after KeyUP: a handler that zeroes
// them leaves the release or the key as no left release and no Space.
TEST_F(ButtonTest, MouseUpAndKeyUpHandlersThatZeroTheirArgumentSuppressTheReaction) {
  Place(1);
  events.on_mouse_up = [](std::int16_t& button) { button = 0; };
  site.MoveTo(kInside);
  site.Press();
  site.Release();
  EXPECT_EQ(events.Count("MouseUp 0 0"), 1);
  EXPECT_FALSE(button->Value()) << "no left release over the button: the toggle stays";
  EXPECT_EQ(button->State(), Pressed) << "the release is not seen: the pressed look stays";
  events.on_mouse_up = nullptr;
  site.Press();
  site.Release();
  EXPECT_TRUE(button->Value());

  events.on_key_up = [](std::int16_t& key_code) { key_code = 0; };
  site.KeyDown(kKeySpace);
  ASSERT_EQ(button->State(), Pressed);
  const int clicks = events.Count("Click");
  site.KeyUp(kKeySpace);
  EXPECT_EQ(events.Count("KeyUP 0"), 1);
  EXPECT_EQ(events.Count("Click"), clicks);
  EXPECT_TRUE(button->Value());
  EXPECT_EQ(button->State(), Pressed);
}

TEST_F(ButtonTest, KeyDownHandlerThatZeroesKeyCodeSuppressesEnterAndSpace) {
  Place(1);
  site.Focus();
  events.on_key_down = [](std::int16_t& key_code) { key_code = 0; };
  const ButtonState before = button->State();
  site.KeyDown(kKeyReturn);
  site.KeyDown(kKeySpace);
  EXPECT_EQ(events.Count("Click"), 0);
  EXPECT_EQ(button->State(), before);
  EXPECT_FALSE(button->Value());
}

TEST_F(ButtonTest, EnterClicksOnEachKeyDownIncludingRepeats) {
  Place(1);
  site.Focus();
  for (int i = 0; i < 3; ++i) site.KeyDown(kKeyReturn);
  site.KeyPress(kKeyReturn);
  site.KeyUp(kKeyReturn);
  EXPECT_EQ(events.Count("Click"), 3);
  EXPECT_TRUE(button->Value());  // inverted three times
  EXPECT_EQ(events.lines.back(), "KeyUP 13");
}

TEST_F(ButtonTest, SpaceShowsPressedOnKeyDownAndClicksOnKeyUp) {
  Place(1);
  site.Focus();
  site.KeyDown(kKeySpace);
  EXPECT_EQ(button->State(), Pressed);
  EXPECT_EQ(events.Count("Click"), 0);
  EXPECT_FALSE(button->Value());
  site.KeyUp(kKeySpace);
  EXPECT_EQ(events.Count("Click"), 1);
  EXPECT_TRUE(button->Value());
  EXPECT_EQ(button->State(), Normal);  // the pointer is elsewhere
}

TEST_F(ButtonTest, OtherKeysOnlyRaiseTheirEvents) {
  Place(0);
  site.Focus();
  log.ClearLines();
  for (std::int16_t key : {27, 9, 65}) {
    site.KeyDown(key);
    site.KeyPress(key);
    site.KeyUp(key);
  }
  EXPECT_EQ(events.Count("Click"), 0);
  EXPECT_TRUE(Painted().empty());
}

TEST_F(ButtonTest, FocusChangesRepaintInFull) {
  Place(0);
  site.Focus();
  site.Unfocus();
  EXPECT_EQ(Painted(), (std::vector<int>{0, 0}));
}

TEST_F(ButtonTest, DisabledButtonHearsNoInput) {
  Place(0);
  ASSERT_TRUE(button->SetEnabled(false));
  events.lines.clear();
  site.MoveTo(kInside);
  site.Click(kInside);
  site.DoubleClick(kInside);
  site.Focus();
  site.KeyDown(kKeyReturn);
  EXPECT_TRUE(events.lines.empty());
  EXPECT_EQ(button->State(), Disabled);
}

TEST_F(ButtonTest, DisablingWhileHoveredEndsTheHoverAtTheNextTick) {
  Place(0);
  site.MoveTo(kInside);
  ASSERT_TRUE(button->Timer1().Enabled());
  ASSERT_TRUE(button->SetEnabled(false));
  EXPECT_EQ(button->State(), Disabled);
  log.ClearLines();
  RunFor(50);
  EXPECT_EQ(events.lines.back(), "MouseOut");
  EXPECT_FALSE(button->Timer1().Enabled());
  // The timer shows Normal, and it stays until a full repaint shows Disabled again.
  EXPECT_EQ(Painted(), std::vector<int>{0});
  RunFor(500);
  EXPECT_EQ(button->State(), Normal);
  ASSERT_TRUE(button->SetcForeColor(kBlack));  // a plain repaint keeps the stored state
  EXPECT_EQ(button->State(), Normal);
  site.Focus();  // disabled: no focus, no repaint
  ASSERT_TRUE(button->SetEnabled(false));
  EXPECT_EQ(button->State(), Disabled);
}

TEST_F(ButtonTest, HandlerMayChangePropertiesWhileTheButtonRaises) {
  Place(1);
  events.on_click = [this] { ASSERT_TRUE(button->SetCaption(u"Clicked")); };
  site.Click(kInside);
  EXPECT_EQ(button->Caption(), u"Clicked");
  EXPECT_TRUE(button->Value());
}

}  // namespace
}  // namespace px
