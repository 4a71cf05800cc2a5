#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/backend.h"
#include "app/exit_codes.h"
#include "app/package_copy.h"
#include "base/timers.h"
#include "detect/detect_usb_printer.h"
#include "detect/model_table.h"
#include "events/form_texts.h"
#include "events/run_events.h"
#include "port/find_printer_port.h"

namespace px {

// The installer's window: its state record, its load handler and the chain of its three
// timers. All work happens in timer ticks on the one UI thread:
//   TimerDelay     five dots a second apart while the spooler starts
//   TimerUSBCheck  a detection pass every second until a printer is found, then the port
//                  search and the launch of the installation
//   TimerEnd       the closing count, the result box, the end
//
// What the window shows, starts and asks the spooler is told to the run's events; the window on
// the screen is one of their readers. RunInstaller makes the one Form1 of a run.
class Form1 {
 public:
  Form1(Backend& backend, RunEvents& events, const ModelTable& table);
  // An installation still running when the window goes keeps its package's private copy.
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void Form_Load();
  void StartDelay(std::int16_t n);
  void TimerDelay_Timer();
  void TimerUSBCheck_Timer();
  void InstallPrinterDriver();
  void TimerEnd_Timer();

  // The state record shared by the workflow steps, with the program-wide ModelName in
  // detection and the port search's own values in port.
  std::int16_t LanguageFlag = 0;
  std::int16_t DelayTicks = 0;
  std::int16_t DelayTickLimit = 0;
  std::int16_t ResultLine = 0;
  std::int16_t CloseCountdown = 0;
  DetectionState detection;  // ScanCounter, PrinterFound, ModelName
  PortSearch port;           // PortName, UsbPrintReadStatus, InterfaceKeyNames

  // Unattended (/quiet): the same sequence, but with nobody to switch the printer on, the
  // detection gives up once WaitSeconds have passed since its first pass.
  bool Quiet = false;
  std::int32_t WaitSeconds = 300;
  std::int32_t PassesWithoutPrinter = 0;
  // How the run ended, once it has: the program's exit code.
  std::optional<ExitCode> Result;

  // TimerEnd ticks 1010 ms apart from about 1 ms after the launch: by its 120th tick two
  // minutes have passed, and an installation still running then has timed out.
  static constexpr std::int16_t kInstallTimeoutTicks = 120;

 private:
  Timer& TimerDelay() { return *timer_delay_; }
  Timer& TimerUSBCheck() { return *timer_usb_check_; }
  Timer& TimerEnd() { return *timer_end_; }

  void Fail(const SystemError& error);
  void End(ExitCode code);
  void ShowMessage(const Text& text) { events_.On(event::Message{text}); }
  // Starts a command line as it stands, without waiting for it; told once it has started.
  Expected<std::unique_ptr<Process>> Start(const Text& command_line, ShowState show);
  // Takes over a queue of the model's name that the spooler holds before the installation:
  // false when there is none, and the installation goes ahead.
  bool UseRegisteredQueue();
  // Checks what this Windows refuses before anything is installed: true when the run ends
  // here, refused; a printer device control will not let print only gets a warning.
  bool RefusedByPolicy();
  // Whether the spooler holds the model's queue on the port found, once the installation ended.
  bool RegisteredOnPort();
  // Arms the closing phase: the count on Label1(1), then the result.
  void StartClosing();
  void ShowResultAndEnd();
  // Holds, checks and copies the driver package: the INF of the private copy, or nothing when
  // the run has ended instead.
  std::optional<Text> PreparePackage();
  // The package is done with: its copy goes, unless the installation still reads from it.
  void ReleasePackage();

  Backend& backend_;
  RunEvents& events_;
  FormTexts form_;
  const ModelTable& table_;
  std::unique_ptr<Timer> timer_delay_;
  std::unique_ptr<Timer> timer_usb_check_;
  std::unique_ptr<Timer> timer_end_;
  std::unique_ptr<Process> spooler_start_;
  std::unique_ptr<Process> installation_;
  std::unique_ptr<FileHold> package_hold_;       // the driver package, while it is in use
  std::unique_ptr<PrivateFolder> package_copy_;  // what the installation reads
};

}  // namespace px
