// A queue of the model's name before the installation: a second run, a printer moved to
// another USB socket, someone else's queue.
#include "support/installer_run.h"

namespace px {
namespace {

using testing::InstallerRun;

TEST_F(InstallerRun, AQueueOfTheModelsNameIsTakenOverInsteadOfInstalledAgain) {
  struct Case {
    const char* name;
    sim::PrinterQueue before;
    bool quiet;
    std::optional<ExitCode> result;
    const char16_t* port_after;
    std::string line;  // the step's own trace line
  };
  const sim::PrinterQueue ours{u"Lunor L58T", u"USB001", u"Lunor L58T"};
  const sim::PrinterQueue moved{u"Lunor L58T", u"USB002", u"Lunor L58T"};
  const sim::PrinterQueue foreign{u"Lunor L58T", u"USB001", u"Generic / Text Only"};
  const Case cases[] = {
      {"on the found port", ours, false, ExitCode::kRegistered, u"USB001",
       "\tLabel1(1)\t打印机已注册在端口:USB001"},
      {"on the found port, quiet", ours, true, ExitCode::kRegistered, u"USB001",
       "\tLabel1(1)\t打印机已注册在端口:USB001"},
      {"on another port", moved, false, ExitCode::kRegistered, u"USB001",
       "\tSpooler\tSetPrinter\tLunor L58T\tUSB001\t0"},
      {"on another port, quiet", moved, true, ExitCode::kRegistered, u"USB001",
       "\tLabel1(1)\t打印机端口已从USB002改为USB001"},
      {"another maker's driver", foreign, false, ExitCode::kNotRegistered, u"USB001",
       "\tMessage\tpx-installer\t驱动安装失败!!\\n同名打印机使用其他驱动:Generic / Text Only"},
  };
  const sim::Machine base = machine;
  for (const Case& c : cases) {
    machine = base;
    machine.printers = {c.before};
    quiet = c.quiet;
    Run();
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(CountOf("\tLaunch\tminimized"), 0u) << c.name;
    ASSERT_EQ(queues.size(), 1u) << c.name;
    EXPECT_EQ(queues[0].port, c.port_after) << c.name;
    EXPECT_EQ(queues[0].driver, c.before.driver) << c.name;
    EXPECT_EQ(CountOf(c.line), 1u) << c.name << "\n" << out.str();
    if (c.result == ExitCode::kRegistered) {
      EXPECT_EQ(Last(), "13080\tEnd\tunload") << c.name;
    }
  }
}

// A queue is never moved somewhere worse: not to a port the spooler refuses, not to "lpt1:".
TEST_F(InstallerRun, AQueueThatCannotMoveStaysWhereItIs) {
  machine.printers = {{u"Lunor L58T", u"USB002", u"Lunor L58T"}};
  machine.ports = {u"LPT1:"};  // usbprint's USB001 is unknown to the spooler
  Run();
  EXPECT_EQ(result, ExitCode::kNotRegistered);
  EXPECT_EQ(CountOf("\tSpooler\tSetPrinter\tLunor L58T\tUSB001\t1796"), 1u) << out.str();
  EXPECT_EQ(
      CountOf("\tMessage\tpx-installer\t驱动安装失败!!\\n打印机无法移到端口:USB001 (错误 1796)"),
      1u);

  machine.ports = {u"LPT1:", u"USB001"};
  with_registry = false;  // no interface: the port search ends with "lpt1:"
  Run();
  EXPECT_EQ(result, ExitCode::kNotRegistered);
  EXPECT_EQ(CountOf("\tSpooler\t"), 0u);
  EXPECT_EQ(CountOf("未找到打印机的USB端口,打印机仍在端口:USB002"), 2u);  // the label and the box
  ASSERT_EQ(queues.size(), 1u);
  EXPECT_EQ(queues[0].port, u"USB002");
}

}  // namespace
}  // namespace px
