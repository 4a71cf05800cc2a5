// The simulated spooler: command lines split as Windows splits them, INF files read as setup
// reads them, and installations that fail where Windows fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/utf.h"
#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/sim_spooler.h"

namespace px::sim {
namespace {

TEST(SplitCommandLine, FollowsTheWindowsQuotingRules) {
  const struct {
    const char16_t* line;
    std::vector<Text> args;
  } cases[] = {
      {u"a  b\tc", {u"a", u"b", u"c"}},
      {u"/b \"Lunor L58T\" /f C:\\PX\\PX.inf", {u"/b", u"Lunor L58T", u"/f", u"C:\\PX\\PX.inf"}},
      {u"\"C:\\Program Files\\PX\\PX.inf\"", {u"C:\\Program Files\\PX\\PX.inf"}},
      {u"a\\\\\"b c\" d", {u"a\\b c", u"d"}},
      {u"a\\\"b", {u"a\"b"}},
      {u"\"\" x", {u"", u"x"}},
      {u"\"a\"\"b\"", {u"a\"b"}},
      {u"", {}},
      {u"\"open", {u"open"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << ToUtf8(c.line);
}

const char kInf[] =
    "; sample\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "[Manufacturer]\r\n%Mfg%=PX,NTx86,NTamd64\r\n"
    "[PX.NTx86]\r\n\"A 58\" = GPD, USBPRINT\\A ; a comment\r\n"
    "[px.ntamd64]\r\n\"A 58\" = GPD, USBPRINT\\A\r\n%B% = GPD, \\\r\n USBPRINT\\B\r\n"
    "[Strings]\r\nMfg=\"PX\"\r\nB=\"B;80\"\r\n";

TEST(InfFile, ModelsOfEachArchitecture) {
  const InfFile inf = InfFile::Parse(kInf, "t.inf");
  EXPECT_EQ(inf.Models({Architecture::kX86, {}}), (std::set<Text>{u"A 58"}));
  EXPECT_EQ(inf.Models({Architecture::kAmd64, {}}), (std::set<Text>{u"A 58", u"B;80"}));
  EXPECT_TRUE(inf.Models({Architecture::kArm64, {}}).empty());
  ASSERT_EQ(inf.Section(u"version").size(), 2u);
  EXPECT_EQ(inf.Section(u"Version")[0].values, std::vector<Text>{u"$Windows NT$"});
  EXPECT_THROW(InfFile::Parse("x=1\n", "t.inf"), MachineError);
  EXPECT_THROW(InfFile::Parse("[Version\n", "t.inf"), MachineError);
}

constexpr WindowsVersion kWindows7{6, 1, 7601};
constexpr WindowsVersion kWindows10v1511{10, 0, 10586};
constexpr WindowsVersion kWindows10v1803{10, 0, 17134};
constexpr WindowsVersion kWindows11{10, 0, 22631};

TEST(InfFile, ChoosesTheModelsSectionAsWindowsDoes) {
  constexpr auto x86 = Architecture::kX86;
  constexpr auto x64 = Architecture::kAmd64;
  constexpr auto arm64 = Architecture::kArm64;
  const struct {
    std::vector<Text> decorations;
    InfTarget target;
    const char16_t* chosen;  // nullptr: no section applies
  } cases[] = {
      {{u"NTx86", u"NTamd64", u"NTarm64"}, {x86, kWindows11}, u"M.NTx86"},
      {{u"NTx86", u"NTamd64", u"NTarm64"}, {x64, kWindows11}, u"M.NTamd64"},
      {{u"ntARM64"}, {arm64, kWindows11}, u"M.ntARM64"},
      // Only x86 falls back to the undecorated section, and a bare NT is x86's too.
      {{u"NTx86", u"NTamd64"}, {arm64, kWindows11}, nullptr},
      {{}, {x86, kWindows11}, u"M"},
      {{}, {x64, kWindows11}, nullptr},
      {{u"NTamd64"}, {x86, kWindows11}, u"M"},
      {{u"NT"}, {x64, kWindows11}, nullptr},
      {{u"NTia64", u"NTarm"}, {arm64, kWindows11}, nullptr},
      // The highest version that is not above Windows' own.
      {{u"NTamd64.6.1", u"NTamd64.10.0...14310"}, {x64, kWindows11}, u"M.NTamd64.10.0...14310"},
      {{u"NTamd64.6.1", u"NTamd64.10.0...14310"}, {x64, kWindows10v1511}, u"M.NTamd64.6.1"},
      {{u"NTamd64.6.1", u"NTamd64.10.0...14310"}, {x64, {6, 0, 6002}}, nullptr},
      {{u"NTamd64.10.0...17763", u"NTamd64.10.0"}, {x64, kWindows10v1803}, u"M.NTamd64.10.0"},
      {{u"NTamd64.10.0...17763", u"NTamd64"}, {x64, kWindows11}, u"M.NTamd64.10.0...17763"},
      {{u"NT.6.0", u"NTx86.5.1"}, {x86, {6, 0, 6002}}, u"M.NT.6.0"},
      {{u"NT.6.0", u"NTx86.5.1"}, {x86, {5, 1, 2600}}, u"M.NTx86.5.1"},
      // On equal versions the named architecture, then a named product type, is more specific.
      {{u"NT", u"NTx86"}, {x86, kWindows7}, u"M.NTx86"},
      {{u"NTamd64.6.1", u"NTamd64.6.1.1"}, {x64, kWindows7}, u"M.NTamd64.6.1.1"},
      // A server-only or data-centre-only section is not for a desktop PC.
      {{u"NTamd64...3"}, {x64, kWindows11}, nullptr},
      {{u"NTamd64....0x80", u"NTamd64....0x100"}, {x64, kWindows11}, u"M.NTamd64....0x100"},
      // Decorations Windows cannot read apply nowhere.
      {{u"NTamd64.10.x", u"NTamd64.10.0.1.0.19041.7", u"Win95"}, {x64, kWindows11}, nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<Text> chosen = ChooseModelsSection(u"M", c.decorations, c.target);
    std::string what;
    for (const Text& d : c.decorations) what += ToUtf8(d) + " ";
    what += "on " + std::to_string(static_cast<int>(c.target.architecture)) + " " +
            std::to_string(c.target.version.build);
    if (c.chosen) {
      EXPECT_EQ(chosen, Text(c.chosen)) << what;
    } else {
      EXPECT_EQ(chosen, std::nullopt) << what;
    }
  }
}

// Shapes of [Manufacturer] from vendors' printer packages.
TEST(InfFile, VendorPackagesOfferTheirModelsPerWindows) {
  const char kVersioned[] =
      "[Manufacturer]\r\n"
      "%Acme% = Acme, NTamd64.6.1, NTamd64.10.0...14310, NTarm64.10.0...16299\r\n"
      "%Zeta% = Zeta\r\n"
      "[Acme.NTamd64.6.1]\r\n\"Acme T-1\" = T1, USBPRINT\\AcmeT-1\r\n"
      "[Acme.NTamd64.10.0...14310]\r\n\"Acme T-1\" = T1, USBPRINT\\AcmeT-1\r\n"
      "\"Acme T-2\" = T1, USBPRINT\\AcmeT-2\r\n"
      "[Acme.NTarm64.10.0...16299]\r\n\"Acme T-2\" = T1, USBPRINT\\AcmeT-2\r\n"
      "[Zeta]\r\n\"Zeta 58\" = Z, USBPRINT\\Zeta58\r\n"
      "[Strings]\r\nAcme = \"Acme\"\r\nZeta = \"Zeta\"\r\n";
  const InfFile inf = InfFile::Parse(kVersioned, "acme.inf");
  const struct {
    InfTarget target;
    std::set<Text> models;
  } cases[] = {
      {{Architecture::kAmd64, kWindows11}, {u"Acme T-1", u"Acme T-2"}},
      {{Architecture::kAmd64, kWindows7}, {u"Acme T-1"}},
      {{Architecture::kArm64, kWindows11}, {u"Acme T-2"}},
      // x86 takes the undecorated sections: [Acme] is missing, [Zeta] is there.
      {{Architecture::kX86, kWindows11}, {u"Zeta 58"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inf.Models(c.target), c.models) << static_cast<int>(c.target.architecture);
  }
}

class Spooler : public ::testing::Test {
 protected:
  Spooler() {
    machine.program_folder = u"C:\\PX";
    machine.package_dir = DefaultPackageDir();
    machine.ports = {u"LPT1:", u"USB001"};
  }
  Machine machine;
};

TEST_F(Spooler, InstallsAModelOfThePackageOnAKnownPort) {
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  const auto outcome = spooler.Run(
      u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\PX\\PX\\PX.inf /r usb001 "
      u"/m \"Lunor L58T\"");
  EXPECT_EQ(outcome.exit_code, 0u);
  EXPECT_TRUE(spooler.errors().empty());
  EXPECT_TRUE(spooler.PrinterExists(u"Lunor L58T", u"USB001"));
  EXPECT_FALSE(spooler.PrinterExists(u"Lunor L58T", u"LPT1:"));
  // The spooler, like OpenPrinter, takes a queue's name in any letter case.
  EXPECT_TRUE(spooler.PrinterExists(u"lunor l58t", u"USB001"));
}

TEST_F(Spooler, FailsWhereWindowsFails) {
  const struct {
    const char16_t* line;
    const char* error;
  } cases[] = {
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"X\" /f C:\\PX\\Other\\PX.inf /r USB001 /m "
       u"\"X\"",
       "the system cannot find the file specified"},
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"NoSuch\" /f C:\\PX\\PX\\PX.inf /r USB001 /m "
       u"\"NoSuch\"",
       "the specified printer driver is unknown: NoSuch"},
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\PX\\PX\\PX.inf /r USB002 "
       u"/m "
       u"\"Lunor L58T\"",
       "the specified port is unknown: USB002"},
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\PX\\PX\\PX.inf /r USB001 "
       u"/m \"Lunor L58T\" /W",
       "the arguments are invalid: /W"},
      {u"rundll32 printui.dll,PrintUIEntry /dl /n \"Lunor L58T\" /q",
       "/dl is not carried out on the simulated machine"},
      {u"rundll32 printui.dll,PrintUIEntry @C:\\PX\\PX\\args.txt",
       "the system cannot find the file specified: C:\\PX\\PX\\args.txt"},
      // An unquoted folder with blanks splits the INF path into two arguments.
      {u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\My PX\\PX\\PX.inf /r "
       u"USB001 "
       u"/m \"Lunor L58T\"",
       "the arguments are invalid"},
  };
  for (const auto& c : cases) {
    SimSystem system(machine);
    SimSpooler spooler(machine, system);
    EXPECT_EQ(spooler.Run(c.line).exit_code, 0u);  // rundll32 itself always ends with 0
    ASSERT_EQ(spooler.errors().size(), 1u) << ToUtf8(c.line);
    EXPECT_NE(spooler.errors()[0].find(c.error), std::string::npos) << spooler.errors()[0];
    EXPECT_TRUE(spooler.printers().empty());
  }
}

TEST_F(Spooler, EachArchitectureTakesItsOwnModels) {
  const std::filesystem::path one_model =
      DefaultPackageDir().parent_path() / "tests" / "data" / "package-one-model";
  const struct {
    Architecture arch;
    std::filesystem::path package;
    bool installed;
  } cases[] = {
      {Architecture::kX86, DefaultPackageDir(), true},
      {Architecture::kAmd64, DefaultPackageDir(), true},
      {Architecture::kArm64, DefaultPackageDir(), true},
      {Architecture::kArm64, one_model, false},  // offers NTx86 and NTamd64 only
  };
  for (const auto& c : cases) {
    machine.arch = c.arch;
    machine.package_dir = c.package;
    SimSystem system(machine);
    SimSpooler spooler(machine, system);
    spooler.Run(
        u"rundll32 printui.dll,PrintUIEntry /if /b P /f C:\\PX\\PX\\PX.inf /r LPT1: /m NY-80K");
    EXPECT_EQ(spooler.PrinterExists(u"P", u"lpt1:"), c.installed) << c.package;
    if (!c.installed) {
      ASSERT_EQ(spooler.errors().size(), 1u);
      EXPECT_EQ(spooler.errors()[0],
                "PrintUIEntry: the specified printer driver is unknown: NY-80K");
    }
  }
}

TEST_F(Spooler, ReadsMoreArgumentsFromAnAtFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "px-spooler-at-file";
  std::filesystem::create_directories(dir);
  std::filesystem::copy(
      DefaultPackageDir(), dir,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  std::ofstream(dir / "args.txt", std::ios::binary) << "/f C:\\PX\\PX\\PX.inf /r USB001\r\n";
  machine.package_dir = dir;
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  spooler.Run(u"rundll32 printui.dll,PrintUIEntry /if /q /b P @C:\\PX\\PX\\args.txt /m NY-80K");
  std::filesystem::remove_all(dir);
  EXPECT_TRUE(spooler.errors().empty()) << spooler.errors().front();
  EXPECT_TRUE(spooler.PrinterExists(u"P", u"USB001"));
}

TEST(PrintUiArguments, TakesEveryDocumentedOptionAndRefusesTheRest) {
  const struct {
    const char16_t* line;
    PrintUiArguments parsed;  // command, /b, /f, /r, /m, refused
  } cases[] = {
      {u"/if /b \"A 58\" /f C:\\PX\\PX.inf /r USB001 /m \"A 58\"",
       {u"/if", u"A 58", u"C:\\PX\\PX.inf", u"USB001", u"A 58", u""}},
      // Values attached to their option.
      {u"/if /b\"A 58\" /fC:\\PX.inf /rUSB001 /m\"A 58\"",
       {u"/if", u"A 58", u"C:\\PX.inf", u"USB001", u"A 58", u""}},
      // Options that change nothing here, with and without their values.
      {u"/if /q /u /w /y /z /Z /Y /K /b A /f F /m A /h x64 /v \"Type 3 - User Mode\" /Gw /Wr "
       u"/Mq\"Go?\" /Mw Careful /j \"LanMan Print Services\" /l C:\\src /F dep.inf /t0 /a x.dat "
       u"/c\\\\PC /n A",
       {u"/if", u"A", u"F", u"", u"A", u""}},
      {u"/ia /m A /f F /h x64", {u"/ia", u"", u"F", u"", u"A", u""}},
      {u"/Ss /n P /a p.dat 2 7 c d s g u", {u"/Ss", u"", u"", u"", u"", u""}},
      {u"/?", {u"/?", u"", u"", u"", u"", u""}},
      // Letter case is part of the option.
      {u"/IF /b A", {u"", u"", u"", u"", u"", u"/IF"}},
      {u"/if /M A", {u"/if", u"", u"", u"", u"", u"/M"}},
      {u"/if /Q", {u"/if", u"", u"", u"", u"", u"/Q"}},
      // Unknown options, a second action, a value missing, a stray word.
      {u"/if /x", {u"/if", u"", u"", u"", u"", u"/x"}},
      {u"/if /qq", {u"/if", u"", u"", u"", u"", u"/qq"}},
      {u"/if /dl", {u"/if", u"", u"", u"", u"", u"/dl"}},
      {u"/if /b", {u"/if", u"", u"", u"", u"", u"/b"}},
      {u"/if /b A g", {u"/if", u"A", u"", u"", u"", u"g"}},
      {u"-if", {u"", u"", u"", u"", u"", u"-if"}},
  };
  for (const auto& c : cases) {
    const PrintUiArguments parsed = ParsePrintUiArguments(SplitCommandLine(c.line));
    EXPECT_EQ(parsed.command, c.parsed.command) << ToUtf8(c.line);
    EXPECT_EQ(parsed.base_name, c.parsed.base_name) << ToUtf8(c.line);
    EXPECT_EQ(parsed.inf_file, c.parsed.inf_file) << ToUtf8(c.line);
    EXPECT_EQ(parsed.port, c.parsed.port) << ToUtf8(c.line);
    EXPECT_EQ(parsed.model, c.parsed.model) << ToUtf8(c.line);
    EXPECT_EQ(parsed.refused, c.parsed.refused) << ToUtf8(c.line);
  }
}

TEST_F(Spooler, SpoolerStartsOnceAndOtherProgramsAreNotThere) {
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  EXPECT_EQ(spooler.Run(u"cmd /d /c net start spooler").exit_code, 0u);
  EXPECT_TRUE(spooler.running());
  EXPECT_EQ(spooler.Run(u"cmd /c net start spooler").exit_code, 2u);
  EXPECT_EQ(spooler.Run(u"notepad.exe").exit_code, 2u);
  EXPECT_EQ(spooler.Run(u"").exit_code, 2u);
}

}  // namespace
}  // namespace px::sim
