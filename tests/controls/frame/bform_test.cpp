#include "controls/frame/bform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/utf.h"
#include "controls/common/property_store.h"
#include "frame_fixture.h"

namespace px::test {
namespace {

using Lines = std::vector<std::string>;

// The lines of the last full draw of the bar: from its last "clear BForm" to the end.
Lines LastDraw(const Lines& lines) {
  const auto it = std::find(lines.rbegin(), lines.rend(), "clear\tBForm");
  return it == lines.rend() ? Lines{} : Lines(it.base() - 1, lines.end());
}

Lines BarOps(std::int32_t w, const std::string& caption) {
  Lines ops{"clear\tBForm"};
  for (std::int32_t i = 1; i <= w / 300 + 1; ++i) {
    ops.push_back("copy\tBForm\tPP\t300,0,300,450\t" + std::to_string(i * 300) + ",0,300,450");
  }
  ops.push_back("copy\tBForm\tPP\t0,0,450,450\t0,0,450,450");
  ops.push_back("copy\tBForm\tPP\t410,0,1000,450\t" + std::to_string(w - 1000) + ",0,1000,450");
  ops.push_back("print\tBForm\t120,100\t" + caption);
  return ops;
}

TEST_F(FrameTest, ANewFrameHasTheDesignedLookAndNoCaption) {
  EXPECT_TRUE(log_.lines().empty()) << "a new frame draws nothing before its first resize";
  EXPECT_EQ(frame_->Caption(), u"");
  EXPECT_EQ(frame_->BackColor(), u"14606046");  // red, green and blue 222
  EXPECT_EQ(site_.GetSurface().ForeColor(), Rgb(255, 255, 255));
  EXPECT_EQ(Area("Pmin").tool_tip(), u"最小化");
  EXPECT_EQ(Area("Pclose").tool_tip(), u"退出");
  EXPECT_EQ(Area("Pmin").Bounds().width, 315);
  EXPECT_EQ(Area("Pclose").GetPicture(), nullptr);
  EXPECT_EQ(Area("Pmin").GetPicture(), nullptr);
}

struct ResizeCase {
  TwipSize asked;
  int tiles;
  std::int32_t right_end;
};

class FrameResizeTest : public FrameTest, public testing::WithParamInterface<ResizeCase> {};

TEST_P(FrameResizeTest, DrawsTheBarAtTheNewWidthAndPlacesTheButtons) {
  const ResizeCase c = GetParam();
  frame_->SetCaption(u"Gallery");
  TakeLog();
  site_.SetSize(c.asked);
  const Lines lines = TakeLog();

  const std::int32_t w = c.asked.width;
  EXPECT_EQ(site_.Size(), (TwipSize{w, 405}));
  Lines expected = BarOps(w, "Gallery");
  expected.push_back("move\tPclose\t" + std::to_string(w - 360) + ",70");
  expected.push_back("move\tPmin\t" + std::to_string(w - 720) + ",70");
  const Lines draw = LastDraw(lines);
  EXPECT_EQ(draw, expected);
  EXPECT_EQ(std::count_if(draw.begin(), draw.end(),
                          [](const std::string& l) {
                            return l.find("\t300,0,300,450\t") != std::string::npos;
                          }),
            c.tiles);
  EXPECT_NE(
      std::find(expected.begin(), expected.end(),
                "copy\tBForm\tPP\t410,0,1000,450\t" + std::to_string(c.right_end) + ",0,1000,450"),
      expected.end());
  EXPECT_EQ(Area("Pclose").Bounds(), (TwipRect{w - 360, 70, 315, 315}));
  EXPECT_EQ(Area("Pmin").Bounds(), (TwipRect{w - 720, 70, 315, 315}));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, FrameResizeTest,
    testing::Values(ResizeCase{{3000, 600}, 11, 2000},  // 300 ... 3300, the last beyond the edge
                    ResizeCase{{3000, 0}, 11, 2000}, ResizeCase{{3000, 100000}, 11, 2000},
                    ResizeCase{{800, 405}, 3, -200},  // the right end starts left of 0
                    ResizeCase{{299, 405}, 1, -701}, ResizeCase{{0, 405}, 1, -1000},
                    ResizeCase{{4515, 405}, 16, 3515}),
    [](const auto& info) {
      return std::to_string(info.param.asked.width) + "x" + std::to_string(info.param.asked.height);
    });

TEST_F(FrameTest, CorrectingTheHeightResizesOnceMoreAndNoFurther) {
  site_.SetSize({3000, 600});
  const Lines lines = TakeLog();
  const Lines sizes = [&] {
    Lines s;
    for (const std::string& l : lines) {
      if (l.starts_with("size")) s.push_back(l);
    }
    return s;
  }();
  // The host's size, the frame's correction, and the inner resize's own (unchanged) request.
  EXPECT_EQ(sizes,
            (Lines{"size\tBForm\t3000,600", "size\tBForm\t3000,405", "size\tBForm\t3000,405"}));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "clear\tBForm"), 2);
}

