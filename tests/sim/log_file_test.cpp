// px-sim's log files under the installer's rotating log: made where asked, appended to, rotated
// past a megabyte, links refused; and the rotated name both programs give a log.
#include "platform/sim/log_file.h"

#include "app/rotating_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/utf.h"

namespace px::sim {
namespace {

TEST(RotatedLogPath, PutsOneBeforeTheExtension) {
  EXPECT_EQ(RotatedLogPath(u"C:\\ProgramData\\px-installer\\px-installer.log"),
            u"C:\\ProgramData\\px-installer\\px-installer.1.log");
  EXPECT_EQ(RotatedLogPath(u"D:\\logs.d\\run"), u"D:\\logs.d\\run.1");
  EXPECT_EQ(RotatedLogPath(u"/var/log/run.txt"), u"/var/log/run.1.txt");
  EXPECT_EQ(RotatedLogPath(u"C:\\logs\\.log"), u"C:\\logs\\.log.1");
}

class LogFile : public ::testing::Test {
 protected:
  LogFile() {
    dir = std::filesystem::temp_directory_path() /
          ("px-log-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
  }
  ~LogFile() override { std::filesystem::remove_all(dir); }

  static void Fill(const std::filesystem::path& path, std::uintmax_t size, char c) {
    std::ofstream(path, std::ios::binary) << std::string(size, c);
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::unique_ptr<RotatingLog> Open(const std::filesystem::path& path) {
    return RotatingLog::Open(files, FromUtf8(path.string()).value());
  }

  std::filesystem::path dir;
  SimLogFiles files;
};

TEST_F(LogFile, IsMadeInAFolderCreatedForItAndAppendedTo) {
  const auto path = dir / "px-installer" / "px-installer.log";
  Open(path)->Write("first\n");
  Open(path)->Write("second\n");
  EXPECT_EQ(Read(path), "first\nsecond\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "px-installer" / "px-installer.1.log"));
}

TEST_F(LogFile, PastOneMegabyteItIsRenamedAndANewOneBegins) {
  const auto path = dir / "px-installer.log";
  const auto rotated = dir / "px-installer.1.log";
  std::filesystem::create_directories(dir);

  Fill(path, kLogRotateBytes, 'a');  // exactly 1 MB: not yet
  std::unique_ptr<RotatingLog> log = Open(path);
  EXPECT_FALSE(std::filesystem::exists(rotated));
  log->Write("b");  // past it during the run: renamed at once
  EXPECT_EQ(std::filesystem::file_size(rotated), kLogRotateBytes + 1);
  log->Write("new");
  EXPECT_EQ(Read(path), "new");

  Fill(path, kLogRotateBytes + 10, 'c');  // past it when a run begins; the older one is replaced
  Open(path)->Write("newer");
  EXPECT_EQ(Read(path), "newer");
  EXPECT_EQ(Read(rotated), std::string(kLogRotateBytes + 10, 'c'));
}

TEST_F(LogFile, ThatCannotBeWrittenIsNoneAndTheRunGoesOn) {
  std::filesystem::create_directories(dir);
  Fill(dir / "file", 1, 'x');
  EXPECT_EQ(Open(dir / "file" / "px-installer.log"), nullptr);  // a file for a folder
  EXPECT_EQ(Open(dir), nullptr);                                // a folder for a file
}

// A link where the log goes would have the installer write, or rename, a file of someone
// else's choosing.
TEST_F(LogFile, ALinkOrAFileWithASecondNameIsNotWritten) {
  std::filesystem::create_directories(dir);
  const auto target = dir / "target";
  Fill(target, kLogRotateBytes + 1, 't');
  std::filesystem::create_symlink(target, dir / "symlink.log");
  std::filesystem::create_hard_link(target, dir / "hardlink.log");
  Text why;
  EXPECT_EQ(RotatingLog::Open(files, FromUtf8((dir / "symlink.log").string()).value(), &why),
            nullptr);
  EXPECT_NE(why.find(u"it is a link"), Text::npos) << ToUtf8(why);
  EXPECT_EQ(RotatingLog::Open(files, FromUtf8((dir / "hardlink.log").string()).value(), &why),
            nullptr);
  EXPECT_NE(why.find(u"2 hard links"), Text::npos) << ToUtf8(why);
  EXPECT_EQ(Read(target), std::string(kLogRotateBytes + 1, 't'));
  EXPECT_FALSE(std::filesystem::exists(dir / "symlink.1.log"));
  EXPECT_FALSE(std::filesystem::exists(dir / "hardlink.1.log"));

  // A link among the folders above: nothing is made, written or moved where it points.
  std::filesystem::create_directories(dir / "elsewhere");
  Fill(dir / "elsewhere" / "px.log", kLogRotateBytes + 1, 'e');
  std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "logs");
  EXPECT_EQ(RotatingLog::Open(files, FromUtf8((dir / "logs" / "px.log").string()).value(), &why),
            nullptr);
  EXPECT_NE(why.find(u"is a junction or a link"), Text::npos) << ToUtf8(why);
  EXPECT_EQ(Read(dir / "elsewhere" / "px.log"), std::string(kLogRotateBytes + 1, 'e'));
  EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere" / "px.1.log"));
}

}  // namespace
}  // namespace px::sim
