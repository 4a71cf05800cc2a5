// The installation step and the closing phase of the installer's window.
#include "app/form1.h"
#include "app/form1_texts.h"
#include "detect/install_command.h"

namespace px {

void Form1::InstallPrinterDriver() {
  InstallerView& view = platform_.view;
  const bool zh = LanguageFlag == 0;
  view.SetLabel1(6, Text(zh ? kLoadingZh : kLoadingEn));
  const Text& printer_name = detection.ModelName;
  const Text& driver_name = detection.ModelName;
  view.SetLabel1(0, Text(zh ? kInstallingZh : kInstallingEn));
  const Text inf_path = InfPath(platform_.system.ProgramFolder());

  // Without its driver package nothing can be installed: say so instead of counting down to a
  // success that cannot come.
  if (!platform_.system.FileExists(inf_path)) {
    const Text missing = Text(zh ? kInfMissingZh : kInfMissingEn) + inf_path;
    view.SetLabel1(6, missing);
    view.ShowMessage(Text(zh ? kFailedZh : kFailedEn) + u"\n" + missing);
    view.Unload();
    return;
  }

  Expected<std::unique_ptr<Process>> started = platform_.processes.Start(
      PrintUiCommandLine(printer_name, inf_path, port.PortName, driver_name),
      ShowState::kMinimized);
  if (!started) return Fail(started.error());
  installation_ = std::move(started.value());

  view.SetLabel1(1, Text(zh ? kInstalledZh : kInstalledEn));
  ResultLine = 1;
  TimerEnd().SetInterval(1);
  TimerEnd().SetEnabled(true);
  CloseCountdown = 0;
}

void Form1::TimerEnd_Timer() {
  ++CloseCountdown;
  platform_.view.SetLabel1(ResultLine,
                           LanguageFlag == 1
                               ? Text(kCountEn) + Decimal(CloseCountdown) + Text(kCountEnTail)
                               : Text(kCountZh) + Decimal(CloseCountdown) + Text(kCountZhTail));
  // The count shows six ticks; an installation still running then gets more, up to two minutes.
  const bool running = installation_ && !installation_->ExitCode().has_value();
  if (CloseCountdown <= 5 || (running && CloseCountdown < kInstallTimeoutTicks)) {
    TimerEnd().SetInterval(1010);
    TimerEnd().SetEnabled(true);
    return;
  }
  TimerEnd().SetEnabled(false);
  ShowResultAndEnd();
}

void Form1::ShowResultAndEnd() {
  InstallerView& view = platform_.view;
  const bool en = LanguageFlag != 0;
  const bool timed_out = installation_ && !installation_->ExitCode().has_value();
  if (!timed_out && platform_.spooler.PrinterExists(detection.ModelName, port.PortName)) {
    view.ShowMessage(Text(en ? kSucceededEn : kSucceededZh));
  } else {
    const Text cause = timed_out
                           ? Text(en ? kTimedOutEn : kTimedOutZh)
                           : Text(en ? kNotRegisteredEn : kNotRegisteredZh) + detection.ModelName;
    view.ShowMessage(Text(en ? kFailedEn : kFailedZh) + u"\n" + cause);
  }
  view.Unload();
}

}  // namespace px
