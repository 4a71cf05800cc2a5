#include <gtest/gtest.h>

#include "button_fixture.h"
#include "controls/button/bitmap_capture.h"

namespace px {
namespace {

using Strings = std::vector<std::string>;

// A 400 x 30 strip: 80 x 30 frames for a push button, 40 x 30 for a toggle, and a control of
// exactly one frame with AutoSize.
TEST_F(ButtonTest, FourHundredPixelStripIsCutIntoSlotsOfItsStyle) {
  struct Case {
    std::int32_t style;
    std::int32_t frame_width;
    TwipSize control;
    std::int32_t frames;
  } cases[] = {{0, 80, {1200, 450}, 4}, {1, 40, {600, 450}, 8}};
  for (const Case& c : cases) {
    Place(c.style);
    EXPECT_EQ(button->BackPicture()->HimetricWidth(), 10583);
    EXPECT_EQ(button->BackPicture()->HimetricHeight(), 794);
    EXPECT_EQ(button->GetFrameWidth(), c.frame_width);
    EXPECT_EQ(button->GetFrameHeight(), 30);
    EXPECT_EQ(site.Size(), c.control);
    for (std::int32_t state = 0; state < 4; ++state) {
      PictureRef f = Frame(state);
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->PixelWidth(), c.frame_width);
      EXPECT_EQ(f->PixelHeight(), 30);
      EXPECT_EQ(ColumnOf(f->Pixels()[0]), state * c.frame_width);
      EXPECT_EQ(ColumnOf(f->Pixels()[c.frame_width - 1]), (state + 1) * c.frame_width - 1);
    }
  }
}

// The integer frame width decides where each frame starts; what lies beyond the last frame is
// never shown, and a frame reaching past the strip is black there.
TEST_F(ButtonTest, StripWidthThatIsNotAMultipleOfTheSlots) {
  Place(0, true, ColumnStrip(403, 30));  // 80.6 pixels a slot: frames of 81
  EXPECT_EQ(button->GetFrameWidth(), 81);
  EXPECT_EQ(ColumnOf(Frame(Disabled)->Pixels()[0]), 243);

  Place(1, true, ColumnStrip(405, 30));  // 40.5 a slot, a hair above: frames of 41
  ASSERT_EQ(button->GetFrameWidth(), 41);
  ASSERT_TRUE(button->SetValue(true));
  EXPECT_EQ(ColumnOf(Frame(Disabled)->Pixels()[0]), 7 * 41);
  // Style 2 keeps the value and looks 8 frames further: frame 9 straddles the strip's end,
  // frames 10 and 11 lie past it.
  ASSERT_TRUE(button->SetStyle(2));
  const PictureRef nine = Frame(Hover);
  EXPECT_EQ(ColumnOf(nine->Pixels()[0]), 369);
  EXPECT_EQ(ColumnOf(nine->Pixels()[35]), 404);
  EXPECT_EQ(nine->Pixels()[36], 0xFF000000u);
  for (Argb pixel : Frame(Pressed)->Pixels()) ASSERT_EQ(pixel, 0xFF000000u);
}

TEST_F(ButtonTest, LargeStyleDoesNotCutAFramePerNumber) {
  Place(1);
  ASSERT_TRUE(button->SetValue(true));
  ASSERT_TRUE(button->SetStyle(100'000'000));
  EXPECT_EQ(Frame(Disabled)->PixelWidth(), 40);  // frame 400000003: blank
  EXPECT_LT(api.LiveObjects(), 20u);
}

TEST_F(ButtonTest, PaletteDisplayGivesFramesASystemPalette) {
  for (bool palette_display : {false, true}) {
    api.SetPaletteDisplay(palette_display);
    Place(0);
    const PictureRef f = Frame(Hover);
    const GdiHandle palette = api.PicturePalette(*f);
    if (!palette_display) {
      EXPECT_EQ(palette, 0u);
      EXPECT_EQ(ColumnOf(f->Pixels()[5]), 85);
      continue;
    }
    ASSERT_NE(palette, 0u);
    const std::vector<PaletteEntry> entries = api.PaletteEntries(palette);
    ASSERT_EQ(entries.size(), 256u);
    EXPECT_TRUE(
        std::equal(entries.begin(), entries.end(), sim::SimButtonApi::SystemPalette().begin()));
    // An 8-bit display shows only the palette's colours.
    for (Argb pixel : f->Pixels()) {
      const PaletteEntry colour = {static_cast<std::uint8_t>(pixel >> 16),
                                   static_cast<std::uint8_t>(pixel >> 8),
                                   static_cast<std::uint8_t>(pixel), 0};
      ASSERT_NE(std::find(entries.begin(), entries.end(), colour), entries.end());
    }
  }
}

TEST_F(ButtonTest, WithoutAPictureOnlyTheCaptionIsDrawnOnWhite) {
  site.Site();
  log.ClearLines();
  ASSERT_TRUE(button->SetCaption(u"OK"));
  EXPECT_FALSE(button->FramesReady());
  EXPECT_EQ(Frame(Normal), nullptr);
  EXPECT_EQ(log.lines(), (Strings{"clear\tbutton", "print\tbutton\t3735,2115\tOK"}));
  EXPECT_EQ(site.GetSurface().BackColor(), kWhite);
}

TEST_F(ButtonTest, EmptyCaptionPrintsNothing) {
  Place(0);
  ASSERT_TRUE(button->SetCaption(u""));
  EXPECT_TRUE(Lines("print").empty());
  EXPECT_EQ(Painted(), std::vector<int>{0});
}

// x = width / 2 - text width / 2 and y likewise, to the nearest twip with a half to the even
// one; the recording surface measures 120 x 195 twips a character.
TEST_F(ButtonTest, CaptionIsCentredAndMovesOnePixelWhilePressed) {
  struct Case {
    TwipSize size;
    std::string normal;
    std::string pressed;
  } cases[] = {
      {{1200, 450}, "480,128", "495,143"},  // 127.5 -> 128
      {{1215, 451}, "488,128", "503,143"},  // 487.5 -> 488, 128
      {{1245, 449}, "502,127", "517,142"},  // 502.5 -> 502, 127
  };
  Place(0, false);
  ASSERT_TRUE(button->SetCaption(u"OK"));
  site.Focus();
  for (const Case& c : cases) {
    site.SetSize(c.size);
    site.MoveTo(kInside);
    log.ClearLines();
    site.Press();
    site.MoveAway();
    RunFor(50);  // the pointer left: Normal again, the caption back in place
    EXPECT_EQ(Lines("print"), (Strings{"print\tbutton\t" + c.pressed + "\tOK",
                                       "print\tbutton\t" + c.normal + "\tOK"}));
    EXPECT_EQ(Painted(), (std::vector<int>{2, 0}));  // press, tick
    site.Release();
  }
}

TEST_F(ButtonTest, DisabledShowsFrameThreeOrSevenForAToggleThatIsOn) {
  struct Case {
    std::int32_t style;
    bool value;
    int frame;
  } cases[] = {{0, false, 3}, {0, true, 3}, {1, false, 3}, {1, true, 7}};
  for (const Case& c : cases) {
    Place(c.style);
    ASSERT_TRUE(button->SetValue(c.value));
    log.ClearLines();
    ASSERT_TRUE(button->SetEnabled(false));
    EXPECT_EQ(Painted(), std::vector<int>{c.frame});
    ASSERT_TRUE(button->SetEnabled(true));
  }
}

TEST_F(ButtonTest, ValueOnlyHoldsForAToggle) {
  Place(0);
  ASSERT_TRUE(button->SetValue(true));
  EXPECT_FALSE(button->Value());
  EXPECT_TRUE(Painted().empty());

  Place(1);
  ASSERT_TRUE(button->SetValue(true));
  EXPECT_EQ(Painted(), std::vector<int>{4});
  // Back to a push button: the value stays, but the first group of frames shows.
  ASSERT_TRUE(button->SetStyle(0));
  EXPECT_TRUE(button->Value());
  EXPECT_EQ(Painted().back(), 0);
  EXPECT_EQ(button->GetFrameWidth(), 80);
}

TEST_F(ButtonTest, AutoSizeFalseNeitherResizesNorRepaints) {
  Place(0, false);
  site.SetSize({3000, 900});
  log.ClearLines();
  ASSERT_TRUE(button->SetAutoSize(false));
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(site.changed_properties().back(), u"AutoSize");
  // The frame is stretched over whatever size the control has.
  ASSERT_TRUE(button->SetCaption(u""));
  EXPECT_EQ(Lines("paint"), Strings{"paint\tbutton\t0\t0,0,3000,900"});
}

TEST_F(ButtonTest, AutoSizeKeepsTheControlOneFrameLarge) {
  Place(0);
  site.SetSize({3000, 900});
  EXPECT_EQ(site.Size(), (TwipSize{1200, 450}));
  ASSERT_TRUE(button->SetAutoSize(false));
  site.SetSize({3000, 900});
  EXPECT_EQ(site.Size(), (TwipSize{3000, 900}));
  ASSERT_TRUE(button->SetAutoSize(true));  // cuts the frames again and sizes the control
  EXPECT_EQ(site.Size(), (TwipSize{1200, 450}));
  // A strip too narrow to give a frame a pixel (4 / 10 slots rounds to 0) leaves the size as it
  // is, when the frames are cut and at a resize, rather than shrinking the control to nothing.
  ASSERT_TRUE(button->SetStyle(1));
  ASSERT_EQ(site.Size(), (TwipSize{600, 450}));
  ASSERT_TRUE(button->SetBackPicture(ColumnStrip(4, 30)));
  EXPECT_EQ(site.Size(), (TwipSize{600, 450}));
  site.SetSize({3000, 900});
  EXPECT_EQ(site.Size(), (TwipSize{3000, 900}));
}

TEST_F(ButtonTest, FramesAreCutAtTheFirstShowOnly) {
  MemoryPropertyStore store;
  store.Set(u"BackPicture", ColumnStrip(400, 30));
  ASSERT_TRUE(site.Load(store));
  EXPECT_FALSE(button->FramesReady());  // a load builds nothing
  site.SetSize({3000, 900});            // AutoSize (true by default when loaded) applies
  EXPECT_EQ(site.Size(), (TwipSize{1200, 450}));
  site.Show();
  EXPECT_TRUE(button->FramesReady());
  log.ClearLines();
  site.Show();
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(ButtonTest, TransparentStyleMakesTheFrameTheControlsShape) {
  // Key-coloured corners: the see-through parts of the shape. The Disabled frame's corner is
  // two pixels wide, a shape of its own.
  std::vector<Argb> pixels(400 * 30, OpaqueArgb(0, 0, 200));
  const Argb key = OpaqueArgb(0xFF, 0x00, 0xFD);
  for (int slot = 0; slot < 5; ++slot) pixels[slot * 80] = key;
  pixels[3 * 80 + 1] = key;
  Place(0, true, MakePixelPicture(400, 30, std::move(pixels)));
  ASSERT_TRUE(button->SetcBackStyle(0));
  EXPECT_EQ(site.SurfacePicture(), Frame(Normal));
  EXPECT_EQ(Lines("region"), Strings{"region\tbutton\ton"});
  // Hover, press, ticks and release paint other frames of the same shape: the shape stays.
  site.MoveTo(kInside);
  EXPECT_EQ(site.SurfacePicture(), Frame(Hover));
  site.Press();
  RunFor(200);
  site.Release();
  EXPECT_GE(Painted().size(), 4u) << "every step repaints";
  EXPECT_EQ(site.region_changes(), 1);
  ASSERT_TRUE(button->SetEnabled(false));
  EXPECT_EQ(Lines("region"), (Strings{"region\tbutton\ton", "region\tbutton\ton"}));
  ASSERT_TRUE(button->SetEnabled(true));

  const PictureRef visible = site.VisibleImage();
  EXPECT_EQ(visible->Pixels()[0], 0u);
  EXPECT_EQ(visible->Pixels()[1] >> 24, 0xFFu);

  // Without AutoSize the shape is a snapshot of the frame stretched over the control, taken
  // while the style is opaque for a moment; the shape in force stays all the while.
  ASSERT_TRUE(button->SetAutoSize(false));
  site.SetSize({3000, 900});
  log.ClearLines();
  ASSERT_TRUE(button->SetCaption(u"Go"));
  ASSERT_TRUE(button->SetCaption(u"Go!"));
  site.MoveTo({600, 300});
  EXPECT_EQ(Lines("region"), Strings{});
  EXPECT_EQ(button->cBackStyle(), 0);
  EXPECT_EQ(site.SurfacePicture()->PixelWidth(), 200);
  // An opaque style ends the shape once the button is back in the message loop.
  ASSERT_TRUE(button->SetcBackStyle(1));
  EXPECT_EQ(Lines("region"), Strings{});
  RunFor(50);
  EXPECT_EQ(Lines("region"), Strings{"region\tbutton\toff"});
  EXPECT_FALSE(site.region_on());
}

// A wrapper that cannot make picture objects, to see what happens to the handles then.
class NoPictures final : public ButtonApi {
 public:
  explicit NoPictures(sim::SimButtonApi& api) : api_(api) {}
  GdiHandle CreateCompatibleDC(GdiHandle dc) override { return api_.CreateCompatibleDC(dc); }
  GdiHandle CreateCompatibleBitmap(GdiHandle dc, std::int32_t w, std::int32_t h) override {
    return api_.CreateCompatibleBitmap(dc, w, h);
  }
  GdiHandle SelectObject(GdiHandle dc, GdiHandle o) override { return api_.SelectObject(dc, o); }
  bool DeleteDC(GdiHandle dc) override { return api_.DeleteDC(dc); }
  bool DeleteObject(GdiHandle o) override { return api_.DeleteObject(o); }
  std::int32_t GetDeviceCaps(GdiHandle dc, std::int32_t i) override {
    return api_.GetDeviceCaps(dc, i);
  }
  std::uint32_t GetSystemPaletteEntries(GdiHandle dc, std::uint32_t start,
                                        std::span<PaletteEntry> e) override {
    return api_.GetSystemPaletteEntries(dc, start, e);
  }
  GdiHandle CreatePalette(const LogPalette& p) override { return api_.CreatePalette(p); }
  GdiHandle SelectPalette(GdiHandle dc, GdiHandle p, bool b) override {
    return api_.SelectPalette(dc, p, b);
  }
  std::uint32_t RealizePalette(GdiHandle dc) override { return api_.RealizePalette(dc); }
  bool BitBlt(GdiHandle d, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
              GdiHandle s, std::int32_t sx, std::int32_t sy, std::uint32_t rop) override {
    return api_.BitBlt(d, x, y, w, h, s, sx, sy, rop);
  }
  PictureRef OleCreatePictureIndirect(const PictDesc&, bool) override { return nullptr; }
  GdiHandle PictureHandle(const PictureRef& p) override { return api_.PictureHandle(p); }
  ScreenPoint GetCursorPos() override { return api_.GetCursorPos(); }
  std::int32_t WindowFromPoint(ScreenPoint p) override { return api_.WindowFromPoint(p); }

 private:
  sim::SimButtonApi& api_;
};

TEST_F(ButtonTest, CapturedAreaOwnsItsHandlesOrGivesThemBack) {
  const PictureRef strip = ColumnStrip(400, 30);
  for (bool palette_display : {false, true}) {
    api.SetPaletteDisplay(palette_display);
    const GdiHandle memory = api.CreateCompatibleDC(site.Hdc());
    const GdiHandle old = api.SelectObject(memory, api.PictureHandle(strip));
    const std::size_t before = api.LiveObjects();

    PictureRef area = CaptureBitmapArea(api, memory, 10, 0, 20, 30);
    ASSERT_NE(area, nullptr);
    if (!palette_display) {
      EXPECT_EQ(ColumnOf(area->Pixels()[0]), 10);
    }
    EXPECT_EQ(api.LiveObjects(), before + (palette_display ? 2 : 1));
    area.reset();
    EXPECT_EQ(api.LiveObjects(), before);

    NoPictures failing(api);
    EXPECT_EQ(CaptureBitmapArea(failing, memory, 10, 0, 20, 30), nullptr);
    EXPECT_EQ(api.LiveObjects(), before);
    api.SelectObject(memory, old);
    api.DeleteDC(memory);
  }
}

TEST_F(ButtonTest, DestructionAndRebuildsReleaseEveryGdiObject) {
  api.SetPaletteDisplay(true);
  Place(1);
  EXPECT_EQ(api.LiveObjects(), 16u);  // 8 frames, each a bitmap and a palette
  ASSERT_TRUE(button->SetStyle(0));
  EXPECT_EQ(api.LiveObjects(), 8u);
  ASSERT_TRUE(button->SetBackPicture(nullptr));
  EXPECT_EQ(api.LiveObjects(), 0u);
  ASSERT_TRUE(button->SetBackPicture(ColumnStrip(400, 30)));
  button.reset();
  EXPECT_EQ(api.LiveObjects(), 0u);
}

}  // namespace
}  // namespace px
