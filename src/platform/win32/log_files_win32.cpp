#include "platform/win32/log_files_win32.h"

#include "base/win32/unique_handle.h"
#include "platform/win32/log_folders_win32.h"
#include "platform/win32/nt_files_win32.h"
#include "platform/win32/security_win32.h"

namespace px::win32 {

namespace {

std::wstring WideName(const Text& name) { return std::wstring(Wide(name), name.size()); }

class Win32LogFile : public LogFile {
 public:
  Win32LogFile(UniqueKernelHandle file, HANDLE folder) : file_(std::move(file)), folder_(folder) {}

  OpenedFileFacts Facts() override { return FactsOf(file_.get()); }

  bool Append(std::string_view bytes) override {
    DWORD written = 0;
    return WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
  }

  bool RenameTo(const Text& name) override {
    return RenameRelative(file_.get(), folder_, WideName(name), true) == ERROR_SUCCESS;
  }

 private:
  UniqueKernelHandle file_;
  HANDLE folder_;  // the folder's, which outlives the file
};

class Win32LogFolder : public LogFolder {
 public:
  explicit Win32LogFolder(UniqueKernelHandle folder) : folder_(std::move(folder)) {}

  std::unique_ptr<LogFile> Open(const Text& name) override {
    auto open = [&](DWORD access) {
      return OpenRelative(folder_.get(), WideName(name), access, kNtOpenIf,
                          kNtNonDirectory | kNtAsItself);
    };
    const DWORD append = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES;
    // DELETE is for the rename; a folder that grants only writing (a share for logs) still
    // gets the lines, and the log there grows on.
    NtOpened file = open(append | DELETE);
    if (!file.handle && file.error == ERROR_ACCESS_DENIED) file = open(append);
    if (!file.handle) return nullptr;
    return std::make_unique<Win32LogFile>(std::move(file.handle), folder_.get());
  }

 private:
  UniqueKernelHandle folder_;
};

// How much of a full kernel path names its root: "\??\C:\", "\??\UNC\server\share\".
std::size_t RootLength(const std::wstring& path) {
  if (path.starts_with(L"\\??\\UNC\\")) {
    const std::size_t server = path.find(L'\\', 8);
    if (server == std::wstring::npos) return std::wstring::npos;
    const std::size_t share = path.find(L'\\', server + 1);
    return share == std::wstring::npos ? path.size() : share + 1;
  }
  if (path.size() >= 7 && path[5] == L':' && path[6] == L'\\') return 7;
  return std::wstring::npos;
}

// A folder of the walk, to look into and to make folders and files in; only reading when the
// folder grants no more.
NtOpened OpenFolderOf(HANDLE parent, const std::wstring& name, std::uint32_t disposition,
                      PSECURITY_DESCRIPTOR descriptor) {
  auto open = [&](DWORD access) {
    return OpenRelative(parent, name, access, disposition, kNtDirectory | kNtAsItself, descriptor);
  };
  const DWORD look = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL;
  NtOpened folder = open(look | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY);
  if (!folder.handle && folder.error == ERROR_ACCESS_DENIED) folder = open(look);
  return folder;
}

}  // namespace

std::unique_ptr<LogFolder> HeldLogFolder(UniqueKernelHandle folder) {
  return std::make_unique<Win32LogFolder>(std::move(folder));
}

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

Text Win32LogFiles::AccountSid() { return ProcessAccountSid(); }

FolderWalk Win32LogFiles::OpenFolder(const Text& folder) {
  FolderWalk walk;
  std::wstring path = NtPath(folder);
  const std::size_t root_length = RootLength(path);
  if (root_length == std::wstring::npos) {
    walk.error = ERROR_BAD_PATHNAME;
    return walk;
  }
  // The folders the walk makes get the program's DACL, as its own log folder does; owned by
  // Administrators when the program may give them that owner.
  const std::unique_ptr<SecurityDescriptor> owned =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl);
  const std::unique_ptr<SecurityDescriptor> unowned =
      SecurityDescriptor::FromSddl(kProtectedFolderSddl + 4);
  if (!owned || !unowned) {
    walk.error = ERROR_INVALID_PARAMETER;
    return walk;
  }
  if (path.size() > root_length && path.back() == L'\\') path.pop_back();

  const std::wstring root = path.substr(0, root_length);
  NtOpened current = OpenFolderOf(nullptr, root, kNtOpen, nullptr);
  WalkedFolder step{FromWide(root.substr(4)), {}, false};
  for (std::size_t start = root_length;;) {
    if (!current.handle) {
      walk.error = current.error;
      walk.folders.push_back(std::move(step));
      return walk;
    }
    step.facts = FolderFactsOf(current.handle.get());
    // A drive's root is the volume itself, whatever maps its letter: Wine reports the Unix
    // link behind a drive letter as a reparse point.
    if (start == root_length) step.facts.attributes &= ~kFileAttributeReparsePoint;
    const bool link = step.facts.attributes & kFileAttributeReparsePoint;
    walk.folders.push_back(std::move(step));
    if (link) return walk;
    if (start >= path.size()) break;

    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring name = path.substr(start, end - start);
    step = WalkedFolder{FromWide(path.substr(4, end - 4)), {}, false};
    start = end + 1;
    // Wine reports a Unix link to a folder as a reparse point only in its folder's listing.
    if (ListedAttributes(current.handle.get(), name) & kFileAttributeReparsePoint) {
      step.facts.attributes = kFileAttributeReparsePoint;
      walk.folders.push_back(std::move(step));
      return walk;
    }
    const HANDLE parent = current.handle.get();
    NtOpened next = OpenFolderOf(parent, name, kNtOpen, nullptr);
    if (!next.handle && next.error == ERROR_FILE_NOT_FOUND) {
      next = OpenFolderOf(parent, name, kNtCreate, owned->get());
      if (!next.handle && next.error == ERROR_INVALID_OWNER) {
        next = OpenFolderOf(parent, name, kNtCreate, unowned->get());
      }
      step.made = static_cast<bool>(next.handle);
    }
    current = std::move(next);
  }
  walk.held = HeldLogFolder(std::move(current.handle));
  return walk;
}

}  // namespace px::win32
