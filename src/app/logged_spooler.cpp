#include "app/logged_spooler.h"

#include <string>

namespace px {

std::uint32_t LoggedSpooler::Logged(std::initializer_list<TextView> call, std::uint32_t code) {
  std::string fields;
  for (const TextView field : call) fields.append(RunLog::Escape(field)).append("\t");
  log_.WriteEscaped("Spooler", fields + std::to_string(code));
  return code;
}

std::uint32_t LoggedSpooler::EnumQueues(std::vector<PrinterQueueInfo>& queues) {
  return Logged({u"EnumPrinters"}, inner_.EnumQueues(queues));
}

std::uint32_t LoggedSpooler::SetQueuePort(const Text& name, const Text& port) {
  return Logged({u"SetPrinter", name, port}, inner_.SetQueuePort(name, port));
}

std::uint32_t LoggedSpooler::DeleteQueue(const Text& name) {
  return Logged({u"DeletePrinter", name}, inner_.DeleteQueue(name));
}

std::uint32_t LoggedSpooler::EnumDrivers(std::vector<PrinterDriverInfo>& drivers) {
  return Logged({u"EnumPrinterDrivers"}, inner_.EnumDrivers(drivers));
}

std::uint32_t LoggedSpooler::DeleteDriver(const Text& name) {
  return Logged({u"DeletePrinterDriverEx", name}, inner_.DeleteDriver(name));
}

std::uint32_t LoggedSpooler::DeleteDriverPackage(const Text& inf_path) {
  return Logged({u"DeletePrinterDriverPackage", inf_path}, inner_.DeleteDriverPackage(inf_path));
}

void LoggedMessageBoxes::ShowMessage(const Text& text) {
  log_.Write({u"Message", title_, text});
  inner_.ShowMessage(text);
}

bool LoggedMessageBoxes::AskYesNo(const Text& text) {
  const bool yes = inner_.AskYesNo(text);
  log_.Write({u"Question", title_, text, yes ? u"yes" : u"no"});
  return yes;
}

}  // namespace px