TEST_F(FrameTest, ANarrowFrameDrawsItsRightEndOverTheLeftCap) {
  site_.SetSize({800, 405});
  const Lines draw = LastDraw(TakeLog());
  const auto cap = std::find(draw.begin(), draw.end(), "copy\tBForm\tPP\t0,0,450,450\t0,0,450,450");
  const auto end =
      std::find(draw.begin(), draw.end(), "copy\tBForm\tPP\t410,0,1000,450\t-200,0,1000,450");
  ASSERT_NE(cap, draw.end());
  ASSERT_NE(end, draw.end());
  EXPECT_LT(cap, end);
}

TEST_F(FrameTest, CaptionIsPrintedAsItIsEmptyOrLong) {
  site_.SetSize({1500, 405});
  for (const Text& caption : {Text(u""), Text(u"A caption far longer than the bar has room for"),
                              Text(u"打印机\t驱动")}) {
    TakeLog();
    frame_->SetCaption(caption);
    const Lines lines = TakeLog();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "clear\tBForm");
    EXPECT_EQ(lines.back(), "print\tBForm\t120,100\t" + sim::EscapeText(caption));
    EXPECT_EQ(frame_->Caption(), caption);
  }
  EXPECT_EQ(site_.changed_properties(), (std::vector<Text>(3, u"Caption")));
}

struct BackColorCase {
  const char16_t* text;
  const char16_t* read_back;  // nullptr: refused with the error number below
  std::int32_t error = 0;
};

TEST_F(FrameTest, BackColorTakesDecimalTextAndRefusesTheRest) {
  const BackColorCase cases[] = {
      {u"255", u"255"},
      {u"12.5", u"12"},
      {u"13.5", u"14"},
      {u"-1", u"-1"},
      {u" 16777215 ", u"16777215"},
      {u"abc", nullptr, 13},
      {u"", nullptr, 13},
      {u"2147483648", nullptr, 6},
      {u"1e12", nullptr, 6},
  };
  site_.SetSize({3000, 405});
  frame_->SetCaption(u"Gallery");
  for (const BackColorCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    ASSERT_TRUE(frame_->SetBackColor(u"4210752").ok());
    TakeLog();
    const std::size_t notices = site_.changed_properties().size();
    const ControlStatus status = frame_->SetBackColor(c.text);
    const Lines lines = TakeLog();
    if (c.read_back != nullptr) {
      ASSERT_TRUE(status.ok());
      EXPECT_EQ(frame_->BackColor(), c.read_back);
      EXPECT_EQ(lines, BarOps(3000, "Gallery"));
      EXPECT_EQ(site_.changed_properties().back(), u"BackColor");
    } else {
      ASSERT_FALSE(status.ok());
      EXPECT_EQ(status.error().number, c.error);
      EXPECT_EQ(frame_->BackColor(), u"4210752");
      EXPECT_TRUE(lines.empty()) << "the bar stays as it was";
      EXPECT_EQ(site_.changed_properties().size(), notices);
    }
  }
}

