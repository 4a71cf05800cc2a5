// The user's hand on a RecordingSite: the pointer moved over the simulated desktop, buttons
// pressed and released with capture as Windows gives it, focus and keys.
#include "controls/sim/recording_site.h"

namespace px::sim {

bool RecordingSite::CursorOverControl() const {
  return api_->WindowFromPoint(api_->GetCursorPos()) == hwnd_;
}

InputListener* RecordingSite::ElementUnderCursor() const {
  return CursorOverControl() ? ElementAt(cursor_) : nullptr;
}

TwipPoint RecordingSite::OriginOf(const InputListener& element) const {
  for (const RecordingImageArea* area : areas_) {
    if (&area->input() == &element) return {area->Bounds().x, area->Bounds().y};
  }
  return {};
}

void RecordingSite::DeliverToHand(Delivery delivery, InputListener& element, std::int16_t button,
                                  std::int16_t shift) {
  const TwipPoint origin = OriginOf(element);
  float x = static_cast<float>(cursor_.x - origin.x);
  float y = static_cast<float>(cursor_.y - origin.y);
  (element.*delivery)(button, shift, x, y);
}

void RecordingSite::MoveTo(TwipPoint at) {
  SettleRegion();
  cursor_ = at;
  const PixelRect rect = api_->WindowRect(hwnd_);
  api_->SetCursorPos({rect.x + TwipsToPixels(at.x), rect.y + TwipsToPixels(at.y)});
  if (InputListener* element = captured_ != nullptr ? captured_ : ElementUnderCursor()) {
    DeliverToHand(&InputListener::OnMouseMove, *element, held_, 0);
  }
}

void RecordingSite::MoveAway() {
  SettleRegion();
  cursor_ = {-100000, -100000};
  api_->SetCursorPos({-100000, -100000});
  if (captured_ != nullptr) DeliverToHand(&InputListener::OnMouseMove, *captured_, held_, 0);
}

void RecordingSite::Press(std::int16_t button, std::int16_t shift) {
  SettleRegion();
  InputListener* const under = ElementUnderCursor();
  if (under == nullptr) return;
  Focus();
  held_ = static_cast<std::int16_t>(held_ | button);
  if (captured_ == nullptr) captured_ = under;
  click_pending_ = true;
  DeliverToHand(&InputListener::OnMouseDown, *captured_, button, shift);
}

void RecordingSite::DoublePress(std::int16_t button, std::int16_t /*shift*/) {
  SettleRegion();
  InputListener* const under = ElementUnderCursor();
  if (under == nullptr) return;
  held_ = static_cast<std::int16_t>(held_ | button);
  if (captured_ == nullptr) captured_ = under;
  click_pending_ = false;  // the double-click stands for this press's click
  captured_->OnDblClick();
}

void RecordingSite::Release(std::int16_t button, std::int16_t shift) {
  SettleRegion();
  if ((held_ & button) == 0) return;
  held_ = static_cast<std::int16_t>(held_ & ~button);
  InputListener* const element = captured_;
  if (element == nullptr) return;
  DeliverToHand(&InputListener::OnMouseUp, *element, button, shift);
  if (held_ != 0) return;  // the mouse stays with the element until the last release
  const bool click = click_pending_ && ElementUnderCursor() == element;
  captured_ = nullptr;
  click_pending_ = false;
  if (click) element->OnClick();
}

void RecordingSite::UserClick(TwipPoint at, std::int16_t button) {
  MoveTo(at);
  Press(button);
  Release(button);
}

void RecordingSite::UserDoubleClick(TwipPoint at, std::int16_t button) {
  UserClick(at, button);
  DoublePress(button);
  Release(button);
}

void RecordingSite::Focus() {
  SettleRegion();
  if (focused_ || !enabled_) return;
  focused_ = true;
  if (control_ != nullptr) control_->OnGotFocus();
}

void RecordingSite::Unfocus() {
  SettleRegion();
  if (!focused_) return;
  focused_ = false;
  if (control_ != nullptr) control_->OnLostFocus();
}

void RecordingSite::KeyDown(std::int16_t key_code, std::int16_t shift) {
  SettleRegion();
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyDown(key_code, shift);
}

void RecordingSite::KeyUp(std::int16_t key_code, std::int16_t shift) {
  SettleRegion();
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyUp(key_code, shift);
}

void RecordingSite::KeyPress(std::int16_t key_ascii) {
  SettleRegion();
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyPress(key_ascii);
}

}  // namespace px::sim
