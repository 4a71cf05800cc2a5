// px-installer.exe: the installer's core on the Win32 backend.
//
// With no argument it shows its window, as it always has. /quiet runs the same sequence on the
// same Form1 without a window, for deployment tools; /uninstall removes the package's printers.
// Either way the run is appended to a log and the exit code says how it ended.
//
// It runs elevated, often from a user's Downloads folder: what a standard user can write (the
// program's folder, ProgramData, kernel object names, the command line) is input, not trust.

#include <cstdio>
#include <memory>
#include <optional>

#include "app/command_line_options.h"
#include "app/form1.h"
#include "app/hidden_view.h"
#include "app/log_trust.h"
#include "app/logged_platform.h"
#include "app/logged_spooler.h"
#include "app/rotating_log.h"
#include "app/unchanged_passes.h"
#include "app/uninstall.h"
#include "base/win32/windows_api.h"  // for the entry point's signature
#include "detect/model_table.h"
#include "platform/win32/form_window.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/log_folders_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/print_spooler_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/run_facts_win32.h"
#include "platform/win32/startup.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/unattended_lock_win32.h"
#include "platform/win32/window_timers.h"
#include "platform/win32/wmi_query.h"
#include "resource.h"
#include "version.h"

namespace {

constexpr wchar_t kTitle[] = L"px-installer";

int Code(px::ExitCode code) { return static_cast<int>(code); }

// The run's clock for the log: milliseconds since the program started.
class RunClock {
 public:
  RunClock() : start_(GetTickCount64()) {}
  std::int64_t operator()() const { return static_cast<std::int64_t>(GetTickCount64() - start_); }

 private:
  ULONGLONG start_;
};

px::RunLogHeader Header(const px::win32::Win32SystemInfo& system) {
  return {u"px-installer " PX_VERSION_TEXT,
          px::win32::WindowsVersionText(),
          px::win32::NativeArchitectureText(),
          px::win32::LanguageText(system.UserDefaultUiLanguage()),
          px::win32::UserLocaleText(),
          system.ProgramFolder(),
          px::win32::UtcTimeText(),
          px::win32::CommandLineArgumentsText()};
}

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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // First of all, before anything loads a DLL by name.
  px::win32::RestrictDllSearchToSystemFolder();

  const px::ParsedCommandLine command_line =
      px::ParseCommandLine(px::win32::CommandLineArguments());
  const px::CommandLineOptions& args = command_line.options;
  // /quiet, or a window station nobody sees (a deployment tool's run as SYSTEM): no window and
  // no box, whatever else the command line holds.
  const bool windows = px::MayShowWindows(command_line, px::win32::WindowStationVisible());
  if (args.usage && command_line.error.empty()) {
    if (windows) {
      const px::Text text(px::UsageText());
      MessageBoxW(nullptr, px::win32::Wide(text), kTitle, MB_OK | MB_ICONINFORMATION);
    }
    return 0;
  }

  // The log is never needed for the run: a file that cannot be used only means no lines. Its
  // default folder is one the installer made with its own DACL, or one whose owner it checked.
  px::win32::Win32SystemInfo system;
  const RunClock clock;
  px::win32::Win32LogFolders log_folders;
  std::optional<px::LogFolderChoice> default_folder;
  const px::Text program_data = px::win32::ProgramDataFolder();
  auto protected_folder = [&]() -> px::Text {
    if (program_data.empty()) return px::Text();
    const px::Text folder = program_data + u"\\px-installer";
    if (!default_folder) {
      default_folder = px::PrepareLogFolder(log_folders, folder, AsideSuffix());
    }
    return default_folder->usable ? folder : px::Text();
  };
  px::win32::Win32LogFiles log_files;
  std::unique_ptr<px::RotatingLog> log_file;
  if (args.log_path) {
    log_file = px::RotatingLog::Open(log_files, *args.log_path);
  } else if (const px::Text folder = protected_folder(); !folder.empty()) {
    log_file = px::RotatingLog::Open(log_files, folder + u"\\px-installer.log");
  }
  // The log records what changes: a pass that saw what the one before saw writes nothing.
  px::UnchangedPassFilter log_filter(log_file.get(), clock);
  px::RunLog log(&log_filter, clock);
  px::WriteStart(log, Header(system));
  // What became of the default folder, once it was looked at (for the log or the lock).
  bool folder_noted = false;
  auto note_folder = [&] {
    if (folder_noted || !default_folder) return;
    folder_noted = true;
    if (!default_folder->note.empty()) log.Write({u"Log", default_folder->note});
  };
  note_folder();
  auto finish = [&log](px::ExitCode code, bool window_closed = false) {
    px::WriteExit(log, code, window_closed);
    return Code(code);
  };

