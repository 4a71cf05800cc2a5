#include "controls/button/frame_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace px {
namespace {

// A 400 x 30 pixel strip reports 10583 x 794 HIMETRIC.
TEST(FrameGeometry, FourHundredPixelStripGivesEightyOrFortyPixelFrames) {
  struct Case {
    std::int32_t style;
    std::int32_t width;
  } cases[] = {{0, 80}, {1, 40}, {2, 40}, {7, 40}};
  for (const Case& c : cases) {
    EXPECT_EQ(FrameWidthPixels(10583, c.style), c.width) << "style " << c.style;
  }
  EXPECT_EQ(FrameHeightPixels(794), 30);
}

// The quotient is rounded once, after both divisions, to the nearest integer.
TEST(FrameGeometry, RoundsOnceAfterBothDivisions) {
  struct Case {
    std::int32_t himetric;
    std::int32_t style;
    std::int32_t width;
  } cases[] = {
      // 405.392 px / 10 = 40.539 -> 41; rounding the pixels first (405 / 10 = 40.5) gives 40.
      {10726, 1, 41},
      // 404.976 px / 10 = 40.498 -> 40.
      {10715, 1, 40},
      // 399.987 px / 5 = 79.997 -> 80; truncating would give 79.
      {10583, 0, 80},
      // 4.989 px / 10 = 0.499 -> 0: a strip too narrow for its slots has empty frames.
      {132, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameWidthPixels(c.himetric, c.style), c.width) << c.himetric;
  }
}

TEST(FrameGeometry, StripSlotsAreFiveForAPushButtonAndTenOtherwise) {
  EXPECT_EQ(StripSlots(0), 5);
  EXPECT_EQ(StripSlots(1), 10);
  EXPECT_EQ(StripSlots(3), 10);
  EXPECT_EQ(StripSlots(-1), 10);
}

TEST(FrameGeometry, LastFrameIndex) {
  EXPECT_EQ(LastFrameIndex(0).value(), 3);
  EXPECT_EQ(LastFrameIndex(1).value(), 7);
  EXPECT_EQ(LastFrameIndex(2).value(), 11);
  // Negative styles leave the upper bound below 0: out of range, not a huge array.
  EXPECT_EQ(LastFrameIndex(-1).error(), SubscriptOutOfRangeError());
  EXPECT_EQ(LastFrameIndex(std::numeric_limits<std::int32_t>::min()).error(),
            SubscriptOutOfRangeError());
  EXPECT_EQ(LastFrameIndex(536870911).value(), 2147483647);
  EXPECT_EQ(LastFrameIndex(536870912).error(), OverflowError());
}

TEST(FrameGeometry, FrameNumberAddsFourTimesStyleOnlyWhileValueIsTrue) {
  struct Case {
    std::int32_t state;
    bool value;
    std::int32_t style;
    std::int32_t frame;
  } cases[] = {{0, false, 0, 0}, {3, false, 0, 3}, {3, true, 1, 7}, {2, true, 1, 6},
               {1, false, 1, 1}, {0, true, 0, 0},  {1, true, 3, 13}};
  for (const Case& c : cases) {
    EXPECT_EQ(FrameNumber(c.state, c.value, c.style).value(), c.frame)
        << c.state << " " << c.value << " " << c.style;
  }
  EXPECT_FALSE(FrameNumber(3, true, std::numeric_limits<std::int32_t>::max()).ok());
}

}  // namespace
}  // namespace px
