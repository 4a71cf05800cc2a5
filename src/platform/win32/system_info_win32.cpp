#include "platform/win32/system_info_win32.h"

#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
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

namespace {

class Win32Hold : public FileHold {
 public:
  std::vector<UniqueKernelHandle> handles;
};

// Read access, so that the sharing this handle allows binds every later opener.
HANDLE OpenShared(const std::wstring& path, DWORD flags) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags,
                     nullptr);
}

}  // namespace

std::unique_ptr<FileHold> Win32SystemInfo::HoldFiles(const Text& folder) {
  const std::wstring base(Wide(folder), folder.size());
  auto hold = std::make_unique<Win32Hold>();
  // The folder as the name it has: a junction put in its place cannot be pointed elsewhere.
  const HANDLE self = OpenShared(base, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
  if (self == INVALID_HANDLE_VALUE) return nullptr;
  hold->handles.emplace_back(self);

  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  bool held = true;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const HANDLE file = OpenShared(base + L"\\" + entry.cFileName, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
      held = false;
      break;
    }
    hold->handles.emplace_back(file);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  if (!held) return nullptr;
  return hold;
}

}  // namespace px::win32
