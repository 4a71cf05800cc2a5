// px-installer /uninstall on the simulated PC: what goes, what stays, what is asked and said.
#include <gtest/gtest.h>

#include <sstream>

#include "app/run_lines.h"
#include "app/uninstall.h"
#include "base/utf.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/trace.h"

namespace px {
namespace {

// The boxes a user sees, answered as the test says.
class AnsweredBoxes : public MessageBoxes {
 public:
  void ShowMessage(const Text& text) override { shown.push_back(text); }
  Expected<bool> AskYesNo(const Text& text) override {
    asked.push_back(text);
    return answer;
  }
  void ShowUsage(const Text&) override {}
  void ShowError(const Text&) override {}
  Expected<bool> answer = true;
  std::vector<Text> asked;
  std::vector<Text> shown;
};

// A spooler that refuses to delete one queue, as a queue held by another program would be.
class RefusingSpooler : public sim::SimSpooler {
 public:
  using SimSpooler::SimSpooler;
  std::uint32_t DeleteQueue(const Text& name) override {
    return name == refused ? 5 : SimSpooler::DeleteQueue(name);
  }
  std::uint32_t EnumQueues(std::vector<PrinterQueueInfo>& queues) override {
    return enum_error != 0 ? enum_error : SimSpooler::EnumQueues(queues);
  }
  Text refused;
  std::uint32_t enum_error = 0;
};

// Two models of the package on two ports, a third one's driver alone, another maker's printer.
sim::Machine ShopPc() {
  sim::Machine machine;
  machine.program_folder = u"C:\\PX";
  machine.package_dir = sim::DefaultPackageDir();
  machine.ports = {u"USB001", u"USB002", u"USB003"};
  machine.drivers = {u"VN-57S"};
  machine.printers = {{u"Lunor L58T", u"USB001", u"Lunor L58T"},
                      {u"Kitchen", u"USB002", u"NY-80K"},
                      {u"Office laser", u"USB003", u"Office laser PCL6"}};
  return machine;
}

class Removal : public ::testing::Test {
 protected:
  UninstallResult Remove(bool quiet) {
    out.str("");
    return Uninstall(spooler, boxes, ModelTable::Builtin(), 0, quiet, trace);
  }
  std::size_t CountOf(const std::string& part) const {
    std::size_t n = 0;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) n += line.find(part) != std::string::npos;
    return n;
  }

  const sim::Machine machine = ShopPc();
  sim::SimSystem system{machine};
  RefusingSpooler spooler{machine, system};
  AnsweredBoxes boxes;
  std::ostringstream out;
  sim::StreamSink sink{out};
  TraceLines trace{&sink, [] { return std::int64_t{0}; }};
};

TEST_F(Removal, TakesEveryModelOfThePackageOnAnyPortAndLeavesOtherMakers) {
  const UninstallResult first = Remove(true);
  EXPECT_EQ(first.code, ExitCode::kRegistered);
  EXPECT_EQ(first.meaning, u"the printers and drivers of the package are removed");
  EXPECT_TRUE(boxes.asked.empty());
  ASSERT_EQ(spooler.printers().size(), 1u);
  EXPECT_EQ(spooler.printers()[0].name, u"Office laser");
  ASSERT_EQ(spooler.drivers().size(), 1u);
  EXPECT_EQ(spooler.drivers()[0].name, u"Office laser PCL6");
  EXPECT_TRUE(spooler.packages().empty());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            u"已删除:\nLunor L58T (USB001)\nKitchen (USB002)\n驱动:VN-57S\n驱动:Lunor L58T\n"
            u"驱动:NY-80K");

  // A second removal finds nothing of the package and says so.
  const UninstallResult second = Remove(true);
  EXPECT_EQ(second.code, ExitCode::kRegistered);
  EXPECT_EQ(second.meaning, u"nothing to remove: no printer or driver of the package");
  EXPECT_EQ(CountOf("\tSpooler\tDelete"), 0u);
}

