#include "platform/win32/nt_files_win32.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include <winternl.h>

#include "platform/win32/system_functions.h"

namespace px::win32 {

namespace {

using NtCreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES,
                                              PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG, ULONG, ULONG,
                                              ULONG, PVOID, ULONG);
using NtSetInformationFileFunction = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                                      ULONG);
using NtQueryDirectoryFileFunction = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID,
                                                      PIO_STATUS_BLOCK, PVOID, ULONG, ULONG,
                                                      BOOLEAN, PUNICODE_STRING, BOOLEAN);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(NTSTATUS);

constexpr ULONG kFileRenameInformation = 10;
constexpr ULONG kFileDirectoryInformation = 1;

// FILE_RENAME_INFORMATION and FILE_DIRECTORY_INFORMATION, up to the name.
struct RenameInformation {
  BOOLEAN replace_if_exists;
  HANDLE root_directory;
  ULONG file_name_length;
  WCHAR file_name[1];
};
struct DirectoryInformation {
  ULONG next_entry_offset;
  ULONG file_index;
  LARGE_INTEGER times[4];
  LARGE_INTEGER end_of_file;
  LARGE_INTEGER allocation_size;
  ULONG file_attributes;
  ULONG file_name_length;
  WCHAR file_name[1];
};

std::uint32_t ErrorOf(NTSTATUS status) {
  static const auto convert =
      SystemFunction<RtlNtStatusToDosErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
  if (!convert) return ERROR_GEN_FAILURE;
  const ULONG error = convert(status);
  return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
}

// A name as the kernel takes it; false when it is too long for one.
bool Counted(const std::wstring& name, UNICODE_STRING* counted) {
  if (name.size() * sizeof(wchar_t) > 0xfffe) return false;
  counted->Buffer = const_cast<PWSTR>(name.c_str());
  counted->Length = counted->MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  return true;
}

}  // namespace

NtOpened OpenRelative(HANDLE root, const std::wstring& name, DWORD access,
                      std::uint32_t disposition, std::uint32_t options,
                      PSECURITY_DESCRIPTOR descriptor, DWORD share) {
  static const auto create = SystemFunction<NtCreateFileFunction>(L"ntdll.dll", "NtCreateFile");
  NtOpened opened;
  UNICODE_STRING counted{};
  if (!create || !Counted(name, &counted)) {
    opened.error = create ? ERROR_FILENAME_EXCED_RANGE : ERROR_PROC_NOT_FOUND;
    return opened;
  }
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, root, descriptor);
  IO_STATUS_BLOCK status_block{};
  HANDLE handle = nullptr;
  const NTSTATUS status = create(&handle, access | SYNCHRONIZE, &attributes, &status_block, nullptr,
                                 FILE_ATTRIBUTE_NORMAL, share, disposition, options, nullptr, 0);
  if (status < 0) {
    opened.error = ErrorOf(status);
  } else {
    opened.handle = UniqueKernelHandle(handle);
  }
  return opened;
}

std::uint32_t RenameRelative(HANDLE file, HANDLE root, const std::wstring& name, bool replace) {
  static const auto set =
      SystemFunction<NtSetInformationFileFunction>(L"ntdll.dll", "NtSetInformationFile");
  if (!set) return ERROR_PROC_NOT_FOUND;
  const std::size_t size =
      offsetof(RenameInformation, file_name) + (name.size() + 1) * sizeof(wchar_t);
  // The name follows the struct; the buffer holds both, aligned for it.
  std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
  auto* info = reinterpret_cast<RenameInformation*>(buffer.data());
  info->replace_if_exists = replace ? TRUE : FALSE;
  info->root_directory = root;
  info->file_name_length = static_cast<ULONG>(name.size() * sizeof(wchar_t));
  std::memcpy(info->file_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  IO_STATUS_BLOCK status_block{};
  const NTSTATUS status =
      set(file, &status_block, info, static_cast<ULONG>(size), kFileRenameInformation);
  return status < 0 ? ErrorOf(status) : ERROR_SUCCESS;
}

std::uint32_t ListedAttributes(HANDLE folder, const std::wstring& name) {
  static const auto query =
      SystemFunction<NtQueryDirectoryFileFunction>(L"ntdll.dll", "NtQueryDirectoryFile");
  UNICODE_STRING mask{};
  // A name with a wildcard would list other names.
  if (!query || name.find_first_of(L"*?<>\"") != std::wstring::npos || !Counted(name, &mask)) {
    return 0;
  }
  std::vector<std::uint64_t> buffer(
      (sizeof(DirectoryInformation) + 520 * sizeof(wchar_t)) / sizeof(std::uint64_t) + 1);
  IO_STATUS_BLOCK status_block{};
  const NTSTATUS status = query(folder, nullptr, nullptr, nullptr, &status_block, buffer.data(),
                                static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                kFileDirectoryInformation, TRUE, &mask, TRUE);
  if (status < 0) return 0;
  return reinterpret_cast<const DirectoryInformation*>(buffer.data())->file_attributes;
}

}  // namespace px::win32
