// px-sim as a user runs it: the whole command, its output and its exit code.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "px_sim_process.h"

namespace {

using Result = px::testing::PxSimResult;

Result PxSim(const std::string& args) { return px::testing::RunPxSim(args, true); }

bool Has(const Result& r, const std::string& line) {
  return std::find(r.lines.begin(), r.lines.end(), line) != r.lines.end();
}

TEST(PxSimRun, DefaultMachineShowsStartUpDotsPassesAndTheDetectedModel) {
  const Result r = PxSim("run --instant --trace - --view none");
  ASSERT_EQ(r.code, 0) << r.out;
  ASSERT_GE(r.lines.size(), 25u);
  EXPECT_EQ(r.lines[0], "0\tCaption\tQuorilV1.20181108");
  EXPECT_EQ(r.lines[1], "0\tLabel2\t本软件由Veldrin股份有限公司提供");
  EXPECT_EQ(r.lines[17], "0\tLabel1(0)\t打印驱动安装中请你耐心等待");
  EXPECT_EQ(r.lines[18], "0\tLaunch\thidden\tcmd /d /c net start spooler");
  EXPECT_EQ(r.lines[19], "0\tLabel1(1)\t启动打印服务");
  EXPECT_EQ(r.lines[20], "10\tLabel1(1)\t启动打印服务.");
  EXPECT_EQ(r.lines[24], "4010\tLabel1(1)\t启动打印服务.....");
  EXPECT_EQ(r.lines[25], "5010\tLabel1(2)\t正在检测USB打印机");
  EXPECT_TRUE(Has(r, "5020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:1s"));
  EXPECT_TRUE(Has(r, "8020\tCaption\tQuorilV1.20181108欢迎使用Lunor打印机"));
  EXPECT_TRUE(Has(r, "8020\tLabel1(2)\t检测到USB打印机型号:Lunor L58T"));
  EXPECT_TRUE(Has(r, "8020\tLabel1(4)\t检测到打印机虚拟端口:USB001"));
  EXPECT_TRUE(
      Has(r,
          "8020\tLaunch\tminimized\trundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" "
          "/f C:\\Windows\\Temp\\px-package.1\\PX.inf /r USB001 /m \"Lunor L58T\""));
  const std::size_t n = r.lines.size();
  EXPECT_EQ(r.lines[n - 4], "13080\tMessage\tpx-installer\t驱动安装成功!!");
  EXPECT_EQ(r.lines[n - 3], "13080\tEnd\tunload");
  EXPECT_EQ(r.lines[n - 2], "px-sim: printer \"Lunor L58T\" on USB001");
  EXPECT_EQ(r.lines[n - 1], "px-sim: driver \"Lunor L58T\"");
}

TEST(PxSimRun, ClosingTheWindowAndPicturesOfEveryChange) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "px-sim-snapshots";
  std::filesystem::remove_all(dir);
  const Result r =
      PxSim("run --instant --view none --trace - --close-at 3000 --snapshot " + dir.string());
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_TRUE(Has(r, "3000\tEnd\tclosed")) << r.out;
  // Start-up, then one picture per dot.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"0001-00000000.png", "0002-00000010.png",
                                             "0003-00001010.png", "0004-00002010.png"}));
  std::ifstream png(dir / names[0], std::ios::binary);
  char magic[8] = {};
  png.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  std::filesystem::remove_all(dir);
}

TEST(PxSimDetect, OnePassOnACapturedList) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "px-sim-usb.txt";
  std::ofstream(file, std::ios::binary)
      << "Dependent   \r\r\n"
      << R"(\\PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_1A86&PID_A798\\5&2A&0&3")"
      << "\r\r\n";
  const Result r = PxSim("detect --usb " + file.string() + " --lang en");
  std::filesystem::remove(file);
  ASSERT_EQ(r.code, 0) << r.out;
  const std::vector<std::string> expected = {
      "PrinterFound\t1",
      "ModelName\tLunor L58T",
      "Caption\tQuorilV1.20181108欢迎使用Lunor打印机",
      "Label1(2)\tPlease open the printer power:1s",
      R"(Label1(3)	\\PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_1A86&PID_A798\\5&2A&0&3")",
      "ScanCounter\t1"};
  EXPECT_EQ(r.lines, expected);
}

