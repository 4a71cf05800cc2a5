// The gallery's scenes: their operations are well-formed, their pictures show the skin where
// the operations say it goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "controls/frame/frame_skin.h"
#include "controls/sim/cairo_surface.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

PictureRef Play(const std::string& name, bool raster) {
  for (const GalleryScene& scene : FrameScenes()) {
    if (scene.name != name) continue;
    GalleryStage stage(raster);
    scene.play(stage);
    return stage.picture();
  }
  ADD_FAILURE() << "no scene " << name;
  return nullptr;
}

Argb At(const Picture& p, int x, int y) {
  return p.Pixels()[static_cast<std::size_t>(y * p.PixelWidth() + x)];
}

// True when the region of `picture` at (x, y) holds `part` pixel for pixel.
bool Holds(const Picture& picture, int x, int y, const Picture& part) {
  for (int j = 0; j < part.PixelHeight(); ++j) {
    for (int i = 0; i < part.PixelWidth(); ++i) {
      if (At(picture, x + i, y + j) != At(part, i, j)) return false;
    }
  }
  return true;
}

TEST(GalleryTest, EveryOperationLineHasTheFieldsOfItsKind) {
  const std::map<std::string, int> fields = {{"clear", 2},   {"print", 4}, {"copy", 5},
                                             {"move", 3},    {"size", 3},  {"show", 3},
                                             {"picture", 3}, {"event", 3}};
  for (const GalleryScene& scene : FrameScenes()) {
    GalleryStage stage(false);
    scene.play(stage);
    ASSERT_FALSE(stage.log().lines().empty()) << scene.name;
    for (const std::string& line : stage.log().lines()) {
      const std::string kind = line.substr(0, line.find('\t'));
      ASSERT_TRUE(fields.contains(kind)) << scene.name << ": " << line;
      EXPECT_EQ(std::count(line.begin(), line.end(), '\t') + 1, fields.at(kind))
          << scene.name << ": " << line;
    }
    EXPECT_EQ(stage.picture(), nullptr) << "a stage that only logs draws no picture";
  }
}

TEST(GalleryTest, TheRequiredScenesAreThere) {
  std::vector<std::string> names;
  for (const GalleryScene& scene : FrameScenes()) names.push_back(scene.name);
  for (const char* required : {"frame-3000", "frame-800", "frame-3000-nomin-resized",
                               "printform-4500x3000", "frame-hover-close", "frame-pressed-min"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), required), names.end()) << required;
  }
}

TEST(GalleryTest, ABarShowsTheSkinAndTheCaption) {
  const FrameSkin skin = DrawFrameSkin();
  const PictureRef bar = Play("frame-3000", true);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->PixelWidth(), 200);
  EXPECT_EQ(bar->PixelHeight(), 27);
  // The right end (skin columns 27 ... 93) lies at 133 ... 199, glyphs and all.
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 67; ++x) ASSERT_EQ(At(*bar, 133 + x, y), At(*skin.pp, 27 + x, y));
  }
  // Something white-ish is printed where the caption goes, on the blue band.
  int light = 0;
  for (int y = 7; y < 22; ++y) {
    for (int x = 8; x < 60; ++x)
      light += (At(*bar, x, y) & 0xFF) > 200 && (At(*bar, x, y) >> 16 & 0xFF) > 200;
  }
  EXPECT_GT(light, 20);
}

TEST(GalleryTest, ANarrowBarClipsItsRightEndAtTheLeftEdge) {
  const FrameSkin skin = DrawFrameSkin();
  const PictureRef bar = Play("frame-800", true);
  ASSERT_NE(bar, nullptr);
  // The right end starts 13 pixels left of the bar: its column 13 + 27 is the bar's column 0.
  EXPECT_EQ(At(*bar, 0, 2), At(*skin.pp, 40, 2));
  EXPECT_EQ(At(*bar, 52, 3), At(*skin.pp, 92, 3));  // above the caption
}

TEST(GalleryTest, HoverAndPressedGlyphsCoverTheBarsOwn) {
  const FrameSkin skin = DrawFrameSkin();
  // Pmin at 2280, Pclose at 2640 twips, both 70 down: pixels 152 and 176, row 5.
  EXPECT_TRUE(Holds(*Play("frame-hover-close", true), 176, 5, *skin.pi4));
  EXPECT_TRUE(Holds(*Play("frame-hover-min", true), 152, 5, *skin.pi3));
  EXPECT_TRUE(Holds(*Play("frame-pressed-min", true), 152, 5, *skin.pi1));
  EXPECT_TRUE(Holds(*Play("frame-pressed-close", true), 176, 5, *skin.pi2));
  const PictureRef plain = Play("frame-3000", true);
  EXPECT_FALSE(Holds(*plain, 176, 5, *skin.pi4));
  EXPECT_FALSE(Holds(*plain, 152, 5, *skin.pi1));
}

