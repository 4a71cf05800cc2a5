#include "app/run_lines.h"

#include <string>

#include "texts/installer_texts.h"

namespace px {

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

TextView EndWord(event::End::Kind kind) {
  switch (kind) {
    case event::End::kUnload:
      return u"unload";
    case event::End::kClosed:
      return u"closed";
    case event::End::kError:
      return u"error";
  }
  return u"";
}

// The line of an event both the trace and the log write; events without one write nothing.
void WriteLine(RunLog& log, const RunEvent& event) {
  std::visit(Overloaded{
                 [&](const event::Caption& e) {
                   log.Write({u"Caption", e.text});
                 },
                 [&](const event::Label2& e) {
                   log.Write({u"Label2", e.text});
                 },
                 [&](const event::Label1& e) {
                   log.Write({u"Label1(" + Decimal(e.index) + u")", e.text});
                 },
                 [&](const event::Refresh&) { log.Write({u"Refresh"}); },
                 [&](const event::Message& e) {
                   log.Write({u"Message", kTitle, e.text});
                 },
                 [&](const event::Question& e) {
                   log.Write({u"Question", kTitle, e.text, e.yes ? u"yes" : u"no"});
                 },
                 [&](const event::Warning& e) {
                   log.Write({u"Warning", e.error.text});
                 },
                 [&](const event::Failure& e) {
                   log.Write({u"Message", kTitle, e.error.text});
                 },
                 [&](const event::End& e) {
                   log.Write({u"End", EndWord(e.kind)});
                 },
                 [&](const event::Launch& e) {
                   log.Write({u"Launch", e.show == ShowState::kHidden ? u"hidden" : u"minimized",
                              e.command_line});
                 },
                 [&](const event::SpoolerCall& e) {
                   std::string fields;
                   for (const Text& field : e.call)
                     fields.append(RunLog::Escape(field)).append("\t");
                   log.WriteEscaped("Spooler", fields + std::to_string(e.code));
                 },
                 [](const auto&) {},
             },
             event);
}

}  // namespace

void TraceLines::On(const RunEvent& event) { WriteLine(log_, event); }

LogLines::LogLines(Opener open, RunLog::Clock now_ms)
    : open_(std::move(open)), now_ms_(std::move(now_ms)) {}

LogLines::~LogLines() = default;

void LogLines::Note(const Text& text) { notes_.push_back(text); }

void LogLines::WriteNotes() {
  for (const Text& note : notes_) log_->Write({u"Log", note});
  notes_.clear();
}

void LogLines::On(const RunEvent& event) {
  if (const auto* start = std::get_if<event::Start>(&event)) {
    if (log_) return;  // a run starts once
    if (open_) file_ = open_();
    filter_ = std::make_unique<UnchangedPassFilter>(file_.get(), now_ms_);
    log_ = std::make_unique<RunLog>(filter_.get(), now_ms_);
    const event::Start& h = *start;
    log_->Write({u"Start", h.program, u"Windows " + h.windows, h.architecture,
                 u"UI " + h.ui_language, u"locale " + h.locale, u"folder " + h.program_folder,
                 h.start_time, u"arguments " + h.arguments});
    WriteNotes();
    return;
  }
  if (!log_) return;  // nothing is logged before the run has started
  WriteNotes();
  std::visit(Overloaded{
                 [&](const event::PassStart&) { filter_->BeginPass(); },
                 [&](const event::PassEnd& e) { filter_->EndPass(e); },
                 [&](const event::BadCommandLine& e) {
                   log_->Write({u"Message", kTitle, e.error});
                 },
                 [&](const event::Port& e) { log_->WriteEscaped("Port", PortNoteFields(e.note)); },
                 [&](const event::Exit& e) {
                   log_->Write({u"Exit", Decimal(e.code), e.meaning});
                 },
                 [&](const auto&) { WriteLine(*log_, event); },
             },
             event);
}

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

}  // namespace px