TEST_F(Removal, WindowedAsksBeforeAnythingGoes) {
  // A question Windows could not show was answered by nobody: nothing goes, and the log says why.
  boxes.answer = SystemError{u"MessageBoxW: 0x80070008"};
  EXPECT_EQ(Remove(false).code, ExitCode::kSystemError);
  EXPECT_EQ(CountOf("\tMessage\tpx-installer\tMessageBoxW: 0x80070008"), 1u);
  EXPECT_EQ(CountOf("\tQuestion\t"), 0u);
  EXPECT_EQ(spooler.printers().size(), 3u);
  boxes.asked.clear();

  boxes.answer = false;
  const UninstallResult kept = Remove(false);
  EXPECT_EQ(kept.code, ExitCode::kRegistered);
  EXPECT_EQ(kept.meaning, u"nothing removed: the user answered no");
  ASSERT_EQ(boxes.asked.size(), 1u);
  EXPECT_EQ(boxes.asked[0],
            u"是否删除以下打印机及其驱动?\nLunor L58T (USB001)\nKitchen (USB002)\n驱动:VN-57S");
  EXPECT_EQ(CountOf("\tSpooler\tDelete"), 0u);
  EXPECT_EQ(spooler.printers().size(), 3u);
  EXPECT_TRUE(boxes.shown.empty());

  boxes.answer = true;
  EXPECT_EQ(Remove(false).code, ExitCode::kRegistered);
  EXPECT_EQ(spooler.printers().size(), 1u);
}

// The drivers of a 64-bit Windows are listed to this 32-bit program, and deleted, only in their
// own environment; a removal that left them would still have ended with 0.
TEST(RemovalOnEachProcessor, DeletesTheDriversAndPackageOfTheMachinesOwnEnvironment) {
  const struct {
    sim::Architecture arch;
    const char* environment;
  } cases[] = {{sim::Architecture::kX86, "Windows NT x86"},
               {sim::Architecture::kAmd64, "Windows x64"},
               {sim::Architecture::kArm64, "Windows ARM64"}};
  for (const auto& c : cases) {
    sim::Machine machine = ShopPc();
    machine.arch = c.arch;
    sim::SimSystem system{machine};
    sim::SimSpooler spooler{machine, system};
    AnsweredBoxes boxes;
    std::ostringstream out;
    sim::StreamSink sink{out};
    TraceLines trace{&sink, [] { return std::int64_t{0}; }};
    EXPECT_EQ(Uninstall(spooler, boxes, ModelTable::Builtin(), 0, true, trace).code,
              ExitCode::kRegistered)
        << c.environment;
    ASSERT_EQ(spooler.drivers().size(), 1u) << c.environment;
    EXPECT_EQ(spooler.drivers()[0].name, u"Office laser PCL6");
    EXPECT_TRUE(spooler.packages().empty()) << c.environment;
    EXPECT_NE(
        out.str().find(std::string("\tDeletePrinterDriverEx\t") + c.environment + "\tVN-57S\t0\n"),
        std::string::npos)
        << out.str();
  }
}

TEST_F(Removal, AFailedCallEndsWithSixOnceTheRestIsDone) {
  spooler.refused = u"Kitchen";
  const UninstallResult result = Remove(true);
  EXPECT_EQ(result.code, ExitCode::kSystemError);
  // The queue that stayed keeps its driver, and the driver the package: 3015 is no failure.
  EXPECT_EQ(CountOf("\tSpooler\tDeletePrinterDriverEx\tWindows x64\tNY-80K\t3001"), 1u);
  EXPECT_EQ(CountOf("\t3015"), 1u);
  EXPECT_EQ(spooler.printers().size(), 2u);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            u"无法删除:\nKitchen (错误 5)\n驱动:NY-80K (错误 3001)\n已删除:\nLunor L58T (USB001)\n"
            u"驱动:VN-57S\n驱动:Lunor L58T");

  spooler.enum_error = 1722;  // the spooler is not running
  EXPECT_EQ(Remove(true).code, ExitCode::kSystemError);
  EXPECT_EQ(boxes.shown.back(), u"无法删除:\nEnumPrinters (错误 1722)");
  EXPECT_EQ(CountOf("\tSpooler\tDelete"), 0u);
}

}  // namespace
}  // namespace px
