// The button's gallery scenes: their operations are well-formed and paint the frame of the
// state they show; their pictures show that frame, cut to its shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "controls/sim/button_api_sim.h"
#include "gallery/button_strips.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

struct Played {
  std::vector<std::string> lines;
  PictureRef picture;
};

Played Play(const std::string& name, bool raster) {
  for (const GalleryScene& scene : ButtonScenes()) {
    if (scene.name != name) continue;
    GalleryStage stage(raster);
    scene.play(stage);
    return {stage.log().lines(), stage.picture()};
  }
  ADD_FAILURE() << "no scene " << name;
  return {};
}

Argb At(const Picture& p, int x, int y) { return p.Pixels()[y * p.PixelWidth() + x]; }

// Where the scenes put the button on their host window, in pixels.
constexpr int kLeft = 30;
constexpr int kTop = 20;

TEST(ButtonGalleryTest, EveryOperationLineHasTheFieldsOfItsKind) {
  const std::map<std::string, int> fields = {{"clear", 2}, {"print", 4}, {"copy", 5},  {"size", 3},
                                             {"event", 3}, {"paint", 4}, {"region", 3}};
  for (const GalleryScene& scene : ButtonScenes()) {
    const Played played = Play(scene.name, false);
    ASSERT_FALSE(played.lines.empty()) << scene.name;
    for (const std::string& line : played.lines) {
      const std::string kind = line.substr(0, line.find('\t'));
      ASSERT_TRUE(fields.contains(kind)) << scene.name << ": " << line;
      EXPECT_EQ(std::count(line.begin(), line.end(), '\t') + 1, fields.at(kind))
          << scene.name << ": " << line;
    }
    EXPECT_EQ(played.picture, nullptr);
  }
}

// The last frame each scene paints, and where the picture shows it.
TEST(ButtonGalleryTest, StateScenesShowTheFrameOfTheirState) {
  struct Case {
    std::string scene;
    std::string last_paint;
    int slot;   // in the strip
    int slots;  // 5 push, 10 toggle
  } cases[] = {
      {"button-push-autosize", "paint\tiButton\t0\t0,0,1200,450", 0, 5},
      {"button-toggle-autosize", "paint\tiButton\t0\t0,0,600,450", 0, 10},
      {"button-state-normal", "paint\tiButton\t0\t0,0,1200,450", 0, 5},
      {"button-state-hover", "paint\tiButton\t1\t0,0,1200,450", 1, 5},
      {"button-state-pressed", "paint\tiButton\t2\t0,0,1200,450", 2, 5},
      {"button-state-disabled", "paint\tiButton\t3\t0,0,1200,450", 3, 5},
      {"button-toggle-on", "paint\tiButton\t4\t0,0,600,450", 4, 10},
      {"button-toggle-on-hover", "paint\tiButton\t5\t0,0,600,450", 5, 10},
      {"button-toggle-on-disabled", "paint\tiButton\t7\t0,0,600,450", 7, 10},
  };
  const PictureRef push = DrawPushStrip();
  const PictureRef toggle = DrawToggleStrip();
  for (const Case& c : cases) {
    const Played ops = Play(c.scene, false);
    std::vector<std::string> paints;
    std::copy_if(ops.lines.begin(), ops.lines.end(), std::back_inserter(paints),
                 [](const std::string& l) { return l.rfind("paint\t", 0) == 0; });
    ASSERT_FALSE(paints.empty()) << c.scene;
    EXPECT_EQ(paints.back(), c.last_paint) << c.scene;

    const PictureRef picture = Play(c.scene, true).picture;
    ASSERT_NE(picture, nullptr) << c.scene;
    const Picture& strip = c.slots == 5 ? *push : *toggle;
    const int w = 400 / c.slots;
    // Left of the caption, on the frame's gradient; the top-left corner is see-through.
    for (int y : {3, 15, 26}) {
      EXPECT_EQ(At(*picture, kLeft + 4, kTop + y), At(strip, c.slot * w + 4, y)) << c.scene;
    }
    EXPECT_EQ(At(*picture, kLeft, kTop), OpaqueArgb(236, 236, 236)) << c.scene;
  }
}

TEST(ButtonGalleryTest, WithoutTheShapeMaskTheKeyColourShows) {
  const PictureRef masked = Play("button-push-stretched", true).picture;
  const PictureRef opaque = Play("button-push-stretched-opaque", true).picture;
  ASSERT_TRUE(masked && opaque);
  EXPECT_EQ(At(*masked, kLeft, kTop), OpaqueArgb(236, 236, 236));
  EXPECT_EQ(At(*opaque, kLeft, kTop), OpaqueArgb(0xFF, 0x00, 0xFD));
  // The frame is stretched over the whole 200 x 60 pixel control.
  EXPECT_EQ(At(*masked, kLeft + 100, kTop + 2), At(*opaque, kLeft + 100, kTop + 2));
  EXPECT_EQ(At(*masked, kLeft + 200, kTop + 30), OpaqueArgb(236, 236, 236));
}

TEST(ButtonGalleryTest, PaletteDisplayShowsOnlyPaletteColours) {
  const PictureRef picture = Play("button-palette-display", true).picture;
  ASSERT_NE(picture, nullptr);
  const auto& palette = SimButtonApi::SystemPalette();
  for (int y = kTop + 1; y < kTop + 29; ++y) {
    for (int x = kLeft + 10; x < kLeft + 20; ++x) {  // left of the caption
      const Argb p = At(*picture, x, y);
      const PaletteEntry e = {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                              static_cast<std::uint8_t>(p), 0};
      ASSERT_NE(std::find(palette.begin(), palette.end(), e), palette.end()) << x << "," << y;
    }
  }
}

TEST(ButtonGalleryTest, EventsSceneRaisesTheEventsInTheirOrder) {
  std::vector<std::string> events;
  for (const std::string& line : Play("button-events", false).lines) {
    if (line.rfind("event\t", 0) == 0) events.push_back(line.substr(6, line.find('\t', 6) - 6));
  }
  const std::vector<std::string> expected = {
      "MouseMove", "MouseOver", "MouseDown", "MouseUp", "Click",   "DBClick",  "MouseUp",
      "KeyDown",   "Click",     "KeyPress",  "KeyUP",   "KeyDown", "KeyPress", "KeyUP",
      "Click",     "MouseMove", "MouseDown", "MouseUp", "MouseOut"};
  EXPECT_EQ(events, expected);
}

}  // namespace
}  // namespace px::sim
