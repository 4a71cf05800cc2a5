#include "platform/win32/form_host_win32.h"

#include "platform/win32/startup.h"

namespace px::win32 {

Win32FormHost::~Win32FormHost() {
  window_.reset();
  timers_.reset();
  if (com_started_) StopCom();
}

Status Win32FormHost::Open(bool show_window, RunEvents& events) {
  Expected<ComStart> com = StartCom();
  if (!com) return com.error();
  com_started_ = true;
  if (com.value().security_set_before) {
    events.On(event::Warning{*com.value().security_set_before});
  }
  auto timers = WindowTimers::Create(instance_);
  if (!timers) return timers.error();
  timers_ = std::move(timers.value());
  if (show_window) {
    auto created = FormWindow::Create({instance_, icon_resource_, u"px-installer"});
    if (!created) return created.error();
    window_ = std::move(created.value());
  }
  return Ok();
}

void Win32FormHost::Run() {
  if (window_) window_->Show(show_command_);
  RunMessageLoop();
}

// The window ends the loop itself when it is destroyed; a run without a window ends it here.
void Win32FormHost::Quit() { PostQuitMessage(0); }

}  // namespace px::win32
