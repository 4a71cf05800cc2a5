// Printer descriptions read as Unidrv reads them, their command strings as it sends them, and
// the simulated spooler that refuses a model whose description is missing or does not read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/dependent_list.h"
#include "platform/sim/gpd_command.h"
#include "platform/sim/gpd_file.h"
#include "platform/sim/sim_spooler.h"

namespace px::sim {
namespace {

GpdIncludeReader Files(std::map<std::string, std::string> files) {
  return [files](const std::string& name) -> std::optional<std::string> {
    const auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
  };
}

TEST(GpdFile, ReadsEntriesBlocksContinuationsAndIncludes) {
  const char text[] =
      "*GPDSpecVersion: \"1.0\"\r\n"
      "*% a comment\r\n"
      "*Include: \"inc.gpd\"\r\n"
      "*Feature: Resolution *% the only one\r\n"
      "{\r\n"
      "    *Option: DPI203 { *Name: \"203 dpi\"\r\n"
      "        EXTERN_GLOBAL: *StripBlanks: LIST(TRAILING,\r\n"
      "+ LEADING)\r\n"
      "        *Command: CmdYMoveRelDown { *Cmd : \"<1B>J\" %c[0,255]{DestYRel} }\r\n"
      "    }\r\n"
      "*IgnoreBlock\r\n"
      "{\r\n"
      "    *Option: Hidden { *Name: \"x\" }\r\n"
      "}\r\n"
      "}\r\n";
  const GpdFile gpd =
      GpdFile::Parse(text, "t.gpd", Files({{"inc.gpd", "*MasterUnits: PAIR(1, 2)"}}));
  ASSERT_EQ(gpd.entries().size(), 3u);
  EXPECT_EQ(gpd.entries()[1].keyword, "MasterUnits");
  EXPECT_EQ(gpd.entries()[1].Where(), "inc.gpd:1: ");
  EXPECT_EQ(gpd.includes(), std::vector<std::string>{"inc.gpd"});
  const GpdEntry& feature = gpd.entries()[2];
  EXPECT_EQ(feature.value, "Resolution");
  ASSERT_EQ(feature.children.size(), 1u);  // the ignored block is gone
  const GpdEntry& option = feature.children[0];
  ASSERT_EQ(option.children.size(), 3u);
  EXPECT_EQ(option.children[1].keyword, "StripBlanks");
  EXPECT_EQ(option.children[1].value, "LIST(TRAILING,  LEADING)");
  const GpdEntry* cmd = FindLast(option.children[2].children, "Cmd");
  ASSERT_TRUE(cmd);
  EXPECT_EQ(cmd->value, "\"<1B>J\" %c[0,255]{DestYRel}");
  EXPECT_EQ(cmd->line, 9);
}

TEST(GpdFile, RejectsTextThatIsNoDescriptionNamingTheLine) {
  const std::map<std::string, std::string> files = {
      {"open.gpd", "*A: 1\r\n*F: X\r\n{\r\n"},
      {"self.gpd", "*Include: \"self.gpd\"\r\n"},
  };
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"*A: 1\n*B: 2\n*F: X\n{\n*G: Y {\n}\n", "t.gpd:4: a { without its closing }"},
      {"*A: 1\n}\n", "t.gpd:2: a } without its {"},
      {"{\n}\n", "t.gpd:1: a { without an entry before it"},
      {"*A: 1\n*ModelName:\n", "t.gpd:2: an entry without a value: *ModelName"},
      {"*A: 1\n*F: X { *Cmd: }\n", "t.gpd:2: an entry without a value: *Cmd"},
      {"*IgnoreBlock\n*A: 1\n", "t.gpd:1: an entry without a value: *IgnoreBlock"},
      {"*A: 1\n*Name: \"open\n", "t.gpd:2: a quoted text without its closing quote"},
      {"*A: 1\nsome words\n", "t.gpd:2: unexpected text: some words"},
      {"*Include: \"missing.gpd\"\n", "t.gpd:1: the included file missing.gpd is missing"},
      {"*Include: \"..\\x.gpd\"\n", "t.gpd:1: *Include names a file with a path: ..\\x.gpd"},
      {"*Include: \"open.gpd\"\n", "open.gpd:3: a { without its closing }"},
      {"*Include: \"self.gpd\"\n", "self.gpd:1: includes nested deeper than 8 files"},
  };
  for (const auto& c : cases) {
    try {
      GpdFile::Parse(c.text, "t.gpd", Files(files));
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const MachineError& error) {
      EXPECT_EQ(std::string(error.what()), c.error) << c.text;
    }
  }
}

