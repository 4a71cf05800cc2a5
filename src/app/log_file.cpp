#include "app/log_file.h"

#include <system_error>

namespace px {

std::filesystem::path RotatedLogPath(const std::filesystem::path& path) {
  std::filesystem::path rotated = path;
  rotated.replace_filename(path.stem().native() + std::filesystem::path(".1").native() +
                           path.extension().native());
  return rotated;
}

std::unique_ptr<std::ofstream> OpenLogFile(const std::filesystem::path& path) {
  // Every step may fail (no right to the folder, a read-only file, a name that is a folder):
  // each failure only means fewer lines, never a different run.
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kLogRotateBytes) {
    const std::filesystem::path rotated = RotatedLogPath(path);
    // Windows does not rename over an existing file.
    std::filesystem::remove(rotated, error);
    std::filesystem::rename(path, rotated, error);
  }
  auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::app);
  if (!*file) return nullptr;
  return file;
}

}  // namespace px
