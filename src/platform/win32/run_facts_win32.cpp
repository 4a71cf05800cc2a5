#include "platform/win32/run_facts_win32.h"

#include <cstdio>

#include "base/win32/windows_api.h"

#include <shellapi.h>
#include "platform/win32/system_functions.h"

namespace px::win32 {

namespace {

Text Ascii(const char* text) {
  Text out;
  for (; *text != '\0'; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
  return out;
}

}  // namespace

Text WindowsVersionText() {
  // GetVersionExW answers what the manifest declares; ntdll's RtlGetVersion answers the truth.
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtl_get_version = SystemFunction<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (rtl_get_version == nullptr || rtl_get_version(&info) != 0) return u"unknown";
  return Decimal(info.dwMajorVersion) + u"." + Decimal(info.dwMinorVersion) + u"." +
         Decimal(info.dwBuildNumber);
}

Text NativeArchitectureText() {
  using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  const auto is_wow64_process2 =
      SystemFunction<IsWow64Process2Function>(L"kernel32.dll", "IsWow64Process2");
  USHORT process_machine = 0;
  USHORT native_machine = 0;
  if (is_wow64_process2 != nullptr &&
      is_wow64_process2(GetCurrentProcess(), &process_machine, &native_machine)) {
    switch (native_machine) {
      case IMAGE_FILE_MACHINE_I386:
        return u"x86";
      case IMAGE_FILE_MACHINE_AMD64:
        return u"amd64";
      case 0xAA64:  // IMAGE_FILE_MACHINE_ARM64
        return u"arm64";
      default:
        return u"machine " + Decimal(native_machine);
    }
  }
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
      return u"x86";
    case PROCESSOR_ARCHITECTURE_AMD64:
      return u"amd64";
    case 12:  // PROCESSOR_ARCHITECTURE_ARM64
      return u"arm64";
    default:
      return u"architecture " + Decimal(info.wProcessorArchitecture);
  }
}

Text LanguageText(std::uint16_t lang_id) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(lang_id));
  Text text = Ascii(hex);
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  if (LCIDToLocaleName(MAKELCID(lang_id, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 1) {
    text += u" " + FromWide(name);
  }
  return text;
}

Text UserLocaleText() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) <= 1) return u"unknown";
  return FromWide(name);
}

Text UtcTimeText() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  char text[40];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u UTC", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  return Ascii(text);
}

std::vector<Text> CommandLineArguments() {
  std::vector<Text> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(FromWide(argv[i]));
  LocalFree(argv);
  return args;
}

Text CommandLineArgumentsText() {
  // The program's name ends where CommandLineToArgvW ends it: at the closing quote, or at the
  // first blank or tab.
  const std::wstring_view line = GetCommandLineW();
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    i = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  }
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  return FromWide(line.substr(i));
}

bool WindowStationVisible() {
  // Session 0 holds services and no user since Windows Vista, whatever its station's flags say:
  // a box there is seen by nobody (a service allowed to interact still reports WSF_VISIBLE).
  DWORD session = 0;
  if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) return false;
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  // When Windows cannot say, the station is taken as visible, as it always was.
  if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                 &needed)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace px::win32
