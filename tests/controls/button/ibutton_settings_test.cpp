#include <gtest/gtest.h>

#include <limits>
#include <variant>

#include "base/utf.h"
#include "button_fixture.h"

namespace px {
namespace {

using Strings = std::vector<std::string>;

std::string Describe(const PropertyValue& v) {
  if (std::holds_alternative<std::monostate>(v)) return "none";
  if (const bool* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
  if (const std::int32_t* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
  if (const Text* t = std::get_if<Text>(&v)) return "\"" + ToUtf8(*t) + "\"";
  if (std::holds_alternative<PictureRef>(v)) return "picture";
  return "font " + ToUtf8(std::get<Font>(v).name);
}

// A store that remembers the order of what was asked of it, and answers like a memory store.
class LoggingStore final : public PropertyStore {
 public:
  PropertyValue Read(TextView key, const PropertyValue& default_value) const override {
    calls.push_back(ToUtf8(key) + "=" + Describe(default_value));
    return inner.Read(key, default_value);
  }
  void Write(TextView key, const PropertyValue& value,
             const std::optional<PropertyValue>& default_value) override {
    calls.push_back(ToUtf8(key) + "=" + Describe(value) + "|" +
                    (default_value ? Describe(*default_value) : "-"));
    inner.Write(key, value, default_value);
  }
  mutable Strings calls;
  MemoryPropertyStore inner;
};

TEST_F(ButtonTest, LoadReadsInItsOrderWithItsDefaults) {
  LoggingStore store;
  ASSERT_TRUE(site.Load(store));
  EXPECT_EQ(store.calls,
            (Strings{"BackPicture=none", "Enabled=True", "cBackStyle=1", "Caption=\"\"", "Style=0",
                     "AutoSize=True", "cForeColor=0", "cFont=font Microsoft Sans Serif",
                     "cDrawMode=13", "AccessibleName=\"\""}));
  // A new button starts without AutoSize; only a load gives it the default true.
  EXPECT_TRUE(button->AutoSize());
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(button->cBackStyle(), 1);
}

TEST_F(ButtonTest, SaveWritesInItsOrderAndAlwaysStoresFontDrawModeAndForeColor) {
  LoggingStore store;
  ASSERT_TRUE(site.Save(store));
  EXPECT_EQ(store.calls, (Strings{"BackPicture=none|none", "Enabled=True|True", "Style=0|0",
                                  "cBackStyle=1|1", "Caption=\"\"|\"\"", "AutoSize=False|True",
                                  "cFont=font Microsoft Sans Serif|-", "cDrawMode=13|-",
                                  "cForeColor=0|-", "AccessibleName=\"\"|\"\""}));
  // A new button differs from the load defaults only in AutoSize.
  EXPECT_EQ(store.inner.values().size(), 4u);
  EXPECT_TRUE(store.inner.Contains(u"AutoSize"));
}

TEST_F(ButtonTest, SettingsSurviveASaveAndALoadButValueDoesNot) {
  const PictureRef strip = ColumnStrip(400, 30);
  Font font;
  font.name = u"Tahoma";
  font.bold = true;
  ASSERT_TRUE(button->SetStyle(1));
  ASSERT_TRUE(button->SetBackPicture(strip));
  ASSERT_TRUE(button->SetValue(true));
  ASSERT_TRUE(button->SetCaption(u"Install"));
  ASSERT_TRUE(button->SetcBackStyle(0));
  ASSERT_TRUE(button->SetcForeColor(Rgb(10, 20, 30)));
  ASSERT_TRUE(button->SetcFont(font));
  ASSERT_TRUE(button->SetcDrawMode(7));
  ASSERT_TRUE(button->SetEnabled(false));
  button->SetAccessibleName(u"Install the printer");
  MemoryPropertyStore store;
  ASSERT_TRUE(site.Save(store));

  sim::ButtonSimSite other_site{"other", log, api, loop, host, {0, 0}, iButton::kDesignSize};
  iButton other(other_site, events);
  ASSERT_TRUE(other_site.Load(store));
  EXPECT_EQ(other.BackPicture(), strip);
  EXPECT_EQ(other.Style(), 1);
  EXPECT_FALSE(other.Value());
  EXPECT_EQ(other.Caption(), u"Install");
  EXPECT_EQ(other.cBackStyle(), 0);
  EXPECT_EQ(other.cForeColor(), Rgb(10, 20, 30));
  EXPECT_EQ(other.cFont(), font);
  EXPECT_EQ(other.cDrawMode(), 7);
  EXPECT_FALSE(other.Enabled());
  EXPECT_FALSE(other.AutoSize());
  EXPECT_EQ(other.AccessibleName(), u"Install the printer");
}

TEST_F(ButtonTest, LoadRefusesValuesItCannotTake) {
  struct Case {
    const char16_t* key;
    PropertyValue value;
    ControlError error;
  } cases[] = {
      {u"BackPicture", Text(u"strip.png"), TypeMismatchError()},
      {u"Enabled", Text(u"perhaps"), TypeMismatchError()},
      {u"cBackStyle", std::int32_t{70000}, OverflowError()},
      {u"Style", std::int32_t{-1}, SubscriptOutOfRangeError()},
      {u"Style", std::int32_t{40000}, OverflowError()},
      {u"cFont", Text(u"Tahoma"), TypeMismatchError()},
      {u"cDrawMode", Text(u"x"), TypeMismatchError()},
      {u"AccessibleName", ColumnStrip(4, 1), TypeMismatchError()},
  };
  for (const Case& c : cases) {
    MemoryPropertyStore store;
    store.Set(u"Caption", Text(u"read before"));
    store.Set(c.key, c.value);
    const ControlStatus status = site.Load(store);
    ASSERT_FALSE(status.ok()) << ToUtf8(c.key);
    EXPECT_EQ(status.error(), c.error) << ToUtf8(c.key);
    // A refused load takes nothing, not even what was read before the refused value.
    EXPECT_EQ(button->Style(), 0);
    EXPECT_EQ(button->Caption(), u"");
    EXPECT_FALSE(button->AutoSize());
  }
}

TEST_F(ButtonTest, SettersRepaintAndGiveTheirChangeNotice) {
  Place(0);
  struct Case {
    std::string name;
    std::function<ControlStatus(iButton&)> set;
    const char16_t* notice;  // nullptr: none
    bool draws;
  } cases[] = {
      {"cDrawMode", [](iButton& b) { return b.SetcDrawMode(6); }, u"cDrawMode", true},
      {"cFont", [](iButton& b) { return b.SetcFont(Font{}); }, u"cFont", true},
      {"cForeColor", [](iButton& b) { return b.SetcForeColor(kWhite); }, u"cForeColor", true},
      {"AutoSize false", [](iButton& b) { return b.SetAutoSize(false); }, u"AutoSize", false},
      {"AutoSize true", [](iButton& b) { return b.SetAutoSize(true); }, u"AutoSize", true},
      {"Value", [](iButton& b) { return b.SetValue(true); }, nullptr, false},
      {"Style", [](iButton& b) { return b.SetStyle(1); }, u"Style", true},
      {"Value toggle", [](iButton& b) { return b.SetValue(true); }, nullptr, true},
      {"BackPicture", [](iButton& b) { return b.SetBackPicture(ColumnStrip(200, 20)); },
       u"BackPicture", true},
      {"Enabled", [](iButton& b) { return b.SetEnabled(true); }, u"Enabled", true},
      {"cBackStyle", [](iButton& b) { return b.SetcBackStyle(1); }, u"cBackStyle", true},
      {"Caption", [](iButton& b) { return b.SetCaption(u"A"); }, u"Caption", true},
  };
  for (const Case& c : cases) {
    log.ClearLines();
    const std::size_t notices = site.changed_properties().size();
    ASSERT_TRUE(c.set(*button)) << c.name;
    EXPECT_EQ(!Lines("clear").empty(), c.draws) << c.name;
    if (c.notice == nullptr) {
      EXPECT_EQ(site.changed_properties().size(), notices) << c.name;
    } else {
      ASSERT_EQ(site.changed_properties().size(), notices + 1) << c.name;
      EXPECT_EQ(site.changed_properties().back(), c.notice) << c.name;
    }
  }
}

TEST_F(ButtonTest, NegativeStyleIsRefusedAndChangesNothing) {
  Place(1);
  ASSERT_TRUE(button->SetValue(true));
  const std::size_t notices = site.changed_properties().size();
  const PictureRef frame = Frame(Hover);
  for (std::int32_t style : {-1, -2, std::numeric_limits<std::int32_t>::min()}) {
    const ControlStatus status = button->SetStyle(style);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), SubscriptOutOfRangeError());
  }
  EXPECT_EQ(button->SetStyle(std::numeric_limits<std::int32_t>::max()).error(), OverflowError());
  EXPECT_EQ(button->Style(), 1);
  EXPECT_EQ(Frame(Hover), frame);
  EXPECT_EQ(site.changed_properties().size(), notices);
  EXPECT_TRUE(site.errors().empty());
  site.MoveTo(kInside);  // the button goes on working
  EXPECT_EQ(Painted().back(), 5);
}

TEST_F(ButtonTest, cMouseActionTakesOnlyTheFourStates) {
  for (bool with_picture : {false, true}) {
    if (with_picture) Place(0);
    log.ClearLines();
    for (std::int32_t action : {-1, 4, 7, std::numeric_limits<std::int32_t>::max()}) {
      const ControlStatus status = button->cMouseAction(action, true);
      ASSERT_FALSE(status.ok()) << action;
      EXPECT_EQ(status.error(), SubscriptOutOfRangeError());
    }
    EXPECT_EQ(button->State(), Normal);
    EXPECT_TRUE(log.lines().empty());
  }
  ASSERT_TRUE(button->cMouseAction(Disabled, false));
  ASSERT_TRUE(button->cMouseAction(Disabled, false));  // unchanged: not drawn again
  EXPECT_EQ(Painted(), std::vector<int>{3});
  ASSERT_TRUE(button->cMouseAction(Disabled, true));
  EXPECT_EQ(Painted(), (std::vector<int>{3, 3}));
}

TEST_F(ButtonTest, BackStyleMustFitSixteenBits) {
  EXPECT_EQ(button->SetcBackStyle(32768).error(), OverflowError());
  EXPECT_EQ(button->SetcBackStyle(-32769).error(), OverflowError());
  EXPECT_EQ(button->cBackStyle(), 1);
  EXPECT_TRUE(button->SetcBackStyle(-32768));
  EXPECT_EQ(button->cBackStyle(), -32768);
}

TEST_F(ButtonTest, WindowPropertiesComeFromTheSite) {
  EXPECT_EQ(button->Hwnd(), site.Hwnd());
  EXPECT_NE(button->Hwnd(), 0);
  EXPECT_EQ(button->hdc(), static_cast<std::int32_t>(site.Hdc()));
  const PictureRef image = button->Image();
  EXPECT_EQ(image->PixelWidth(), 514);
  EXPECT_EQ(image->PixelHeight(), 295);
}

}  // namespace
}  // namespace px
