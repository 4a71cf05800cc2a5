// What an iButton tells a screen reader, and its default action.
#include <gtest/gtest.h>

#include "button_fixture.h"

namespace px {
namespace {

using Strings = std::vector<std::string>;

enum class Act { kNone, kPointerOver, kHeldDown, kSpaceHeld, kToggleOn, kDisabled, kHidden, kPush };

struct DescriptionCase {
  const char* what;
  std::int32_t style;
  Act act;
  AccessibleRole role;
  std::uint32_t state;
  const char16_t* action;
};

class ButtonDescriptionTest : public ButtonTest,
                              public ::testing::WithParamInterface<DescriptionCase> {
 protected:
  void Do(Act act) {
    switch (act) {
      case Act::kNone:
        break;
      case Act::kHeldDown:
        site.MoveTo(kInside);
        site.Press();
        break;
      case Act::kPointerOver:
        site.MoveTo(kInside);
        break;
      case Act::kSpaceHeld:
        site.Focus();
        site.KeyDown(kKeySpace);
        break;
      case Act::kDisabled:
        ASSERT_TRUE(button->SetValue(true));
        ASSERT_TRUE(button->SetEnabled(false));
        break;
      case Act::kPush:  // a toggle keeps its value when made a push button, never checked
        ASSERT_TRUE(button->SetValue(true));
        ASSERT_TRUE(button->SetStyle(0));
        break;
      case Act::kToggleOn:
        ASSERT_TRUE(button->SetValue(true));
        break;
      case Act::kHidden:
        site.SetVisible(false);
        break;
    }
  }
};

TEST_P(ButtonDescriptionTest, TheDescriptionFollowsTheButtonsState) {
  const DescriptionCase& c = GetParam();
  SCOPED_TRACE(c.what);
  Place(c.style);
  ASSERT_TRUE(button->SetCaption(u"OK"));
  Do(c.act);
  const AccessibleDescription d = button->Describe(UiLanguage::kEnglish);
  EXPECT_EQ(d.self.role, c.role);
  EXPECT_EQ(d.self.name, u"OK");
  EXPECT_EQ(d.self.state, c.state);
  EXPECT_EQ(d.self.default_action, c.action);
  EXPECT_TRUE(d.parts.empty());
}

constexpr AccessibleRole kPush = AccessibleRole::kPushButton;
constexpr AccessibleRole kCheck = AccessibleRole::kCheckButton;
constexpr std::uint32_t kFocusable = kAccessibleFocusable;

INSTANTIATE_TEST_SUITE_P(
    States, ButtonDescriptionTest,
    ::testing::Values(
        DescriptionCase{"at rest", 0, Act::kNone, kPush, kFocusable, u"Press"},
        DescriptionCase{"pointer over", 0, Act::kPointerOver, kPush,
                        kFocusable | kAccessibleHotTracked, u"Press"},
        DescriptionCase{"held down", 0, Act::kHeldDown, kPush,
                        kFocusable | kAccessibleFocused | kAccessiblePressed, u"Press"},
        DescriptionCase{"space held", 1, Act::kSpaceHeld, kCheck,
                        kFocusable | kAccessibleFocused | kAccessiblePressed, u"Check"},
        DescriptionCase{"toggle on", 1, Act::kToggleOn, kCheck, kFocusable | kAccessibleChecked,
                        u"Uncheck"},
        DescriptionCase{"disabled", 1, Act::kDisabled, kCheck,
                        kAccessibleUnavailable | kAccessibleChecked, u""},
        DescriptionCase{"hidden", 0, Act::kHidden, kPush, kAccessibleInvisible, u""},
        DescriptionCase{"toggle made a push button", 1, Act::kPush, kPush, kFocusable, u"Press"}));

TEST_F(ButtonTest, AnAccessibleNameStandsForTheCaption) {
  Place(1);
  button->SetAccessibleName(u"声音");
  EXPECT_EQ(button->Describe(UiLanguage::kChinese).self.name, u"声音");
  EXPECT_EQ(button->Describe(UiLanguage::kChinese).self.default_action, u"选中");
  EXPECT_EQ(site.changed_properties().back(), u"AccessibleName");
  button->SetAccessibleName(u"");
  ASSERT_TRUE(button->SetCaption(u"Sound"));
  EXPECT_EQ(button->Describe(UiLanguage::kEnglish).self.name, u"Sound");
}

// The default action is a left click: the same events in the same order, read back as a click
// reads them, the toggle inverted, and no hover left behind for a pointer that is elsewhere.
TEST_F(ButtonTest, TheDefaultActionClicksAsTheLeftButtonDoes) {
  Place(1);
  events.lines.clear();
  EXPECT_TRUE(button->DoDefaultAction(0));
  EXPECT_EQ(events.lines, (Strings{"MouseDown 1 0", "MouseUp 1 0", "Click"}));
  EXPECT_TRUE(button->Value());
  EXPECT_EQ(button->State(), Normal);
  EXPECT_EQ(Painted(), (std::vector<int>{2, 4, 4}));  // pressed while off, then on at rest

  // A handler that takes the press away takes the click with it, as with the mouse.
  events.on_mouse_down = [](std::int16_t& b) { b = 0; };
  events.lines.clear();
  EXPECT_TRUE(button->DoDefaultAction(0));
  EXPECT_EQ(events.lines, (Strings{"MouseDown 0 0", "MouseUp 1 0"}));
  EXPECT_FALSE(button->Value());

  events.lines.clear();
  EXPECT_FALSE(button->DoDefaultAction(1));  // no such part
  ASSERT_TRUE(button->SetEnabled(false));
  EXPECT_FALSE(button->DoDefaultAction(0));
  EXPECT_TRUE(events.lines.empty());
}

}  // namespace
}  // namespace px
