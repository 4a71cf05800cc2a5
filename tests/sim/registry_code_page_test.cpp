// Conversions between UTF-16 and the ANSI code pages of the simulated machines.
#include "platform/sim/registry_code_page.h"

#include <gtest/gtest.h>

#include "platform/sim/dependent_list.h"

namespace px::sim {
namespace {

struct Conversion {
  unsigned code_page;
  Text text;
  std::string bytes;
};

class CodePageRoundTrip : public ::testing::TestWithParam<Conversion> {};

TEST_P(CodePageRoundTrip, EncodesAndDecodes) {
  const CodePage page(GetParam().code_page);
  EXPECT_EQ(page.Encode(GetParam().text), GetParam().bytes);
  EXPECT_EQ(page.Decode(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CodePageRoundTrip,
    ::testing::Values(Conversion{936, u"USB#VID_1A86", "USB#VID_1A86"},
                      Conversion{936, u"打印机", "\xB4\xF2\xD3\xA1\xBB\xFA"},
                      Conversion{936, u"€", "\x80"},
                      // A trail byte of 0x5C is no separator: "\" comes only from ASCII.
                      Conversion{936, u"乗\\", "\x81\x5C\x5C"},
                      Conversion{936, Text(u"a\0b", 3), std::string("a\0b", 3)},
                      Conversion{1252, u"Café", "Caf\xE9"},
                      Conversion{1252, u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ",
                                 "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92"
                                 "\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
                      Conversion{1252, u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
                      Conversion{1252, u"\u00A0ÿ", "\xA0\xFF"}),
    [](const auto& info) {
      return "cp" + std::to_string(info.param.code_page) + "_" + std::to_string(info.index);
    });

TEST(CodePage, CharactersThePageLacksBecomeQuestionMarks) {
  struct Case {
    unsigned code_page;
    Text text;
    std::string bytes;
  };
  const Case cases[] = {
      {1252, u"打印", "??"},
      {1252, u"Ā", "?"},                    // no best fit to "A"
      {1252, u"\u0080", "?"},               // a C1 control that 1252 has no byte for
      {936, u"😀x", "?x"},                   // a surrogate pair is one character
      {936, Text(1, 0xD800) + u"x", "?x"},  // an unpaired surrogate
      {1252, Text(1, 0xDC00), "?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodePage(c.code_page).Encode(c.text), c.bytes) << c.code_page;
  }
}

TEST(CodePage, BytesThatAreNoCharacterDecodeAsQuestionMarks) {
  const CodePage chinese(936);
  EXPECT_EQ(chinese.Decode("\xFF"
                           "a"),
            u"?a");
  EXPECT_EQ(chinese.Decode("a\xB4"), u"a?");  // a lead byte at the end
}

TEST(CodePage, UnknownCodePageIsAMachineError) { EXPECT_THROW(CodePage(4242), MachineError); }

}  // namespace
}  // namespace px::sim
