#include "platform/sim/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <system_error>

#include "base/utf.h"

namespace px::sim {

namespace {

std::uint32_t AttributesOf(const struct stat& status) {
  if (S_ISLNK(status.st_mode)) return kFileAttributeReparsePoint;
  return S_ISDIR(status.st_mode) ? kFileAttributeDirectory : 0;
}

// An opened file, or a symbolic link taken as itself (which cannot be written).
class SimLogFile : public LogFile {
 public:
  SimLogFile(int fd, std::string path, FaultPlan* faults)
      : fd_(fd), path_(std::move(path)), faults_(faults) {}
  ~SimLogFile() override {
    if (fd_ >= 0) close(fd_);
  }
  SimLogFile(const SimLogFile&) = delete;
  SimLogFile& operator=(const SimLogFile&) = delete;

  OpenedFileFacts Facts() override {
    struct stat status {};
    if (fd_ < 0) {
      if (lstat(path_.c_str(), &status) != 0) return {};
    } else if (fstat(fd_, &status) != 0) {
      return {};
    }
    return {AttributesOf(status), static_cast<std::uint32_t>(status.st_nlink),
            static_cast<std::uint64_t>(status.st_size)};
  }

  bool Append(std::string_view bytes) override {
    if (fd_ < 0 || Planned("log write")) return false;
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Linux renames by name only; the name is the one this file was opened by.
  bool RenameTo(const Text& path) override {
    if (fd_ < 0 || Planned("log rotate")) return false;
    const std::string to = ToUtf8(path);
    if (rename(path_.c_str(), to.c_str()) != 0) return false;
    path_ = to;
    return true;
  }

 private:
  bool Planned(std::string_view call) { return faults_ && faults_->Call(call) != 0; }

  int fd_;
  std::string path_;
  FaultPlan* faults_;
};

}  // namespace

Text SimLogFiles::FullPath(const Text& path) {
  if (path.empty()) return Text();
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(ToUtf8(path), error);
  if (error) return Text();
  return FromUtf8(full.lexically_normal().string()).value_or(Text());
}

std::unique_ptr<LogFile> SimLogFiles::Open(const Text& path) {
  if (Injected("log open")) return nullptr;
  const std::string name = ToUtf8(path);
  std::error_code error;
  const std::filesystem::path parent = std::filesystem::path(name).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, error);
  struct stat status {};
  if (lstat(name.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    return std::make_unique<SimLogFile>(-1, name, faults());
  }
  const int fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<SimLogFile>(fd, name, faults());
}

}  // namespace px::sim