TEST_F(FrameTest, ReadingAnEmptyStoreGivesTheStoredDefaults) {
  site_.SetSize({3000, 405});
  TakeLog();
  MemoryPropertyStore store;
  ASSERT_TRUE(site_.Load(store).ok());
  EXPECT_EQ(frame_->BackColor(), u"14346732");  // red 236, green 233, blue 218
  EXPECT_EQ(site_.GetSurface().BackColor(), Rgb(236, 233, 218));
  EXPECT_EQ(frame_->Caption(), u"NewForm");
  EXPECT_EQ(TakeLog(), BarOps(3000, "NewForm"));
  EXPECT_TRUE(site_.changed_properties().empty()) << "a load is no change";
}

TEST_F(FrameTest, SavedSettingsRoundTripAndDefaultsAreLeftOut) {
  site_.SetSize({3000, 405});
  MemoryPropertyStore defaults;
  ASSERT_TRUE(site_.Load(defaults).ok());
  MemoryPropertyStore saved;
  ASSERT_TRUE(site_.Save(saved).ok());
  EXPECT_TRUE(saved.values().empty());

  frame_->SetCaption(u"Gallery");
  ASSERT_TRUE(frame_->SetBackColor(u"255").ok());
  TakeLog();
  ASSERT_TRUE(site_.Save(saved).ok());
  EXPECT_EQ(TakeLog(), BarOps(3000, "Gallery")) << "a save draws the bar too";
  EXPECT_EQ(saved.Read(u"BackColor", std::monostate{}), PropertyValue(std::int32_t{255}));
  EXPECT_EQ(saved.Read(u"Caption", std::monostate{}), PropertyValue(Text(u"Gallery")));

  sim::OpLog other_log;
  sim::RecordingSite other_site("BForm", other_log, {3000, 405});
  EventLog other_events;
  BForm other(other_site, skin_, other_events);
  ASSERT_TRUE(other_site.Load(saved).ok());
  EXPECT_EQ(other.Caption(), u"Gallery");
  EXPECT_EQ(other.BackColor(), u"255");
}

TEST_F(FrameTest, AStoredColourThatIsNoNumberFailsTheLoadAndChangesNothing) {
  site_.SetSize({3000, 405});
  frame_->SetCaption(u"Gallery");
  TakeLog();
  MemoryPropertyStore store;
  store.Set(u"BackColor", Text(u"blue"));
  store.Set(u"Caption", Text(u"Other"));
  const ControlStatus status = site_.Load(store);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), TypeMismatchError());
  EXPECT_EQ(frame_->Caption(), u"Gallery");
  EXPECT_EQ(frame_->BackColor(), u"14606046");
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(FrameTest, ACaptionThatIsNoTextFailsTheLoadBeforeTheColourIsTaken) {
  site_.SetSize({3000, 405});
  frame_->SetCaption(u"Gallery");
  TakeLog();
  MemoryPropertyStore store;
  store.Set(u"BackColor", std::int32_t{255});
  store.Set(u"Caption", MakePixelPicture(1, 1, {0}));
  const ControlStatus status = site_.Load(store);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), TypeMismatchError());
  EXPECT_EQ(frame_->BackColor(), u"14606046");
  EXPECT_EQ(frame_->Caption(), u"Gallery");
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(FrameTest, NominCoversTheGlyphAndHidesTheButtonForGood) {
  site_.SetSize({3000, 405});
  frame_->SetCaption(u"Gallery");
  TakeLog();
  frame_->Nomin();
  EXPECT_EQ(TakeLog(), (Lines{"copy\tBForm\tPP\t210,0,400,450\t2170,0,400,450", "show\tPmin\t0",
                              "print\tBForm\t120,100\tGallery"}));
  EXPECT_FALSE(Area("Pmin").Visible());

  site_.SetSize({3000, 500});  // and back to 405
  const Lines draw = LastDraw(TakeLog());
  Lines expected = BarOps(3000, "Gallery");  // the right end brings the minimise glyph back
  expected.push_back("move\tPclose\t2640,70");
  expected.push_back("move\tPmin\t2280,70");
  EXPECT_EQ(draw, expected);
  EXPECT_FALSE(Area("Pmin").Visible());
  // Where the button was, the pointer is on the frame itself.
  site_.Click({2300, 100});
  site_.DblClick({2300, 100});
  EXPECT_EQ(events_.lines, (std::vector<std::string>{"DblClick"}));
}

