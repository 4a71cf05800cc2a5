#pragma once

#include <cstdint>

namespace px {

// The visual states of an iButton. They are also the frame numbers of a strip's first group of
// four frames.
enum ButtonState : std::int32_t {
  Normal = 0,    // at rest, pointer elsewhere
  Hover = 1,     // pointer over the control
  Pressed = 2,   // left button (or Space) held on the control
  Disabled = 3,  // the control is disabled
};

// The only keys the button gives a meaning to.
inline constexpr std::int16_t kKeyReturn = 13;
inline constexpr std::int16_t kKeySpace = 32;

}  // namespace px
