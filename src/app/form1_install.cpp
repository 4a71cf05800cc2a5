// The installation step and the closing phase of the installer's window.
#include "app/form1.h"
#include "detect/install_command.h"
#include "texts/installer_texts.h"

namespace px {

void Form1::InstallPrinterDriver() {
  form_.SetLabel1(6, Text(TextFor(TextId::kLoading, LanguageFlag)));
  const Text& printer_name = detection.ModelName;
  const Text& driver_name = detection.ModelName;
  form_.SetLabel1(0, Text(TextFor(TextId::kInstalling, LanguageFlag)));
  if (UseRegisteredQueue()) return;
  const Text program_folder = backend_.system.ProgramFolder();
  const Text inf_path = InfPath(program_folder);

  // The package is held before it is checked, and until the installation has ended: the user
  // who owns the program's folder cannot swap PX.inf or a printer description between the
  // check and their use by the elevated installation.
  package_hold_ = backend_.system.HoldFiles(PackageFolder(program_folder));

  // Without its driver package nothing can be installed: say so instead of counting down to a
  // success that cannot come.
  if (!package_hold_ || !backend_.system.FileExists(inf_path)) {
    package_hold_.reset();
    const Text missing = Text(TextFor(TextId::kInfMissing, LanguageFlag)) + inf_path;
    form_.SetLabel1(6, missing);
    ShowMessage(Text(TextFor(TextId::kFailed, LanguageFlag)) + u"\n" + missing);
    return End(ExitCode::kPackageMissing);
  }

  // Where nobody sees a window (/quiet, or a window station nobody sees), PrintUIEntry shows
  // none either: hidden, and without its error boxes.
  const bool unseen = backend_.host.window() == nullptr;
  Expected<std::unique_ptr<Process>> started =
      Start(PrintUiCommandLine(printer_name, inf_path, port.PortName, driver_name, unseen),
            unseen ? ShowState::kHidden : ShowState::kMinimized);
  if (!started) return Fail(started.error());
  installation_ = std::move(started.value());

  form_.SetLabel1(1, Text(TextFor(TextId::kInstalled, LanguageFlag)));
  StartClosing();
}

void Form1::StartClosing() {
  ResultLine = 1;
  TimerEnd().SetInterval(1);
  TimerEnd().SetEnabled(true);
  CloseCountdown = 0;
}

void Form1::TimerEnd_Timer() {
  ++CloseCountdown;
  form_.SetLabel1(ResultLine, Text(TextFor(TextId::kCountHead, LanguageFlag)) +
                                  Decimal(CloseCountdown) +
                                  Text(TextFor(TextId::kCountTail, LanguageFlag)));
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
  // The installation has ended, or is left to itself: the package is the user's again.
  package_hold_.reset();
  const bool timed_out = installation_ && !installation_->ExitCode().has_value();
  if (!timed_out && RegisteredOnPort()) {
    ShowMessage(Text(TextFor(TextId::kSucceeded, LanguageFlag)));
    return End(ExitCode::kRegistered);
  }
  Text cause = timed_out
                   ? Text(TextFor(TextId::kTimedOut, LanguageFlag))
                   : Text(TextFor(TextId::kNotRegistered, LanguageFlag)) + detection.ModelName;
  // ARM64 Windows stages no package that only its vendor signed: the likeliest cause there.
  if (!timed_out && backend_.system.NativeArchitecture() == u"arm64") {
    cause += u"\n" + Text(TextFor(TextId::kArm64Unsigned, LanguageFlag));
  }
  ShowMessage(Text(TextFor(TextId::kFailed, LanguageFlag)) + u"\n" + cause);
  End(timed_out ? ExitCode::kTimedOut : ExitCode::kNotRegistered);
}

}  // namespace px
