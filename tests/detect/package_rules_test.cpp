// The driver package against the documented rules, and each rule against a fault planted in a
// copy of the package; and the bytes the printer description makes of a raster block.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "detect/package_rules.h"
#include "platform/sim/gpd_command.h"
#include "platform/sim/gpd_file.h"
#include "platform/sim/machine.h"

namespace px {
namespace {

PackageFiles RealPackage() {
  PackageFiles files;
  for (const auto& entry : std::filesystem::directory_iterator(sim::DefaultPackageDir())) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[entry.path().filename().string()] = bytes.str();
  }
  return files;
}

std::string Joined(const std::vector<std::string>& findings) {
  std::string text;
  for (const std::string& finding : findings) text += finding + "\n";
  return text;
}

TEST(DriverPackage, KeepsTheDocumentedRules) {
  const PackageFiles files = RealPackage();
  ASSERT_TRUE(files.count("PX.inf"));
  const std::vector<std::string> findings = CheckDriverPackage(files);
  EXPECT_TRUE(findings.empty()) << Joined(findings);
}

TEST(DriverPackage, EachPlantedFaultIsFound) {
  const struct {
    const char* file;
    const char* from;  // replaced once in the file
    const char* to;
    const char* finding;
  } faults[] = {
      {"PX.inf", "PnpLockdown=1\r\n", "", "[Version] needs PnpLockdown=1"},
      {"PX.inf", "[PrinterPackageInstallation.arm64]\r\nPackageAware=TRUE",
       "[PrinterPackageInstallation.arm64]\r\nPackageAware=FALSE",
       "[PrinterPackageInstallation.arm64] needs PackageAware=TRUE"},
      {"PX.inf", "CoreDriverDependencies={D20EA372-DD35-4950-9ED8-A6335AFE79F0}\r\n\r\n[Dest",
       "\r\n[Dest", "[PrinterPackageInstallation.arm64] needs CoreDriverDependencies"},
      {"PX.inf",
       "DataFile=PX58.GPD\r\nCoreDriverSections=\"{D20EA372-DD35-4950-9ED8-A6335AFE79F0},"
       "UNIDRV.OEM,UNIDRV_DATA\"",
       "DataFile=PX58.GPD\r\nInclude=NTPRINT.INF\r\nNeeds=UNIDRV.OEM,UNIDRV_DATA\r\n"
       "DataSection=UNIDRV_DATA",
       "[PX58] Needs names the data section UNIDRV_DATA"},
      {"PX.inf", "UNIDRV_DATA\"\r\n\r\n[PX80]",
       "UNIDRV_DATA\"\r\nDataSection=UNIDRV_DATA\r\n\r\n[PX80]",
       "[PX58] DataSection beside CoreDriverSections"},
      {"PX.inf", "DriverIsolation=2\r\nDataFile=PX80.GPD", "DriverIsolation=0\r\nDataFile=PX80.GPD",
       "[PX80] needs DriverIsolation=2"},
      {"PX.inf", "DataFile=PX58.GPD", "DataFile=PX57.GPD",
       "[PX58] names PX57.GPD, which the package does not hold"},
      {"PX.inf", "[PX58_FILES]\r\nPX58.GPD\r\nPXCOMMON.GPD", "[PX58_FILES]\r\nPX58.GPD",
       "[PX58] does not copy PXCOMMON.GPD"},
      {"PX.inf", "PXCOMMON.GPD=1", "", "[SourceDisksFiles] does not list PXCOMMON.GPD"},
      {"PX.inf", "\"NY-80K\" = PX80,", "\"NY-80K\" = PX58,",
       "PX58.GPD starts on the 58 mm roll, but the name of NY-80K"},
      {"PX58.GPD", "*ModelName: \"WL58HUE\"", "*ModelName: \"PX roll-paper printer\"",
       "*ModelName \"PX roll-paper printer\" is no model the INF installs with it"},
      {"PX58.GPD", "*GPDSpecVersion: \"1.0\"\r\n", "*% PX58.GPD\r\n*GPDSpecVersion: \"1.0\"\r\n",
       "PX58.GPD: *GPDSpecVersion must be its first entry"},
      {"PX80.GPD", "ROLL80", "ROLL58", "PX80.GPD starts on the 58 mm roll"},
      {"PXCOMMON.GPD", "*MasterUnits: PAIR(203, 203)\r\n", "", "no *MasterUnits"},
      {"PXCOMMON.GPD", "*OptionID: 513", "*OptionID: 257", "PXCOMMON.GPD:41: *OptionID 257"},
      {"PXCOMMON.GPD",
       "        *Command: CmdSelect\r\n        {\r\n            *Order: DOC_SETUP.13\r\n"
       "            *Cmd: \"\"\r\n        }\r\n",
       "", "option PaperSize.ROLL80 has no CmdSelect"},
      {"PXCOMMON.GPD", "{max_repeat(DestYRel)}", "{DestYRel}",
       "{DestYRel} can reach 2374, beyond the 255"},
      {"PXCOMMON.GPD", "%l{RasterDataHeightInPixels}", "%c{RasterDataHeightInPixels}",
       "{RasterDataHeightInPixels} can reach 32768, beyond the 255"},
      {"PXCOMMON.GPD", "LIST(TRAILING)", "LIST(LEADING, ENCLOSED, TRAILING)",
       "without a command to move in X"},
      {"PXCOMMON.GPD", "*UseSpaceForXMove?: FALSE", "*UseSpaceForXMove?: TRUE",
       "*UseSpaceForXMove? must be FALSE"},
      {"PXCOMMON.GPD", "*EjectPageWithFF?: TRUE", "*EjectPageWithFF?: FALSE",
       "*EjectPageWithFF? must be TRUE"},
      {"PXCOMMON.GPD", "*Command: CmdLF { *Cmd : \"<0A>\" }", "", "no *Command: CmdLF"},
      {"PXCOMMON.GPD", "    *DefaultOption: Mono\r\n", "    *DefaultOption: Mono\r\n{\r\n",
       "PXCOMMON.GPD:113: a { without its closing }"},
      {"PXCOMMON.GPD", "*Order: DOC_FINISH.20\r\n", "*Order: PAGE_FINISH.20\r\n",
       "the cash drawer's ESC p in PAGE_FINISH"},
      {"PXCOMMON.GPD", "<1B>p<016464>", "<1B>p<010064>", "ESC p needs pulse times of 1 to 255"},
      {"PXCOMMON.GPD", "*Order: JOB_FINISH.10\r\n            *Cmd: \"\"",
       "*Order: JOB_FINISH.10\r\n            *Cmd: \"<1D>V<01>\"", "Cutter.NONE sends a cut"},
      {"PXCOMMON.GPD", "*Order: PAGE_FINISH.10", "*Order: DOC_SETUP.23",
       "a cut (GS V) in DOC_SETUP"},
      {"PXCOMMON.GPD", "*Order: JOB_SETUP.1\r\n    *Cmd: ", "*Order: JOB_SETUP.1 *Cmd: ",
       "*Order holds *Cmd: \"<1B>@...: an entry ends at the end of its line"},
      {"PXCOMMON.GPD",
       "*case: PULSE500\r\n            {\r\n                *Command: CmdSelect\r\n",
       "*case: PULSE500\r\n            {\r\n                *Command: CmdX\r\n",
       "option CashDrawer.DRAWER1_BEFORE has no CmdSelect"},
  };
  for (const auto& f : faults) {
    PackageFiles files = RealPackage();
    std::string& text = files.at(f.file);
    const std::size_t at = text.find(f.from);
    ASSERT_NE(at, std::string::npos) << f.file << ": " << f.from;
    text.replace(at, std::string(f.from).size(), f.to);
    const std::string findings = Joined(CheckDriverPackage(files));
    EXPECT_NE(findings.find(f.finding), std::string::npos)
        << "planted: " << f.to << "\nwanted: " << f.finding << "\nfound:\n"
        << findings;
  }
}

TEST(DriverPackage, RollWidthFollowsTheNumbersInTheName) {
  const struct {
    const char* model;
    int width;
  } cases[] = {{"Lunor L58T", 58},   {"VN-57S", 58},  {"KW_80USE", 80},
               {"CORVANE-C80", 80},  {"WL-260W", 58}, {"HQ-82II", 58},
               {"Kelvra K58-2", 58}, {"YK-580", 58},  {"QV1800", 58}};
  for (const auto& c : cases) EXPECT_EQ(RollWidthOfName(c.model), c.width) << c.model;
}

// GS v 0 m xL xH yL yH from the description's own command, for a block as wide as each roll's
// print head: 48 bytes (384 dots) on the 58 mm roll, 72 bytes (576 dots) on the 80 mm one.
TEST(DriverPackage, RasterBlockIsGsV0WithTheRollsWidth) {
  const PackageFiles files = RealPackage();
  const sim::GpdFile gpd =
      sim::GpdFile::Parse(files.at("PXCOMMON.GPD"), "PXCOMMON.GPD",
                          [](const std::string&) { return std::optional<std::string>(""); });
  const sim::GpdEntry* resolution = sim::FindLast(gpd.entries(), "Feature", "Resolution");
  ASSERT_TRUE(resolution);
  const sim::GpdEntry* option = sim::FindLast(resolution->children, "Option");
  ASSERT_TRUE(option);
  const sim::GpdEntry* block = sim::FindLast(option->children, "Command", "CmdSendBlockData");
  ASSERT_TRUE(block && sim::FindLast(block->children, "Cmd"));
  const sim::GpdCommand command =
      sim::GpdCommand::Parse(sim::FindLast(block->children, "Cmd")->value);
  const sim::GpdEntry* paper = sim::FindLast(gpd.entries(), "Feature", "PaperSize");
  ASSERT_TRUE(paper);
  const struct {
    const char* option;
    int dots;
    std::string bytes;  // for 300 rows
  } rolls[] = {{"ROLL58", 384, std::string("\x1D\x76\x30\x00\x30\x00\x2C\x01", 8)},
               {"ROLL80", 576, std::string("\x1D\x76\x30\x00\x48\x00\x2C\x01", 8)}};
  for (const auto& roll : rolls) {
    const sim::GpdEntry* size = sim::FindLast(paper->children, "Option", std::string(roll.option));
    ASSERT_TRUE(size);
    const sim::GpdEntry* area = sim::FindLast(size->children, "PrintableArea");
    ASSERT_TRUE(area);
    EXPECT_EQ(std::atoi(area->value.c_str() + area->value.find('(') + 1), roll.dots);
    const std::int64_t rows = 300;
    const std::vector<std::string> sent = command.Emit(
        {{"NumOfDataBytes", roll.dots / 8 * rows}, {"RasterDataHeightInPixels", rows}});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], roll.bytes) << roll.option;
  }
}

}  // namespace
}  // namespace px
