#pragma once

#include <cstdint>

#include "controls/common/control_error.h"

namespace px {

// How a button's picture strip is cut into frames, and the unit arithmetic around it: pure
// functions, so that the numbers can be checked without a surface.

// HIMETRIC units per pixel as the button converts picture sizes (a fixed 96 dots per inch).
inline constexpr double kButtonHimetricPerPixel = 26.45836;

// Slots in a strip: 5 for a push button (style 0), 10 for any other style.
std::int32_t StripSlots(std::int32_t style);

// Frame width in pixels of a strip whose picture is width_himetric wide: the width divided by
// the pixel size and by the slot count in double precision, rounded once at the end, a half to
// the even neighbour.
std::int32_t FrameWidthPixels(std::int32_t width_himetric, std::int32_t style);

// Frame height in pixels: the picture's height, rounded the same way.
std::int32_t FrameHeightPixels(std::int32_t height_himetric);

// The highest frame number a style cuts: 4*style+3. A negative style leaves that bound below 0
// and is an index-out-of-range error; a style whose bound does not fit 32 bits is an overflow
// error.
ControlResult<std::int32_t> LastFrameIndex(std::int32_t style);

// The frame that shows a state: state + 4*style while the toggle value is true, else the state.
// An overflow error when the number does not fit 32 bits; whether it names a cut frame is for
// the caller to check.
ControlResult<std::int32_t> FrameNumber(std::int32_t state, bool value, std::int32_t style);

}  // namespace px
