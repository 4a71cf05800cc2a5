#pragma once

#include <optional>

#include "app/log_trust.h"
#include "app/run_lines.h"
#include "base/text.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/log_folders_win32.h"

// The installer's log on Windows: /log FILE, or px-installer.log in the installer's own folder
// under ProgramData, which the unattended lock shares. The log is never needed for the run: a
// file that cannot be used only means no lines. The default folder is one the installer made
// with its own DACL, or one whose owner it checked (PrepareLogFolder), and it is looked at only
// when the log or the lock needs it.
class InstallerLog {
 public:
  InstallerLog(std::optional<px::Text> log_path, px::RunLog::Clock clock);
  InstallerLog(const InstallerLog&) = delete;
  InstallerLog& operator=(const InstallerLog&) = delete;

  // The reader that writes the run's events into the file.
  px::RunEvents& lines() { return lines_; }

  // The installer's own folder, made safe to write into on first use; empty when there is none
  // it may use. What was done to it goes into the log.
  px::Text ProtectedFolder();

 private:
  std::unique_ptr<px::LineSink> Open();

  std::optional<px::Text> log_path_;
  px::win32::Win32LogFolders folders_;
  px::win32::Win32LogFiles files_;
  std::optional<px::Text> program_data_;  // read when first needed
  std::optional<px::LogFolderChoice> folder_;
  px::LogLines lines_;
};
