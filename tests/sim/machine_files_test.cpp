// The simulated machine's files: Dependent lists as Windows tools save them, and machine.toml.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/run_log.h"
#include "base/utf.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"

namespace px::sim {
namespace {

const std::string kHub = R"(\\PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\ROOT_HUB30\\4&1F&0&0")";
const std::string kPrinter =
    R"(\\PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_1A86&PID_A798\\5&2A&0&3")";

std::string Utf16Le(const std::string& utf8, bool bom = true) {
  const Text text = Utf8Literal(utf8);
  std::string bytes = bom ? "\xFF\xFE" : "";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(DependentList, ReadsWhatWmicAndPowerShellWrite) {
  const std::string wmic = "Dependent" + std::string(70, ' ') + "\r\r\n" + kHub + "   \r\r\n" +
                           kPrinter + "   \r\r\n\r\r\n";
  const std::string powershell = kHub + "\r\n" + kPrinter + "\r\n";
  const std::vector<Text> expected = {Utf8Literal(kHub), Utf8Literal(kPrinter)};
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"wmic redirected (UTF-16LE, BOM)", Utf16Le(wmic)},
      {"wmic piped (UTF-8)", wmic},
      {"PowerShell (UTF-16LE, BOM)", Utf16Le(powershell)},
      {"UTF-16LE without BOM", Utf16Le(powershell, false)},
      {"UTF-8 with BOM, LF", "\xEF\xBB\xBF" + kHub + "\n" + kPrinter},
      {"Select-Object table", "Dependent\n---------\n" + kHub + "\n" + kPrinter + "\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDependentList(c.bytes, "usb.txt"), expected) << c.name;
}

TEST(DependentList, EmptyAndBadFilesHaveADefinedResult) {
  EXPECT_TRUE(ParseDependentList("", "empty.txt").empty());
  EXPECT_TRUE(ParseDependentList("\xFF\xFE", "bom.txt").empty());
  EXPECT_EQ(ParseDependentList("打印机\n", "zh.txt"), std::vector<Text>{u"打印机"});
  try {
    ParseDependentList(kHub + "\n" + kHub + "\n\xC3\x28\n", "bad.txt");
    FAIL() << "no error";
  } catch (const MachineError& error) {
    EXPECT_STREQ(error.what(), "bad.txt:3: not UTF-8 text (save it as UTF-8 or UTF-16 with a BOM)");
  }
  EXPECT_THROW(ParseDependentList("\xFF\xFE\x41", "odd.txt"), MachineError);
}

// A value cut short inside its quoted DeviceID is refused; escaped quotes inside it are not
// taken for its end.
TEST(DependentList, AQuoteLeftOpenNamesItsLine) {
  const std::string cut = R"(\\PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_1A86&PID_A79)";
  const std::string escaped = R"(\\PC\root\cimv2:Win32_PnPEntity.DeviceID="A\"B\\")";
  EXPECT_EQ(ParseDependentList(escaped + "\n", "ok.txt"), std::vector<Text>{Utf8Literal(escaped)});
  for (const std::string& bad : {cut, escaped.substr(0, escaped.size() - 1)}) {
    try {
      ParseDependentList("Dependent\r\r\n" + kHub + "\r\r\n" + bad + "  \r\r\n", "usb.txt");
      ADD_FAILURE() << "no error for " << bad;
    } catch (const MachineError& error) {
      EXPECT_STREQ(error.what(), "usb.txt:3: a quote opened and never closed");
    }
  }
}

class MachineFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("px-machine-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string ErrorOf() {
    try {
      LoadMachine(dir);
    } catch (const MachineError& error) {
      return error.what();
    }
    return "no error";
  }
  std::filesystem::path dir;
};

