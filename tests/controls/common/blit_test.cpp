#include "controls/common/blit.h"

#include <gtest/gtest.h>

#include <vector>

namespace px {
namespace {

// A 4 x 2 picture whose pixels are numbered 1 ... 8, row by row, all opaque.
PictureRef Numbered() {
  std::vector<Argb> pixels;
  for (Argb i = 1; i <= 8; ++i) pixels.push_back(0xFF000000u | i);
  return MakePixelPicture(4, 2, pixels);
}

// The buffer's pixels without their alpha, 0 where nothing was drawn.
std::vector<Argb> Blit(TwipRect source, TwipRect dest, std::int32_t w, std::int32_t h) {
  std::vector<Argb> buffer(static_cast<std::size_t>(w * h), 0);
  BlitPicture(*Numbered(), source, dest, buffer, w, h);
  for (Argb& p : buffer) p &= 0xFFFFFF;
  return buffer;
}

struct BlitCase {
  const char* what;
  TwipRect source;
  TwipRect dest;
  std::vector<Argb> expected;  // a 3 x 2 buffer
};

TEST(BlitTest, CopiesOnlyWhatLiesInsideBothPictureAndSurface) {
  const BlitCase cases[] = {
      {"same size, in place", {0, 0, 45, 30}, {0, 0, 45, 30}, {1, 2, 3, 5, 6, 7}},
      {"destination left of the surface", {0, 0, 45, 30}, {-15, 0, 45, 30}, {2, 3, 0, 6, 7, 0}},
      {"destination beyond the right edge", {0, 0, 60, 30}, {30, 0, 60, 30}, {0, 0, 1, 0, 0, 5}},
      {"source beyond the picture is not wrapped",
       {45, 0, 45, 30},
       {0, 0, 45, 30},
       {4, 0, 0, 8, 0, 0}},
      {"source above the picture", {0, -15, 45, 30}, {0, 0, 45, 30}, {0, 0, 0, 1, 2, 3}},
      {"twips round to the nearest pixel", {14, 0, 14, 14}, {16, 16, 14, 14}, {0, 0, 0, 0, 2, 0}},
      {"stretched twice as wide", {0, 0, 30, 15}, {0, 0, 60, 15}, {1, 1, 2, 0, 0, 0}},
      {"empty source draws nothing", {0, 0, 0, 30}, {0, 0, 45, 30}, {0, 0, 0, 0, 0, 0}},
  };
  for (const BlitCase& c : cases) {
    EXPECT_EQ(Blit(c.source, c.dest, 3, 2), c.expected) << c.what;
  }
}

TEST(BlitTest, FarAwayRectanglesDoNotOverflow) {
  EXPECT_EQ(Blit({0, 0, 45, 30}, {2147483000, 2147483000, 2147483000, 30}, 3, 2),
            (std::vector<Argb>(6, 0)));
  EXPECT_EQ(Blit({-2147483000, 0, 2147483000, 30}, {0, 0, 45, 30}, 3, 2),
            (std::vector<Argb>(6, 0)));
}

TEST(BlitTest, SeeThroughPixelsLetTheSurfaceShow) {
  const PictureRef p = MakePixelPicture(2, 1, {0x00FFFFFFu, 0x80FFFFFFu});
  std::vector<Argb> buffer(2, 0xFF000000u);
  BlitPicture(*p, {0, 0, 30, 15}, {0, 0, 30, 15}, buffer, 2, 1);
  EXPECT_EQ(buffer[0], 0xFF000000u);
  EXPECT_EQ(buffer[1], 0xFF808080u);
}

}  // namespace
}  // namespace px
