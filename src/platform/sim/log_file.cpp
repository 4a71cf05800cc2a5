#include "platform/sim/log_file.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "base/utf.h"
#include "platform/sim/trace.h"

namespace px::sim {

namespace {

class FileSink : public LineSink {
 public:
  explicit FileSink(const std::filesystem::path& path)
      : file_(path, std::ios::binary | std::ios::app), sink_(file_) {}
  bool open() const { return static_cast<bool>(file_); }
  void Write(std::string_view line) override { sink_.Write(line); }

 private:
  std::ofstream file_;
  StreamSink sink_;
};

}  // namespace

std::unique_ptr<LineSink> OpenLogFile(const std::filesystem::path& path) {
  // Every step may fail (no right to the folder, a read-only file, a name that is a folder):
  // each failure only means fewer lines, never a different run.
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  const std::optional<Text> name = FromUtf8(path.string());
  if (!error && size > kLogRotateBytes && name) {
    const std::filesystem::path rotated(ToUtf8(RotatedLogPath(*name)));
    // Windows does not rename over an existing file.
    std::filesystem::remove(rotated, error);
    std::filesystem::rename(path, rotated, error);
  }
  auto file = std::make_unique<FileSink>(path);
  if (!file->open()) return nullptr;
  return file;
}

}  // namespace px::sim