TEST(GpdCommand, SendsTheBytesAndRepeatsWhatMaxRepeatSplits) {
  const struct {
    const char* command;
    std::map<std::string, std::int64_t> variables;
    std::vector<std::string> sent;
  } cases[] = {
      {"\"<1B>[\" %d[0,9600]{max_repeat((DestXRel/4))} \"a\"",
       {{"DestXRel", 80000}},
       {"\x1B[9600a", "\x1B[9600a", "\x1B[800a"}},
      {"\"<1B>J\" %c[0,255]{max_repeat(DestYRel)}",
       {{"DestYRel", 600}},
       {"\x1BJ\xFF", "\x1BJ\xFF", "\x1BJZ"}},
      {"\"<1B>J\" %c[0,255]{max_repeat(DestYRel)}", {{"DestYRel", 30}}, {"\x1BJ\x1E"}},
      {"\"<1B>J\" %c[0,255]{DestYRel}", {{"DestYRel", 600}}, {"\x1BJ\xFF"}},  // held to its range
      {"\"<1D>v0<00>\" %l{(NumOfDataBytes / RasterDataHeightInPixels)} "
       "%m{RasterDataHeightInPixels}",
       {{"NumOfDataBytes", 72 * 300}, {"RasterDataHeightInPixels", 300}},
       {std::string("\x1Dv0\x00\x48\x00\x01\x2C", 8)}},
      {"\"<1D 56 42 00>50%%\" %D{x - 7 MOD 4} %d{max(x, 9) * 2 + min(x, 1)}",
       {{"x", 5}},
       {std::string("\x1DV\x42\x00", 4) + "50%+2" + "19"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GpdCommand::Parse(c.command).Emit(c.variables), c.sent) << c.command;
  }
}

TEST(GpdCommand, RefusesWhatUnidrvRefuses) {
  const char* const unparsable[] = {
      "\"a\" %c[0,255]{max_repeat(x)} %c{y}",  // max_repeat beside another argument
      "%c{max_repeat(x)}",                     // max_repeat without a range
      "%q{x}",
      "\"50%\"",
      "\"<1B 4>\"",
      "\"<1G>\"",
      "%d[5,1]{x}",
      "%d{x",
      "%d{(x}",
      "plain",
  };
  for (const char* command : unparsable) {
    EXPECT_THROW(GpdCommand::Parse(command), MachineError) << command;
  }
  EXPECT_THROW(GpdCommand::Parse("%d{x / y}").Emit({{"x", 1}, {"y", 0}}), MachineError);
  EXPECT_THROW(GpdCommand::Parse("%d{x}").Emit({}), MachineError);
  EXPECT_THROW(GpdCommand::Parse("%d[0,1]{max_repeat(x)}").Emit({{"x", 1'000'000'000}}),
               MachineError);
}

TEST(GpdCommand, UpperBoundsFollowTheVariablesRanges) {
  const std::map<std::string, VariableRange> ranges = {
      {"DestYRel", {0, 2374}}, {"NumOfDataBytes", {0, 32768}}, {"Rows", {1, 32768}}};
  EXPECT_EQ(UpperBound("DestYRel", ranges), 2374);
  EXPECT_EQ(UpperBound("(NumOfDataBytes / Rows)", ranges), 32768);
  EXPECT_EQ(UpperBound("DestYRel MOD 255", ranges), 254);
  EXPECT_EQ(UpperBound("min(DestYRel, 100) - -3", ranges), 103);
  EXPECT_EQ(UpperBound("DestYRel * 2 / 4", ranges), 1187);
  EXPECT_EQ(UpperBound("Unknown", ranges), std::nullopt);
  EXPECT_EQ(UpperBound("DestYRel / (Rows - 1)", ranges), std::nullopt);  // may divide by 0
}

class SpoolerDriverData : public ::testing::Test {
 protected:
  SpoolerDriverData() {
    std::filesystem::remove_all(dir_);
    std::filesystem::copy(DefaultPackageDir(), dir_);
    machine.program_folder = u"C:\\PX";
    machine.package_dir = dir_;
    machine.ports = {u"USB001"};
  }
  ~SpoolerDriverData() override { std::filesystem::remove_all(dir_); }

  // The spooler's error for installing the model, or "" when it installed it.
  std::string Install(const char16_t* model) {
    SimSystem system(machine);
    SimSpooler spooler(machine, system);
    spooler.Run(
        u"rundll32 printui.dll,PrintUIEntry /if /b P /f C:\\PX\\PX\\PX.inf /r USB001 /m \"" +
        Text(model) + u"\"");
    EXPECT_EQ(spooler.PrinterExists(u"P", u"USB001"), spooler.errors().empty());
    return spooler.errors().empty() ? "" : spooler.errors()[0];
  }
  void Write(const char* file, const std::string& bytes) {
    std::ofstream(dir_ / file, std::ios::binary) << bytes;
  }

  const std::filesystem::path dir_ = std::filesystem::temp_directory_path() / "px-driver-data";
  Machine machine;
};

TEST_F(SpoolerDriverData, InstallsOnlyAModelWhoseDescriptionReads) {
  EXPECT_EQ(Install(u"NY-80K"), "");
  EXPECT_EQ(Install(u"Lunor L58T"), "");

  std::filesystem::remove(dir_ / "PX58.GPD");
  EXPECT_EQ(Install(u"Lunor L58T"),
            "PrintUIEntry: the system cannot find the file specified: PX58.GPD (the data file "
            "of Lunor L58T)");
  EXPECT_EQ(Install(u"NY-80K"), "");  // the other description still reads

  Write("PX58.GPD", "*GPDSpecVersion: \"1.0\"\r\n*ModelName:\r\n");
  EXPECT_EQ(Install(u"Lunor L58T"),
            "PrintUIEntry: the printer driver's data file does not parse: PX58.GPD:2: an entry "
            "without a value: *ModelName");

  Write("PXCOMMON.GPD", "*Feature: PaperSize\r\n{\r\n");
  EXPECT_EQ(Install(u"NY-80K"),
            "PrintUIEntry: the printer driver's data file does not parse: PXCOMMON.GPD:2: a { "
            "without its closing }");
}

}  // namespace
}  // namespace px::sim
