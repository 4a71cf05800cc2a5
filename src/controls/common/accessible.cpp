#include "controls/common/accessible.h"

namespace px {

// The frame's buttons are named as their tooltips name them ("最小化", "退出") where those are
// in the reader's language, so that what the eye and the ear get agrees.
const AccessibleWords& WordsFor(UiLanguage language) {
  static const AccessibleWords english{u"Press", u"Check", u"Uncheck", u"Minimize", u"Close"};
  static const AccessibleWords chinese{u"按下", u"选中", u"取消选中", u"最小化", u"退出"};
  return language == UiLanguage::kChinese ? chinese : english;
}

const AccessibleElement* AccessibleDescription::Element(std::int32_t child) const {
  if (child == 0) return &self;
  if (child < 0 || static_cast<std::size_t>(child) > parts.size()) return nullptr;
  return &parts[static_cast<std::size_t>(child) - 1];
}

namespace {

constexpr std::uint32_t kAnnouncedStates =
    kAccessiblePressed | kAccessibleChecked | kAccessibleUnavailable | kAccessibleInvisible;

void Compare(const AccessibleElement& before, const AccessibleElement& after, std::int32_t child,
             std::vector<AccessibleChange>& changes) {
  if (before.name != after.name) changes.push_back({AccessibleEvent::kNameChange, child});
  if ((before.state ^ after.state) & kAnnouncedStates) {
    changes.push_back({AccessibleEvent::kStateChange, child});
  }
}

bool Contains(const TwipRect& r, TwipPoint p) {
  const std::int64_t dx = std::int64_t{p.x} - r.x, dy = std::int64_t{p.y} - r.y;
  return dx >= 0 && dx < r.width && dy >= 0 && dy < r.height;
}

bool Visible(const AccessibleElement& e) { return (e.state & kAccessibleInvisible) == 0; }

// The nearest visible part from `from` in steps of `step`, or -1.
std::int32_t Step(const AccessibleDescription& d, std::int32_t from, std::int32_t step) {
  const auto count = static_cast<std::int32_t>(d.parts.size());
  for (std::int32_t i = from + step; i >= 1 && i <= count; i += step) {
    if (Visible(d.parts[static_cast<std::size_t>(i) - 1])) return i;
  }
  return -1;
}

}  // namespace

std::vector<AccessibleChange> Changes(const AccessibleDescription& before,
                                      const AccessibleDescription& after) {
  std::vector<AccessibleChange> changes;
  Compare(before.self, after.self, 0, changes);
  for (std::size_t i = 0; i < after.parts.size() && i < before.parts.size(); ++i) {
    Compare(before.parts[i], after.parts[i], static_cast<std::int32_t>(i + 1), changes);
  }
  return changes;
}

std::int32_t Navigate(const AccessibleDescription& description, std::int32_t from,
                      AccessibleNavigation direction) {
  if (description.Element(from) == nullptr) return -1;
  const auto past_end = static_cast<std::int32_t>(description.parts.size()) + 1;
  switch (direction) {
    case AccessibleNavigation::kFirstChild:
      return from == 0 ? Step(description, 0, 1) : -1;
    case AccessibleNavigation::kLastChild:
      return from == 0 ? Step(description, past_end, -1) : -1;
    case AccessibleNavigation::kNext:
    case AccessibleNavigation::kRight:
      return from == 0 ? -1 : Step(description, from, 1);
    case AccessibleNavigation::kPrevious:
    case AccessibleNavigation::kLeft:
      return from == 0 ? -1 : Step(description, from, -1);
    default:
      return -1;
  }
}

std::int32_t ElementAt(const AccessibleDescription& description, TwipPoint at) {
  for (std::size_t i = description.parts.size(); i > 0; --i) {
    const AccessibleElement& part = description.parts[i - 1];
    if (Visible(part) && Contains(part.bounds, at)) return static_cast<std::int32_t>(i);
  }
  return Contains(description.self.bounds, at) ? 0 : -1;
}

}  // namespace px
