#include "capture/win32/capture_win32.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/log_trust.h"
#include "app/rotating_log.h"
#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/win32/log_files_win32.h"
#include "platform/win32/log_folders_win32.h"
#include "platform/win32/nt_files_win32.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/winspool_functions.h"

#include <shlobj.h>

namespace px::capture::win32 {

namespace {

using px::win32::FromWide;
using px::win32::Wide;

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY* put() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

void ReadTree(HKEY parent, const Text& name, const Text& path, std::vector<ExportedKey>& keys) {
  KeyHandle key;
  // The machine's own view: Group Policy writes the policies there, not in a 32-bit copy.
  if (RegOpenKeyExW(parent, Wide(name), 0, KEY_READ | KEY_WOW64_64KEY, key.put()) !=
      ERROR_SUCCESS) {
    return;
  }
  DWORD sub_keys = 0;
  DWORD longest_sub_key = 0;
  DWORD values = 0;
  DWORD longest_value_name = 0;
  DWORD longest_data = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &sub_keys, &longest_sub_key, nullptr,
                       &values, &longest_value_name, &longest_data, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return;
  }
  ExportedKey exported{path, {}};
  std::wstring value_name(longest_value_name + 1, L'\0');
  std::string data(longest_data, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD name_length = static_cast<DWORD>(value_name.size());
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    const LSTATUS status = RegEnumValueW(key.get(), i, value_name.data(), &name_length, nullptr,
                                         &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) {
      // Grown since the count: once more with room for the value as it is now.
      value_name.resize(value_name.size() * 2 + 256);
      data.resize(std::max<std::size_t>(data.size() * 2, size));
      --i;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    exported.values.push_back(
        {FromWide(value_name.data(), name_length), type, data.substr(0, size)});
  }
  keys.push_back(std::move(exported));

  std::wstring sub_key(longest_sub_key + 1, L'\0');
  std::vector<Text> names;
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(sub_key.size());
    const LSTATUS status =
        RegEnumKeyExW(key.get(), i, sub_key.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) {
      sub_key.resize(sub_key.size() * 2 + 256);
      --i;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    names.push_back(FromWide(sub_key.data(), length));
  }
  for (const Text& sub : names) ReadTree(key.get(), sub, path + u"\\" + sub, keys);
}

Text LocaleName(LCID lcid) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const int length = LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0);
  return length > 1 ? FromWide(name, static_cast<std::size_t>(length - 1)) : Text(u"en-US");
}

Text WindowsVersion() {
  // GetVersionExW tells a program without a compatibility manifest entry 6.2; ntdll does not.
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto rtl_get_version =
      ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                  reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  if (!rtl_get_version || rtl_get_version(&info) != 0) return u"10.0.22631";
  char text[48];
  std::snprintf(text, sizeof text, "%lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion,
                info.dwBuildNumber);
  Text version;
  for (const char* c = text; *c; ++c) version += static_cast<char16_t>(*c);
  return version;
}

Text NativeArchitecture() {
  // IsWow64Process2 (Windows 10 1709 and later) names the machine even under x86 emulation on
  // ARM64, where GetNativeSystemInfo tells a 32-bit program x86.
  using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto is_wow64_process2 =
      kernel32 ? reinterpret_cast<IsWow64Process2Function>(
                     reinterpret_cast<void*>(GetProcAddress(kernel32, "IsWow64Process2")))
               : nullptr;
  USHORT process_machine = 0;
  USHORT native_machine = 0;
  if (is_wow64_process2 &&
      is_wow64_process2(GetCurrentProcess(), &process_machine, &native_machine)) {
    if (native_machine == 0xAA64) return u"arm64";
    if (native_machine == 0x8664) return u"x64";
    return u"x86";
  }
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  if (system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) return u"x64";
  if (system.wProcessorArchitecture == 12 /* PROCESSOR_ARCHITECTURE_ARM64 */) return u"arm64";
  return u"x86";
}

