#pragma once

#include <cmath>
#include <cstdint>

namespace px {

// Control geometry is in twips (1/1440 inch) with the origin at the top-left, x to the right and
// y downwards. Screens are taken at 96 dots per inch: 15 twips to the pixel. Picture sizes are
// in HIMETRIC (0.01 mm); a pixel is 2540 / 96 = 26.4583... HIMETRIC.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kHimetricPerPixel = 2540.0 / 96.0;

struct TwipPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const TwipPoint&, const TwipPoint&) = default;
};

struct TwipSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

// A rectangle as the controls ask for it: left, top, width, height. Width or height may reach
// beyond a picture or a surface; the drawing operations clip.
struct TwipRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

// To the nearest integer, a half to the even neighbour: how every conversion of a fraction to
// an integer goes in the controls.
inline double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

inline std::int32_t TwipsToPixels(std::int32_t twips) {
  return static_cast<std::int32_t>(RoundHalfEven(static_cast<double>(twips) / kTwipsPerPixel));
}
inline constexpr std::int32_t PixelsToTwips(std::int32_t pixels) { return pixels * kTwipsPerPixel; }
inline std::int32_t PixelsToHimetric(std::int32_t pixels) {
  return static_cast<std::int32_t>(RoundHalfEven(pixels * kHimetricPerPixel));
}
inline std::int32_t HimetricToPixels(std::int32_t himetric) {
  return static_cast<std::int32_t>(RoundHalfEven(himetric / kHimetricPerPixel));
}

}  // namespace px