TEST_F(MachineFolder, LoadsLanguageFolderAndUsbTimeline) {
  Write("machine.toml",
        "ui_language = 'en-US'\nlocale = 'zh-CN'\nprogram_folder = 'C:\\Program Files\\PX'\n"
        "[[usb]]\nfrom_ms = 7500\nfile = 'b.txt'\n[[usb]]\nfrom_ms = 0\nfile = 'a.txt'\n");
  Write("a.txt", kHub + "\n");
  Write("b.txt", Utf16Le(kHub + "\r\n" + kPrinter + "\r\n"));
  const Machine machine = LoadMachine(dir);
  EXPECT_EQ(machine.ui_language, 0x0409);
  EXPECT_EQ(machine.ansi_code_page, 936u);
  EXPECT_EQ(machine.program_folder, u"C:\\Program Files\\PX");
  EXPECT_EQ(machine.DependentsAt(7499).size(), 1u);
  EXPECT_EQ(machine.DependentsAt(7500).size(), 2u);
  EXPECT_EQ(machine.arch, Architecture::kAmd64);
  EXPECT_EQ(machine.windows_version, (WindowsVersion{10, 0, 22631}));
}

// Captures come from PCs in every language: each tag gets Windows' LANGID and ANSI code page,
// and a tag Windows does not know loads as a custom locale, with a warning naming its line.
TEST_F(MachineFolder, LanguagesOfEveryWindowsPc) {
  const struct {
    const char* tag;
    std::uint16_t lang_id;
    unsigned code_page;
  } cases[] = {
      {"es-ES", 0x0C0A, 1252},      {"pt-BR", 0x0416, 1252},      {"pl-PL", 0x0415, 1250},
      {"sr-Latn-RS", 0x241A, 1250}, {"sr-Cyrl-RS", 0x281A, 1251}, {"tr-TR", 0x041F, 1254},
      {"el-GR", 0x0408, 1253},      {"he-IL", 0x040D, 1255},      {"ar-SA", 0x0401, 1256},
      {"lt-LT", 0x0427, 1257},      {"vi-VN", 0x042A, 1258},      {"th-TH", 0x041E, 874},
      {"ja-JP", 0x0411, 932},       {"zh-CN", 0x0804, 936},       {"ko-KR", 0x0412, 949},
      {"zh-HK", 0x0C04, 950},       {"hi-IN", 0x0439, 65001},     {"x-klingon", 0x1000, 1252},
  };
  for (const auto& c : cases) {
    Write("machine.toml", std::string("program_folder = 'C:\\PX'\nui_language = '") + c.tag +
                              "'\nlocale = '" + c.tag + "'\n");
    const Machine machine = LoadMachine(dir);
    EXPECT_EQ(machine.ui_language, c.lang_id) << c.tag;
    EXPECT_EQ(machine.ansi_code_page, c.code_page) << c.tag;
    EXPECT_EQ(machine.warnings.size(), c.lang_id == 0x1000 ? 2u : 0u) << c.tag;
  }
  const std::vector<std::string> warnings = LoadMachine(dir).warnings;
  const std::string locale_line =
      (dir / "machine.toml").string() +
      ":3: unknown language \"x-klingon\", taken as a custom locale with code page 1252";
  EXPECT_NE(std::find(warnings.begin(), warnings.end(), locale_line), warnings.end());
}

TEST_F(MachineFolder, ArchitectureAndWindowsVersion) {
  Write("machine.toml",
        "program_folder = 'C:\\PX'\narch = 'arm64'\nwindows_version = '10.0.26100'\n");
  const Machine machine = LoadMachine(dir);
  EXPECT_EQ(machine.arch, Architecture::kArm64);
  EXPECT_EQ(machine.windows_version, (WindowsVersion{10, 0, 26100}));
}

TEST_F(MachineFolder, ChineseProgramFolder) {
  Write("machine.toml", "program_folder = 'C:\\用户\\林\\下载' # 下载\n");
  EXPECT_EQ(LoadMachine(dir).program_folder, u"C:\\用户\\林\\下载");
}

