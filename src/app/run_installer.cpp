#include "app/run_installer.h"

#include <optional>

#include "app/form1.h"
#include "app/uninstall.h"
#include "detect/model_table.h"
#include "texts/installer_texts.h"

namespace px {

namespace {

// The window on the screen as one reader of the run's events: it shows the texts, paints when
// the run asks, shows the boxes and ends as the run tells it. The window's own input (its
// close button) ends the message loop without an event; the run tells that end afterwards.
class WindowReader : public RunEvents {
 public:
  explicit WindowReader(InstallerView& window) : window_(window) {}

  void On(const RunEvent& event) override {
    std::visit(Overloaded{
                   [&](const event::Caption& e) { window_.SetCaption(e.text); },
                   [&](const event::Label2& e) { window_.SetLabel2(e.text); },
                   [&](const event::Label1& e) { window_.SetLabel1(e.index, e.text); },
                   [&](const event::Refresh&) { window_.Refresh(); },
                   [&](const event::Message& e) { window_.ShowMessage(e.text); },
                   [&](const event::Failure& e) { window_.ShowErrorAndEnd(e.error); },
                   [&](const event::End& e) {
                     if (e.kind == event::End::kUnload) window_.Unload();
                   },
                   [](const auto&) {},
               },
               event);
  }

 private:
  InstallerView& window_;
};

// No boxes at all, for a run nobody watches: a question gets its default answer, Yes.
class NoMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(const Text&) override {}
  Expected<bool> AskYesNo(const Text&) override { return true; }
  void ShowUsage(const Text&) override {}
  void ShowError(const Text&) override {}
};

RunResult Ended(RunEvents& events, ExitCode code, TextView meaning) {
  events.On(event::Exit{static_cast<std::uint32_t>(code), Text(meaning)});
  RunResult result;
  result.code = code;
  return result;
}

RunResult Ended(RunEvents& events, ExitCode code) {
  return Ended(events, code, ExitCodeMeaning(code));
}

// Form1 from its load to its end, on the host's window when it has one.
RunResult RunForm(const CommandLineOptions& args, Backend& backend, RunEvents& events) {
  RunReaders readers{&events};
  std::optional<WindowReader> window;
  if (InstallerView* shown = backend.host.window()) readers.Add(&window.emplace(*shown));

  Form1 form(backend, readers, ModelTable::Builtin());
  form.Quiet = args.quiet;
  form.WaitSeconds = args.wait_seconds;
  form.Form_Load();
  backend.host.Run();

  RunResult result;
  // The user closed the window before the end: the program ends as after its success box.
  result.window_closed = !form.Result.has_value();
  if (result.window_closed) readers.On(event::End{event::End::kClosed});
  result.code = form.Result.value_or(ExitCode::kRegistered);
  Ended(events, result.code,
        result.window_closed ? TextView(u"the window was closed") : ExitCodeMeaning(result.code));
  result.printer_found = form.detection.PrinterFound == 1;
  result.model_name = form.detection.ModelName;
  result.port_name = form.port.PortName;
  return result;
}

}  // namespace

RunResult RunInstaller(const ParsedCommandLine& command_line, Backend& backend, RunEvents& events) {
  const CommandLineOptions& args = command_line.options;
  // /quiet, or a window station nobody sees (a deployment tool's run as SYSTEM): no window and
  // no box, whatever else the command line holds.
  const bool windows = MayShowWindows(command_line, backend.station_visible);
  // The usage is all that /? does: the run does not even start its log.
  if (args.usage && command_line.error.empty()) {
    if (windows) backend.boxes.ShowUsage(Text(UsageText()));
    return RunResult();
  }
  events.On(backend.header);

  // A command line it does not understand is logged too: a deployment tool's typo shows there.
  if (!command_line.error.empty()) {
    events.On(event::BadCommandLine{command_line.error});
    if (windows) backend.boxes.ShowError(command_line.error + u"\n\n" + Text(UsageText()));
    return Ended(events, ExitCode::kBadCommandLine);
  }
  if (args.quiet && backend.lock != nullptr) {
    const UnattendedLock::Claim claim = backend.lock->Take();
    if (claim == UnattendedLock::Claim::kRunning) return Ended(events, ExitCode::kAlreadyRunning);
    // A lock Windows refused to make leaves the run unguarded, not stopped.
    if (claim == UnattendedLock::Claim::kNone && !backend.lock->Refusal().empty()) {
      events.On(event::Warning{{u"unattended lock: " + backend.lock->Refusal()}});
    }
  }

  // /uninstall: the package's printers go, with boxes of their own and no window. Where nobody
  // can answer the question, the removal goes ahead as /quiet's does.
  if (args.uninstall) {
    NoMessageBoxes none;
    const UninstallResult removal =
        Uninstall(backend.spooler, windows ? backend.boxes : none, ModelTable::Builtin(),
                  LanguageFlagFor(backend.system.UserDefaultUiLanguage()), !windows, events);
    return Ended(events, removal.code, removal.meaning);
  }

  // A failure before the window exists still gets its box (unless quiet); the program then ends.
  if (Status opened = backend.host.Open(windows, events); !opened) {
    events.On(event::Message{opened.error().text});
    if (windows) backend.boxes.ShowError(opened.error().text);
    return Ended(events, ExitCode::kSystemError);
  }
  return RunForm(args, backend, events);
}

}  // namespace px
