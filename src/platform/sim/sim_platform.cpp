#include "platform/sim/sim_platform.h"

#include <algorithm>
#include <map>

#include "base/utf.h"
#include "platform/listed_associations.h"
#include "platform/sim/command_line.h"
#include "platform/sim/host_file.h"
#include "platform/sim/text_case.h"

namespace px::sim {

namespace {

// A process that runs until its end time on the machine's clock.
class SimProcess : public Process {
 public:
  SimProcess(const EventLoop& loop, std::int64_t end_ms, std::uint32_t exit_code)
      : loop_(loop), end_ms_(end_ms), exit_code_(exit_code) {}
  std::optional<std::uint32_t> ExitCode() override {
    if (loop_.NowMs() < end_ms_) return std::nullopt;
    return exit_code_;
  }

 private:
  const EventLoop& loop_;
  std::int64_t end_ms_;
  std::uint32_t exit_code_;
};

// Windows paths compare without regard to ASCII letter case.
bool StartsWithNoCase(TextView text, TextView prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (UpcaseChar(text[i]) != UpcaseChar(prefix[i])) return false;
  }
  return true;
}

// One enumeration of a Dependent list, failing on the object after fail_after when the machine
// says so. The list is the machine's and outlives the pass.
class SimAssociations : public ListedAssociations {
 public:
  SimAssociations(const std::vector<Text>& dependents, std::optional<std::int64_t> fail_after,
                  FaultPlan* faults)
      : ListedAssociations(dependents), fail_after_(fail_after), faults_(faults) {}

  Expected<bool> Next() override {
    if (const std::uint32_t error = Planned("NextDependent")) {
      return PlannedError(u"WMI enumeration", error);
    }
    if (fail_after_ && static_cast<std::int64_t>(read()) >= *fail_after_ && read() < size()) {
      return SystemError{u"WMI enumeration: 0x80041001 Generic failure"};
    }
    return ListedAssociations::Next();
  }

  Expected<Text> Dependent() override {
    if (const std::uint32_t error = Planned("GetDependent")) {
      return PlannedError(u"WMI Get Dependent", error);
    }
    return ListedAssociations::Dependent();
  }

 private:
  std::uint32_t Planned(std::string_view call) { return faults_ ? faults_->Call(call) : 0; }

  std::optional<std::int64_t> fail_after_;
  FaultPlan* faults_;
};

}  // namespace

// The texts Windows gives for these failures.
Expected<std::unique_ptr<UsbAssociationCursor>> SimUsb::Query() {
  if (const std::uint32_t error = Injected("ExecQuery"))
    return PlannedError(u"WMI ExecQuery", error);
  if (machine_.wmi_error_from_ms && loop_.NowMs() >= *machine_.wmi_error_from_ms) {
    return SystemError{u"ExecQuery: 0x80041001 Generic failure"};
  }
  return std::unique_ptr<UsbAssociationCursor>(std::make_unique<SimAssociations>(
      machine_.DependentsAt(loop_.NowMs()), machine_.wmi_error_after, faults()));
}

Expected<std::unique_ptr<Process>> SimProcesses::Start(const Text& command_line, ShowState) {
  if (const std::uint32_t error = Injected("CreateProcess"))
    return PlannedError(u"CreateProcessW", error);
  const std::vector<Text> args = SplitCommandLine(command_line);
  if (!args.empty() && std::find(start_fails_.begin(), start_fails_.end(), ProgramName(args[0])) !=
                           start_fails_.end()) {
    return SystemError{u"CreateProcessW: 0x80070002 The system cannot find the file specified."};
  }
  launched_.push_back(command_line);
  const Outcome outcome = runner_ ? runner_(command_line) : Outcome{0, 0};
  return std::unique_ptr<Process>(
      std::make_unique<SimProcess>(loop_, loop_.NowMs() + outcome.run_ms, outcome.exit_code));
}