TEST_F(MachineFolder, MalformedDescriptionsNameFileLineAndReason) {
  const std::string file = (dir / "machine.toml").string();
  const struct {
    std::string toml;
    std::string error;
  } cases[] = {
      {"program_folder = 'C:\\PX'\n\ncolour = 3\n", ":3: unknown key \"colour\""},
      {"program_folder = 'C:\\PX\n", ":1: "},
      {"ui_language = 'zh-CN'\n", ": program_folder is missing"},
      {"program_folder = 'C:\\PX'\n[[usb]]\nfrom_ms = -5\nfile = 'a.txt'\n",
       ":3: from_ms must be a whole number >= 0"},
      {"program_folder = 'C:\\PX'\n[[usb]]\nfrom_ms = 0\n", ":2: [[usb]] needs a file"},
      {"program_folder = 'C:\\PX'\narch = 'ARM64'\n",
       ":2: arch must be \"x86\", \"x64\" or \"arm64\""},
      {"program_folder = 'C:\\PX'\n\nwindows_version = '10.0'\n",
       ":3: windows_version must be major.minor.build, such as \"10.0.22631\""},
      {"program_folder = 'C:\\PX'\nwindows_version = '10.0.22631.1'\n", ":2: windows_version"},
      {"program_folder = 'C:\\PX'\nwindows_version = '10.-1.5'\n", ":2: windows_version"},
      {"program_folder = 'C:\\PX'\nwindows_version = '10.0.9999999999'\n", ":2: windows_version"},
      {"program_folder = 'C:\\PX'\nwindows_version = 10\n", ":2: windows_version must be a text"},
      {"program_folder = 'C:\\PX'\ndrivers = 'A'\n", ":2: drivers must be a list of driver names"},
      {"program_folder = 'C:\\PX'\ndrivers = ['A', '']\n", ":2: a driver needs a name"},
      {"program_folder = 'C:\\PX'\n[[faults]]\ncall = 'RegOpenKey'\nnth = 1\nerror = 5\n",
       ":3: call \"RegOpenKey\" is no operation a fault can be planned for"},
      {"program_folder = 'C:\\PX'\n[[faults]]\ncall = 'GetPrinter'\nnth = 1\nerror = 112\n",
       ":2: error 112 is not one GetPrinter documents"},
      {"program_folder = 'C:\\PX'\n[[faults]]\ncall = 'GetPrinter'\nnth = 0\nerror = 5\n",
       ":4: nth must be a whole number >= 1"},
      // Found by fuzzing: characters the TOML reader cannot take anywhere.
      {"\n\xCB\x8D", ":2: U+02CD cannot be read here; write it as \\u02CD in a \"quoted\" text"},
      {"\n\n-=-'\xEF\xB3\xBFp<\n\n'\xEF\xBB\xBFp<", ":3: U+FCFF cannot be read here"},
      {"program_folder = 'C:\\PX'\n\xC3\x28", ":2: not UTF-8 text"},
  };
  for (const auto& c : cases) {
    Write("machine.toml", c.toml);
    const std::string error = ErrorOf();
    EXPECT_EQ(error.rfind(file + c.error, 0), 0u) << error;
  }
  std::filesystem::remove(dir / "machine.toml");
  EXPECT_EQ(ErrorOf(), file + ": cannot be read");
}

TEST(SimSystem, DriverPackageFilesLieUnderTheProgramFolder) {
  Machine machine;
  machine.package_dir = "/pkg";
  const struct {
    const char16_t* folder;
    const char16_t* path;
    const char* host;
  } cases[] = {
      {u"C:\\Drivers", u"C:\\Drivers\\PX\\PX.inf", "/pkg/PX.inf"},
      {u"C:\\Drivers", u"c:\\drivers\\px\\PX.GPD", "/pkg/PX.GPD"},
      {u"C:\\", u"C:\\\\PX\\PX.inf", "/pkg/PX.inf"},
      {u"C:\\Program Files (x86)\\PX", u"C:\\Program Files (x86)\\PX\\PX\\PX.inf", "/pkg/PX.inf"},
      {u"C:\\Drivers", u"C:\\Other\\PX\\PX.inf", ""},
      {u"C:\\Drivers", u"C:\\Drivers\\PX.inf", ""},
  };
  for (const auto& c : cases) {
    machine.program_folder = c.folder;
    EXPECT_EQ(SimSystem(machine).HostPath(c.path), std::filesystem::path(c.host)) << ToUtf8(c.path);
  }
}

TEST(Trace, KeepsEveryEffectOnOneLine) {
  EXPECT_EQ(RunLog::Escape(u"驱动安装失败!!\n打印机未注册:A\tB\r"),
            "驱动安装失败!!\\n打印机未注册:A\\tB\\r");
}

}  // namespace
}  // namespace px::sim
