#include "px/ibutton.h"

#include "controls/kit/kit_access.h"
#include "controls/win32/button_control.h"

namespace px::kit {
namespace {

// The button's events, handed on to the program's handlers with the same references, so that
// what a handler leaves in them is what the button reads back.
class EventRelay final : public px::iButtonEvents {
 public:
  explicit EventRelay(kit::iButtonEvents& to) : to_(to) {}

  void Click() override { to_.Click(); }
  void MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    to_.MouseDown(b, s, x, y);
  }
  void KeyDown(std::int16_t& k, std::int16_t& s) override { to_.KeyDown(k, s); }
  void KeyUP(std::int16_t& k, std::int16_t& s) override { to_.KeyUP(k, s); }
  void KeyPress(std::int16_t& k) override { to_.KeyPress(k); }
  void MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    to_.MouseUp(b, s, x, y);
  }
  void MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    to_.MouseMove(b, s, x, y);
  }
  void MouseOut() override { to_.MouseOut(); }
  void MouseOver() override { to_.MouseOver(); }
  void DBClick() override { to_.DBClick(); }

 private:
  kit::iButtonEvents& to_;
};

// cMouseAction takes the public states as the core's numbers.
constexpr bool SameState(ButtonState kit, px::ButtonState core) {
  return static_cast<std::int32_t>(kit) == static_cast<std::int32_t>(core);
}
static_assert(SameState(Normal, px::Normal) && SameState(Hover, px::Hover) &&
              SameState(Pressed, px::Pressed) && SameState(Disabled, px::Disabled));

}  // namespace

// The relay is made before the control and goes after it: the control raises events until it
// is destroyed.
struct iButton::Impl {
  explicit Impl(kit::iButtonEvents& events) : relay(events) {}
  EventRelay relay;
  std::unique_ptr<win32::ButtonControl> control;
  px::iButton& button() const { return control->button(); }
};

// A new button is not loaded at all: an empty store would load the saved defaults, which are
// not those of a button made new (AutoSize, for one).
std::unique_ptr<iButton> iButton::Create(HWND parent, int id, TwipRect bounds,
                                         kit::iButtonEvents& events) {
  auto impl = std::make_unique<Impl>(events);
  impl->control = win32::ButtonControl::Create(
      parent, id, {bounds.x, bounds.y, bounds.width, bounds.height}, impl->relay);
  if (impl->control == nullptr) return nullptr;
  return std::unique_ptr<iButton>(new iButton(std::move(impl)));
}

std::unique_ptr<iButton> iButton::Create(HWND parent, int id, TwipRect bounds,
                                         kit::iButtonEvents& events, MemoryPropertyStore& settings,
                                         ControlStatus* loaded) {
  auto impl = std::make_unique<Impl>(events);
  px::ControlStatus status;  // the control loads only when it is asked for the outcome
  impl->control =
      win32::ButtonControl::Create(parent, id, {bounds.x, bounds.y, bounds.width, bounds.height},
                                   impl->relay, KitAccess::Store(settings), &status);
  if (impl->control == nullptr) return nullptr;
  if (loaded != nullptr) *loaded = ToKit(status);
  return std::unique_ptr<iButton>(new iButton(std::move(impl)));
}

iButton::iButton(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

iButton::~iButton() = default;

HWND iButton::hwnd() const { return impl_->control->hwnd(); }

std::int32_t iButton::Hwnd() const { return impl_->button().Hwnd(); }
std::int32_t iButton::hdc() const { return impl_->button().hdc(); }
Picture iButton::Image() const { return KitAccess::Wrap(impl_->button().Image()); }

std::int16_t iButton::cDrawMode() const { return impl_->button().cDrawMode(); }
ControlStatus iButton::SetcDrawMode(std::int16_t vNewValue) {
  return ToKit(impl_->button().SetcDrawMode(vNewValue));
}

Font iButton::cFont() const { return ToKit(impl_->button().cFont()); }
ControlStatus iButton::SetcFont(const Font& vNewValue) {
  return ToKit(impl_->button().SetcFont(ToCore(vNewValue)));
}

Color iButton::cForeColor() const { return impl_->button().cForeColor(); }
ControlStatus iButton::SetcForeColor(Color vNewValue) {
  return ToKit(impl_->button().SetcForeColor(vNewValue));
}

bool iButton::AutoSize() const { return impl_->button().AutoSize(); }
ControlStatus iButton::SetAutoSize(bool vNewValue) {
  return ToKit(impl_->button().SetAutoSize(vNewValue));
}

bool iButton::Value() const { return impl_->button().Value(); }
ControlStatus iButton::SetValue(bool vNewValue) {
  return ToKit(impl_->button().SetValue(vNewValue));
}

std::int32_t iButton::Style() const { return impl_->button().Style(); }
ControlStatus iButton::SetStyle(std::int32_t vNewValue) {
  return ToKit(impl_->button().SetStyle(vNewValue));
}

Picture iButton::BackPicture() const { return KitAccess::Wrap(impl_->button().BackPicture()); }
ControlStatus iButton::SetBackPicture(Picture vNewValue) {
  return ToKit(impl_->button().SetBackPicture(KitAccess::Ref(vNewValue)));
}

bool iButton::Enabled() const { return impl_->button().Enabled(); }
ControlStatus iButton::SetEnabled(bool vNewValue) {
  return ToKit(impl_->button().SetEnabled(vNewValue));
}

std::int32_t iButton::cBackStyle() const { return impl_->button().cBackStyle(); }
ControlStatus iButton::SetcBackStyle(std::int32_t tValue) {
  return ToKit(impl_->button().SetcBackStyle(tValue));
}

const std::u16string& iButton::Caption() const { return impl_->button().Caption(); }
ControlStatus iButton::SetCaption(std::u16string_view vNewValue) {
  return ToKit(impl_->button().SetCaption(Text(vNewValue)));
}

const std::u16string& iButton::AccessibleName() const { return impl_->button().AccessibleName(); }
void iButton::SetAccessibleName(std::u16string_view name) {
  impl_->button().SetAccessibleName(Text(name));
}

ControlStatus iButton::cMouseAction(std::int32_t cAction, bool vComplePaint) {
  return ToKit(impl_->button().cMouseAction(cAction, vComplePaint));
}

}  // namespace px::kit