TEST_F(FrameTest, PrintformBordersTheHostOnThreeSides) {
  sim::RecordingHostWindow host("host", log_, {4500, 3000});
  TakeLog();
  frame_->Printform(host);
  const Lines lines = TakeLog();
  Lines expected{"clear\thost"};
  for (int i = 1; i <= 16; ++i) {
    expected.push_back("copy\thost\tPP\t300,1215,300,500\t" + std::to_string(i * 300) +
                       ",2940,300,500");
  }
  for (int i = 1; i <= 11; ++i) {
    expected.push_back("copy\thost\tPP\t0,800,60,500\t0," + std::to_string(i * 300) + ",60,500");
  }
  for (int i = 1; i <= 11; ++i) {
    expected.push_back("copy\thost\tPP\t1350,800,300,500\t4440," + std::to_string(i * 300) +
                       ",300,500");
  }
  expected.push_back("copy\thost\tPP\t0,1215,450,60\t0,2940,450,60");
  expected.push_back("copy\thost\tPP\t910,1215,500,60\t4000,2940,500,60");
  EXPECT_EQ(lines, expected);
}

// A host that grows when its surface is cleared, as a window might when it is laid out anew.
class GrowingHost final : public HostWindow {
 public:
  explicit GrowingHost(sim::OpLog& log) : surface_(*this, log) {}
  Surface& GetSurface() override { return surface_; }
  TwipSize OuterSize() const override { return size_; }

 private:
  class GrowingSurface final : public sim::SizedSurface {
   public:
    GrowingSurface(GrowingHost& host, sim::OpLog& log)
        : host_(host), inner_("host", log, {3000, 3000}) {}
    void Resize(TwipSize size) override { inner_.Resize(size); }
    TwipSize Size() const override { return inner_.Size(); }
    Color BackColor() const override { return inner_.BackColor(); }
    void SetBackColor(Color c) override { inner_.SetBackColor(c); }
    Color ForeColor() const override { return inner_.ForeColor(); }
    void SetForeColor(Color c) override { inner_.SetForeColor(c); }
    const Font& GetFont() const override { return inner_.GetFont(); }
    void SetFont(const Font& f) override { inner_.SetFont(f); }
    void Clear() override {
      inner_.Clear();
      host_.size_ = {6000, 6000};
    }
    void Print(TwipPoint at, TextView text) override { inner_.Print(at, text); }
    TwipSize TextExtent(TextView text) const override { return inner_.TextExtent(text); }
    void CopyPicture(const Picture& p, TwipRect s, TwipRect d) override {
      inner_.CopyPicture(p, s, d);
    }
    PictureRef Image() const override { return inner_.Image(); }

   private:
    GrowingHost& host_;
    sim::RecordingSurface inner_;
  };

  TwipSize size_{3000, 3000};
  GrowingSurface surface_;
};

TEST_F(FrameTest, PrintformReadsTheHostSizeAfterClearingIt) {
  GrowingHost host(log_);
  TakeLog();
  frame_->Printform(host);
  const Lines lines = TakeLog();
  EXPECT_EQ(lines.back(), "copy\thost\tPP\t910,1215,500,60\t5500,5940,500,60");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) {
                            return l.find("\t0,800,60,500\t") != std::string::npos;
                          }),
            21);
}

}  // namespace
}  // namespace px::test
