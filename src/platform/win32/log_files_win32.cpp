#include "platform/win32/log_files_win32.h"

#include <cstddef>
#include <vector>

#include "base/win32/unique_handle.h"

#include <shlobj.h>

namespace px::win32 {

namespace {

class Win32LogFile : public LogFile {
 public:
  explicit Win32LogFile(UniqueKernelHandle file) : file_(std::move(file)) {}

  OpenedFileFacts Facts() override { return FactsOf(file_.get()); }

  bool Append(std::string_view bytes) override {
    DWORD written = 0;
    return WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
  }

  bool RenameTo(const Text& path) override {
    const std::wstring name = NtPath(path);
    // FILE_RENAME_INFO ends in the name; the buffer holds both, aligned for the struct.
    const std::size_t size =
        offsetof(FILE_RENAME_INFO, FileName) + (name.size() + 1) * sizeof(wchar_t);
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    name.copy(info->FileName, name.size());
    info->FileName[name.size()] = L'\0';
    return SetFileInformationByHandle(file_.get(), FileRenameInfo, info,
                                      static_cast<DWORD>(size)) != FALSE;
  }

 private:
  UniqueKernelHandle file_;
};

}  // namespace

OpenedFileFacts FactsOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return {};
  return {info.dwFileAttributes, info.nNumberOfLinks,
          (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow};
}

std::wstring NtPath(const Text& full_path) {
  const std::wstring path(Wide(full_path), full_path.size());
  if (path.starts_with(L"\\\\?\\")) return L"\\??\\" + path.substr(4);
  if (path.starts_with(L"\\\\")) return L"\\??\\UNC\\" + path.substr(2);
  return L"\\??\\" + path;
}

Text Win32LogFiles::FullPath(const Text& path) {
  if (path.empty()) return Text();
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return Text();
    if (length < full.size()) return FromWide(full.data(), length);
    full.resize(length);
  }
}

std::unique_ptr<LogFile> Win32LogFiles::Open(const Text& path) {
  // The folders above a file that /log names are made when missing, as the administrator asked
  // for them; the default log's folder is made beforehand, with its own DACL (app/log_trust.h).
  const std::size_t separator = path.find_last_of(u"\\/");
  if (separator != Text::npos && separator > 0) {
    SHCreateDirectoryExW(nullptr, Wide(path.substr(0, separator)), nullptr);
  }
  auto open = [&path](DWORD access) {
    return CreateFileW(Wide(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                       nullptr);
  };
  const DWORD append = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  // DELETE is for the rename; a folder that grants only writing (a share for logs) still gets
  // the lines, and the log there grows on.
  HANDLE file = open(append | DELETE);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) file = open(append);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32LogFile>(UniqueKernelHandle(file));
}

}  // namespace px::win32
