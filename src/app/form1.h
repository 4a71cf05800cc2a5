#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "detect/detect_usb_printer.h"
#include "detect/model_table.h"
#include "platform/installer_view.h"
#include "platform/processes.h"
#include "platform/system_info.h"
#include "platform/timers.h"
#include "platform/usb_associations.h"

namespace px {

// The installer's window: its state record, its load handler and its three timers. All work
// happens in timer ticks on the one UI thread.
class Form1 {
 public:
  struct Platform {
    InstallerView& view;
    TimerFactory& timers;
    Processes& processes;
    UsbAssociations& usb;
    SystemInfo& system;
  };

  // The step that follows a detection pass that found a printer. Until the port search and the
  // installation take it, the composition root decides what happens then.
  using OnDetected = std::function<void(Form1&)>;

  Form1(Platform platform, const ModelTable& table, OnDetected on_detected = {});

  void Form_Load();
  void StartDelay(std::int16_t n);

  void TimerDelay_Timer();
  void TimerUSBCheck_Timer();

  // The state record shared by the workflow steps, and the program-wide ModelName.
  std::int16_t LanguageFlag = 0;
  std::int16_t DelayTicks = 0;
  std::int16_t DelayTickLimit = 0;
  DetectionState detection;  // ScanCounter, PrinterFound and ModelName

  Timer& TimerDelay() { return *timer_delay_; }
  Timer& TimerUSBCheck() { return *timer_usb_check_; }
  Timer& TimerEnd() { return *timer_end_; }
  InstallerView& view() { return platform_.view; }

 private:
  Platform platform_;
  const ModelTable& table_;
  OnDetected on_detected_;
  std::unique_ptr<Timer> timer_delay_;
  std::unique_ptr<Timer> timer_usb_check_;
  std::unique_ptr<Timer> timer_end_;
  std::unique_ptr<Process> spooler_;
};

// PRIMARYLANGID(language) == LANG_CHINESE: the Chinese texts; any other language: English.
std::int16_t LanguageFlagFor(std::uint16_t ui_language);

}  // namespace px
