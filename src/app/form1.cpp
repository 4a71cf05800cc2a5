#include "app/form1.h"

#include "texts/installer_texts.h"

namespace px {

Form1::Form1(Backend& backend, RunEvents& events, const ModelTable& table)
    : backend_(backend), events_(events), form_(events), table_(table) {
  TimerFactory& timers = backend_.host.timers();
  timer_delay_ = timers.CreateTimer([this] { TimerDelay_Timer(); });
  timer_usb_check_ = timers.CreateTimer([this] { TimerUSBCheck_Timer(); });
  timer_end_ = timers.CreateTimer([this] { TimerEnd_Timer(); });
  // A timer Windows would not start never ticks: the run ends on the refusal instead of
  // waiting for ever.
  timers.SetOnFailure([this](const Text& failure) { Fail(SystemError{failure}); });
}

Form1::~Form1() {
  backend_.host.timers().SetOnFailure(nullptr);
  ReleasePackage();
}

void Form1::Fail(const SystemError& error) {
  TimerDelay().SetEnabled(false);
  TimerUSBCheck().SetEnabled(false);
  TimerEnd().SetEnabled(false);
  Result = ExitCode::kSystemError;
  events_.On(event::Failure{error});
  events_.On(event::End{event::End::kError});
  backend_.host.Quit();
}

// The window unloads; the program ends once the current tick returns.
void Form1::End(ExitCode code) {
  Result = code;
  events_.On(event::End{event::End::kUnload});
  backend_.host.Quit();
}

Expected<std::unique_ptr<Process>> Form1::Start(const Text& command_line, ShowState show) {
  Expected<std::unique_ptr<Process>> started = backend_.processes.Start(command_line, show);
  if (started) events_.On(event::Launch{show, command_line});
  return started;
}

void Form1::Form_Load() {
  LanguageFlag = LanguageFlagFor(backend_.system.UserDefaultUiLanguage());
  form_.SetCaption(Text(kCaption));
  // The labels are transparent by design on every view; start-up sets their texts.
  form_.SetLabel2(Text(TextFor(TextId::kProvider, LanguageFlag)));
  for (int i = 0; i < FormTexts::kLabel1Count; ++i) form_.SetLabel1(i, Text());
  form_.SetLabel1(0, Text(TextFor(TextId::kWait, LanguageFlag)));

  // The spooler may be running already; the command then fails, unseen and harmless.
  Expected<std::unique_ptr<Process>> spooler = Start(Text(kSpoolerCommand), ShowState::kHidden);
  if (!spooler) return Fail(spooler.error());
  spooler_start_ = std::move(spooler.value());

  form_.SetLabel1(1, Text(TextFor(TextId::kSpooler, LanguageFlag)));
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
    form_.SetLabel1(1, form_.Label1(1) + u".");
  } else {
    form_.SetLabel1(2, Text(TextFor(TextId::kDetecting, LanguageFlag)));
    TimerUSBCheck().SetInterval(1);
    TimerUSBCheck().SetEnabled(true);
    TimerDelay().SetEnabled(false);
  }
}

void Form1::TimerUSBCheck_Timer() {
  Status status = DetectUsbPrinter(detection, LanguageFlag, form_, backend_.usb, table_);
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
  form_.SetLabel1(2, Text(TextFor(TextId::kFound, LanguageFlag)) + detection.ModelName);
  TimerUSBCheck().SetEnabled(false);
  FindPrinterPort(backend_.registry, port, events_);
  // A search that found nothing after the registry refused it has not looked: installing on
  // the fallback port would report a printer registered where it is not.
  if (port.PortName == kFallbackPortName && port.Failure.status != 0) {
    return Fail(SystemError{port.Failure.call + u": " + Decimal(port.Failure.status)});
  }
  form_.SetLabel1(4, Text(TextFor(TextId::kPort, LanguageFlag)) + port.PortName);
  if (RefusedByPolicy()) return;
  form_.SetLabel1(5, Text(TextFor(TextId::kCopying, LanguageFlag)));
  form_.Refresh();
  InstallPrinterDriver();
}

}  // namespace px
