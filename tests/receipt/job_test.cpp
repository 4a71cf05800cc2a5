// The driver's job against the printer: with the default preferences each model's description
// sends exactly the bytes the package always sent, and each preference adds its own bytes in
// its own place, which the virtual printer turns into a drawer kick or a cut.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/sim/gpd_file.h"
#include "platform/sim/machine.h"
#include "receipt/escpos_printer.h"
#include "receipt/job_composer.h"

namespace px::receipt {
namespace {

using namespace std::string_literals;

std::optional<std::string> PackageFile(const std::string& name) {
  std::ifstream in(sim::DefaultPackageDir() / name, std::ios::binary);
  if (!in) return name == "StdNames.gpd" ? std::optional<std::string>("") : std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

sim::GpdFile Description(const std::string& name) {
  return sim::GpdFile::Parse(*PackageFile(name), name, PackageFile);
}

// 300 blank rows, then two rows black across the whole printable width.
Page TwoBlackRows(int width) {
  Page page;
  page.width = width;
  page.rows.assign(300, std::vector<std::uint8_t>(static_cast<std::size_t>(width), 0));
  page.rows.resize(302, std::vector<std::uint8_t>(static_cast<std::size_t>(width), 1));
  return page;
}

// ESC @ GS P 203 203 for the job and again for the document, ESC J 255 and 45 down the blank
// rows, the rows as one GS v 0 block, and GS V 66 0 at the end.
const std::string kSetup = "\x1B@\x1DP\xCB\xCB\x1B@\x1DP\xCB\xCB\x1BJ\xFF\x1BJ\x2D"s;
const std::string kCut = "\x1DVB\x00"s;
std::string Block(int bytes_across) {
  return "\x1Dv0\x00"s + static_cast<char>(bytes_across) + "\x00\x02\x00"s +
         std::string(static_cast<std::size_t>(bytes_across) * 2, '\xFF');
}

TEST(ReceiptJob, DefaultsSendWhatThePackageAlwaysSent) {
  const struct {
    const char* gpd;
    int paper_mm;
    int head_dots;
  } models[] = {{"PX58.GPD", 58, 384}, {"PX80.GPD", 80, 576}};
  for (const auto& model : models) {
    SCOPED_TRACE(model.gpd);
    const JobComposer composer(Description(model.gpd));
    ASSERT_EQ(composer.printable_width(), model.head_dots);
    const std::string bytes = composer.Compose(TwoBlackRows(model.head_dots));
    EXPECT_EQ(bytes, kSetup + Block(model.head_dots / 8) + kCut);
    const Receipt receipt = Interpret(bytes, RollOf(model.paper_mm));
    EXPECT_EQ(receipt.roll.paper_dots, model.paper_mm == 58 ? 464 : 640);
    ASSERT_EQ(receipt.rows.size(), 2u);
    const std::vector<std::uint8_t>& row = receipt.rows.at(300);
    EXPECT_EQ(std::count(row.begin(), row.end(), 1), model.head_dots);
    ASSERT_EQ(receipt.cuts.size(), 1u);
    EXPECT_EQ(receipt.cuts[0].y, 302);  // right below the last row
    EXPECT_FALSE(receipt.cuts[0].full);
  }
}

TEST(ReceiptJob, EachPreferenceAddsItsBytesWhereItActs) {
  const struct {
    std::vector<std::pair<const char*, const char*>> settings;
    std::string before;  // after the setup, before the page
    std::string after;   // after the page
    std::string cut;     // the job's last bytes
    const char* cuts;    // "P302": partial at dot row 302; "" for none
    int kick_drawer;     // 0: no kick
    int kick_ms;
    int kick_y;
  } cases[] = {
      {{{"CashDrawer", "DRAWER1_BEFORE"}}, "\x1Bp\x00\x64\x64"s, "", kCut, "P302", 1, 200, 0},
      {{{"CashDrawer", "DRAWER2_AFTER"}, {"DrawerPulse", "PULSE500"}},
       "",
       "\x1Bp\x01\xFA\xFA"s,
       kCut,
       "P302",
       2,
       500,
       302},
      {{{"CashDrawer", "DRAWER1_AFTER"}, {"DrawerPulse", "PULSE100"}},
       "",
       "\x1Bp\x00\x32\x32"s,
       kCut,
       "P302",
       1,
       100,
       302},
      {{{"Cutter", "FULL_JOB"}}, "", "", "\x1DVA\x00"s, "F302", 0, 0, 0},
      {{{"Cutter", "NONE"}, {"CutFeed", "FEED10"}}, "", "", "", "", 0, 0, 0},
      {{{"CutFeed", "FEED10"}}, "", "", "\x1BJ\x50\x1DV\x01"s, "P342", 0, 0, 0},
      // No feed: the cutter, 5 mm above the head, cuts through the last 5 mm printed.
      {{{"CutFeed", "FEED0"}}, "", "", "\x1DV\x01"s, "P262", 0, 0, 0},
      {{{"Cutter", "FULL_PAGE"}, {"CutFeed", "FEED3"}},
       "",
       "",
       "\x1BJ\x18\x1DV\x00"s,
       "F286",
       0,
       0,
       0},
  };
  const sim::GpdFile gpd = Description("PX58.GPD");
  for (const auto& c : cases) {
    JobComposer composer(gpd);
    std::string named;
    for (const auto& [feature, option] : c.settings) {
      composer.Select(feature, option);
      named += std::string(feature) + "=" + option + " ";
    }
    SCOPED_TRACE(named);
    const std::string bytes = composer.Compose(TwoBlackRows(384));
    EXPECT_EQ(bytes,
              kSetup.substr(0, 12) + c.before + kSetup.substr(12) + Block(48) + c.after + c.cut);
    const Receipt receipt = Interpret(bytes, RollOf(58));
    std::string cuts;
    for (const Cut& cut : receipt.cuts) cuts += (cut.full ? "F" : "P") + std::to_string(cut.y);
    EXPECT_EQ(cuts, c.cuts);
    ASSERT_EQ(receipt.kicks.size(), c.kick_drawer ? 1u : 0u);
    if (!c.kick_drawer) continue;
    EXPECT_EQ(receipt.kicks[0].drawer, c.kick_drawer);
    EXPECT_EQ(receipt.kicks[0].pin, c.kick_drawer == 1 ? 2 : 5);
    EXPECT_EQ(receipt.kicks[0].on_ms, c.kick_ms);
    EXPECT_EQ(receipt.kicks[0].y, c.kick_y);
  }
}

TEST(ReceiptJob, ABadChoiceOrPageIsNamed) {
  JobComposer composer(Description("PX80.GPD"));
  EXPECT_THROW(composer.Select("Cutter", "HALF"), std::invalid_argument);
  EXPECT_THROW(composer.Select("Stapler", "ON"), std::invalid_argument);
  EXPECT_THROW(composer.Compose(TwoBlackRows(577)), std::invalid_argument);
}

}  // namespace
}  // namespace px::receipt
