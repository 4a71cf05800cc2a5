#include "app/form1.h"

#include "texts/installer_texts.h"

namespace px {

std::int16_t LanguageFlagFor(std::uint16_t ui_language) {
  constexpr std::uint16_t kLangChinese = 0x04;
  return (ui_language & 0x3FF) == kLangChinese ? 0 : 1;
}

Form1::Form1(Platform platform, const ModelTable& table) : platform_(platform), table_(table) {
  timer_delay_ = platform_.timers.CreateTimer([this] { TimerDelay_Timer(); });
  timer_usb_check_ = platform_.timers.CreateTimer([this] { TimerUSBCheck_Timer(); });
  timer_end_ = platform_.timers.CreateTimer([this] { TimerEnd_Timer(); });
}

void Form1::Fail(const SystemError& error) {
  TimerDelay().SetEnabled(false);
  TimerUSBCheck().SetEnabled(false);
  TimerEnd().SetEnabled(false);
  Result = ExitCode::kSystemError;
  platform_.view.ShowErrorAndEnd(error);
}

void Form1::End(ExitCode code) {
  Result = code;
  platform_.view.Unload();
}

void Form1::Form_Load() {
  InstallerView& view = platform_.view;
  LanguageFlag = LanguageFlagFor(platform_.system.UserDefaultUiLanguage());
  view.SetCaption(Text(kCaption));
  // The labels are transparent by design on every view; start-up sets their texts.
  view.SetLabel2(Text(TextFor(TextId::kProvider, LanguageFlag)));
  for (int i = 0; i < InstallerView::kLabel1Count; ++i) view.SetLabel1(i, Text());
  view.SetLabel1(0, Text(TextFor(TextId::kWait, LanguageFlag)));

  // The spooler may be running already; the command then fails, unseen and harmless.
  Expected<std::unique_ptr<Process>> spooler =
      platform_.processes.Start(Text(kSpoolerCommand), ShowState::kHidden);
  if (!spooler) return Fail(spooler.error());
  spooler_start_ = std::move(spooler.value());

  view.SetLabel1(1, Text(TextFor(TextId::kSpooler, LanguageFlag)));
  StartDelay(5);
  detection.ScanCounter = 0;
  TimerUSBCheck().SetEnabled(false);
  TimerEnd().SetEnabled(false);
}

void Form1::StartDelay(std::int16_t n) {
  TimerDelay().SetInterval(1);
  TimerDelay().SetEnabled(true);
  DelayTickLimit = n;
}

void Form1::TimerDelay_Timer() {
  ++DelayTicks;
  if (DelayTicks <= DelayTickLimit) {
    TimerDelay().SetInterval(1000);
    TimerDelay().SetEnabled(true);
    platform_.view.SetLabel1(1, platform_.view.Label1(1) + u".");
  } else {
    platform_.view.SetLabel1(2, Text(TextFor(TextId::kDetecting, LanguageFlag)));
    TimerUSBCheck().SetInterval(1);
    TimerUSBCheck().SetEnabled(true);
    TimerDelay().SetEnabled(false);
  }
}

void Form1::TimerUSBCheck_Timer() {
  InstallerView& view = platform_.view;
  Status status =
      DetectUsbPrinter(detection, LanguageFlag, view, platform_.usb, table_, scan_notes_);
  if (!status) return Fail(status.error());
  if (detection.PrinterFound != 1) {
    // The passes come a second apart: the one after WaitSeconds is the last.
    if (Quiet && ++PassesWithoutPrinter > WaitSeconds) {
      TimerUSBCheck().SetEnabled(false);
      return End(ExitCode::kNoPrinter);
    }
    TimerUSBCheck().SetInterval(1000);
    TimerUSBCheck().SetEnabled(true);
    return;
  }
  view.SetLabel1(2, Text(TextFor(TextId::kFound, LanguageFlag)) + detection.ModelName);
  TimerUSBCheck().SetEnabled(false);
  FindPrinterPort(platform_.registry, port, port_notes_);
  view.SetLabel1(4, Text(TextFor(TextId::kPort, LanguageFlag)) + port.PortName);
  view.SetLabel1(5, Text(TextFor(TextId::kCopying, LanguageFlag)));
  view.Refresh();
  InstallPrinterDriver();
}

}  // namespace px
