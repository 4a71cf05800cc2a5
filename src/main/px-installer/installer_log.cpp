#include "installer_log.h"

#include <cstdio>

#include "app/rotating_log.h"
#include "base/win32/windows_api.h"

namespace {

// What a folder set aside is renamed with: the moment and the process, unique enough that a
// name made ready beforehand by someone else is unlikely, and harmless when it is (no log).
px::Text AsideSuffix() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  char text[48];
  std::snprintf(text, sizeof text, "%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId());
  px::Text suffix;
  for (const char* c = text; *c != '\0'; ++c) suffix += static_cast<char16_t>(*c);
  return suffix;
}

}  // namespace

InstallerLog::InstallerLog(std::optional<px::Text> log_path, px::RunLog::Clock clock)
    : log_path_(std::move(log_path)), lines_([this] { return Open(); }, std::move(clock)) {}

px::Text InstallerLog::ProtectedFolder() {
  if (!program_data_) program_data_ = px::win32::ProgramDataFolder();
  if (program_data_->empty()) return px::Text();
  const px::Text folder = *program_data_ + u"\\px-installer";
  if (!folder_) {
    folder_ = px::PrepareLogFolder(folders_, folder, AsideSuffix());
    if (!folder_->note.empty()) lines_.Note(folder_->note);
  }
  return folder_->usable ? folder : px::Text();
}

std::unique_ptr<px::LineSink> InstallerLog::Open() {
  if (log_path_) return px::RotatingLog::Open(files_, *log_path_);
  const px::Text folder = ProtectedFolder();
  if (folder.empty()) return nullptr;
  // The folder as it was checked, through the handle of the check.
  return px::RotatingLog::OpenIn(std::move(folder_->folder), folder + u"\\px-installer.log");
}
