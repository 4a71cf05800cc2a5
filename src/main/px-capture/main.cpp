// px-capture.exe: writes what px-installer would see on this PC into a folder that px-sim
// replays (machine.toml, printers.reg, usbprint.reg, usb.txt and the installer's last log).
//
//   px-capture.exe [FOLDER] [/quiet]
//
// Without FOLDER the capture goes to px-capture-<computer>-<yyyymmdd-hhmmss> on the desktop. A
// message box names the folder and what it holds; /quiet leaves it out (for remote tools). Exit
// code 0 when every file was written, 1 otherwise, 87 for a command line it does not understand.
// Run elevated, it writes only into a folder it made, with a DACL of its own, and held open so
// that it cannot be swapped, and only new files in it, by their names relative to its handle;
// it copies the installer's log only through a checked handle.

#include <optional>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "capture/capture_options.h"
#include "capture/machine_toml.h"
#include "capture/reg_export.h"
#include "capture/win32/capture_win32.h"
#include "capture/wmic_text.h"
#include "platform/win32/run_facts_win32.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/startup.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/wmi_query.h"

namespace {

using px::Text;
using px::win32::Wide;
namespace capture = px::capture;

constexpr wchar_t kTitle[] = L"px-capture";

// The two keys the installer's port search reads.
constexpr char16_t kInterfaceClassKey[] =
    u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr char16_t kUsbPrintEnumKey[] = u"SYSTEM\\CurrentControlSet\\Services\\usbprint\\Enum";
// The printing policies the installer checks before it installs (protected print mode, the
// driver signature level, USB print device control), so that a replay refuses as the PC did.
constexpr char16_t kPrintersPolicyKey[] = u"Software\\Policies\\Microsoft\\Windows NT\\Printers";

bool Chinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

Text Join(const Text& folder, const Text& name) {
  return folder.ends_with(u'\\') || folder.ends_with(u'/') ? folder + name : folder + u"\\" + name;
}

// The Dependent values as the installer's detection pass reads them; the error that stopped it.
std::optional<px::SystemError> ReadDependents(px::UsbAssociations& usb,
                                              std::vector<Text>& dependents) {
  auto cursor = usb.Query();
  if (!cursor) return cursor.error();
  for (;;) {
    const px::Expected<bool> next = cursor.value()->Next();
    if (!next) return next.error();
    if (!next.value()) return std::nullopt;
    px::Expected<Text> dependent = cursor.value()->Dependent();
    if (!dependent) return dependent.error();
    dependents.push_back(std::move(dependent.value()));
  }
}

// Shows the box unless the run is quiet or nobody can see it, and ends with the code.
int Report(bool boxes, const Text& text, UINT icon, int exit_code) {
  if (boxes) MessageBoxW(nullptr, Wide(text), kTitle, MB_OK | icon);
  return exit_code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  px::win32::RestrictDllSearchToSystemFolder();
  const capture::ParsedCaptureLine command_line =
      capture::ParseCaptureCommandLine(px::win32::CommandLineArguments());
  const capture::CaptureOptions& arguments = command_line.options;
  const bool boxes = !arguments.quiet && px::win32::WindowStationVisible();
  const Text usage = Chinese() ? u"用法：px-capture.exe [文件夹] [/quiet]"
                               : u"Usage: px-capture.exe [folder] [/quiet]";
  if (!command_line.error.empty()) {
    return Report(boxes, command_line.error + u"\n\n" + usage, MB_ICONERROR, 87);
  }
  if (arguments.usage) return Report(boxes, usage, MB_ICONINFORMATION, 0);

  // Elevated, the capture makes a new folder and new files only, and writes through no link.
  const bool elevated = px::win32::ProcessIsElevated();
  Text folder = arguments.folder;
  if (folder.empty()) {
    const Text desktop = capture::win32::DesktopFolder();
    if (desktop.empty()) return Report(boxes, u"The desktop folder is unknown.", MB_ICONERROR, 1);
    folder = Join(desktop, capture::win32::CaptureFolderName());
  }
  const px::win32::UniqueKernelHandle held = capture::win32::MakeCaptureFolder(folder, elevated);
  if (!held) {
    return Report(boxes,
                  (Chinese() ? u"无法创建文件夹（它不能已经存在）：\n"
                             : u"The folder cannot be made (it must not exist yet):\n") +
                      folder,
                  MB_ICONERROR, 1);
  }

  capture::CapturedMachine machine = capture::win32::ReadMachineFacts();
  machine.registry_files = {u"printers.reg", u"usbprint.reg", u"policies.reg"};
  machine.usb_file = u"usb.txt";

  // The installer's own WMI query, on COM set up as the installer sets it up.
  std::vector<Text> dependents;
  if (const auto com = px::win32::StartCom(); !com) {
    machine.wmi_error = com.error().text;
  } else {
    px::win32::WmiUsbAssociations usb;
    if (const auto error = ReadDependents(usb, dependents)) machine.wmi_error = error->text;
    machine.protected_print = px::win32::Win32SystemInfo().ProtectedPrintEnabled();
    px::win32::StopCom();
  }

  if (const std::optional<std::string> log = capture::win32::ReadInstallerLog()) {
    machine.log_copied =
        capture::win32::WriteWholeFile(held.get(), folder, u"px-installer.log", *log, elevated)
            .ok();
  }

  const std::pair<const char16_t*, std::string> files[] = {
      {u"printers.reg",
       capture::RegExportFile(capture::win32::ReadLocalMachineTree(kInterfaceClassKey))},
      {u"usbprint.reg",
       capture::RegExportFile(capture::win32::ReadLocalMachineTree(kUsbPrintEnumKey))},
      {u"policies.reg",
       capture::RegExportFile(capture::win32::ReadLocalMachineTree(kPrintersPolicyKey))},
      {u"usb.txt", capture::WmicPropertyFile(u"Dependent", dependents)},
      {u"machine.toml", capture::MachineToml(machine)},
  };
  for (const auto& [name, bytes] : files) {
    if (px::Status written =
            capture::win32::WriteWholeFile(held.get(), folder, name, bytes, elevated);
        !written) {
      return Report(boxes, written.error().text, MB_ICONERROR, 1);
    }
  }
  // Before it is sent anywhere, the user knows what the folder tells about the PC.
  return Report(boxes,
                Chinese() ? u"已将本机的打印机信息保存到：\n" + folder +
                                u"\n\n其中包括：USB 设备的名称和序列号、打印机的名称和端口、"
                                u"本机的计算机名。\n\n请将此文件夹压缩后发送给技术支持。"
                          : u"The printer information of this PC is in\n" + folder +
                                u"\n\nIt holds the names and serial numbers of the USB devices, "
                                u"the names and ports of the printers, and the computer's name."
                                u"\n\nPlease zip this folder and send it to support.",
                MB_ICONINFORMATION, 0);
}
