// What px-capture writes, read back with px-sim's own loaders: a .reg file, wmic's text and
// machine.toml each give back what was captured. And its command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/utf.h"
#include "capture/capture_options.h"
#include "capture/machine_toml.h"
#include "capture/reg_export.h"
#include "capture/wmic_text.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/machine.h"
#include "platform/sim/reg_file.h"

namespace px::capture {
namespace {

std::string Utf16(TextView text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string StringData(TextView text) { return Utf16(Text(text) + u'\0'); }

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The lines of a UTF-16LE file with a BOM, split at LF.
std::vector<Text> Lines(const std::string& bytes) {
  const Text text = sim::DecodeTextFile(bytes, "file");
  std::vector<Text> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(u'\n', start)) != Text::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

constexpr TextView kKey =
    u"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\usbprint\\Enum";

TEST(RegExport, WritesTheFileRegExportWrites) {
  // The usbprint list of machines/replay-sample, as reg export wrote it there.
  const std::vector<ExportedKey> keys = {
      {Text(kKey),
       {{u"0", 1, StringData(u"USB\\VID_2D37&PID_1F40\\QA7K000912")},
        {u"1", 1, StringData(u"USB\\VID_1A86&PID_A120\\6&1C4B2A7&0&2")},
        {u"Count", 4, std::string("\x02\0\0\0", 4)},
        {u"NextInstance", 4, std::string("\x02\0\0\0", 4)}}}};
  EXPECT_EQ(RegExportFile(keys), ReadFile(std::filesystem::path(PX_SOURCE_ROOT) /
                                          "machines/replay-sample/usbprint.reg"));
}

TEST(RegExport, EveryValueReadsBackAsItWasCaptured) {
  std::string bytes_0_to_255;
  for (int i = 0; i < 256; ++i) bytes_0_to_255 += static_cast<char>(i);
  const std::vector<ExportedValue> values = {
      {u"", 1, StringData(u"default")},
      {u"Text \"quoted\" \\ back", 1, StringData(u"C:\\Users\\林\\\"x\" é")},
      {u"Empty", 1, StringData(u"")},
      {u"No terminator", 1, Utf16(u"abc")},
      {u"Odd size", 1, std::string("a\0b", 3)},
      {u"Line break", 1, StringData(u"a\r\nb")},
      {u"Inner NUL", 1, Utf16(Text(u"a\0b\0", 4))},
      {u"Nothing", 1, ""},
      {u"Port Number", 4, std::string("\x00\x01\0\0", 4)},
      {u"Short dword", 4, std::string("\x07\0", 2)},
      {u"Binary", 3, bytes_0_to_255},
      {u"Expand", 2, StringData(u"%SystemRoot%\\x")},
      {u"Multi", 7, Utf16(Text(u"a\0bc\0\0", 6))},
      {u"Qword", 11, std::string("\1\2\3\4\5\6\7\x08", 8)},
      {u"None", 0, ""},
      {u"Type 0x20", 0x20, "\xFF"},
      {Text(90, u'n'), 3, std::string(30, '\x5A')},
  };
  const Text sub = u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad}\\##?#USB#]x";
  const std::vector<ExportedKey> keys = {
      {u"HKEY_LOCAL_MACHINE\\" + sub, values},
      {u"HKEY_LOCAL_MACHINE\\" + sub + u"\\#\\Device Parameters", {}}};
  const std::string file = RegExportFile(keys);

  sim::RegistryStore store;
  sim::LoadRegFile(store, file, "capture.reg", sim::CodePage(936));
  const auto key = store.Find(kHkeyLocalMachine, sub);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->value_count(), values.size());
  for (const ExportedValue& value : values) {
    SCOPED_TRACE(ToUtf8(value.name));
    const sim::RegValue* read = key->FindValue(value.name);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->type, value.type);
    EXPECT_EQ(read->data, value.data);
  }
  EXPECT_NE(store.Find(kHkeyLocalMachine, sub + u"\\#\\Device Parameters"), nullptr);

