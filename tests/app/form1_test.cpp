// The window's start-up and its timer sequence, on the simulated machine's virtual clock.
#include "app/form1.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/event_loop.h"
#include "platform/sim/registry_sim.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_view.h"
#include "platform/utf.h"

namespace px {
namespace {

const Text kPrinter =
    u"\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1A86&PID_A798\\\\5&2A1B3C4D&0&3\"";
const Text kHub = u"\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\ROOT_HUB30\\\\4&1F&0&0\"";

class Form1Run : public ::testing::Test {
 protected:
  Form1Run() {
    machine.program_folder = u"C:\\PX";
    machine.package_dir = sim::DefaultPackageDir();
    machine.usb = {{0, "hub", {kHub}}, {7500, "printer", {kHub, kPrinter}}};
  }

  // Runs the installer until it ends or until the given moment; the trace without payloads
  // beyond the first field is in lines().
  void Run(std::int64_t until_ms) {
    sim::Trace trace(&out, [this] { return loop.NowMs(); });
    sim::SimView view(trace, [this] { loop.Quit(); });
    sim::SimUsb usb(machine, loop);
    sim::SimProcesses processes(trace, loop);
    sim::SimSystem system(machine);
    sim::SimRegistry registry(936);
    sim::SimSpooler spooler(machine, system);
    processes.SetRunner([&spooler](const Text& line) { return spooler.Run(line); });
    Form1 form({view, loop, processes, usb, registry, spooler, system}, ModelTable::Builtin());
    form.Form_Load();
    if (view.end() == sim::SimView::EndKind::kRunning) loop.Run(until_ms);
    model = form.detection.ModelName;
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Has(const std::string& line) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  sim::Machine machine;
  sim::EventLoop loop{sim::EventLoop::Clock::kVirtual};
  std::ostringstream out;
  Text model;
};

TEST_F(Form1Run, StartUpWritesItsTextsInOrderAndStartsTheSpoolerHidden) {
  Run(0);
  std::vector<std::string> expected = {"0\tCaption\tQuorilV1.20181108",
                                       "0\tLabel2\t本软件由Veldrin股份有限公司提供"};
  for (int i = 0; i < 15; ++i) expected.push_back("0\tLabel1(" + std::to_string(i) + ")\t");
  expected.push_back("0\tLabel1(0)\t打印驱动安装中请你耐心等待");
  expected.push_back("0\tLaunch\thidden\tcmd /c net start spooler");
  expected.push_back("0\tLabel1(1)\t启动打印服务");
  EXPECT_EQ(Lines(), expected);
}

TEST_F(Form1Run, EnglishWindowsShowsTheEnglishTexts) {
  machine.ui_language = 0x0409;
  Run(5010);
  EXPECT_TRUE(Has("0\tLabel2\tThis software is provided by Veldrin  Co., Ltd."));
  EXPECT_TRUE(Has("0\tLabel1(0)\tThe driver is installing. Please waitting."));
  EXPECT_TRUE(Has("0\tLabel1(1)\tSart print spooler"));
  EXPECT_TRUE(Has("5010\tLabel1(2)\tdetecting the usb printer"));
}

TEST_F(Form1Run, FiveDotsASecondApartThenDetectionEverySecond) {
  Run(7000);
  EXPECT_TRUE(Has("10\tLabel1(1)\t启动打印服务."));
  EXPECT_TRUE(Has("4010\tLabel1(1)\t启动打印服务....."));
  EXPECT_FALSE(Has("5010\tLabel1(1)\t启动打印服务......"));
  EXPECT_TRUE(Has("5010\tLabel1(2)\t正在检测USB打印机"));
  // The first pass 10 ms later (the timer minimum), then one a second.
  EXPECT_TRUE(Has("5020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:1s"));
  EXPECT_TRUE(Has("6020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:2s"));
}

TEST_F(Form1Run, PrinterPluggedInLaterIsFoundByTheNextPass) {
  Run(60000);
  EXPECT_EQ(model, u"Lunor L58T");
  EXPECT_TRUE(Has("8020\tCaption\tQuorilV1.20181108欢迎使用Lunor打印机"));
  EXPECT_TRUE(Has("8020\tLabel1(2)\t检测到USB打印机型号:Lunor L58T"));
}

TEST_F(Form1Run, WithoutPrinterItScansOnEverySecond) {
  machine.usb.resize(1);
  Run(600000);
  EXPECT_TRUE(model.empty());
  EXPECT_TRUE(Has("599020\tLabel1(3)\t" + ToUtf8(kHub)));
  EXPECT_EQ(Lines().back().find("599020\t"), 0u);
}

TEST(LanguageFlag, ChineseOfEveryRegionGivesZero) {
  for (std::uint16_t lang : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404})
    EXPECT_EQ(LanguageFlagFor(lang), 0);
  for (std::uint16_t lang : {0x0409, 0x0809, 0x0411, 0x0000}) EXPECT_EQ(LanguageFlagFor(lang), 1);
}

}  // namespace
}  // namespace px