Text Copy(const wchar_t* text) { return text ? FromWide(text, wcslen(text)) : Text(); }

void ReadSpooler(CapturedMachine& machine) {
  const px::win32::WinspoolFunctions* winspool = px::win32::Winspool();
  if (winspool == nullptr || !winspool->EnumPortsW || !winspool->EnumPrintersW) return;
  DWORD needed = 0;
  DWORD count = 0;
  winspool->EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<std::uint64_t> buffer((needed + 7) / 8 + 1);
  if (needed > 0 && winspool->EnumPortsW(nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()), needed,
                                         &needed, &count)) {
    const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) machine.ports.push_back(Copy(ports[i].pName));
  }
  needed = 0;
  count = 0;
  // The local printers only: the replay needs no network printer connections, and the capture
  // says nothing it does not need.
  const DWORD flags = PRINTER_ENUM_LOCAL;
  winspool->EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
  buffer.assign((needed + 7) / 8 + 1, 0);
  if (needed > 0 &&
      winspool->EnumPrintersW(flags, nullptr, 2, reinterpret_cast<BYTE*>(buffer.data()), needed,
                              &needed, &count)) {
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      machine.printers.push_back({Copy(printers[i].pPrinterName), Copy(printers[i].pPortName),
                                  Copy(printers[i].pDriverName)});
    }
  }
}

Text ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return u"PC";
  return FromWide(name, length);
}

Text Format(const char* format, const SYSTEMTIME& time) {
  char text[32];
  std::snprintf(text, sizeof text, format, time.wYear, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
  Text out;
  for (const char* c = text; *c; ++c) out += static_cast<char16_t>(*c);
  return out;
}

Text KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return FromWide(path, wcslen(path));
}

}  // namespace

std::vector<ExportedKey> ReadLocalMachineTree(const Text& sub_path) {
  std::vector<ExportedKey> keys;
  ReadTree(HKEY_LOCAL_MACHINE, sub_path, u"HKEY_LOCAL_MACHINE\\" + sub_path, keys);
  return keys;
}

CapturedMachine ReadMachineFacts() {
  CapturedMachine machine;
  machine.computer = ComputerName();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  machine.captured_at = Format("%04u-%02u-%02u %02u:%02u:%02u", now);
  machine.ui_language_id = GetUserDefaultUILanguage();
  machine.ui_language = LocaleName(MAKELCID(machine.ui_language_id, SORT_DEFAULT));
  machine.locale = LocaleName(GetSystemDefaultLCID());
  machine.ansi_code_page = GetACP();
  machine.windows_version = WindowsVersion();
  machine.arch = NativeArchitecture();
  const px::win32::Win32SystemInfo system;
  machine.program_folder = system.ProgramFolder();
  Text installer = machine.program_folder;
  if (!installer.ends_with(u'\\')) installer += u'\\';
  machine.installer_beside = system.FileExists(installer + u"px-installer.exe");
  ReadSpooler(machine);
  return machine;
}

Text CaptureFolderName() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return u"px-capture-" + ComputerName() + Format("-%04u%02u%02u-%02u%02u%02u", now);
}

Text DesktopFolder() { return KnownFolder(CSIDL_DESKTOPDIRECTORY); }

