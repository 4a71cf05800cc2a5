#include "platform/win32/log_file_win32.h"

#include "base/win32/windows_api.h"

#include <shlobj.h>

namespace px::win32 {

namespace {

// The folder part of a path: up to its last separator; empty when it has none.
Text FolderOf(const Text& path) {
  const std::size_t at = path.find_last_of(u"\\/");
  return at == Text::npos ? Text() : path.substr(0, at);
}

}  // namespace

std::unique_ptr<LogFileWin32> LogFileWin32::Open(const Text& path) {
  // Every step may fail (no right to the folder, a read-only file, a name that is a folder):
  // each failure only means fewer lines, never a different run.
  const Text folder = FolderOf(path);
  if (!folder.empty()) SHCreateDirectoryExW(nullptr, Wide(folder), nullptr);

  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data) &&
      !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const std::uint64_t size =
        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > kLogRotateBytes) {
      MoveFileExW(Wide(path), Wide(RotatedLogPath(path)), MOVEFILE_REPLACE_EXISTING);
    }
  }

  HANDLE file = CreateFileW(Wide(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::unique_ptr<LogFileWin32>(new LogFileWin32(UniqueKernelHandle(file)));
}

void LogFileWin32::Write(std::string_view line) {
  DWORD written = 0;
  WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace px::win32
