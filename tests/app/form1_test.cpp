// The window's start-up and its timer sequence up to the detected printer.
#include "app/form1.h"

#include "support/installer_run.h"
#include "texts/installer_texts.h"

namespace px {
namespace {

using testing::InstallerRun;
using testing::kHub;

using Form1Run = InstallerRun;

TEST_F(Form1Run, StartUpWritesItsTextsInOrderAndStartsTheSpoolerHidden) {
  Run(0);
  std::vector<std::string> expected = {"0\tCaption\tQuorilV1.20181108",
                                       "0\tLabel2\t本软件由Veldrin股份有限公司提供"};
  for (int i = 0; i < 15; ++i) expected.push_back("0\tLabel1(" + std::to_string(i) + ")\t");
  expected.push_back("0\tLabel1(0)\t打印驱动安装中请你耐心等待");
  expected.push_back("0\tLaunch\thidden\tcmd /d /c net start spooler");
  expected.push_back("0\tLabel1(1)\t启动打印服务");
  expected.push_back("0\tEnd\tclosed");
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
  EXPECT_EQ(CountOf("启动打印服务......"), 0u);
  EXPECT_TRUE(Has("5010\tLabel1(2)\t正在检测USB打印机"));
  // The first pass 10 ms later (the timer minimum), then one a second.
  EXPECT_TRUE(Has("5020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:1s"));
  EXPECT_TRUE(Has("6020\tLabel1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:2s"));
}

TEST_F(Form1Run, PrinterPluggedInLaterIsFoundByTheNextPass) {
  Run();
  EXPECT_TRUE(Has("8020\tCaption\tQuorilV1.20181108欢迎使用Lunor打印机"));
  EXPECT_TRUE(Has("8020\tLabel1(2)\t检测到USB打印机型号:Lunor L58T"));
}

TEST_F(Form1Run, WithoutPrinterItScansOnEverySecond) {
  machine.usb.resize(1);
  Run(600000);
  EXPECT_TRUE(Has("599020\tLabel1(3)\t" + ToUtf8(kHub)));
  EXPECT_EQ(Last(), "600000\tEnd\tclosed");
}

TEST(LanguageFlag, ChineseOfEveryRegionGivesZero) {
  for (std::uint16_t lang : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404}) {
    EXPECT_EQ(LanguageFlagFor(lang), 0);
  }
  for (std::uint16_t lang : {0x0409, 0x0809, 0x0411, 0x0000}) EXPECT_EQ(LanguageFlagFor(lang), 1);
}

}  // namespace
}  // namespace px
