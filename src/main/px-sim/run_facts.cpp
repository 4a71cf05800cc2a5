#include "run_facts.h"

#include <iostream>

#include "base/utf.h"

namespace px::sim {

namespace {

Text Hex4(std::uint16_t value) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  Text out;
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
  return out;
}

}  // namespace

event::Start HeaderFor(const Machine& machine, const Text& arguments) {
  const WindowsVersion& v = machine.windows_version;
  const TextView arch = machine.arch == Architecture::kX86     ? u"x86"
                        : machine.arch == Architecture::kArm64 ? u"arm64"
                                                               : u"amd64";
  return {u"px-installer " + Utf8Literal(PX_VERSION),
          Decimal(v.major) + u"." + Decimal(v.minor) + u"." + Decimal(v.build),
          Text(arch),
          Hex4(machine.ui_language),
          Utf8Literal(machine.locale),
          machine.program_folder,
          u"simulated",
          arguments};
}

void ReportSpooler(const SimSpooler& spooler) {
  for (const SimSpooler::Printer& printer : spooler.printers()) {
    std::cerr << "px-sim: printer \"" << ToUtf8(printer.name) << "\" on " << ToUtf8(printer.port)
              << "\n";
  }
  for (const PrinterDriverInfo& driver : spooler.drivers()) {
    std::cerr << "px-sim: driver \"" << ToUtf8(driver.name) << "\"\n";
  }
  for (const std::string& error : spooler.errors()) std::cerr << "px-sim: " << error << "\n";
}

}  // namespace px::sim
