#include "platform/win32/system_info_win32.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/win32/run_facts_win32.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_folders_win32.h"

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
  struct File {
    Text name;
    UniqueKernelHandle handle;
    bool link = false;
    std::optional<SystemError> refused;  // why it could not be held
  };
  UniqueKernelHandle folder;
  std::vector<File> files;

  std::vector<Text> Names() const override {
    std::vector<Text> names;
    for (const File& file : files) names.push_back(file.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  Expected<std::string> Read(const Text& name) const override {
    const auto file =
        std::find_if(files.begin(), files.end(), [&](const File& f) { return f.name == name; });
    if (file == files.end()) return SystemError{u"not held"};
    if (file->refused) return *file->refused;
    if (file->link) return SystemError{u"a link"};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file->handle.get(), &size)) return LastError(L"GetFileSizeEx");
    // A driver package is some hundred kilobytes; anything near this is no package file.
    if (size.QuadPart > (64 << 20)) return SystemError{u"too large"};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
      // From an offset of its own: nothing depends on the handle's file pointer.
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(done);
      DWORD read = 0;
      if (!ReadFile(file->handle.get(), bytes.data() + done,
                    static_cast<DWORD>(bytes.size() - done), &read, &at)) {
        return LastError(L"ReadFile");
      }
      if (read == 0) break;
      done += read;
    }
    bytes.resize(done);
    return bytes;
  }
};

// Read access, so that the sharing this handle allows binds every later opener. The name
// itself is opened: a link is seen as one and never followed.
HANDLE OpenShared(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsLink(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION facts{};
  return !GetFileInformationByHandle(handle, &facts) ||
         (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

Expected<std::unique_ptr<FileHold>> Win32SystemInfo::HoldFiles(const Text& folder) {
  const std::wstring base(Wide(folder), folder.size());
  auto hold = std::make_unique<Win32Hold>();
  // The folder as the name it has: a junction in its place is refused, not followed.
  const HANDLE self = OpenShared(base);
  if (self == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return std::unique_ptr<FileHold>();
    }
    return Win32Error(L"CreateFileW", error);
  }
  hold->folder.reset(self);
  if (IsLink(self)) return std::unique_ptr<FileHold>();

  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return LastError(L"FindFirstFileW");
  do {
    const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link) continue;
    Win32Hold::File& held_file = hold->files.emplace_back();
    held_file.name = FromWide(entry.cFileName, wcslen(entry.cFileName));
    const HANDLE file = OpenShared(base + L"\\" + entry.cFileName);
    if (file == INVALID_HANDLE_VALUE) {
      held_file.refused = LastError(L"CreateFileW");
      continue;
    }
    held_file.handle.reset(file);
    held_file.link = link || IsLink(file);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return std::unique_ptr<FileHold>(std::move(hold));
}

namespace {

// The few WinRT types the question needs, declared here: the program builds without the
// Windows Runtime headers and imports nothing of WinRT.
using HStringHandle = void*;  // HSTRING
using CreateString = HRESULT(WINAPI*)(const wchar_t*, UINT32, HStringHandle*);
using DeleteString = HRESULT(WINAPI*)(HStringHandle);
using GetActivationFactory = HRESULT(WINAPI*)(HStringHandle, REFIID, void**);

// Windows.Graphics.Printing.ProtectedPrint.IWindowsProtectedPrintInfoStatics: IInspectable's
// six methods, then get_IsProtectedPrintEnabled.
struct ProtectedPrintStatics;
struct ProtectedPrintStaticsVtbl {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(ProtectedPrintStatics*, REFIID, void**);
  ULONG(STDMETHODCALLTYPE* AddRef)(ProtectedPrintStatics*);
  ULONG(STDMETHODCALLTYPE* Release)(ProtectedPrintStatics*);
  void* GetIids;
  void* GetRuntimeClassName;
  void* GetTrustLevel;
  HRESULT(STDMETHODCALLTYPE* get_IsProtectedPrintEnabled)(ProtectedPrintStatics*, unsigned char*);
};
struct ProtectedPrintStatics {
  const ProtectedPrintStaticsVtbl* vtbl;
};
constexpr GUID kProtectedPrintStaticsId = {
    0xa7d212f3, 0x4168, 0x5485, {0x98, 0xab, 0xd8, 0x9d, 0x04, 0x60, 0x3b, 0x40}};
constexpr wchar_t kProtectedPrintClass[] =
    L"Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo";

template <class Function>
Function Resolve(HMODULE module, const char* name) {
  const FARPROC address = GetProcAddress(module, name);
  Function function = nullptr;
  static_assert(sizeof function == sizeof address);
  std::memcpy(&function, &address, sizeof function);
  return function;
}

}  // namespace

std::optional<bool> Win32SystemInfo::ProtectedPrintEnabled() const {
  // Loaded once and kept: the factory's code lives in DLLs combase loads for it.
  static const HMODULE combase = LoadSystemLibrary(L"combase.dll");
  if (combase == nullptr) return std::nullopt;
  const auto create = Resolve<CreateString>(combase, "WindowsCreateString");
  const auto destroy = Resolve<DeleteString>(combase, "WindowsDeleteString");
  const auto factory_of = Resolve<GetActivationFactory>(combase, "RoGetActivationFactory");
  if (!create || !destroy || !factory_of) return std::nullopt;

  HStringHandle name = nullptr;
  if (FAILED(create(kProtectedPrintClass, static_cast<UINT32>(std::wcslen(kProtectedPrintClass)),
                    &name))) {
    return std::nullopt;
  }
  void* factory = nullptr;
  const HRESULT found = factory_of(name, kProtectedPrintStaticsId, &factory);
  destroy(name);
  if (FAILED(found) || factory == nullptr) return std::nullopt;
  auto* statics = static_cast<ProtectedPrintStatics*>(factory);
  unsigned char enabled = 0;
  const HRESULT asked = statics->vtbl->get_IsProtectedPrintEnabled(statics, &enabled);
  statics->vtbl->Release(statics);
  if (FAILED(asked)) return std::nullopt;
  return enabled != 0;
}

}  // namespace px::win32
