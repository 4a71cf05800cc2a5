// How an iButton follows the mouse, the keyboard and the focus.
#include "controls/button/ibutton.h"

namespace px {

// The window under the cursor is the button's own exactly when nothing lies over it there; a
// disabled or hidden button is never that window.
bool iButton::IsCursorOverButton() {
  ButtonApi& api = site_.Api();
  return api.WindowFromPoint(api.GetCursorPos()) == site_.Hwnd();
}

ButtonState iButton::GetCurrentState() {
  if (!site_.Enabled()) return Disabled;
  if (mPressed) return IsCursorOverButton() ? Pressed : Normal;
  return IsCursorOverButton() ? Hover : Normal;
}

// The pointer entering is noticed here; its leaving only by Timer1, which runs from the moment
// the pointer enters until a tick finds it gone with no button held.
void iButton::OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  events_.MouseMove(button, shift, x, y);
  if (IsCursorOverButton() && !mHover) {
    Report(cMouseAction(Hover, false));
    mHover = true;
    timer1_->SetEnabled(true);
    events_.MouseOver();
  }
}

void iButton::OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  events_.MouseDown(button, shift, x, y);
  mLastButton = button;
  if (button == kLeftButton) {
    Report(cMouseAction(Pressed, false));
    mPressed = true;
  }
}

void iButton::OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  events_.MouseUp(button, shift, x, y);
  if (button != kLeftButton) return;
  if (IsCursorOverButton()) {
    if (mStyle == 1) mValue = !mValue;
    Report(cMouseAction(Hover, true));
  } else {
    Report(cMouseAction(Normal, true));
  }
  mPressed = false;
}

void iButton::Timer1_Timer() {
  if (IsCursorOverButton()) {
    if (mPressed) Report(cMouseAction(Pressed, false));
    return;
  }
  if (!mPressed) {
    timer1_->SetEnabled(false);
    mHover = false;
    events_.MouseOut();
  }
  Report(cMouseAction(Normal, false));
}

void iButton::OnClick() {
  if (mLastButton != kLeftButton) return;
  Report(cMouseAction(GetCurrentState(), true));
  events_.Click();
}

void iButton::OnDblClick() {
  if (mLastButton == kLeftButton) Report(cMouseAction(Pressed, false));
  events_.DBClick();
}

// Enter clicks on key-down, again with each auto-repeat; Space shows Pressed on key-down and
// clicks on key-up. No other key means anything to the button.
void iButton::OnKeyDown(std::int16_t& key_code, std::int16_t& shift) {
  events_.KeyDown(key_code, shift);
  if (key_code == kKeyReturn) {
    if (mStyle == 1) mValue = !mValue;
    Report(cMouseAction(GetCurrentState(), true));
    events_.Click();
  } else if (key_code == kKeySpace) {
    Report(cMouseAction(Pressed, true));
  }
}

void iButton::OnKeyUp(std::int16_t& key_code, std::int16_t& shift) {
  events_.KeyUP(key_code, shift);
  if (key_code != kKeySpace) return;
  if (mStyle == 1) mValue = !mValue;
  Report(cMouseAction(GetCurrentState(), true));
  events_.Click();
}

void iButton::OnKeyPress(std::int16_t& key_ascii) { events_.KeyPress(key_ascii); }

// No focus rectangle: the button only repaints, so that a host can draw focus into its frames.
void iButton::OnGotFocus() {
  focused_ = true;
  Report(FullRepaint());
}

void iButton::OnLostFocus() {
  focused_ = false;
  Report(FullRepaint());
}

}  // namespace px
