// The virtual printer against hand-written bytes: what each command does to the paper, and that
// each kind of bad data is refused at the offset of its command.
#include "receipt/escpos_printer.h"

#include <gtest/gtest.h>

namespace px::receipt {
namespace {

// "P100 F60" for a partial cut at dot row 100 and a full one at row 60.
std::string Cuts(const Receipt& receipt) {
  std::string text;
  for (const Cut& cut : receipt.cuts)
    text += (text.empty() ? "" : " ") + std::string(cut.full ? "F" : "P") + std::to_string(cut.y);
  return text;
}

// "2:5:100/100@0": drawer, pin, on and off time in ms, and the dot row.
std::string Kicks(const Receipt& receipt) {
  std::string text;
  for (const DrawerKick& k : receipt.kicks) {
    text += (text.empty() ? "" : " ") + std::to_string(k.drawer) + ":" + std::to_string(k.pin) +
            ":" + std::to_string(k.on_ms) + "/" + std::to_string(k.off_ms) + "@" +
            std::to_string(k.y);
  }
  return text;
}

// "0,0 1,7" for the printed dots (row,column).
std::string Dots(const Receipt& receipt) {
  std::string text;
  for (const auto& [y, row] : receipt.rows) {
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (row[x]) text += (text.empty() ? "" : " ") + std::to_string(y) + "," + std::to_string(x);
    }
  }
  return text;
}

TEST(EscPosPrinter, EachCommandAndEachRefusal) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::string bytes;
    int length;  // dot rows fed; -1 where the bytes are refused
    const char* cuts;
    const char* kicks;
    const char* dots;
    const char* error;  // with its offset, where refused
  } cases[] = {
      {"ESC @", "\x1B@"s, 0, "", "", "", nullptr},
      {"ESC J in the default 1/360 inch", "\x1BJ\x24"s, 20, "", "", "", nullptr},
      {"GS P 203 203, then ESC J in dots", "\x1DP\xCB\xCB\x1BJ\x28"s, 40, "", "", "", nullptr},
      {"ESC @ restores the default units", "\x1DP\xCB\xCB\x1B@\x1BJ\x24"s, 20, "", "", "", nullptr},
      {"LF feeds a line", "\n"s, 34, "", "", "", nullptr},
      {"CR feeds nothing", "\r"s, 0, "", "", "", nullptr},
      {"GS v 0: one byte across, two rows", "\x1Dv0\x00\x01\x00\x02\x00\x80\x01"s, 2, "", "",
       "0,0 1,7", nullptr},
      {"GS v 0 3: doubled both ways", "\x1Dv0\x03\x01\x00\x01\x00\x80"s, 2, "", "",
       "0,0 0,1 1,0 1,1", nullptr},
      {"GS V 66 0 feeds to the cutter", "\x1DP\xCB\xCB\x1BJ\x64\x1DVB\x00"s, 140, "P100", "", "",
       nullptr},
      {"GS V 65 8 feeds 8 more", "\x1DP\xCB\xCB\x1BJ\x64\x1DV\x41\x08"s, 148, "F108", "", "",
       nullptr},
      {"GS V 0 cuts where the paper stands", "\x1DP\xCB\xCB\x1BJ\x64\x1DV\x00"s, 100, "F60", "", "",
       nullptr},
      {"GS V 49 cuts partly", "\x1DP\xCB\xCB\x1BJ\x64\x1DV\x31"s, 100, "P60", "", "", nullptr},
      {"ESC p 1: drawer 2, off time at least the on time", "\x1Bp\x01\x32\x10"s, 0, "",
       "2:5:100/100@0", "", nullptr},
      {"ESC p 48", "\x1BJ\x24\x1Bp\x30\x64\xC8"s, 20, "", "1:2:200/400@20", "", nullptr},
      {"an unknown byte", "\x1B@\x07"s, -1, "", "", "", "offset 2: byte 0x07"},
      {"an ESC these printers do not honour", "\x1B@\x1B!\x00"s, -1, "", "", "",
       "offset 2: ESC 0x21"},
      {"an unknown GS", "\x1D("s, -1, "", "", "", "offset 0: GS 0x28"},
      {"a raster block wider than the head", "\x1Dv0\x00\x31\x00\x01\x00"s + std::string(49, 'x'),
       -1, "", "", "",
       "offset 0: GS v 0 raster block 392 dots wide, wider than the print head's 384"},
      {"doubled past the head", "\x1Dv0\x01\x19\x00\x01\x00"s + std::string(25, 'x'), -1, "", "",
       "", "400 dots wide"},
      {"a raster block past the data", "\x1B@\x1Dv0\x00\x01\x00\x03\x00\xFF"s, -1, "", "", "",
       "offset 2: GS v 0 raster block of 3 bytes runs past the data"},
      {"GS v 0 of no size", "\x1Dv0\x04\x01\x00\x01\x00\xFF"s, -1, "", "", "", "no such size"},
      {"GS v without 0", "\x1Dv1"s, -1, "", "", "", "GS v is followed by no 0"},
      {"GS V cut short", "\x1DV"s, -1, "", "", "", "offset 0: GS V cut short"},
      {"GS V 66 cut short", "\x1DVB"s, -1, "", "", "", "offset 0: GS V cut short"},
      {"ESC J cut short", "\n\x1BJ"s, -1, "", "", "", "offset 1: ESC J cut short"},
      {"ESC p cut short", "\x1Bp\x00\x32"s, -1, "", "", "", "ESC p cut short"},
      {"GS V of a cut these printers lack", "\x1DV\x61\x00"s, -1, "", "", "", "GS V 97: no cut"},
      {"ESC p of no connector", "\x1Bp\x02\x32\x32"s, -1, "", "", "", "no drawer connector"},
      {"more paper than a roll",
       "\x1DP\xCB\xCB"s +
           [] {
             std::string feeds;
             for (int i = 0; i < 3200; ++i) feeds += "\x1BJ\xFF";
             return feeds;
           }(),
       -1, "", "", "", "more paper than a roll holds"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.error) {
      try {
        Interpret(c.bytes, RollOf(58));
        ADD_FAILURE() << "accepted";
      } catch (const EscPosError& error) {
        EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
      }
      continue;
    }
    const Receipt receipt = Interpret(c.bytes, RollOf(58));
    EXPECT_EQ(receipt.length, c.length);
    EXPECT_EQ(Cuts(receipt), c.cuts);
    EXPECT_EQ(Kicks(receipt), c.kicks);
    EXPECT_EQ(Dots(receipt), c.dots);
  }
}

TEST(EscPosPrinter, RefusalKeepsTheLinesOfTheCommandsBefore) {
  try {
    Interpret(std::string("\x1B@\x1BJ\x10\x07", 6), RollOf(80));
    FAIL() << "accepted";
  } catch (const EscPosError& error) {
    EXPECT_EQ(error.offset(), 5u);
    ASSERT_EQ(error.log().size(), 2u);
    EXPECT_EQ(error.log()[1].rfind("@2 ESC J 16", 0), 0u) << error.log()[1];
  }
}

}  // namespace
}  // namespace px::receipt