TEST(GalleryTest, NominLeavesPlainBandWhereTheMinimiseGlyphWas) {
  const FrameSkin skin = DrawFrameSkin();
  const PictureRef bar = Play("frame-nomin", true);
  // A plain stretch of band: every row one colour across the covered glyph.
  for (int y = 0; y < 27; ++y) {
    for (int x = 152; x < 171; ++x) ASSERT_EQ(At(*bar, x, y), At(*skin.pp, 20, y)) << x << "," << y;
  }
  // After a resize the glyph is back in the bar.
  const PictureRef resized = Play("frame-3000-nomin-resized", true);
  for (int y = 0; y < 27; ++y) {
    for (int x = 0; x < 67; ++x) ASSERT_EQ(At(*resized, 133 + x, y), At(*skin.pp, 27 + x, y));
  }
}

TEST(GalleryTest, PrintformDrawsAFourPixelBorderOnThreeSides) {
  const FrameSkin skin = DrawFrameSkin();
  const PictureRef window = Play("printform-4500x3000", true);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->PixelWidth(), 300);
  ASSERT_EQ(window->PixelHeight(), 200);
  for (int y = 27; y < 196; ++y) {
    for (int i = 0; i < 4; ++i) {
      ASSERT_EQ(At(*window, i, y), At(*skin.pp, i, 60)) << "left " << i << "," << y;
      ASSERT_EQ(At(*window, 296 + i, y), At(*skin.pp, 90 + i, 60)) << "right " << i << "," << y;
    }
  }
  for (int x = 30; x < 260; ++x) {
    for (int j = 0; j < 4; ++j) ASSERT_EQ(At(*window, x, 196 + j), At(*skin.pp, 40, 81 + j));
  }
  // Inside the border the host's own face stays.
  EXPECT_EQ(At(*window, 150, 100), OpaqueArgb(236, 236, 236));
  EXPECT_EQ(At(*window, 4, 100), OpaqueArgb(236, 236, 236));
}

TEST(GalleryTest, PngFilesKeepEveryPixel) {
  const PictureRef window = Play("printform-4500x3000", true);
  const std::filesystem::path file =
      std::filesystem::path(testing::TempDir()) / "gallery_test_printform.png";
  ASSERT_TRUE(WritePng(*window, file));
  const PictureRef back = ReadPng(file);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(std::equal(window->Pixels().begin(), window->Pixels().end(), back->Pixels().begin(),
                         back->Pixels().end()));
  std::filesystem::remove(file);
  EXPECT_EQ(ReadPng(file), nullptr);
}

}  // namespace
}  // namespace px::sim

namespace px::sim {
namespace {

std::vector<std::string> Lines(const GalleryScene& scene, std::optional<UiLanguage> reader) {
  GalleryStage stage(false, reader);
  scene.play(stage);
  return stage.log().lines();
}

// Reading the controls adds their descriptions to a scene's operations and changes nothing else;
// each scene leaves its controls as a reader should find them.
TEST(GalleryTest, ReadersFindEachSceneAsItEnds) {
  const std::map<std::string, std::string> last = {
      {"frame-nomin", "accessible\tBForm\t1\tpush button\tMinimize\tinvisible\t"},
      {"frame-pressed-close", "accessible\tBForm\t2\tpush button\tClose\tpressed\tPress"},
      {"frame-stored-defaults", "accessible\tBForm\t0\ttitle bar\tNewForm\tnormal\t"},
      {"button-state-hover",
       "accessible\tiButton\t0\tpush button\tOK\thot tracked,focusable\tPress"},
      {"button-toggle-on-disabled",
       "accessible\tiButton\t0\tcheck button\tSound\tunavailable,checked\t"},
      {"button-events", "accessible\tiButton\t0\tcheck button\tSound\tfocused,focusable\tCheck"},
  };
  std::vector<GalleryScene> scenes = FrameScenes();
  for (GalleryScene& scene : ButtonScenes()) scenes.push_back(std::move(scene));
  for (const GalleryScene& scene : scenes) {
    const std::vector<std::string> read = Lines(scene, UiLanguage::kEnglish);
    std::vector<std::string> ops, described;
    for (const std::string& line : read) {
      (line.rfind("accessible\t", 0) == 0 ? described : ops).push_back(line);
    }
    EXPECT_EQ(ops, Lines(scene, std::nullopt)) << scene.name;
    if (scene.name != "button-strips") {
      EXPECT_FALSE(described.empty()) << scene.name;
    }
    if (last.contains(scene.name)) {
      EXPECT_EQ(described.back(), last.at(scene.name));
    }
  }
}

}  // namespace
}  // namespace px::sim
