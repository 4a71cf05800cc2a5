// px-sim run --args: the installer's own command line on a simulated PC, its exit code and the
// log file it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "px_sim_process.h"

namespace {

using Result = px::testing::PxSimResult;

Result PxSim(const std::string& args) { return px::testing::RunPxSim(args, false); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Field(const std::string& line, int n) {
  std::istringstream in(line);
  std::string field;
  for (int i = 0; i <= n; ++i) std::getline(in, field, '\t');
  return field;
}

class PxSimQuiet : public ::testing::Test {
 protected:
  PxSimQuiet() {
    dir = std::filesystem::temp_directory_path() /
          (std::string("px-sim-quiet-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~PxSimQuiet() override { std::filesystem::remove_all(dir); }

  std::string Read(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir;
};

TEST_F(PxSimQuiet, LogHoldsTheHeaderTheTraceThePortSearchAndTheExitCode) {
  const auto log = dir / "px-installer.log";
  const Result r = PxSim("run default --instant --view none --trace - --args \"/quiet /log " +
                         log.string() + "\"");
  ASSERT_EQ(r.code, 0) << r.out;
  const std::vector<std::string> lines = Lines(Read(log));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(),
            "0\tStart\tpx-installer " PX_VERSION
            "\tWindows 10.0.22631\tamd64\tUI 0804\tlocale "
            "zh-CN\tfolder C:\\Users\\lin\\Downloads\\px-installer\tsimulated\targuments /quiet "
            "/log " +
                log.string());
  EXPECT_EQ(lines.back(), "13080\tExit\t0\tthe printer is registered on its port");

  // Between them, the trace line for line, with the port search's verdicts where it ran; the
  // passes at 6 s and 7 s saw what the first one saw, and one line counts them instead.
  std::vector<std::string> events;
  std::vector<std::string> port;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    (Field(lines[i], 1) == "Port" ? port : events).push_back(lines[i]);
  }
  std::vector<std::string> expected;
  for (const std::string& line : Lines(r.out)) {
    if (line.starts_with("8020\tLabel1(2)\t") && expected.back().starts_with("5020\t")) {
      expected.push_back(
          "8020\tUnchanged\t2 detection passes read the same USB devices as the "
          "one before");
    }
    if (!line.starts_with("6020\t") && !line.starts_with("7020\t")) expected.push_back(line);
  }
  EXPECT_EQ(events, expected);
  ASSERT_FALSE(port.empty());
  EXPECT_EQ(Field(port.back(), 0), "8020");
  EXPECT_EQ(Field(port.back(), 6), "accepted");

  // A second run appends: two Start lines.
  ASSERT_EQ(
      PxSim("run default --instant --view none --args \"/quiet /log " + log.string() + "\"").code,
      0);
  std::size_t starts = 0;
  for (const std::string& line : Lines(Read(log))) starts += Field(line, 1) == "Start";
  EXPECT_EQ(starts, 2u);
}

TEST_F(PxSimQuiet, LogThatCannotBeWrittenChangesNothing) {
  const Result plain = PxSim("run default --instant --view none --trace - --args /quiet");
  std::ofstream(dir / "file") << "x";
  const Result logged = PxSim("run default --instant --view none --trace - --args \"/quiet /log " +
                              (dir / "file" / "px-installer.log").string() + "\"");
  EXPECT_EQ(logged.code, 0);
  EXPECT_EQ(logged.out, plain.out);
}

TEST_F(PxSimQuiet, ExitCodesOfTheCommandLine) {
  struct Case {
    const char* args;
    int code;
  };
  const Case cases[] = {
      {"/quiet /wait 30", 0},
      {"/quiet /wait 1", 2},  // the printer comes at 7.5 s; the wait ends
                              // at 6 s
      {"/quiet /wait", 87},
      {"/quiet /reboot", 87},
      {"/uninstall /quiet", 0},  // nothing of the package on the built-in PC
      {"/uninstall /wait 5", 87},
      {"/?", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        PxSim(std::string("run default --instant --view none --args \"") + c.args + "\"").code,
        c.code)
        << c.args;
  }
  // A deployment tool's typo is in the log, as the installer writes it.
  const auto log = dir / "typo.log";
  EXPECT_EQ(PxSim("run default --instant --view none --args \"/log " + log.string() +
                  " /quiet /wiat 30\"")
                .code,
            87);
  const std::vector<std::string> lines = Lines(Read(log));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "0\tMessage\tpx-installer\tunknown argument: /wiat");
  EXPECT_EQ(lines[2], "0\tExit\t87\tthe command line is not understood");
}

// The usage box px-sim prints for a line it does not understand, and which a quiet line never
// shows; the exit code is 87 either way.
TEST_F(PxSimQuiet, AQuietCommandLineShowsNoBoxWhateverElseItHolds) {
  struct Case {
    const char* args;  // as the shell passes them to --args
    bool box;
  };
  const Case cases[] = {
      {"'/wiat 600 /quiet'", false},
      {"'/quiet /?'", false},
      {"'/log \"C:\\logs\\\" /quiet'", false},  // /log "C:\logs\" /quiet
      {"'-QUIET /log'", false},
      {"'/wiat 600'", true},
  };
  for (const Case& c : cases) {
    const Result r = px::testing::RunPxSim(
        std::string("run default --instant --view none --args ") + c.args, true);
    EXPECT_EQ(r.code, 87) << c.args << "\n" << r.out;
    EXPECT_EQ(r.out.find("Exit codes:") != std::string::npos, c.box) << c.args << "\n" << r.out;
  }
}

// A window left waiting for a printer on a PC with ten USB devices: the trace has every pass,
// the log what changed and a line a minute.
TEST_F(PxSimQuiet, AnHourOfUnchangedScanningAddsLittleToTheLog) {
  std::ofstream usb(dir / "usb.txt");
  for (int i = 0; i < 10; ++i) {
    usb << "\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_046D&PID_C3" << 10 + i
        << "\\\\6&3A1F2B7&0&" << i << "\"\n";
  }
  usb.close();
  std::ofstream(dir / "machine.toml") << "ui_language = \"zh-CN\"\nlocale = \"zh-CN\"\n"
                                         "program_folder = 'C:\\px'\n\n[[usb]]\nfrom_ms = 0\n"
                                         "file = \"usb.txt\"\n";
  const auto log = dir / "px-installer.log";
  const auto trace = dir / "trace.txt";
  const Result r = PxSim("run " + dir.string() + " --instant --view none --close-at 3605000 " +
                         "--trace " + trace.string() + " --args \"/log " + log.string() + "\"");
  ASSERT_EQ(r.code, 0) << r.out;
  const auto log_bytes = std::filesystem::file_size(log);
  const auto trace_bytes = std::filesystem::file_size(trace);
  std::cout << "an hour of scanning: log " << log_bytes << " bytes, trace " << trace_bytes
            << " bytes\n";
  EXPECT_LE(log_bytes, 16u * 1024);
  EXPECT_GE(trace_bytes, 3600u * 10 * 100);  // every pass is still in the trace
}

TEST_F(PxSimQuiet, UninstallLeavesOtherMakersAndItsLogSaysWhichZero) {
  const auto log = dir / "uninstall.log";
  const Result removed = px::testing::RunPxSim(
      "run uninstall --instant --args \"/uninstall /quiet /log " + log.string() + "\"", true);
  EXPECT_EQ(removed.code, 0) << removed.out;
  EXPECT_EQ(removed.lines, (std::vector<std::string>{"px-sim: printer \"Office laser\" on USB003",
                                                     "px-sim: driver \"Office laser PCL6\""}));
  EXPECT_EQ(Lines(Read(log)).back(),
            "0\tExit\t0\tthe printers and drivers of the package are removed");

  ASSERT_EQ(
      PxSim("run default --instant --args \"/uninstall /quiet /log " + log.string() + "\"").code,
      0);
  EXPECT_EQ(Lines(Read(log)).back(),
            "0\tExit\t0\tnothing to remove: no printer or driver of the package");
}

}  // namespace
