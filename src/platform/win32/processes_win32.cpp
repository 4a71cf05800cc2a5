#include "platform/win32/processes_win32.h"

#include <string>

#include "platform/win32/application_path.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/unique_handle.h"

namespace px::win32 {

namespace {

class Win32Process : public Process {
 public:
  explicit Win32Process(UniqueKernelHandle process) : process_(std::move(process)) {}

  std::optional<std::uint32_t> ExitCode() override {
    // GetExitCodeProcess alone cannot tell a running process from one that exited with 259.
    if (WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
  }

 private:
  UniqueKernelHandle process_;
};

Expected<Text> SystemFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0) return LastError(L"GetSystemDirectoryW");
  if (length >= MAX_PATH) return Win32Error(L"GetSystemDirectoryW", ERROR_INSUFFICIENT_BUFFER);
  return FromWide(buffer, length);
}

}  // namespace

Expected<std::unique_ptr<Process>> Win32Processes::Start(const Text& command_line, ShowState show) {
  Expected<Text> system_folder = SystemFolder();
  if (!system_folder) return system_folder.error();
  const Text application = ApplicationPathFor(command_line, system_folder.value());
  if (application.empty()) return Win32Error(L"CreateProcessW", ERROR_INVALID_PARAMETER);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show == ShowState::kHidden ? SW_HIDE : SW_SHOWMINIMIZED);
  // CreateProcessW may write into the command line: it gets a copy.
  std::wstring writable(Wide(command_line), command_line.size());
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(Wide(application), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return LastError(L"CreateProcessW");
  }
  CloseHandle(info.hThread);
  return std::unique_ptr<Process>(
      std::make_unique<Win32Process>(UniqueKernelHandle(info.hProcess)));
}

}  // namespace px::win32
