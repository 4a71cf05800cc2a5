#include "px/bform.h"

#include <cstddef>

#include "controls/frame/frame_skin.h"
#include "controls/kit/kit_access.h"
#include "controls/win32/control_bform.h"

namespace px::kit {

// A program reads the frame's notifications through the public names: they must be the codes
// and the layout the frame sends.
static_assert(kBFormMouseDown == win32::kBFormMouseDown);
static_assert(kBFormMinClick == win32::kBFormMinClick);
static_assert(kBFormCloseClick == win32::kBFormCloseClick);
static_assert(kBFormDblClick == win32::kBFormDblClick);
static_assert(sizeof(BFormMouseDown) == sizeof(win32::BFormMouseDown));
static_assert(offsetof(BFormMouseDown, button) == offsetof(win32::BFormMouseDown, button));
static_assert(offsetof(BFormMouseDown, shift) == offsetof(win32::BFormMouseDown, shift));
static_assert(offsetof(BFormMouseDown, x) == offsetof(win32::BFormMouseDown, x));
static_assert(offsetof(BFormMouseDown, y) == offsetof(win32::BFormMouseDown, y));
static_assert(BForm::kHeight == px::BForm::kHeight);

struct BForm::Impl {
  std::unique_ptr<win32::BFormControl> control;
};

FrameSkin DrawFrameSkin() {
  px::FrameSkin skin = px::DrawFrameSkin();
  return {KitAccess::Wrap(skin.pp), KitAccess::Wrap(skin.pi3), KitAccess::Wrap(skin.pi4),
          KitAccess::Wrap(skin.pi1), KitAccess::Wrap(skin.pi2)};
}

std::unique_ptr<BForm> BForm::Create(HWND parent, int id, TwipRect bounds) {
  return Create(parent, id, bounds, DrawFrameSkin());
}

std::unique_ptr<BForm> BForm::Create(HWND parent, int id, TwipRect bounds, FrameSkin skin) {
  px::FrameSkin core{KitAccess::Ref(skin.pp), KitAccess::Ref(skin.pi3), KitAccess::Ref(skin.pi4),
                     KitAccess::Ref(skin.pi1), KitAccess::Ref(skin.pi2)};
  auto control = win32::BFormControl::Create(
      parent, id, {bounds.x, bounds.y, bounds.width, bounds.height}, std::move(core));
  if (control == nullptr) return nullptr;
  return std::unique_ptr<BForm>(new BForm(std::make_unique<Impl>(std::move(control))));
}

BForm::BForm(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

BForm::~BForm() = default;

HWND BForm::hwnd() const { return impl_->control->hwnd(); }

const std::u16string& BForm::Caption() const { return impl_->control->frame().Caption(); }

void BForm::SetCaption(std::u16string_view caption) {
  impl_->control->frame().SetCaption(Text(caption));
}

std::u16string BForm::BackColor() const { return impl_->control->frame().BackColor(); }

ControlStatus BForm::SetBackColor(std::u16string_view text) {
  return ToKit(impl_->control->frame().SetBackColor(text));
}

void BForm::Nomin() { impl_->control->frame().Nomin(); }

void BForm::Printform(HostSurface& host) {
  impl_->control->frame().Printform(KitAccess::Host(host));
}

}  // namespace px::kit
