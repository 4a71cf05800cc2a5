#include "platform/win32/system_info_win32.h"

#include <string>

#include "base/win32/windows_api.h"
#include "platform/win32/run_facts_win32.h"

namespace px::win32 {

Text FolderOf(TextView module_path) {
  const std::size_t separator = module_path.find_last_of(u"\\/");
  if (separator == TextView::npos) return {};
  Text folder(module_path.substr(0, separator));
  if (folder.ends_with(u':')) folder += u'\\';
  return folder;
}

Text Win32SystemInfo::ProgramFolder() const {
  // Long paths do not fit MAX_PATH; the buffer grows until the whole path fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return FolderOf(FromWide(path.data(), length));
    path.resize(path.size() * 2);
  }
}

std::uint16_t Win32SystemInfo::UserDefaultUiLanguage() const { return GetUserDefaultUILanguage(); }

bool Win32SystemInfo::FileExists(const Text& path) const {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Text Win32SystemInfo::NativeArchitecture() const { return NativeArchitectureText(); }

}  // namespace px::win32