std::optional<std::string> ReadInstallerLog() {
  const Text program_data = px::win32::ProgramDataFolder();
  if (program_data.empty()) return std::nullopt;
  const Text folder = program_data + u"\\px-installer";
  // Copied only from a folder a standard user cannot have made or swapped for a junction, and
  // only a file that is no link: an elevated capture must not read a file of a user's choosing.
  // The file is opened by its name in the folder that was checked, through the check's handle.
  px::win32::NtOpened checked = px::win32::OpenRelative(
      nullptr, px::win32::NtPath(folder),
      FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL, px::win32::kNtOpen,
      px::win32::kNtDirectory | px::win32::kNtAsItself);
  if (!checked.handle) return std::nullopt;
  FolderFacts facts_of_folder = px::win32::FolderFactsOf(checked.handle.get());
  // Wine reports a Unix link to a folder as a reparse point by its name only.
  const DWORD by_name = GetFileAttributesW(Wide(folder));
  if (by_name != INVALID_FILE_ATTRIBUTES) {
    facts_of_folder.attributes |= by_name & kFileAttributeReparsePoint;
  }
  if (!LogFolderRefusal(facts_of_folder, px::win32::ProcessAccountSid()).empty()) {
    return std::nullopt;
  }
  // Shared with a run that writes and rotates it meanwhile.
  px::win32::NtOpened opened = px::win32::OpenRelative(
      checked.handle.get(), L"px-installer.log", GENERIC_READ, px::win32::kNtOpen,
      px::win32::kNtNonDirectory | px::win32::kNtAsItself);
  if (!opened.handle) return std::nullopt;
  const px::win32::UniqueKernelHandle file = std::move(opened.handle);
  const OpenedFileFacts facts = px::win32::FactsOf(file.get());
  // The installer rotates its log past a megabyte; anything far larger is not its log.
  if (!LogFileRefusal(facts).empty() || facts.size > 4 * kLogRotateBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(facts.size), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(read);
  return bytes;
}

namespace {

// Makes a folder and those above it that are missing; true when it is a folder in the end.
bool MakeFolders(const Text& folder) {
  if (CreateDirectoryW(Wide(folder), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(Wide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
  const std::size_t separator = folder.find_last_of(u"\\/");
  if (separator == Text::npos || separator == 0) return false;
  return MakeFolders(folder.substr(0, separator)) && CreateDirectoryW(Wide(folder), nullptr);
}

}  // namespace

px::win32::UniqueKernelHandle MakeCaptureFolder(const Text& folder, bool new_only) {
  const Text full = px::win32::Win32LogFiles().FullPath(folder);
  const std::size_t separator = full.find_last_of(u"\\/");
  if (full.empty() || separator == Text::npos) {
    SetLastError(ERROR_BAD_PATHNAME);
    return {};
  }
  // The folders above are the user's (the desktop, or a path they gave), made by name.
  if (separator > 2 && !MakeFolders(full.substr(0, separator))) return {};
  const std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" +
                            std::wstring(Wide(px::win32::ProcessAccountSid())) + L")";
  const std::unique_ptr<px::win32::SecurityDescriptor> descriptor =
      px::win32::SecurityDescriptor::FromSddl(sddl.c_str());
  if (new_only && !descriptor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return {};
  }
  // Not shared for deletion: nobody renames or removes it while it is held.
  px::win32::NtOpened opened = px::win32::OpenRelative(
      nullptr, px::win32::NtPath(full),
      FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
      new_only ? px::win32::kNtCreate : px::win32::kNtOpenIf,
      px::win32::kNtDirectory | (new_only ? px::win32::kNtAsItself : 0x20),
      new_only ? descriptor->get() : nullptr, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (!opened.handle) SetLastError(opened.error);
  return std::move(opened.handle);
}

Status WriteWholeFile(HANDLE folder, const Text& folder_path, const Text& name,
                      const std::string& bytes, bool create_new) {
  const std::wstring path = std::wstring(Wide(folder_path)) + L"\\" + Wide(name);
  px::win32::NtOpened file =
      px::win32::OpenRelative(folder, std::wstring(Wide(name), name.size()), GENERIC_WRITE,
                              create_new ? px::win32::kNtCreate : px::win32::kNtOverwriteIf,
                              px::win32::kNtNonDirectory | px::win32::kNtAsItself, nullptr, 0);
  if (!file.handle) return px::win32::Win32Error(L"NtCreateFile " + path, file.error);
  DWORD written = 0;
  const BOOL ok = WriteFile(file.handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                            &written, nullptr);
  if (!ok || written != bytes.size()) return px::win32::LastError(L"WriteFile " + path);
  return Ok();
}

}  // namespace px::capture::win32
