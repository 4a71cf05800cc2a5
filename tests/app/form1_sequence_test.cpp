// Whole runs of the installer on simulated machines, read from their traces: detection, port,
// installation, the closing count and the result box, and the user closing the window.
#include "support/installer_run.h"

namespace px {
namespace {

using testing::InstallerRun;
using testing::kHub;
using testing::kMassStorage;
using testing::kPrinter;
using testing::kPrinterRegistry;

TEST_F(InstallerRun, PrinterPluggedInLaterIsInstalledOnItsPortAndTheRunEndsWithSuccess) {
  Run();
  const std::vector<std::string> tail = {
      "8020\tLabel1(2)\t检测到USB打印机型号:Lunor L58T",
      "8020\tLabel1(4)\t检测到打印机虚拟端口:USB001",
      "8020\tLabel1(5)\t正在将打印机驱动程序复制到你的计算机..",
      "8020\tRefresh",
      "8020\tLabel1(6)\t加载驱动文件..",
      "8020\tLabel1(0)\t安装标准驱动..",
      "8020\tLaunch\tminimized\trundll32 printui.dll,PrintUIEntry /if /b \"Lunor L58T\" /f "
      "C:\\Windows\\Temp\\px-package.1\\PX.inf /r USB001 /m \"Lunor L58T\"",
      "8020\tLabel1(1)\t驱动安装完成",
      "8030\tLabel1(1)\t打印机驱动安装完成:1s(5秒后自动关闭)",
      "9040\tLabel1(1)\t打印机驱动安装完成:2s(5秒后自动关闭)",
      "10050\tLabel1(1)\t打印机驱动安装完成:3s(5秒后自动关闭)",
      "11060\tLabel1(1)\t打印机驱动安装完成:4s(5秒后自动关闭)",
      "12070\tLabel1(1)\t打印机驱动安装完成:5s(5秒后自动关闭)",
      "13080\tLabel1(1)\t打印机驱动安装完成:6s(5秒后自动关闭)",
      "13080\tMessage\tpx-installer\t驱动安装成功!!",
      "13080\tEnd\tunload"};
  const auto lines = Lines();
  ASSERT_GE(lines.size(), tail.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail);
  EXPECT_EQ(printers, 1u);
  EXPECT_EQ(CountOf("\tLaunch\t"), 2u);
}

TEST_F(InstallerRun, EnglishRunEndsWithTheEnglishTexts) {
  machine.ui_language = 0x0409;
  Run();
  EXPECT_TRUE(Has("8020\tLabel1(2)\tUSB PID:Lunor L58T"));
  EXPECT_TRUE(Has("8020\tLabel1(4)\tUSB PORT:USB001"));
  EXPECT_TRUE(Has("8020\tLabel1(5)\tDriver is installing!.."));
  EXPECT_TRUE(Has("8020\tLabel1(6)\tLoading driver file.."));
  EXPECT_TRUE(Has("8020\tLabel1(0)\tinstall driver.."));
  EXPECT_TRUE(Has("8020\tLabel1(1)\tinstall successful!"));
  EXPECT_TRUE(Has("13080\tLabel1(1)\tInstall successful!6s(5)"));
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\tDriver install succefull!"));
}

TEST_F(InstallerRun, WithoutPrinterItScansUntilTheUserClosesTheWindow) {
  machine.usb.resize(1);
  Run(30000);
  EXPECT_EQ(CountOf("\tMessage\t"), 0u);
  EXPECT_EQ(CountOf("\tLaunch\tminimized"), 0u);
  EXPECT_EQ(Last(), "30000\tEnd\tclosed");
  EXPECT_TRUE(Has("29020\tLabel1(3)\t" + ToUtf8(kHub)));
}

TEST_F(InstallerRun, MassStorageModeWarnsEverySecondUntilThePrinterRestarts) {
  machine.usb = {{0, "storage", {kHub, kMassStorage}}, {9000, "printer", {kHub, kPrinter}}};
  Run();
  EXPECT_EQ(CountOf("\tLabel1(2)\t目前打印在U盘模式下，请重启打印机"), 4u);  // 5020 ... 8020
  EXPECT_TRUE(Has("9020\tLabel1(2)\t检测到USB打印机型号:Lunor L58T"));
  EXPECT_EQ(Last(), "14080\tEnd\tunload");
}

TEST_F(InstallerRun, NoUsbPortFallsBackToLpt1AndTheFailureIsReported) {
  with_registry = false;
  machine.ports = {u"USB001"};  // nor any LPT port: the spooler cannot attach the printer
  Run();
  EXPECT_TRUE(Has("8020\tLabel1(4)\t检测到打印机虚拟端口:lpt1:"));
  EXPECT_EQ(CountOf("/r lpt1: /m"), 1u);
  EXPECT_EQ(printers, 0u);
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\t驱动安装失败!!\\n打印机未注册:Lunor L58T"));
}

TEST_F(InstallerRun, LptFallbackStillInstallsWhenThePortExists) {
  with_registry = false;
  Run();
  EXPECT_EQ(printers, 1u);
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\t驱动安装成功!!"));
}

TEST_F(InstallerRun, MissingDriverPackageLaunchesNothingAndSaysSo) {
  machine.package_dir = "/nonexistent";
  Run();
  const std::vector<std::string> tail = {
      "8020\tLabel1(6)\t加载驱动文件..", "8020\tLabel1(0)\t安装标准驱动..",
      "8020\tLabel1(6)\t找不到驱动文件:C:\\Drivers\\PX\\PX.inf",
      "8020\tMessage\tpx-installer\t驱动安装失败!!\\n找不到驱动文件:C:\\Drivers\\PX\\PX.inf",
      "8020\tEnd\tunload"};
  const auto lines = Lines();
  EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail);
  EXPECT_EQ(CountOf("\tLaunch\tminimized"), 0u);
}

// The user who owns the program's folder must not swap PX.inf between its check and its use.
TEST_F(InstallerRun, TheDriverPackageIsHeldUntilTheInstallationHasEndedOrTimedOut) {
  for (const std::int64_t install_ms : {2500, 200000}) {
    machine.install_ms = install_ms;
    quiet = true;
    Run();
    EXPECT_EQ(holds_at_launch, 1) << install_ms;
    EXPECT_EQ(holds_at_end, 0) << install_ms;
    // The private copy goes with the installation; one still running keeps it.
    EXPECT_EQ(copied_files_at_end, install_ms == 2500 ? 0u : 4u) << install_ms;
  }
}

TEST_F(InstallerRun, ModelMissingFromThePackageIsReportedAsNotRegistered) {
  machine.package_dir =
      std::filesystem::path(PX_SOURCE_ROOT) / "tests" / "data" / "package-one-model";
  const struct {
    sim::Architecture arch;
    std::string message;
  } cases[] = {
      {sim::Architecture::kAmd64,
       "13080\tMessage\tpx-installer\t驱动安装失败!!\\n打印机未注册:Lunor L58T"},
      // On ARM64 the box adds the likeliest cause: the package lacks Microsoft's signature.
      {sim::Architecture::kArm64,
       "13080\tMessage\tpx-installer\t驱动安装失败!!\\n打印机未注册:Lunor L58T\\nARM64 版 "
       "Windows 只安装经微软 WHQL 签名的驱动程序包"},
  };
  for (const auto& c : cases) {
    machine.arch = c.arch;
    Run();
    EXPECT_EQ(printers, 0u);
    EXPECT_TRUE(Has(c.message)) << c.message;
  }
}

// Wherever the program lies (in a folder with blanks, at a drive root), PrintUIEntry reads the
// package from the private copy the installer made of it.
TEST_F(InstallerRun, ProgramFolderWithBlanksAndAtADriveRoot) {
  for (const Text folder : {u"C:\\Program Files (x86)\\PX", u"D:\\"}) {
    machine.program_folder = folder;
    Run();
    EXPECT_EQ(CountOf("/f C:\\Windows\\Temp\\px-package.1\\PX.inf /r USB001"), 1u);
    EXPECT_EQ(printers, 1u);
  }
}

TEST_F(InstallerRun, SlowInstallationExtendsTheCountUntilItEnds) {
  machine.install_ms = 8000;  // ends at 16020
  Run();
  EXPECT_TRUE(Has("15100\tLabel1(1)\t打印机驱动安装完成:8s(5秒后自动关闭)"));
  EXPECT_TRUE(Has("16110\tLabel1(1)\t打印机驱动安装完成:9s(5秒后自动关闭)"));
  EXPECT_TRUE(Has("16110\tMessage\tpx-installer\t驱动安装成功!!"));
}

TEST_F(InstallerRun, InstallationStillRunningAfterTwoMinutesTimesOut) {
  machine.install_ms = 3600000;
  Run(3600000);
  EXPECT_EQ(CountOf("\tLabel1(1)\t打印机驱动安装完成:"), 120u);
  EXPECT_TRUE(Has("128220\tMessage\tpx-installer\t驱动安装失败!!\\n安装超时"));
}

TEST_F(InstallerRun, ClosingTheWindowEndsTheRunInEveryState) {
  const struct {
    std::int64_t at;
    std::size_t launches;
  } cases[] = {{500, 1}, {6000, 1}, {8025, 2}, {12000, 2}};
  for (const auto& c : cases) {
    Run(c.at);
    EXPECT_EQ(Last(), std::to_string(c.at) + "\tEnd\tclosed");
    EXPECT_EQ(CountOf("\tMessage\t"), 0u) << c.at;
    EXPECT_EQ(CountOf("\tLaunch\t"), c.launches) << c.at;
  }
}

// Faults of the machine: each ends the run in a defined way.

TEST_F(InstallerRun, WmiFailureShowsTheErrorBoxAndEndsWithNothingElseLaunched) {
  machine.wmi_error_from_ms = 6000;
  Run();
  const auto lines = Lines();
  const std::vector<std::string> tail = {
      "6020\tMessage\tpx-installer\tExecQuery: 0x80041001 Generic failure", "6020\tEnd\terror"};
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), tail);
  EXPECT_EQ(CountOf("\tLaunch\t"), 1u);  // the spooler's start only
}

