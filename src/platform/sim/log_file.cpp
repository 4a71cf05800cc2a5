#include "platform/sim/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/utf.h"

namespace px::sim {

namespace {

std::uint32_t AttributesOf(const struct stat& status) {
  if (S_ISLNK(status.st_mode)) return kFileAttributeReparsePoint;
  return S_ISDIR(status.st_mode) ? kFileAttributeDirectory : 0;
}

// A Unix account as Windows would name it: root as Administrators, anyone else by the SID
// Samba gives a Unix user (S-1-22-1-uid) or group (S-1-22-2-gid).
Text UnixSid(uid_t uid) {
  if (uid == 0) return kAdministratorsSid;
  return u"S-1-22-1-" + Decimal(uid);
}

FolderFacts FolderFactsOf(const struct stat& status) {
  FolderFacts facts;
  facts.exists = true;
  facts.attributes = AttributesOf(status);
  facts.owner = UnixSid(status.st_uid);
  if (status.st_mode & S_IWUSR) facts.writers.push_back(facts.owner);
  if (status.st_mode & S_IWGRP) facts.writers.push_back(u"S-1-22-2-" + Decimal(status.st_gid));
  if (status.st_mode & S_IWOTH) facts.writers.push_back(u"S-1-1-0");
  return facts;
}

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// An opened file, or a symbolic link taken as itself (which cannot be written), in a held
// folder.
class SimLogFile : public LogFile {
 public:
  SimLogFile(Descriptor file, int folder, std::string name, FaultPlan* faults)
      : file_(std::move(file)), folder_(folder), name_(std::move(name)), faults_(faults) {}

  OpenedFileFacts Facts() override {
    struct stat status {};
    if (file_.get() < 0) {
      if (fstatat(folder_, name_.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return {};
    } else if (fstat(file_.get(), &status) != 0) {
      return {};
    }
    return {AttributesOf(status), static_cast<std::uint32_t>(status.st_nlink),
            static_cast<std::uint64_t>(status.st_size)};
  }

  bool Append(std::string_view bytes) override {
    if (file_.get() < 0 || Planned("log write")) return false;
    return write(file_.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Linux renames by name only; the name is the one this file was opened by, in the folder
  // held.
  bool RenameTo(const Text& name) override {
    if (file_.get() < 0 || Planned("log rotate")) return false;
    const std::string to = ToUtf8(name);
    if (renameat(folder_, name_.c_str(), folder_, to.c_str()) != 0) return false;
    name_ = to;
    return true;
  }

 private:
  bool Planned(std::string_view call) { return faults_ && faults_->Call(call) != 0; }

  Descriptor file_;
  int folder_;  // the folder's, which outlives the file
  std::string name_;
  FaultPlan* faults_;
};

class SimLogFolder : public LogFolder {
 public:
  SimLogFolder(Descriptor folder, FaultPlan* faults)
      : folder_(std::move(folder)), faults_(faults) {}

  std::unique_ptr<LogFile> Open(const Text& name) override {
    if (faults_ && faults_->Call("log open") != 0) return nullptr;
    const std::string file = ToUtf8(name);
    struct stat status {};
    if (fstatat(folder_.get(), file.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(status.st_mode)) {
      return std::make_unique<SimLogFile>(Descriptor(), folder_.get(), file, faults_);
    }
    Descriptor fd(openat(folder_.get(), file.c_str(),
                         O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) return nullptr;
    return std::make_unique<SimLogFile>(std::move(fd), folder_.get(), file, faults_);
  }

 private:
  Descriptor folder_;
  FaultPlan* faults_;
};

Descriptor OpenDirectory(int parent, const char* name) {
  return Descriptor(openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

}  // namespace

Text SimLogFiles::FullPath(const Text& path) {
  if (path.empty()) return Text();
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(ToUtf8(path), error);
  if (error) return Text();
  return FromUtf8(full.lexically_normal().string()).value_or(Text());
}

Text SimLogFiles::AccountSid() { return UnixSid(geteuid()); }

FolderWalk SimLogFiles::OpenFolder(const Text& folder) {
  FolderWalk walk;
  const std::string path = ToUtf8(folder);
  if (!path.starts_with('/')) {
    walk.error = EINVAL;
    return walk;
  }
  Descriptor current(open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  WalkedFolder step{u"/", {}, false};
  for (std::size_t start = 1;;) {
    struct stat status {};
    if (current.get() < 0 || fstat(current.get(), &status) != 0) {
      walk.error = static_cast<std::uint32_t>(errno);
      walk.folders.push_back(std::move(step));
      return walk;
    }
    step.facts = FolderFactsOf(status);
    walk.folders.push_back(std::move(step));
    while (start < path.size() && path[start] == '/') ++start;
    if (start >= path.size()) break;

    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(start, end - start);
    step = WalkedFolder{FromUtf8(path.substr(0, end)).value_or(Text()), {}, false};
    start = end;
    if (fstatat(current.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(status.st_mode)) {
      step.facts.attributes = kFileAttributeReparsePoint;
      walk.folders.push_back(std::move(step));
      return walk;
    }
    if (mkdirat(current.get(), name.c_str(), 0755) == 0) step.made = true;
    current = OpenDirectory(current.get(), name.c_str());
  }
  walk.held = std::make_unique<SimLogFolder>(std::move(current), faults());
  return walk;
}

}  // namespace px::sim
