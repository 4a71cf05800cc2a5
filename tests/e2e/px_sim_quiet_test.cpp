// px-sim run --args: the installer's own command line on a simulated PC, its exit code and the
// log file it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

  // Between them, the trace line for line, with the port search's verdicts where it ran.
  std::vector<std::string> events;
  std::vector<std::string> port;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    (Field(lines[i], 1) == "Port" ? port : events).push_back(lines[i]);
  }
  EXPECT_EQ(events, Lines(r.out));
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