TEST_F(InstallerRun, ProgramsThatCannotStartEndTheRunWithTheErrorBox) {
  const struct {
    const char16_t* program;
    std::string last_label;
    std::int64_t at;
  } cases[] = {{u"CMD", "0\tLabel1(0)\t打印驱动安装中请你耐心等待", 0},
               {u"RUNDLL32", "8020\tLabel1(0)\t安装标准驱动..", 8020}};
  for (const auto& c : cases) {
    machine.start_fails = {c.program};
    Run();
    const auto lines = Lines();
    const std::string when = std::to_string(c.at);
    const std::vector<std::string> tail = {
        c.last_label,
        when +
            "\tMessage\tpx-installer\tCreateProcessW: 0x80070002 The system cannot find the "
            "file specified.",
        when + "\tEnd\terror"};
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()), tail);
    EXPECT_EQ(CountOf("\tLaunch\t"), 0u + (c.at > 0));
  }
}

TEST_F(InstallerRun, CorruptInfIsReportedAsNotRegistered) {
  machine.package_dir =
      std::filesystem::path(PX_SOURCE_ROOT) / "tests" / "data" / "package-corrupt";
  Run();
  EXPECT_EQ(printers, 0u);
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\t驱动安装失败!!\\n打印机未注册:Lunor L58T"));
}

