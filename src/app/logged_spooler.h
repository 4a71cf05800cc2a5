#pragma once

#include "app/run_log.h"
#include "platform/message_boxes.h"
#include "platform/print_spooler.h"

namespace px {

// The spooler with a Spooler line for every call that changes something or lists for a
// removal: the call, its arguments, and Windows' answer (0 or the error code), e.g.
// "Spooler<TAB>SetPrinter<TAB>Lunor L58T<TAB>USB002<TAB>0". The look-ups an installation makes
// (GetPrinter, PrinterExists) write nothing, so a run on a PC without the printer logs as it
// always has.
class LoggedSpooler : public PrintSpooler {
 public:
  LoggedSpooler(PrintSpooler& inner, RunLog& log) : inner_(inner), log_(log) {}

  bool PrinterExists(const Text& printer_name, const Text& port_name) override {
    return inner_.PrinterExists(printer_name, port_name);
  }
  std::uint32_t GetQueue(const Text& name, PrinterQueueInfo& queue) override {
    return inner_.GetQueue(name, queue);
  }
  std::uint32_t EnumQueues(std::vector<PrinterQueueInfo>& queues) override;
  std::uint32_t SetQueuePort(const Text& name, const Text& port) override;
  std::uint32_t DeleteQueue(const Text& name) override;
  std::uint32_t EnumDrivers(std::vector<PrinterDriverInfo>& drivers) override;
  std::uint32_t DeleteDriver(const Text& name) override;
  std::uint32_t DeleteDriverPackage(const Text& inf_path) override;

 private:
  std::uint32_t Logged(std::initializer_list<TextView> call, std::uint32_t code);

  PrintSpooler& inner_;
  RunLog& log_;
};

// Message boxes with a line each: "Message<TAB>TITLE<TAB>TEXT" as the window's boxes, and
// "Question<TAB>TITLE<TAB>TEXT<TAB>yes|no" with the answer.
class LoggedMessageBoxes : public MessageBoxes {
 public:
  LoggedMessageBoxes(MessageBoxes& inner, RunLog& log, Text title = u"px-installer")
      : inner_(inner), log_(log), title_(std::move(title)) {}
  void ShowMessage(const Text& text) override;
  bool AskYesNo(const Text& text) override;

 private:
  MessageBoxes& inner_;
  RunLog& log_;
  Text title_;
};

// No boxes at all, for unattended runs: a question gets its default answer, Yes.
class NoMessageBoxes : public MessageBoxes {
 public:
  void ShowMessage(const Text&) override {}
  bool AskYesNo(const Text&) override { return true; }
};

}  // namespace px
