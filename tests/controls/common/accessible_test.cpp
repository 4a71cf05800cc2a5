// What readers are told when a description changes, and how they move among a control's parts.
#include "controls/common/accessible.h"

#include <gtest/gtest.h>

namespace px {
namespace {

// A bar with three parts side by side, the middle one hidden.
AccessibleDescription Bar() {
  AccessibleDescription d;
  d.self.bounds = {0, 0, 3000, 405};
  for (std::int32_t i = 0; i < 3; ++i) {
    d.parts.push_back(
        {AccessibleRole::kPushButton, u"b", 0, u"Press", {1000 + 400 * i, 0, 300, 300}});
  }
  d.parts[1].state = kAccessibleInvisible;
  return d;
}

TEST(AccessibleTest, OnlyNamesAndAnnouncedStatesAreNews) {
  const AccessibleDescription before = Bar();
  AccessibleDescription after = Bar();
  after.self.state = kAccessibleFocused | kAccessibleHotTracked | kAccessibleFocusable;
  after.parts[0].default_action = u"Uncheck";
  EXPECT_TRUE(Changes(before, after).empty());
  after.self.name = u"new";
  after.parts[0].state = kAccessibleChecked;
  after.parts[1].state = 0;  // shown again
  after.parts[2].state = kAccessiblePressed | kAccessibleUnavailable;
  EXPECT_EQ(Changes(before, after),
            (std::vector<AccessibleChange>{{AccessibleEvent::kNameChange, 0},
                                           {AccessibleEvent::kStateChange, 1},
                                           {AccessibleEvent::kStateChange, 2},
                                           {AccessibleEvent::kStateChange, 3}}));
}

TEST(AccessibleTest, NavigationAndHitTestingPassHiddenPartsBy) {
  const AccessibleDescription d = Bar();
  EXPECT_EQ(Navigate(d, 0, AccessibleNavigation::kFirstChild), 1);
  EXPECT_EQ(Navigate(d, 0, AccessibleNavigation::kLastChild), 3);
  EXPECT_EQ(Navigate(d, 1, AccessibleNavigation::kNext), 3);
  EXPECT_EQ(Navigate(d, 3, AccessibleNavigation::kLeft), 1);
  EXPECT_EQ(Navigate(d, 3, AccessibleNavigation::kNext), -1);
  EXPECT_EQ(Navigate(d, 1, AccessibleNavigation::kFirstChild), -1);
  EXPECT_EQ(Navigate(d, 0, AccessibleNavigation::kNext), -1);  // the host's business
  EXPECT_EQ(Navigate(d, 4, AccessibleNavigation::kPrevious), -1);
  EXPECT_EQ(ElementAt(d, {1100, 100}), 1);
  EXPECT_EQ(ElementAt(d, {1500, 100}), 0);  // the hidden part's place is the bar's
  EXPECT_EQ(ElementAt(d, {1899, 299}), 3);
  EXPECT_EQ(ElementAt(d, {3000, 100}), -1);
  EXPECT_EQ(ElementAt(d, {-2147483647, 100}), -1);
}

}  // namespace
}  // namespace px
