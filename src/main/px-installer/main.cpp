// px-installer.exe: the installer's core on the Win32 backend.

#include <memory>

#include "app/form1.h"
#include "detect/model_table.h"
#include "platform/win32/form_window.h"
#include "platform/win32/print_spooler_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/startup.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/window_timers.h"
#include "base/win32/windows_api.h"  // for the entry point's signature
#include "platform/win32/wmi_query.h"
#include "resource.h"

namespace {

// A failure before the window exists still gets its box; the program then ends.
int FailStart(const px::SystemError& error) {
  MessageBoxW(nullptr, px::win32::Wide(error.text), L"px-installer", MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // First of all, before anything loads a DLL by name.
  px::win32::RestrictDllSearchToSystemFolder();

  if (px::Status com = px::win32::StartCom(); !com) return FailStart(com.error());
  int exit_code = 1;
  {
    auto timers = px::win32::WindowTimers::Create(instance);
    if (!timers) return FailStart(timers.error());
    auto view = px::win32::FormWindow::Create({instance, IDI_PX_INSTALLER, u"px-installer"});
    if (!view) return FailStart(view.error());
    px::win32::Win32Processes processes;
    px::win32::WmiUsbAssociations usb;
    px::win32::Win32Registry registry;
    px::win32::Win32PrintSpooler spooler;
    px::win32::Win32SystemInfo system;

    px::Form1 form({*view.value(), *timers.value(), processes, usb, registry, spooler, system},
                   px::ModelTable::Builtin());
    form.Form_Load();
    view.value()->Show(show_command);
    exit_code = px::win32::RunMessageLoop();
  }
  px::win32::StopCom();
  return exit_code;
}