TEST(PxSimDetect, MachineAtAMomentBeforeThePrinter) {
  const Result r = PxSim("detect --at 100");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.lines[0], "PrinterFound\t0");
  EXPECT_EQ(r.lines[5], "ScanCounter\t9");
}

// A PC captured with reg export and wmic, files as those tools write them.
TEST(PxSimReplay, TellsModelPortCommandLineAndWhy) {
  const Result r = PxSim("replay replay-sample");
  ASSERT_EQ(r.code, 0) << r.out;
  for (const char* line :
       {"4\t\\\\LIN-PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1A86&PID_7523\\\\5&"
        "3B2C1D0&0&1\"\t7523\trejected: vendor 1A86, but the product id is not in the model table",
        "ModelName\tWL58HUE", "PortName\tUSB002",
        "CommandLine\trundll32 printui.dll,PrintUIEntry /if /b \"WL58HUE\" /f "
        "C:\\Windows\\Temp\\px-package.1\\PX.inf /r USB002 /m \"WL58HUE\"",
        "Result\tprinter \"WL58HUE\" on USB002"}) {
    EXPECT_TRUE(Has(r, line)) << line << "\n" << r.out;
  }
  EXPECT_EQ(r.out.find("\r"), std::string::npos);
}

// Replay runs the installer itself: without the driver package it ends as the window does.
TEST(PxSimReplay, EndsAsTheInstallerDoesWithoutItsDriverPackage) {
  const Result r = PxSim("replay " PX_SOURCE_ROOT "/tests/data/replay-no-package");
  ASSERT_EQ(r.code, 0) << r.out;
  EXPECT_TRUE(Has(r, "PortName\tUSB002")) << r.out;
  EXPECT_EQ(r.out.find("CommandLine"), std::string::npos) << r.out;
  EXPECT_TRUE(
      Has(r, "Message\t驱动安装失败!!\\n找不到驱动文件:C:\\Users\\林\\Downloads\\PX\\PX.inf"))
      << r.out;
}

TEST(PxSimModels, TsvHasAHeaderAndOneLinePerRow) {
  const Result r = PxSim("models --tsv");
  ASSERT_EQ(r.code, 0);
  ASSERT_EQ(r.lines.size(), 218u);
  EXPECT_EQ(r.lines[0], "row\tkeys\tmodel\tmodel_dash\tsuffix\tstop");
  EXPECT_EQ(r.lines[1].rfind("1\t", 0), 0u);
  EXPECT_TRUE(Has(r, "28\t5EA6,A798\tLunor L58T\t\t欢迎使用Lunor打印机\t"));
}

// px-sim's own failures keep out of the installer's exit codes, so a script tells them apart.
TEST(PxSimErrors, OwnFailuresHaveCodesOfTheirOwnAndAClearMessage) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("px-sim-errors-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir / "bad");
  std::filesystem::create_directories(dir / "spanish");
  std::ofstream(dir / "bad" / "machine.toml") << "program_folder = 'C:\\PX'\ncolour = 3\n";
  std::ofstream(dir / "spanish" / "machine.toml")
      << "program_folder = 'C:\\PX'\nui_language = 'es-ES'\nlocale = 'x-klingon'\n";
  const struct {
    std::string args;
    int code;
    std::string message;
  } cases[] = {
      {"run /no/such/machine --instant --view none", 66,
       "px-sim: /no/such/machine: no such machine folder"},
      {"detect --usb /no/such/list.txt", 66, "px-sim: /no/such/list.txt: cannot be read"},
      {"detect " + (dir / "bad").string(), 65, ":2: unknown key \"colour\""},
      {"detect --lang fr", 64, "--lang"},
      {"run --instant --view none --trace /no/such/folder/trace.txt", 73, "cannot be written"},
      {"gallery --ops --scene no-such-scene", 64, "no scene named no-such-scene"},
      // A capture from a PC in any language replays; a tag Windows does not know is warned of.
      {"detect " + (dir / "spanish").string(), 0,
       ":3: unknown language \"x-klingon\", taken as a custom locale with code page 1252"},
  };
  for (const auto& c : cases) {
    const Result r = PxSim(c.args);
    EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
