// What an iButton tells a screen reader, and its default action.
#include "controls/button/ibutton.h"

namespace px {

AccessibleDescription iButton::Describe(UiLanguage language) const {
  const AccessibleWords& words = WordsFor(language);
  const bool toggle = mStyle == 1;
  const bool enabled = site_.Enabled();
  const bool visible = site_.Visible();
  AccessibleDescription d;
  d.self.role = toggle ? AccessibleRole::kCheckButton : AccessibleRole::kPushButton;
  d.self.name = accessible_name_.empty() ? mCaption : accessible_name_;
  std::uint32_t& state = d.self.state;
  if (!enabled) state |= kAccessibleUnavailable;
  if (!visible) state |= kAccessibleInvisible;
  if (enabled && visible) state |= kAccessibleFocusable;
  if (focused_) state |= kAccessibleFocused;
  // Pressed and hot tracked follow the look: the state shown is what the user sees.
  if (mState == Pressed) state |= kAccessiblePressed;
  if (mState == Hover) state |= kAccessibleHotTracked;
  if (toggle && mValue) state |= kAccessibleChecked;
  if (enabled && visible) {
    d.self.default_action = !toggle ? words.press : mValue ? words.uncheck : words.check;
  }
  const TwipSize size = site_.Size();
  d.self.bounds = {0, 0, size.width, size.height};
  return d;
}

// A click of the left button at the button's centre, released over it: the events a mouse click
// raises, each with its arguments by reference as they are, and what the button does with them
// afterwards. Only the pointer is left where it is, so the state shown afterwards is the one the
// real pointer gives (Hover over the button, Normal elsewhere).
bool iButton::DoDefaultAction(std::int32_t child) {
  if (child != 0 || Describe(UiLanguage::kEnglish).self.default_action.empty()) return false;
  const TwipSize size = site_.Size();
  std::int16_t button = kLeftButton;
  std::int16_t shift = 0;
  float x = static_cast<float>(size.width / 2);
  float y = static_cast<float>(size.height / 2);
  events_.MouseDown(button, shift, x, y);
  mLastButton = button;
  if (button == kLeftButton) {
    Report(cMouseAction(Pressed, false));
    mPressed = true;
  }
  button = kLeftButton;
  shift = 0;
  x = static_cast<float>(size.width / 2);
  y = static_cast<float>(size.height / 2);
  events_.MouseUp(button, shift, x, y);
  if (button == kLeftButton) {
    if (mStyle == 1) mValue = !mValue;
    mPressed = false;
    Report(cMouseAction(GetCurrentState(), true));
  }
  OnClick();
  return true;
}

}  // namespace px
