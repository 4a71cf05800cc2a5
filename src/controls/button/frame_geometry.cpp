#include "controls/button/frame_geometry.h"

#include <limits>

#include "controls/common/geometry.h"

namespace px {
namespace {

// The quotients here come from 32-bit HIMETRIC sizes divided by more than 26, so they always fit.
std::int32_t ToPixels(double pixels) { return static_cast<std::int32_t>(RoundHalfEven(pixels)); }

bool Fits32(std::int64_t n) {
  return n >= std::numeric_limits<std::int32_t>::min() &&
         n <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::int32_t StripSlots(std::int32_t style) { return style == 0 ? 5 : 10; }

std::int32_t FrameWidthPixels(std::int32_t width_himetric, std::int32_t style) {
  return ToPixels(width_himetric / kButtonHimetricPerPixel / StripSlots(style));
}

std::int32_t FrameHeightPixels(std::int32_t height_himetric) {
  return ToPixels(height_himetric / kButtonHimetricPerPixel);
}

ControlResult<std::int32_t> LastFrameIndex(std::int32_t style) {
  const std::int64_t last = 4 * static_cast<std::int64_t>(style) + 3;
  if (last < 0) return SubscriptOutOfRangeError();
  if (!Fits32(last)) return OverflowError();
  return static_cast<std::int32_t>(last);
}

ControlResult<std::int32_t> FrameNumber(std::int32_t state, bool value, std::int32_t style) {
  const std::int64_t number = state + (value ? 4 * static_cast<std::int64_t>(style) : 0);
  if (!Fits32(number)) return OverflowError();
  return static_cast<std::int32_t>(number);
}

}  // namespace px
