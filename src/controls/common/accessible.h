#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "controls/common/geometry.h"

namespace px {

// What a screen reader is told about a control: its role, name, state and default action, and
// the same for each of its parts (the frame's minimise and close buttons). The control computes
// it from its own state, like its picture; the Windows host hands it to readers through
// Microsoft Active Accessibility, the simulated desktop prints it. Roles and states carry the
// values readers know them by (oleacc's ROLE_SYSTEM_* and STATE_SYSTEM_*), so the Windows side
// passes them on as they are.
enum class AccessibleRole : std::int32_t {
  kTitleBar = 0x01,
  kPushButton = 0x2B,
  kCheckButton = 0x2C,
};

// State bits.
inline constexpr std::uint32_t kAccessibleUnavailable = 0x1;  // disabled
inline constexpr std::uint32_t kAccessibleFocused = 0x4;
inline constexpr std::uint32_t kAccessiblePressed = 0x8;      // held down
inline constexpr std::uint32_t kAccessibleChecked = 0x10;     // a toggle that is on
inline constexpr std::uint32_t kAccessibleHotTracked = 0x80;  // shows the pointer over it
inline constexpr std::uint32_t kAccessibleInvisible = 0x8000;
inline constexpr std::uint32_t kAccessibleFocusable = 0x100000;

// The language the words of a description are in: the user's UI language, Chinese for any
// Chinese one and English otherwise, as the installer chooses its texts.
enum class UiLanguage { kEnglish, kChinese };

// The words a reader speaks for the kit's controls.
struct AccessibleWords {
  const char16_t* press;
  const char16_t* check;
  const char16_t* uncheck;
  const char16_t* minimize;
  const char16_t* close;
};
const AccessibleWords& WordsFor(UiLanguage language);

struct AccessibleElement {
  AccessibleRole role = AccessibleRole::kPushButton;
  Text name;
  std::uint32_t state = 0;
  Text default_action;  // empty: the element has none now
  TwipRect bounds;      // in the control's twips; the control's own is its whole surface
  friend bool operator==(const AccessibleElement&, const AccessibleElement&) = default;
};

// The control (child 0) and its parts (children 1, 2, ...: their place in `parts` plus one). A
// part keeps its number for the control's life; a part that is gone is invisible.
struct AccessibleDescription {
  AccessibleElement self;
  std::vector<AccessibleElement> parts;

  // nullptr for a number that names no element.
  const AccessibleElement* Element(std::int32_t child) const;
  friend bool operator==(const AccessibleDescription&, const AccessibleDescription&) = default;
};

// What a control offers a reader, besides the description: its default action, done as the
// user would do it (a click), for the control (0) or a part. False when the element has no
// default action now (the description shows none), which also covers a disabled control.
class AccessibleControl {
 public:
  virtual ~AccessibleControl() = default;
  virtual AccessibleDescription Describe(UiLanguage language) const = 0;
  virtual bool DoDefaultAction(std::int32_t child) = 0;
};

// What readers are told when a description changes: a change of name, or of one of the states
// a reader announces (pressed, checked, unavailable, invisible). Focus is told by the host when
// the control gets it; hot tracking and focusability change without a word, as with Windows'
// own buttons.
enum class AccessibleEvent { kNameChange, kStateChange };
struct AccessibleChange {
  AccessibleEvent event;
  std::int32_t child;
  friend bool operator==(const AccessibleChange&, const AccessibleChange&) = default;
};
std::vector<AccessibleChange> Changes(const AccessibleDescription& before,
                                      const AccessibleDescription& after);

// Moving from one element to another as a reader does (the values of oleacc's NAVDIR_*). From
// the control itself only the first and last child lead somewhere here; where its siblings are
// is its host window's business.
enum class AccessibleNavigation : std::int32_t {
  kUp = 1,
  kDown,
  kLeft,
  kRight,
  kNext,
  kPrevious,
  kFirstChild,
  kLastChild,
};
// The part reached, or -1 when there is none. Parts lie left to right in their order; invisible
// parts are passed over.
std::int32_t Navigate(const AccessibleDescription& description, std::int32_t from,
                      AccessibleNavigation direction);

// The element at a point of the control (twips): a visible part's number, 0 for the control
// itself, -1 for a point outside it.
std::int32_t ElementAt(const AccessibleDescription& description, TwipPoint at);

}  // namespace px
