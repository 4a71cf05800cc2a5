// px-capture.exe: writes what px-installer would see on this PC into a folder that px-sim
// replays (machine.toml, printers.reg, usbprint.reg, usb.txt and the installer's last log).
//
//   px-capture.exe [FOLDER] [/quiet]
//
// Without FOLDER the capture goes to px-capture-<computer>-<yyyymmdd-hhmmss> on the desktop. A
// message box names the folder; /quiet leaves it out (for remote tools). Exit code 0 when every
// file was written, 1 otherwise.

#include <optional>
#include <string>
#include <vector>

#include "base/win32/windows_api.h"
#include "capture/machine_toml.h"
#include "capture/reg_export.h"
#include "capture/win32/capture_win32.h"
#include "capture/wmic_text.h"
#include "platform/win32/startup.h"
#include "platform/win32/wmi_query.h"

#include <shellapi.h>

namespace {

using px::Text;
using px::win32::Wide;
namespace capture = px::capture;

constexpr wchar_t kTitle[] = L"px-capture";

// The two keys the installer's port search reads.
constexpr char16_t kInterfaceClassKey[] =
    u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr char16_t kUsbPrintEnumKey[] = u"SYSTEM\\CurrentControlSet\\Services\\usbprint\\Enum";

bool Chinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

struct Arguments {
  Text folder;
  bool quiet = false;
  bool valid = true;
};

Arguments ParseArguments() {
  Arguments arguments;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; argv && i < count; ++i) {
    const Text argument = px::win32::FromWide(argv[i], wcslen(argv[i]));
    if (argument == u"/quiet" || argument == u"/QUIET" || argument == u"-quiet") {
      arguments.quiet = true;
    } else if (arguments.folder.empty() && !argument.starts_with(u"/")) {
      arguments.folder = argument;
    } else {
      arguments.valid = false;
    }
  }
  LocalFree(argv);
  return arguments;
}

Text Join(const Text& folder, const Text& name) {
  return folder.ends_with(u'\\') || folder.ends_with(u'/') ? folder + name : folder + u"\\" + name;
}

// Creates the folder and those above it that are missing.
bool MakeFolder(const Text& folder) {
  if (CreateDirectoryW(Wide(folder), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(Wide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
  const std::size_t separator = folder.find_last_of(u"\\/");
  if (separator == Text::npos || separator == 0) return false;
  return MakeFolder(folder.substr(0, separator)) && CreateDirectoryW(Wide(folder), nullptr);
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

int Report(const Arguments& arguments, const Text& text, UINT icon, int exit_code) {
  if (!arguments.quiet) MessageBoxW(nullptr, Wide(text), kTitle, MB_OK | icon);
  return exit_code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  px::win32::RestrictDllSearchToSystemFolder();
  const Arguments arguments = ParseArguments();
  if (!arguments.valid) {
    return Report(arguments,
                  Chinese() ? u"用法：px-capture.exe [文件夹] [/quiet]"
                            : u"Usage: px-capture.exe [folder] [/quiet]",
                  MB_ICONINFORMATION, 87);
  }

  Text folder = arguments.folder;
  if (folder.empty()) {
    const Text desktop = capture::win32::DesktopFolder();
    if (desktop.empty())
      return Report(arguments, u"The desktop folder is unknown.", MB_ICONERROR, 1);
    folder = Join(desktop, capture::win32::CaptureFolderName());
  }
  if (!MakeFolder(folder)) {
    return Report(arguments,
                  (Chinese() ? u"无法创建文件夹：\n" : u"The folder cannot be created:\n") + folder,
                  MB_ICONERROR, 1);
  }

  capture::CapturedMachine machine = capture::win32::ReadMachineFacts();
  machine.registry_files = {u"printers.reg", u"usbprint.reg"};
  machine.usb_file = u"usb.txt";

  // The installer's own WMI query, on COM set up as the installer sets it up.
  std::vector<Text> dependents;
  if (px::Status com = px::win32::StartCom(); !com) {
    machine.wmi_error = com.error().text;
  } else {
    px::win32::WmiUsbAssociations usb;
    if (const auto error = ReadDependents(usb, dependents)) machine.wmi_error = error->text;
    px::win32::StopCom();
  }

  const Text log = capture::win32::InstallerLogPath();
  machine.log_copied =
      !log.empty() && CopyFileW(Wide(log), Wide(Join(folder, u"px-installer.log")), FALSE);

  const std::pair<const char16_t*, std::string> files[] = {
      {u"printers.reg",
       capture::RegExportFile(capture::win32::ReadLocalMachineTree(kInterfaceClassKey))},
      {u"usbprint.reg",
       capture::RegExportFile(capture::win32::ReadLocalMachineTree(kUsbPrintEnumKey))},
      {u"usb.txt", capture::WmicPropertyFile(u"Dependent", dependents)},
      {u"machine.toml", capture::MachineToml(machine)},
  };
  for (const auto& [name, bytes] : files) {
    if (px::Status written = capture::win32::WriteWholeFile(Join(folder, name), bytes); !written) {
      return Report(arguments, written.error().text, MB_ICONERROR, 1);
    }
  }
  return Report(arguments,
                Chinese() ? u"已将本机的打印机信息保存到：\n" + folder +
                                u"\n\n请将此文件夹压缩后发送给技术支持。"
                          : u"The printer information of this PC is in\n" + folder +
                                u"\n\nPlease zip this folder and send it to support.",
                MB_ICONINFORMATION, 0);
}