  // regedit's wrapping: 80 columns with the backslash, continuation lines of 25 bytes; a
  // name that fills the line already leaves one byte on it.
  const std::vector<Text> lines = Lines(file);
  const Text long_name = u"\"" + Text(90, u'n') + u"\"=hex:5a,\\\r";
  EXPECT_NE(std::find(lines.begin(), lines.end(), long_name), lines.end());
  const auto binary = std::find_if(
      lines.begin(), lines.end(), [](const Text& line) { return line.starts_with(u"\"Binary\""); });
  ASSERT_NE(binary, lines.end());
  EXPECT_EQ(*binary,
            u"\"Binary\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,"
            u"14,15,\\\r");
  EXPECT_EQ(binary[1],
            u"  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,"
            u"2e,\\\r");
}

TEST(RegExport, NoKeyGivesAFileThatImportsNothing) {
  sim::RegistryStore store;
  sim::LoadRegFile(store, RegExportFile({}), "empty.reg", sim::CodePage(1252));
  EXPECT_EQ(store.Root(kHkeyLocalMachine)->child_count(), 0u);
}

TEST(WmicText, DependentValuesReadBack) {
  for (const std::vector<Text>& values :
       {std::vector<Text>{},
        std::vector<Text>{
            u"\\\\LIN-PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\ROOT_HUB30\\\\4&2F&0&0\"",
            u"\\\\LIN-PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1A86&PID_A120\\\\6&"
            u"1C\"",
            u"\\\\林\\root\\cimv2:Win32_PnPEntity.DeviceID=\"X\""}}) {
    const std::string file = WmicPropertyFile(u"Dependent", values);
    EXPECT_EQ(sim::ParseDependentList(file, "usb.txt"), values);
    // Every line but the closing empty one padded to the same width, ended by CR CR LF.
    const std::vector<Text> lines = Lines(file);
    ASSERT_EQ(lines.size(), values.size() + 3);
    EXPECT_EQ(lines[values.size() + 1], u"\r\r");
    EXPECT_TRUE(lines.back().empty());
    for (std::size_t i = 0; i <= values.size(); ++i) {
      EXPECT_EQ(lines[i].size(), lines[0].size());
      EXPECT_TRUE(lines[i].ends_with(u"  \r\r"));
    }
  }
}

class MachineTomlRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("px-capture-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  sim::Machine Load(const CapturedMachine& captured, const std::vector<Text>& usb) {
    std::ofstream(dir_ / "usb.txt", std::ios::binary) << WmicPropertyFile(u"Dependent", usb);
    const std::string toml = MachineToml(captured);
    std::ofstream(dir_ / "machine.toml", std::ios::binary) << toml;
    return sim::LoadMachine(dir_);
  }

  std::filesystem::path dir_;
};