  // A command line it does not understand is logged too: a deployment tool's typo shows there.
  if (!command_line.error.empty()) {
    log.Write({u"Message", px::win32::FromWide(kTitle), command_line.error});
    if (windows) {
      const px::Text text = command_line.error + u"\n\n" + px::Text(px::UsageText());
      MessageBoxW(nullptr, px::win32::Wide(text), kTitle, MB_OK | MB_ICONERROR);
    }
    return finish(px::ExitCode::kBadCommandLine);
  }

  px::win32::UnattendedLock unattended;
  if (args.quiet &&
      unattended.Take(protected_folder) == px::win32::UnattendedLock::Claim::kRunning) {
    note_folder();
    return finish(px::ExitCode::kAlreadyRunning);
  }
  note_folder();

  // /uninstall: the package's printers go, with boxes of their own and no window.
  if (args.uninstall) {
    px::win32::Win32PrintSpooler win32_spooler;
    px::LoggedSpooler spooler(win32_spooler, log);
    px::win32::Win32MessageBoxes shown(px::win32::FromWide(kTitle));
    px::NoMessageBoxes hidden;
    // Where nobody can answer the question, the removal goes ahead as /quiet's does.
    px::LoggedMessageBoxes boxes(windows ? static_cast<px::MessageBoxes&>(shown) : hidden, log);
    const px::UninstallResult removal =
        px::Uninstall(spooler, boxes, px::ModelTable::Builtin(),
                      px::LanguageFlagFor(system.UserDefaultUiLanguage()), !windows);
    px::WriteExit(log, removal.code, removal.meaning);
    return Code(removal.code);
  }

  // A failure before the window exists still gets its box (unless quiet); the program then ends.
  auto fail_start = [&](const px::SystemError& error) {
    log.Write({u"Message", px::win32::FromWide(kTitle), error.text});
    if (windows) MessageBoxW(nullptr, px::win32::Wide(error.text), kTitle, MB_OK | MB_ICONERROR);
    return finish(px::ExitCode::kSystemError);
  };

  if (px::Status com = px::win32::StartCom(); !com) return fail_start(com.error());
  int exit_code = 0;
  {
    auto timers = px::win32::WindowTimers::Create(instance);
    if (!timers) return fail_start(timers.error());
    std::unique_ptr<px::win32::FormWindow> window;
    if (windows) {
      auto created = px::win32::FormWindow::Create({instance, IDI_PX_INSTALLER, u"px-installer"});
      if (!created) return fail_start(created.error());
      window = std::move(created.value());
    }
    // No window: the run ends where the window would unload.
    px::HiddenView hidden([] { PostQuitMessage(0); });
    px::InstallerView& shown = window ? static_cast<px::InstallerView&>(*window) : hidden;
    px::LoggedView view(shown, log);

    px::win32::Win32Processes win32_processes;
    px::LoggedProcesses processes(win32_processes, log);
    px::win32::WmiUsbAssociations wmi;
    px::PassWatchingUsb usb(wmi, log_filter);
    px::win32::Win32Registry registry;
    px::win32::Win32PrintSpooler win32_spooler;
    px::LoggedSpooler spooler(win32_spooler, log);
    px::LoggedPortNotes port_notes(log);

    px::Form1 form({view, *timers.value(), processes, usb, registry, spooler, system},
                   px::ModelTable::Builtin());
    form.Quiet = args.quiet;
    form.WaitSeconds = args.wait_seconds;
    form.SetNotes(nullptr, &port_notes);
    form.Form_Load();
    if (window) window->Show(show_command);
    px::win32::RunMessageLoop();
    // The user closed the window before the end: the program ends as after its success box.
    if (!form.Result) view.Closed();
    exit_code = finish(form.Result.value_or(px::ExitCode::kRegistered), !form.Result);
  }
  px::win32::StopCom();
  return exit_code;
}
