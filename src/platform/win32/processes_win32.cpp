#include "platform/win32/processes_win32.h"

#include <string>

#include "base/win32/unique_handle.h"
#include "platform/win32/application_path.h"
#include "platform/win32/child_environment.h"
#include "platform/win32/system_error_win32.h"
#include "platform/win32/system_folders_win32.h"

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

}  // namespace

Expected<std::unique_ptr<Process>> Win32Processes::Start(const Text& command_line, ShowState show) {
  Expected<SystemFolders> folders = QuerySystemFolders();
  if (!folders) return folders.error();
  const Text application = ApplicationPathFor(command_line, folders.value());
  if (application.empty()) return Win32Error(L"CreateProcessW", ERROR_INVALID_PARAMETER);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show == ShowState::kHidden ? SW_HIDE : SW_SHOWMINIMIZED);
  // CreateProcessW may write into the command line: it gets a copy.
  std::wstring writable(Wide(command_line), command_line.size());
  // A copy too: CreateProcessW wants a writable block.
  Text environment = ChildEnvironment(folders.value());
  PROCESS_INFORMATION info{};
  // The child starts in the system folder, not in the installer's current folder (often the
  // user's Downloads): cmd looks for "net" in its current folder before the PATH, and a net.bat
  // planted there would run with the administrator rights the installer holds.
  if (!CreateProcessW(Wide(application), writable.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(), Wide(folders.value().system),
                      &startup, &info)) {
    return LastError(L"CreateProcessW");
  }
  CloseHandle(info.hThread);
  return std::unique_ptr<Process>(
      std::make_unique<Win32Process>(UniqueKernelHandle(info.hProcess)));
}

}  // namespace px::win32
