#pragma once

#include <memory>

#include "base/win32/windows_api.h"
#include "platform/form_host.h"
#include "platform/win32/form_window.h"
#include "platform/win32/window_timers.h"

namespace px::win32 {

// Form1 on Windows: COM for the UI thread (WMI is called from its ticks), the window timers,
// the window, and the thread's message loop. Whatever Open made is let go in the reverse order
// on every path, COM last.
class Win32FormHost : public FormHost {
 public:
  // show_command: how wWinMain was asked to show the window.
  Win32FormHost(HINSTANCE instance, int icon_resource, int show_command)
      : instance_(instance), icon_resource_(icon_resource), show_command_(show_command) {}
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  Status Open(bool show_window, RunEvents& events) override;
  TimerFactory& timers() override { return *timers_; }
  InstallerView* window() override { return window_.get(); }
  void Run() override;
  void Quit() override;

 private:
  HINSTANCE instance_;
  int icon_resource_;
  int show_command_;
  bool com_started_ = false;
  std::unique_ptr<WindowTimers> timers_;
  std::unique_ptr<FormWindow> window_;
};

}  // namespace px::win32
