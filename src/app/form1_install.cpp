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
  const std::optional<Text> inf_path = PreparePackage();
  if (!inf_path) return;

  // Where nobody sees a window (/quiet, or a window station nobody sees), PrintUIEntry shows
  // none either: hidden, and without its error boxes.
  const bool unseen = backend_.host.window() == nullptr;
  Expected<std::unique_ptr<Process>> started =
      Start(PrintUiCommandLine(printer_name, *inf_path, port.PortName, driver_name, unseen),
            unseen ? ShowState::kHidden : ShowState::kMinimized);
  if (!started) {
    ReleasePackage();
    return Fail(started.error());
  }
  installation_ = std::move(started.value());

  form_.SetLabel1(1, Text(TextFor(TextId::kInstalled, LanguageFlag)));
  StartClosing();
}

std::optional<Text> Form1::PreparePackage() {
  const Text program_folder = backend_.system.ProgramFolder();
  const Text inf_path = InfPath(program_folder);
  auto refuse = [this](const Text& cause) -> std::optional<Text> {
    ReleasePackage();
    form_.SetLabel1(6, cause);
    ShowMessage(Text(TextFor(TextId::kFailed, LanguageFlag)) + u"\n" + cause);
    End(ExitCode::kPackageMissing);
    return std::nullopt;
  };

  // The package is held before it is checked, and until the installation has ended: the user
  // who owns the program's folder cannot swap PX.inf or a printer description between the
  // check and the copy the installation reads.
  Expected<std::unique_ptr<FileHold>> hold =
      backend_.system.HoldFiles(PackageFolder(program_folder));
  if (hold) {
    package_hold_ = std::move(hold.value());
  } else {
    events_.On(event::Warning{{u"driver package: " + hold.error().text}});
  }
  // Without its driver package nothing can be installed: say so instead of counting down to a
  // success that cannot come.
  if (!package_hold_ || !backend_.system.FileExists(inf_path)) {
    return refuse(Text(TextFor(TextId::kInfMissing, LanguageFlag)) + inf_path);
  }
  if (backend_.release_package.empty()) {
    events_.On(
        event::Warning{{u"this build carries no hashes of the driver package: it is "
                        u"checked by its hold alone"}});
  }
  Expected<PackageCopy> copy =
      CopyPackage(*package_hold_, backend_.release_package, backend_.system);
  if (!copy) {
    ReleasePackage();
    Fail(copy.error());
    return std::nullopt;
  }
  if (!copy.value().refused_file.empty()) {
    events_.On(event::Warning{
        {u"driver package: " + copy.value().refused_file + u": " + copy.value().refusal}});
    return refuse(Text(TextFor(TextId::kPackageChanged, LanguageFlag)) + copy.value().refused_file);
  }
  package_copy_ = std::move(copy.value().folder);
  return package_copy_->path() + u"\\PX.inf";
}

void Form1::ReleasePackage() {
  const bool running = installation_ && !installation_->ExitCode().has_value();
  if (running && package_copy_) package_copy_->Keep();
  package_copy_.reset();
  package_hold_.reset();
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
  const bool timed_out = installation_ && !installation_->ExitCode().has_value();
  ReleasePackage();
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
