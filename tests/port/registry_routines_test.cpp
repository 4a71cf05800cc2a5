// The general registry readers against the simulated registry.
#include "port/registry_routines.h"

#include <gtest/gtest.h>

#include "platform/sim/registry_sim.h"

namespace px {
namespace {

constexpr TextView kKey = u"SOFTWARE\\Vendor\\App";

std::string Utf16(TextView text, bool terminated) {
  std::string data = sim::StringData(text);
  if (!terminated) data.resize(data.size() - 2);
  return data;
}

struct StringCase {
  const char* name;
  std::uint32_t type;
  std::string data;
  Text expected;
};

class ReadRegistryStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(ReadRegistryStringTest, ReadsOnlyRegSzUpToItsFirstNul) {
  const StringCase& c = GetParam();
  sim::SimRegistry registry(936);
  registry.store().SetValue(kHkeyLocalMachine, kKey, {u"Value", c.type, c.data});
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kKey, u"Value", u"fallback"),
            c.expected);
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadRegistryStringTest,
    ::testing::Values(
        StringCase{"Terminated", kRegSz, Utf16(u"C:\\Drivers", true), u"C:\\Drivers"},
        StringCase{"Unterminated", kRegSz, Utf16(u"C:\\Drivers", false), u"C:\\Drivers"},
        StringCase{"EmbeddedNul", kRegSz, Utf16(std::u16string(u"ab\0cd", 5), true), u"ab"},
        StringCase{"Empty", kRegSz, Utf16(u"", true), u""}, StringCase{"ZeroSize", kRegSz, "", u""},
        StringCase{"Chinese", kRegSz, Utf16(u"打印机驱动", true), u"打印机驱动"},
        StringCase{"ExpandSz", kRegExpandSz, Utf16(u"%SystemRoot%", true), u"fallback"},
        StringCase{"MultiSz", kRegMultiSz, Utf16(u"a", true) + std::string(2, '\0'), u"fallback"},
        StringCase{"Dword", kRegDword, std::string("\x01\0\0\0", 4), u"fallback"},
        StringCase{"Binary", kRegBinary, "abc", u"fallback"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRegistryString, MissingKeyOrValueGivesTheDefault) {
  sim::SimRegistry registry;
  registry.store().SetString(kHkeyLocalMachine, kKey, u"Other", u"x");
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kKey, u"Value", u"d"), u"d");
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, u"SOFTWARE\\None", u"Value", u"d"),
            u"d");
  EXPECT_EQ(ReadRegistryString(registry, 0, kKey, u"Other", u"d"), u"d");
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST(ReadRegistryString, CharactersOutsideTheCodePageComeBackAsQuestionMarks) {
  sim::SimRegistry english(1252);
  english.store().SetString(kHkeyLocalMachine, kKey, u"Value", u"Café 打印");
  EXPECT_EQ(ReadRegistryString(english, kHkeyLocalMachine, kKey, u"Value", u""), u"Café ??");
}

TEST(EnumRegistrySubKeys, ListsSubKeysInTheRegistrysOrder) {
  sim::SimRegistry registry;
  for (TextView name : {u"zeta", u"Alpha", u"beta"}) {
    registry.store().Create(kHkeyLocalMachine, Text(kKey) + u"\\" + Text(name));
  }
  registry.store().Create(kHkeyLocalMachine, Text(kKey) + u"\\beta\\deeper");
  EXPECT_EQ(EnumRegistrySubKeys(registry, kHkeyLocalMachine, kKey),
            (std::vector<Text>{u"Alpha", u"beta", u"zeta"}));
  EXPECT_EQ(EnumRegistrySubKeys(registry, kHkeyLocalMachine, Text(kKey) + u"\\"),
            (std::vector<Text>{u"Alpha", u"beta", u"zeta"}));
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

TEST(EnumRegistrySubKeys, MissingOrEmptyKeyGivesAnEmptyList) {
  sim::SimRegistry registry;
  registry.store().Create(kHkeyLocalMachine, kKey);
  EXPECT_TRUE(EnumRegistrySubKeys(registry, kHkeyLocalMachine, kKey).empty());
  EXPECT_TRUE(EnumRegistrySubKeys(registry, kHkeyLocalMachine, u"SOFTWARE\\None").empty());
  EXPECT_EQ(registry.open_handle_count(), 0u);
}

// The name buffer holds 254 bytes and the NUL: a longer name ends the list at its index.
TEST(EnumRegistrySubKeys, NameThatDoesNotFitEndsTheList) {
  struct Case {
    unsigned code_page;
    Text long_name;
    std::size_t listed;
  };
  const Case cases[] = {
      {936, Text(254, u'k'), 3},   {936, Text(255, u'k'), 1},
      {936, Text(127, u'键'), 3},   // 254 bytes in code page 936
      {936, Text(128, u'键'), 1},   // 256 bytes
      {1252, Text(200, u'键'), 3},  // 200 question marks
  };
  for (const Case& c : cases) {
    sim::SimRegistry registry(c.code_page);
    for (const Text& name : {Text(u"a"), c.long_name, Text(u"龥")}) {
      ASSERT_NE(registry.store().Create(kHkeyLocalMachine, Text(kKey) + u"\\" + name), nullptr);
    }
    const std::vector<Text> list = EnumRegistrySubKeys(registry, kHkeyLocalMachine, kKey);
    EXPECT_EQ(list.size(), c.listed) << c.long_name.size() << " characters, cp " << c.code_page;
    EXPECT_EQ(list.front(), u"a");
    EXPECT_EQ(registry.open_handle_count(), 0u);
  }
}

TEST(EnumRegistrySubKeys, NonAsciiNamesRoundTripThroughTheCodePage) {
  sim::SimRegistry chinese(936);
  chinese.store().Create(kHkeyLocalMachine, Text(kKey) + u"\\打印机");
  EXPECT_EQ(EnumRegistrySubKeys(chinese, kHkeyLocalMachine, kKey), std::vector<Text>{u"打印机"});

  sim::SimRegistry english(1252);
  english.store().Create(kHkeyLocalMachine, Text(kKey) + u"\\打印机");
  EXPECT_EQ(EnumRegistrySubKeys(english, kHkeyLocalMachine, kKey), std::vector<Text>{u"???"});
}

}  // namespace
}  // namespace px
