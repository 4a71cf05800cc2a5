// px-gallery.exe on the screen: started as a program of its own, it writes what the screen shows
// of its window, and that must be the skinned bar with its glyphs above a skin border.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "controls/frame/frame_skin.h"
#include "gallery_screenshot.h"

namespace px {
namespace {

using testing::Bmp;
using testing::ReadBmp;

Argb At(const Picture& p, int x, int y) { return p.Pixels()[y * p.PixelWidth() + x]; }

TEST(GalleryScreenshotTest, TheWindowShowsTheBarWithItsGlyphsAndTheBorder) {
  const std::string shot = "gallery-screenshot.bmp";  // kept in the test's folder for a look
  ASSERT_TRUE(testing::TakeGalleryScreenshot(shot)) << "px-gallery.exe --screenshot failed";

  Bmp bmp;
  ASSERT_TRUE(ReadBmp(shot, bmp));
  ASSERT_EQ(bmp.width, 300);
  ASSERT_EQ(bmp.height, 200);
  const FrameSkin skin = DrawFrameSkin();
  const Picture& pp = *skin.pp;
  // The bar's right end: the skin's last 67 columns, both glyphs in them.
  int differing = 0;
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 67; ++x) differing += bmp.At(233 + x, y) != At(pp, 27 + x, y);
  }
  EXPECT_EQ(differing, 0) << "the bar's right end with its minimise and close glyphs";
  // The middle of the band, left of the glyphs.
  for (int y = 0; y < 27; ++y) EXPECT_EQ(bmp.At(200, y), At(pp, 20, y)) << "band row " << y;
  // The caption, white on blue, somewhere in its place.
  int light = 0;
  for (int y = 7; y < 22; ++y) {
    for (int x = 8; x < 80; ++x)
      light += (bmp.At(x, y) & 0xFF) > 200 && (bmp.At(x, y) >> 16 & 0xFF) > 200;
  }
  EXPECT_GT(light, 20);
  // The border: 4 pixels on the left, right and bottom.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(bmp.At(i, 100), At(pp, i, 60));
    EXPECT_EQ(bmp.At(296 + i, 100), At(pp, 90 + i, 60));
    EXPECT_EQ(bmp.At(150, 196 + i), At(pp, 40, 81 + i));
  }
}

}  // namespace
}  // namespace px
