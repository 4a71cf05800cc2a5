// What a BForm tells a screen reader: a title bar with its two buttons.
#include "controls/frame/bform.h"

namespace px {
namespace {

// A button of the bar: its look tells whether the pointer is over it or a button holds it down.
AccessibleElement Part(const ImageArea& area, const PictureRef& hover, const PictureRef& pressed,
                       const char16_t* name, const char16_t* press, bool frame_visible) {
  AccessibleElement part;
  part.role = AccessibleRole::kPushButton;
  part.name = name;
  const bool visible = frame_visible && area.Visible();
  if (!visible) part.state |= kAccessibleInvisible;
  if (area.GetPicture() != nullptr && area.GetPicture() == pressed)
    part.state |= kAccessiblePressed;
  if (area.GetPicture() != nullptr && area.GetPicture() == hover)
    part.state |= kAccessibleHotTracked;
  if (visible) part.default_action = press;
  part.bounds = area.Bounds();
  return part;
}

}  // namespace

AccessibleDescription BForm::Describe(UiLanguage language) const {
  const AccessibleWords& words = WordsFor(language);
  const bool visible = site_.Visible();
  AccessibleDescription d;
  d.self.role = AccessibleRole::kTitleBar;
  d.self.name = caption_;
  if (!visible) d.self.state |= kAccessibleInvisible;
  const TwipSize size = site_.Size();
  d.self.bounds = {0, 0, size.width, size.height};
  d.parts.push_back(Part(*pmin_, skin_.pi3, skin_.pi1, words.minimize, words.press, visible));
  d.parts.push_back(Part(*pclose_, skin_.pi4, skin_.pi2, words.close, words.press, visible));
  return d;
}

}  // namespace px