std::filesystem::path SimSystem::HostPath(const Text& windows_path) const {
  Text folder = machine_.program_folder;
  if (!folder.ends_with(u'\\')) folder += u'\\';
  // A drive root gives C:\\PX\PX.inf, which Windows reads as C:\PX\PX.inf.
  TextView rest(windows_path);
  if (!StartsWithNoCase(rest, folder)) return {};
  rest.remove_prefix(folder.size());
  while (rest.starts_with(u'\\')) rest.remove_prefix(1);
  if (!StartsWithNoCase(rest, u"PX\\")) return {};
  rest.remove_prefix(3);
  std::filesystem::path path = machine_.package_dir;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find(u'\\', start);
    if (end == TextView::npos) end = rest.size();
    if (end > start) path /= ToUtf8(rest.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

bool SimSystem::FileExists(const Text& path) const {
  const std::filesystem::path host = HostPath(path);
  return !host.empty() && std::filesystem::is_regular_file(host);
}

Text SimSystem::NativeArchitecture() const { return Text(ArchitectureName(machine_.arch)); }

// The package folder as the installer holds it: its files read when asked (nobody on the
// simulated machine changes them meanwhile). Like Windows it opens each file once; a file the
// machine's faults refused is named, and reading it answers the refusal.
class SimHold : public FileHold {
 public:
  SimHold(SimSystem& system, std::filesystem::path folder)
      : system_(system), folder_(std::move(folder)) {
    ++system_.holds_;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
      if (entry.is_symlink(error) || entry.is_regular_file(error)) {
        Text name = FromUtf8(entry.path().filename().string()).value_or(Text());
        if (const std::uint32_t refused = system_.Injected("CreateFile")) {
          refused_[name] = PlannedError(u"CreateFileW", refused);
        }
        names_.push_back(std::move(name));
      }
    }
    std::sort(names_.begin(), names_.end());
  }
  ~SimHold() override { --system_.holds_; }
  SimHold(const SimHold&) = delete;
  SimHold& operator=(const SimHold&) = delete;

  std::vector<Text> Names() const override { return names_; }

  Expected<std::string> Read(const Text& name) const override {
    if (const auto refused = refused_.find(name); refused != refused_.end()) return refused->second;
    const std::filesystem::path path = folder_ / ToUtf8(name);
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) return SystemError{u"a link"};
    std::optional<std::string> bytes = ReadHostFile(path);
    if (!bytes) return SystemError{u"cannot be read"};
    // A read that fails gives nothing.
    if (const std::uint32_t failed = system_.Injected("ReadFile")) {
      return PlannedError(u"ReadFile", failed);
    }
    return std::move(*bytes);
  }

 private:
  SimSystem& system_;
  std::filesystem::path folder_;
  std::vector<Text> names_;
  std::map<Text, SystemError> refused_;
};

class SimPrivateFolder : public PrivateFolder {
 public:
  SimPrivateFolder(SimSystem& system, Text path) : system_(system), path_(std::move(path)) {}
  ~SimPrivateFolder() override {
    if (kept_) return;
    const Text prefix = Upcase(path_ + u"\\");
    std::erase_if(system_.private_files_,
                  [&](const auto& file) { return file.first.starts_with(prefix); });
  }
  SimPrivateFolder(const SimPrivateFolder&) = delete;
  SimPrivateFolder& operator=(const SimPrivateFolder&) = delete;

  const Text& path() const override { return path_; }
  Status Write(const Text& name, std::string_view bytes) override {
    // A full disk writes nothing.
    if (const std::uint32_t error = system_.Injected("WriteFile"))
      return PlannedError(u"WriteFile", error);
    system_.private_files_[Upcase(path_ + u"\\" + name)] = std::string(bytes);
    return Ok();
  }
  void Keep() override { kept_ = true; }

 private:
  SimSystem& system_;
  Text path_;
  bool kept_ = false;
};

Expected<std::unique_ptr<FileHold>> SimSystem::HoldFiles(const Text& folder) {
  const std::filesystem::path host = HostPath(folder + u"\\");
  std::error_code error;
  if (host.empty() || !std::filesystem::is_directory(host, error)) {
    return std::unique_ptr<FileHold>();
  }
  if (std::filesystem::is_symlink(machine_.package_dir, error)) return std::unique_ptr<FileHold>();
  if (const std::uint32_t refused = Injected("CreateFile")) {
    return PlannedError(u"CreateFileW", refused);
  }
  return std::unique_ptr<FileHold>(std::make_unique<SimHold>(*this, host));
}

Expected<std::unique_ptr<PrivateFolder>> SimSystem::MakePrivateFolder() {
  if (const std::uint32_t error = Injected("CreateDirectory")) {
    return PlannedError(u"CreateDirectoryW", error);
  }
  Text path =
      u"C:\\Windows\\Temp\\px-package." + FromUtf8(std::to_string(++private_folders_)).value();
  return std::unique_ptr<PrivateFolder>(std::make_unique<SimPrivateFolder>(*this, std::move(path)));
}

std::optional<std::string> SimSystem::ReadFile(const Text& windows_path) const {
  if (const auto file = private_files_.find(Upcase(windows_path)); file != private_files_.end()) {
    return file->second;
  }
  return ReadHostFile(HostPath(windows_path));
}

std::string SimSystem::SourceName(const Text& windows_path) const {
  if (private_files_.count(Upcase(windows_path)) != 0) {
    const std::size_t name = windows_path.find_last_of(u'\\') + 1;
    return (machine_.package_dir / ToUtf8(TextView(windows_path).substr(name))).string();
  }
  return HostPath(windows_path).string();
}

}  // namespace px::sim
