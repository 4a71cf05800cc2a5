// px-sim's log files: made where asked, appended to, rotated past a megabyte; and the rotated
// name both programs give a log.
#include "platform/sim/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

  std::filesystem::path dir;
};

TEST_F(LogFile, IsMadeInAFolderCreatedForItAndAppendedTo) {
  const auto path = dir / "px-installer" / "px-installer.log";
  OpenLogFile(path)->Write("first\n");
  OpenLogFile(path)->Write("second\n");
  EXPECT_EQ(Read(path), "first\nsecond\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "px-installer" / "px-installer.1.log"));
}

TEST_F(LogFile, PastOneMegabyteItIsRenamedAndANewOneBegins) {
  const auto path = dir / "px-installer.log";
  const auto rotated = dir / "px-installer.1.log";
  std::filesystem::create_directories(dir);

  Fill(path, kLogRotateBytes, 'a');  // exactly 1 MB: not yet
  OpenLogFile(path)->Write("b");
  EXPECT_EQ(std::filesystem::file_size(path), kLogRotateBytes + 1);
  EXPECT_FALSE(std::filesystem::exists(rotated));

  OpenLogFile(path)->Write("new");  // past it: renamed
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(std::filesystem::file_size(rotated), kLogRotateBytes + 1);

  Fill(path, kLogRotateBytes + 10, 'c');  // the older rotated one is replaced
  OpenLogFile(path)->Write("newer");
  EXPECT_EQ(Read(path), "newer");
  EXPECT_EQ(Read(rotated), std::string(kLogRotateBytes + 10, 'c'));
}

TEST_F(LogFile, ThatCannotBeWrittenIsNoneAndTheRunGoesOn) {
  std::filesystem::create_directories(dir);
  Fill(dir / "file", 1, 'x');
  EXPECT_EQ(OpenLogFile(dir / "file" / "px-installer.log"), nullptr);  // a file for a folder
  EXPECT_EQ(OpenLogFile(dir), nullptr);                                // a folder for a file
}

}  // namespace
}  // namespace px::sim
