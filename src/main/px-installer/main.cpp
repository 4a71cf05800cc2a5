// px-installer.exe: the installer's run on the Win32 backend.
//
// With no argument it shows its window, as it always has. /quiet runs the same sequence on the
// same Form1 without a window, for deployment tools; /uninstall removes the package's printers.
// Either way the run is appended to a log and the exit code says how it ended.
//
// It runs elevated, often from a user's Downloads folder: what a standard user can write (the
// program's folder, ProgramData, kernel object names, the command line) is input, not trust.

#include "app/run_installer.h"
#include "base/win32/windows_api.h"  // for the entry point's signature
#include "detect/release_package.h"
#include "installer_log.h"
#include "platform/win32/form_host_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/print_spooler_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/run_facts_win32.h"
#include "platform/win32/startup.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/unattended_lock_win32.h"
#include "platform/win32/wmi_query.h"
#include "resource.h"
#include "version.h"

namespace {

// The run's clock for the log: milliseconds since the program started.
class RunClock {
 public:
  RunClock() : start_(GetTickCount64()) {}
  std::int64_t operator()() const { return static_cast<std::int64_t>(GetTickCount64() - start_); }

 private:
  ULONGLONG start_;
};

px::event::Start Header(const px::win32::Win32SystemInfo& system) {
  return {u"px-installer " PX_VERSION_TEXT,
          px::win32::WindowsVersionText(),
          px::win32::NativeArchitectureText(),
          px::win32::LanguageText(system.UserDefaultUiLanguage()),
          px::win32::UserLocaleText(),
          system.ProgramFolder(),
          px::win32::UtcTimeText(),
          px::win32::CommandLineArgumentsText()};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // First of all, before anything loads a DLL by name.
  px::win32::RestrictDllSearchToSystemFolder();

  const px::ParsedCommandLine command_line =
      px::ParseCommandLine(px::win32::CommandLineArguments());
  InstallerLog log(command_line.options.log_path, RunClock());
  // The lock file, where the namespace's mutex cannot be had, lies in the log's own folder.
  px::win32::Win32UnattendedLock lock([&log] { return log.ProtectedFolder(); });

  px::win32::WmiUsbAssociations usb;
  px::win32::Win32Registry registry;
  px::win32::Win32Processes processes;
  px::win32::Win32PrintSpooler spooler;
  px::win32::Win32SystemInfo system;
  px::win32::Win32FormHost host(instance, IDI_PX_INSTALLER, show_command);
  px::win32::Win32MessageBoxes boxes(u"px-installer");
  px::Backend backend{usb,
                      registry,
                      processes,
                      spooler,
                      system,
                      host,
                      boxes,
                      Header(system),
                      px::win32::WindowStationVisible(),
                      &lock,
                      px::ReleasePackageFiles()};
  backend.package_whql_signed = PX_PACKAGE_WHQL_SIGNED != 0;
  return static_cast<int>(px::RunInstaller(command_line, backend, log.lines()).code);
}
