// The simulated spooler's queues, drivers and driver store: the answers the installer's
// second run and its removal meet on Windows.
#include <gtest/gtest.h>

#include <functional>

#include "base/utf.h"
#include "platform/sim/sim_spooler.h"

namespace px::sim {
namespace {

constexpr char16_t kInstall[] =
    u"rundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f C:\\PX\\PX\\PX.inf /r USB001 "
    u"/m \"Lunor L58T\"";

class SpoolerQueues : public ::testing::Test {
 protected:
  SpoolerQueues() {
    machine.program_folder = u"C:\\PX";
    machine.package_dir = DefaultPackageDir();
    machine.ports = {u"LPT1:", u"USB001", u"USB002"};
  }
  Machine machine;
};

TEST_F(SpoolerQueues, ASecondQueueOfANameIsRefusedAfterItsDriverWentIn) {
  machine.printers = {{u"LUNOR L58T", u"USB002", u"Office laser"}};
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  EXPECT_EQ(spooler.Run(kInstall).exit_code, 0u);
  ASSERT_EQ(spooler.errors().size(), 1u);
  EXPECT_EQ(spooler.errors()[0], "PrintUIEntry: the printer already exists (1802): Lunor L58T");
  ASSERT_EQ(spooler.printers().size(), 1u);
  EXPECT_EQ(spooler.printers()[0].port, u"USB002");
  // The model's driver was installed from the package before the queue was refused.
  ASSERT_EQ(spooler.drivers().size(), 2u);
  EXPECT_EQ(spooler.drivers()[1].name, u"Lunor L58T");
  EXPECT_EQ(spooler.drivers()[1].inf_path, spooler.packages().at(0));
}

TEST_F(SpoolerQueues, DriversComeFromTheMachineAndItsPrintersQueuesFromTheirPorts) {
  machine.drivers = {u"NY-80K", u"Generic / Text Only"};
  machine.printers = {{u"Kitchen", u"USB001, USB002", u"ny-80k"},
                      {u"Till", u"USB002", u"Lunor L58T"}};
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  std::vector<PrinterDriverInfo> drivers;
  ASSERT_EQ(spooler.EnumDrivers(drivers), 0u);
  ASSERT_EQ(drivers.size(), 3u);  // driver names, like queue names, ignore letter case
  EXPECT_EQ(drivers[0].name, u"NY-80K");
  EXPECT_EQ(drivers[1].name, u"Generic / Text Only");
  EXPECT_EQ(drivers[2].name, u"Lunor L58T");
  ASSERT_EQ(spooler.packages().size(), 1u);
  EXPECT_TRUE(spooler.packages()[0].ends_with(u"\\px.inf"));
  EXPECT_EQ(drivers[0].inf_path, spooler.packages()[0]);
  EXPECT_EQ(drivers[1].inf_path, u"");  // another maker's package, unknown to the machine
  EXPECT_EQ(drivers[2].inf_path, spooler.packages()[0]);
  // A queue on several ports is on each of them.
  EXPECT_TRUE(spooler.PrinterExists(u"kitchen", u"usb002"));
  EXPECT_FALSE(spooler.PrinterExists(u"Kitchen", u"USB00"));
}

// One machine taken apart call by call: each call's answer, in this order.
TEST_F(SpoolerQueues, EveryCallAnswersWindowsErrorCode) {
  machine.printers = {{u"Lunor L58T", u"USB001", u"Lunor L58T"}};
  SimSystem system(machine);
  SimSpooler spooler(machine, system);
  const Text package = spooler.packages().at(0);
  const Text x64 = u"Windows x64";  // the machine's own processor
  PrinterQueueInfo queue;
  const struct {
    const char* call;
    std::function<std::uint32_t()> run;
    std::uint32_t error;
  } steps[] = {
      {"GetPrinter", [&] { return spooler.GetQueue(u"lunor l58t", queue); }, 0},
      {"GetPrinter unknown", [&] { return spooler.GetQueue(u"Lunor L80", queue); }, 1801},
      {"SetPrinter unknown port", [&] { return spooler.SetQueuePort(u"Lunor L58T", u"USB009"); },
       1796},
      {"SetPrinter", [&] { return spooler.SetQueuePort(u"Lunor L58T", u"usb002"); }, 0},
      {"SetPrinter unknown queue", [&] { return spooler.SetQueuePort(u"X", u"USB002"); }, 1801},
      {"driver in use", [&] { return spooler.DeleteDriver(u"Lunor L58T", x64); }, 3001},
      {"package in use", [&] { return spooler.DeleteDriverPackage(package, x64); }, 3015},
      {"DeletePrinter", [&] { return spooler.DeleteQueue(u"Lunor L58T"); }, 0},
      {"DeletePrinter again", [&] { return spooler.DeleteQueue(u"Lunor L58T"); }, 1801},
      // No environment is the 32-bit caller's own, which this 64-bit PC keeps no driver for.
      {"driver of the caller's environment",
       [&] { return spooler.DeleteDriver(u"Lunor L58T", {}); }, 1797},
      {"package of the caller's environment",
       [&] { return spooler.DeleteDriverPackage(package, {}); }, 2},
      {"driver", [&] { return spooler.DeleteDriver(u"LUNOR L58T", x64); }, 0},
      {"driver again", [&] { return spooler.DeleteDriver(u"Lunor L58T", x64); }, 1797},
      {"package", [&] { return spooler.DeleteDriverPackage(package, x64); }, 0},
      {"package again", [&] { return spooler.DeleteDriverPackage(package, x64); }, 2},
  };
  for (const auto& step : steps) EXPECT_EQ(step.run(), step.error) << step.call;
  EXPECT_EQ(queue.driver, u"Lunor L58T");
  EXPECT_TRUE(spooler.printers().empty());
  EXPECT_TRUE(spooler.drivers().empty());
  EXPECT_TRUE(spooler.packages().empty());
}

}  // namespace
}  // namespace px::sim
