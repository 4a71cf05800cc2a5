#include "controls/common/property_store.h"

#include <gtest/gtest.h>

#include <limits>

#include "controls/common/geometry.h"

namespace px {
namespace {

struct Int32Case {
  PropertyValue value;
  std::optional<std::int32_t> expected;  // nullopt: the error below
  std::int32_t error_number = 0;
};

TEST(PropertyValueTest, ConvertsToInt32LikeTheLanguageDoes) {
  const Int32Case cases[] = {
      {Text(u"255"), 255},
      {Text(u"12.5"), 12},  // a half goes to the even neighbour
      {Text(u"13.5"), 14},
      {Text(u"-2.5"), -2},
      {Text(u"0.5"), 0},
      {Text(u" 14346732 "), 14346732},
      {Text(u"+7"), 7},
      {Text(u"1e3"), 1000},
      {Text(u".75"), 1},
      {Text(u"2147483647"), 2147483647},
      {Text(u"2147483647.4"), 2147483647},
      {Text(u"-2147483648"), std::numeric_limits<std::int32_t>::min()},
      {Text(u"-2147483648.5"), std::numeric_limits<std::int32_t>::min()},  // even neighbour
      {Text(u"2147483647.5"), std::nullopt, 6},                            // rounds to 2^31
      {Text(u"4294967295"), std::nullopt, 6},
      {Text(u"1e400"), std::nullopt, 6},
      {Text(u"1e-400"), 0},
      {Text(u""), std::nullopt, 13},
      {Text(u"   "), std::nullopt, 13},
      {Text(u"red"), std::nullopt, 13},
      {Text(u"12px"), std::nullopt, 13},
      {Text(u"inf"), std::nullopt, 13},
      {Text(u"nan"), std::nullopt, 13},
      {Text(u"-"), std::nullopt, 13},
      {Text(u"1 2"), std::nullopt, 13},
      {Text(u"\uff11"), std::nullopt, 13},  // a full-width digit is not a number here
      {std::int32_t{-5}, -5},
      {true, -1},
      {std::monostate{}, 0},
      {PictureRef{}, std::nullopt, 13},
      {Font{}, std::nullopt, 13},
  };
  for (const Int32Case& c : cases) {
    const ControlResult<std::int32_t> r = ToInt32(c.value);
    SCOPED_TRACE(testing::Message() << "case index " << (&c - cases));
    if (c.expected) {
      ASSERT_TRUE(r.ok()) << r.error().number;
      EXPECT_EQ(r.value(), *c.expected);
    } else {
      ASSERT_FALSE(r.ok()) << r.value();
      EXPECT_EQ(r.error().number, c.error_number);
    }
  }
}

TEST(PropertyValueTest, Int16OverflowsBeyondSixteenBits) {
  EXPECT_EQ(ToInt16(Text(u"32767")).value(), 32767);
  EXPECT_EQ(ToInt16(Text(u"32768")).error(), OverflowError());
  EXPECT_EQ(ToInt16(std::int32_t{-32769}).error(), OverflowError());
}

TEST(PropertyValueTest, TextAndBooleanConversions) {
  EXPECT_EQ(ToText(std::int32_t{-12}).value(), u"-12");
  EXPECT_EQ(ToText(true).value(), u"True");
  EXPECT_EQ(ToText(std::monostate{}).value(), u"");
  EXPECT_FALSE(ToText(Font{}).ok());
  EXPECT_TRUE(ToBoolean(Text(u"TRUE")).value());
  EXPECT_FALSE(ToBoolean(Text(u"0")).value());
  EXPECT_EQ(ToBoolean(Text(u"maybe")).error(), TypeMismatchError());
}

TEST(PropertyValueTest, ATextLiteralIsATextNotABoolean) {
  const PropertyValue v = Text(u"x");
  EXPECT_TRUE(std::holds_alternative<Text>(v));
  const PropertyValue w = u"x";
  EXPECT_TRUE(std::holds_alternative<Text>(w));
}

TEST(MemoryPropertyStoreTest, ReadsTheDefaultForAnAbsentKey) {
  MemoryPropertyStore store;
  EXPECT_EQ(store.Read(u"Caption", Text(u"NewForm")), PropertyValue(Text(u"NewForm")));
}

TEST(MemoryPropertyStoreTest, LeavesOutAValueEqualToItsDefault) {
  MemoryPropertyStore store;
  store.Write(u"BackColor", std::int32_t{14346732}, PropertyValue(Text(u"14346732")));
  EXPECT_FALSE(store.Contains(u"BackColor"));
  store.Write(u"BackColor", std::int32_t{255}, PropertyValue(Text(u"14346732")));
  EXPECT_EQ(store.Read(u"BackColor", Text(u"14346732")), PropertyValue(std::int32_t{255}));
  // Saving the default again removes the older value, so a reload gives the default.
  store.Write(u"BackColor", std::int32_t{14346732}, PropertyValue(Text(u"14346732")));
  EXPECT_FALSE(store.Contains(u"BackColor"));
}

TEST(MemoryPropertyStoreTest, WithoutADefaultAlwaysStores) {
  MemoryPropertyStore store;
  store.Write(u"cDrawMode", std::int32_t{13}, std::nullopt);
  EXPECT_TRUE(store.Contains(u"cDrawMode"));
  EXPECT_EQ(store.Read(u"cDrawMode", std::int32_t{0}), PropertyValue(std::int32_t{13}));
}

TEST(MemoryPropertyStoreTest, SameValueComparesNumbersWithTheirText) {
  EXPECT_TRUE(SameValue(std::int32_t{255}, Text(u"255")));
  EXPECT_TRUE(SameValue(Text(u"255"), std::int32_t{255}));
  EXPECT_FALSE(SameValue(std::int32_t{12}, Text(u"12.5")));
  EXPECT_FALSE(SameValue(Text(u"a"), Text(u"A")));
  const PictureRef p = MakePixelPicture(1, 1, {0});
  EXPECT_TRUE(SameValue(p, p));
  EXPECT_FALSE(SameValue(p, MakePixelPicture(1, 1, {0})));
}

TEST(GeometryTest, ConversionsRoundHalfToEven) {
  EXPECT_EQ(TwipsToPixels(70), 5);      // 4.67
  EXPECT_EQ(TwipsToPixels(-200), -13);  // -13.33
  EXPECT_EQ(TwipsToPixels(-1000), -67);
  EXPECT_EQ(TwipsToPixels(7), 0);  // 0.47
  EXPECT_EQ(TwipsToPixels(8), 1);  // 0.53
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  // A picture reports HIMETRIC and gives its pixels back unchanged.
  EXPECT_EQ(PixelsToHimetric(400), 10583);
  EXPECT_EQ(PixelsToHimetric(30), 794);
  for (int px = 0; px < 2000; ++px) ASSERT_EQ(HimetricToPixels(PixelsToHimetric(px)), px);
}

}  // namespace
}  // namespace px
