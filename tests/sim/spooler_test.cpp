// The simulated spooler: command lines split as Windows splits them, INF files read as setup
// reads them, and installations that fail where Windows fails.
#include <gtest/gtest.h>

#include "platform/sim/command_line.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/sim_spooler.h"
#include "base/utf.h"

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
  EXPECT_EQ(inf.Models(u"NTx86"), (std::set<Text>{u"A 58"}));
  EXPECT_EQ(inf.Models(u"NTamd64"), (std::set<Text>{u"A 58", u"B;80"}));
  EXPECT_TRUE(inf.Models(u"NTarm64").empty());
  ASSERT_EQ(inf.Section(u"version").size(), 2u);
  EXPECT_EQ(inf.Section(u"Version")[0].values, std::vector<Text>{u"$Windows NT$"});
  EXPECT_THROW(InfFile::Parse("x=1\n", "t.inf"), MachineError);
  EXPECT_THROW(InfFile::Parse("[Version\n", "t.inf"), MachineError);
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
  EXPECT_FALSE(spooler.PrinterExists(u"lunor l58t", u"USB001"));
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

TEST_F(Spooler, ThirtyTwoBitWindowsTakesTheX86Models) {
  machine.x64 = false;
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  spooler.Run(
      u"rundll32 printui.dll,PrintUIEntry /if /b P /f C:\\PX\\PX\\PX.inf /r LPT1: /m NY-80K");
  EXPECT_TRUE(spooler.PrinterExists(u"P", u"lpt1:"));
}

TEST_F(Spooler, SpoolerStartsOnceAndOtherProgramsAreNotThere) {
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  EXPECT_EQ(spooler.Run(u"cmd /c net start spooler").exit_code, 0u);
  EXPECT_TRUE(spooler.running());
  EXPECT_EQ(spooler.Run(u"cmd /c net start spooler").exit_code, 2u);
  EXPECT_EQ(spooler.Run(u"notepad.exe").exit_code, 2u);
  EXPECT_EQ(spooler.Run(u"").exit_code, 2u);
}

}  // namespace
}  // namespace px::sim
