#pragma once

#include "base/timers.h"
#include "events/run_events.h"
#include "platform/installer_view.h"
#include "platform/system_error.h"

namespace px {

// Where Form1 runs: its window (when the run shows one), the timers that drive it and the
// loop that runs their ticks on the one UI thread.
class FormHost {
 public:
  virtual ~FormHost() = default;

  // Makes what the installation's window needs: the timers, and the window itself when
  // show_window is true (made hidden; Run shows it). A failure ends the run with its error box;
  // what the run goes on from but a reader of its log should know is told to events.
  virtual Status Open(bool show_window, RunEvents& events) = 0;
  virtual TimerFactory& timers() = 0;
  // The window, once opened with one; null otherwise.
  virtual InstallerView* window() = 0;

  // Shows the window and runs the ticks until Quit, or until the user closes the window.
  virtual void Run() = 0;
  // Ends Run once the current tick has returned.
  virtual void Quit() = 0;
};

}  // namespace px
