#include "app/logged_platform.h"

#include <string>

namespace px {

void LoggedView::SetCaption(const Text& text) {
  log_.Write({u"Caption", text});
  inner_.SetCaption(text);
}

void LoggedView::SetLabel2(const Text& text) {
  log_.Write({u"Label2", text});
  inner_.SetLabel2(text);
}

void LoggedView::SetLabel1(int index, const Text& text) {
  if (index < 0 || index >= kLabel1Count) return;  // Label1 has no such element
  log_.Write({u"Label1(" + Decimal(index) + u")", text});
  inner_.SetLabel1(index, text);
}

void LoggedView::Refresh() {
  log_.Write({u"Refresh"});
  inner_.Refresh();
}

void LoggedView::ShowMessage(const Text& text) {
  log_.Write({u"Message", title_, text});
  inner_.ShowMessage(text);
}

void LoggedView::End(TextView word) {
  if (ended_) return;
  ended_ = true;
  log_.Write({u"End", word});
}

void LoggedView::Unload() {
  End(u"unload");
  inner_.Unload();
}

void LoggedView::Closed() { End(u"closed"); }

void LoggedView::ShowErrorAndEnd(const SystemError& error) {
  log_.Write({u"Message", title_, error.text});
  End(u"error");
  inner_.ShowErrorAndEnd(error);
}

Expected<std::unique_ptr<Process>> LoggedProcesses::Start(const Text& command_line,
                                                          ShowState show) {
  Expected<std::unique_ptr<Process>> started = inner_.Start(command_line, show);
  if (started) {
    log_.Write({u"Launch", show == ShowState::kHidden ? u"hidden" : u"minimized", command_line});
  }
  return started;
}

namespace {

std::string PortVerdict(const InterfaceNote& note) {
  switch (note.verdict) {
    case InterfaceNote::kAccepted:
      return "accepted";
    case InterfaceNote::kOtherVendor:
      return "rejected: vendor is not 1A86";
    case InterfaceNote::kNotServed:
      return "rejected: no usbprint value names the device";
    case InterfaceNote::kUsbPrintUnreadable:
      return "rejected: usbprint value " + std::to_string(note.usbprint_value) + " cannot be read";
    case InterfaceNote::kNoPortNumber:
      return "rejected: no REG_DWORD Port Number";
  }
  return "";
}

}  // namespace

std::string PortNoteFields(const InterfaceNote& note) {
  std::string out = RunLog::Escape(note.key_name) + "\t" + RunLog::Escape(note.vendor) + "\t";
  out += !note.port_read            ? "-"
         : note.port_digits.empty() ? "none"
                                    : RunLog::Escape(note.port_digits);
  out += "\t";
  if (note.usbprint_value < 0) {
    out += "none";
  } else if (note.usbprint_status != 0) {
    out += std::to_string(note.usbprint_value) + "=unreadable";
  } else {
    out += std::to_string(note.usbprint_value) + "=" + RunLog::Escape(note.instance);
  }
  return out + "\t" + PortVerdict(note);
}

void LoggedPortNotes::Note(const InterfaceNote& note) {
  log_.WriteEscaped("Port", PortNoteFields(note));
}

void WriteStart(RunLog& log, const RunLogHeader& h) {
  log.Write({u"Start", h.program, u"Windows " + h.windows, h.architecture, u"UI " + h.ui_language,
             u"locale " + h.locale, u"folder " + h.program_folder, h.start_time,
             u"arguments " + h.arguments});
}

void WriteExit(RunLog& log, ExitCode code, bool window_closed) {
  WriteExit(log, code, window_closed ? TextView(u"the window was closed") : ExitCodeMeaning(code));
}

void WriteExit(RunLog& log, ExitCode code, TextView meaning) {
  log.Write({u"Exit", Decimal(static_cast<std::int64_t>(code)), meaning});
}

}  // namespace px
