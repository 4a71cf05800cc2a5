// px-gallery.exe on the screen: its push and toggle buttons show their frames, cut to the
// frames' rounded shape, over the window's face.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "gallery/button_strips.h"
#include "gallery_screenshot.h"

namespace px {
namespace {

using testing::Bmp;
using testing::ReadBmp;

// True when the w x h block of the screenshot at (x, y) shows slot `slot` of the strip, except
// where the key colour makes the frame see-through, which must show the window's face.
int Mismatches(const Bmp& bmp, int x, int y, const Picture& strip, int slot, int w) {
  const Argb key = OpaqueArgb(0xFF, 0x00, 0xFD);
  const Argb face = OpaqueArgb(240, 240, 240);
  int mismatches = 0;
  for (int j = 0; j < 30; ++j) {
    for (int i = 0; i < w; ++i) {
      // The caption's middle third is left out: its letters come from the system's font.
      if (i > w / 4 && i < w - w / 4 && j > 7 && j < 23) continue;
      const Argb want = strip.Pixels()[j * 400 + slot * w + i];
      const Argb got = bmp.At(x + i, y + j);
      mismatches += got != (want == key ? face : want);
    }
  }
  return mismatches;
}

TEST(ButtonScreenshotTest, GalleryShowsBothButtonsInTheirFramesAndShapes) {
  const std::string shot = "button-screenshot.bmp";  // kept in the test's folder for a look
  ASSERT_TRUE(testing::TakeGalleryScreenshot(shot));
  Bmp bmp;
  ASSERT_TRUE(ReadBmp(shot, bmp));
  ASSERT_EQ(bmp.width, 300);
  ASSERT_EQ(bmp.height, 200);
  const PictureRef push = DrawPushStrip();
  const PictureRef toggle = DrawToggleStrip();
  // The pointer may rest on a button: Normal or Hover; the toggle is on, frames 4 or 5.
  const int push_off =
      std::min(Mismatches(bmp, 20, 100, *push, 0, 80), Mismatches(bmp, 20, 100, *push, 1, 80));
  const int toggle_off = std::min(Mismatches(bmp, 200, 100, *toggle, 4, 40),
                                  Mismatches(bmp, 200, 100, *toggle, 5, 40));
  EXPECT_EQ(push_off, 0);
  EXPECT_EQ(toggle_off, 0);
  // The corners are the window's face, not the key colour: the shape mask is on.
  EXPECT_EQ(bmp.At(20, 100), OpaqueArgb(240, 240, 240));
  EXPECT_EQ(bmp.At(239, 129), OpaqueArgb(240, 240, 240));
}

}  // namespace
}  // namespace px
