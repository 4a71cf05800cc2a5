#pragma once

namespace px::win32 {

// Form1's design, in twips (1440 to the inch, 15 to the pixel at 96 dpi). The window turns it
// into pixels at the DPI of the monitor it is on.
struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

inline constexpr int kClientWidthTwips = 10215;
inline constexpr int kClientHeightTwips = 6795;

// The provider line and the status lines 0 ... 14, one below the other.
inline constexpr TwipsRect kLabel2Twips{120, 120, 9015, 315};
constexpr TwipsRect Label1Twips(int index) { return {120, 480 + 360 * index, 9015, 315}; }

// The labels' font: 10.5 points, in tenths of a point.
inline constexpr int kLabelFontTenthsOfPoint = 105;

// value * numerator / denominator to the nearest integer, ties to even; for non-negative values.
constexpr int ScaleRounded(long long value, long long numerator, long long denominator) {
  const long long product = value * numerator;
  long long quotient = product / denominator;
  const long long twice_remainder = 2 * (product % denominator);
  if (twice_remainder > denominator || (twice_remainder == denominator && quotient % 2 != 0)) {
    ++quotient;
  }
  return static_cast<int>(quotient);
}

constexpr int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, 1440); }

// The character height of the labels' font in pixels (a LOGFONT takes it negated).
constexpr int LabelFontPixels(int dpi) { return ScaleRounded(kLabelFontTenthsOfPoint, dpi, 720); }

}  // namespace px::win32
