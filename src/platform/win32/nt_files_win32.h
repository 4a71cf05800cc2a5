#pragma once

#include <cstdint>
#include <string>

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"

namespace px::win32 {

// Files and folders opened by a name relative to a folder's handle (OBJECT_ATTRIBUTES'
// RootDirectory), so that what the folder's name points to later does not matter. The native
// functions are looked up in ntdll at run time.

// NtCreateFile's dispositions and options, as wdm.h names them.
inline constexpr std::uint32_t kNtOpen = 1;             // FILE_OPEN
inline constexpr std::uint32_t kNtCreate = 2;           // FILE_CREATE
inline constexpr std::uint32_t kNtOpenIf = 3;           // FILE_OPEN_IF
inline constexpr std::uint32_t kNtOverwriteIf = 5;      // FILE_OVERWRITE_IF
inline constexpr std::uint32_t kNtDirectory = 0x1;      // FILE_DIRECTORY_FILE
inline constexpr std::uint32_t kNtNonDirectory = 0x40;  // FILE_NON_DIRECTORY_FILE
// FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT: plain reads and writes, a link opened
// as itself.
inline constexpr std::uint32_t kNtAsItself = 0x20 | 0x200000;

struct NtOpened {
  UniqueKernelHandle handle;
  std::uint32_t error = 0;  // the Win32 error when there is no handle
};

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens or creates name in the folder root (a full kernel path "\??\C:\" when root is null),
// shared as share says. descriptor, when given, is a new one's.
NtOpened OpenRelative(HANDLE root, const std::wstring& name, DWORD access,
                      std::uint32_t disposition, std::uint32_t options,
                      PSECURITY_DESCRIPTOR descriptor = nullptr, DWORD share = kShareAll);

// Renames an opened file to name in the folder root, replacing a file of that name when
// replace is set. 0 or the Win32 error. (SetFileInformationByHandle refuses a RootDirectory on
// Wine 8; the native call takes it.)
std::uint32_t RenameRelative(HANDLE file, HANDLE root, const std::wstring& name, bool replace);

// The attributes that the listing of folder gives name; 0 when it lists none. Wine reports a
// Unix link to a folder as a reparse point here, while a handle to it does not say so.
std::uint32_t ListedAttributes(HANDLE folder, const std::wstring& name);

}  // namespace px::win32