TEST_F(InstallerRun, TenThousandInterfaceKeysWithThePrinterLast) {
  std::string reg = "Windows Registry Editor Version 5.00\r\n";
  for (int i = 0; i < 9999; ++i) {
    reg +=
        "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
        "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#USB#VID_0483&PID_" +
        std::to_string(1000 + i) + "#1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}]\r\n";
  }
  registry_text =
      reg + std::string(kPrinterRegistry).substr(std::string(kPrinterRegistry).find("\r\n\r\n"));
  Run();
  EXPECT_TRUE(Has("8020\tLabel1(4)\t检测到打印机虚拟端口:USB001"));
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\t驱动安装成功!!"));
}

TEST_F(InstallerRun, FiveHundredAssociationsInEveryPass) {
  std::vector<Text> many(499, kHub);
  machine.usb = {{0, "hubs", many}, {7500, "printer", many}};
  machine.usb[1].dependents.push_back(kPrinter);
  Run();
  EXPECT_TRUE(
      Has("8020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:0s"));  // 1500 % 100
  EXPECT_TRUE(Has("8020\tLabel1(3)\t" + ToUtf8(kPrinter)));
  EXPECT_TRUE(Has("13080\tMessage\tpx-installer\t驱动安装成功!!"));
}

}  // namespace
}  // namespace px