TEST_F(MachineTomlRoundTrip, PxSimReadsWhatWasCaptured) {
  struct Case {
    const char16_t* ui_language;
    const char16_t* locale;
    const char16_t* arch;
    sim::Architecture expected_arch;
    std::uint16_t lang_id;
    unsigned code_page;
  };
  for (const Case& c :
       {Case{u"zh-CN", u"zh-CN", u"x64", sim::Architecture::kAmd64, 0x0804, 936},
        Case{u"en-US", u"ja-JP", u"x86", sim::Architecture::kX86, 0x0409, 932},
        Case{u"zh-TW", u"en-GB", u"arm64", sim::Architecture::kArm64, 0x0404, 1252}}) {
    SCOPED_TRACE(ToUtf8(c.arch));
    CapturedMachine captured;
    captured.computer = u"LIN-PC";
    captured.captured_at = u"2026-12-07 18:40:12";
    captured.ui_language = c.ui_language;
    captured.locale = c.locale;
    captured.windows_version = u"10.0.22631";
    captured.arch = c.arch;
    // A folder name with what TOML must escape and what its reader misreads when raw (é, the
    // ideographic comma), an astral character and Chinese.
    captured.program_folder = u"C:\\Users\\林\\Desktop\\PX \"1.20\" café、𠀀\t'x'";
    captured.ports = {u"LPT1:", u"USB001", u"Port 林"};
    captured.printers = {{u"打印机 58", u"USB001", u"PX-58"}, {u"Fax \"x\"", u"SHRFAX:", u"Fax"}};
    captured.registry_files = {u"printers.reg", u"usbprint.reg"};
    captured.usb_file = u"usb.txt";
    captured.log_copied = true;
    // Protected print mode not known (x86), off (x64), on (arm64).
    captured.protected_print =
        c.arch == Text(u"x86") ? std::nullopt : std::optional<bool>(c.arch == Text(u"arm64"));
    const std::vector<Text> usb = {u"\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\X\""};

    const sim::Machine machine = Load(captured, usb);
    EXPECT_EQ(machine.ui_language, c.lang_id);
    EXPECT_EQ(machine.ansi_code_page, c.code_page);
    EXPECT_EQ(machine.arch, c.expected_arch);
    EXPECT_EQ(machine.windows_version, (sim::WindowsVersion{10, 0, 22631}));
    EXPECT_EQ(machine.program_folder, captured.program_folder);
    EXPECT_EQ(machine.registry_files,
              (std::vector<std::filesystem::path>{dir_ / "printers.reg", dir_ / "usbprint.reg"}));
    EXPECT_EQ(machine.ports, captured.ports);  // the PC's ports, none added
    ASSERT_EQ(machine.printers.size(), 2u);
    EXPECT_EQ(machine.printers[0].name, u"打印机 58");
    EXPECT_EQ(machine.printers[0].port, u"USB001");
    EXPECT_EQ(machine.printers[1].name, u"Fax \"x\"");
    EXPECT_EQ(machine.printers[1].driver, u"Fax");
    ASSERT_EQ(machine.usb.size(), 1u);
    EXPECT_EQ(machine.usb[0].dependents, usb);
    EXPECT_FALSE(machine.wmi_error_from_ms);
    EXPECT_EQ(machine.protected_print, captured.protected_print);
  }
}

TEST_F(MachineTomlRoundTrip, AFailedUsbQueryReplaysAsAWmiFault) {
  CapturedMachine captured;
  captured.ui_language = u"en-US";
  captured.locale = u"en-US";
  captured.windows_version = u"6.1.7601";
  captured.arch = u"x86";
  captured.program_folder = u"C:\\";
  captured.usb_file = u"usb.txt";
  captured.wmi_error = u"WMI ConnectServer root\\cimv2 failed: 0x80041003";
  const sim::Machine machine = Load(captured, {});
  EXPECT_EQ(machine.wmi_error_from_ms, 0);
  EXPECT_TRUE(machine.registry_files.empty());
  EXPECT_EQ(machine.windows_version, (sim::WindowsVersion{6, 1, 7601}));
}

// A support person types the switches as for the installer; a line holding /quiet never
// shows a box.
TEST(CaptureCommandLine, TakesTheInstallersSwitches) {
  struct Case {
    std::vector<Text> args;
    bool error, quiet, usage;
    Text folder;
  };
  const Case cases[] = {
      {{}, false, false, false, u""},
      {{u"-QUIET", u"D:\\capture"}, false, true, false, u"D:\\capture"},
      {{u"/q"}, false, true, false, u""},
      {{u"/?"}, false, false, true, u""},
      {{u"/? ", u"/quiet"}, true, true, false, u""},  // an unknown switch "/? "
      {{u"/quiet", u"/?"}, true, true, true, u""},    // a box /quiet rules out
      {{u"C:\\a", u"C:\\b"}, true, false, false, u"C:\\a"},
      {{u"/folder", u"x"}, true, false, false, u"x"},
      {{u"C:\\logs\" /quiet"}, true, true, false, u""},  // "C:\logs\" /quiet
  };
  for (const Case& c : cases) {
    const ParsedCaptureLine parsed = ParseCaptureCommandLine(c.args);
    const std::string line = c.args.empty() ? "(none)" : ToUtf8(c.args.front());
    EXPECT_EQ(!parsed.error.empty(), c.error) << line << ": " << ToUtf8(parsed.error);
    EXPECT_EQ(parsed.options.quiet, c.quiet) << line;
    EXPECT_EQ(parsed.options.usage, c.usage) << line;
    EXPECT_EQ(parsed.options.folder, c.folder) << line;
  }
}

}  // namespace
}  // namespace px::capture
