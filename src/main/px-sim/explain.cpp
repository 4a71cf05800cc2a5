#include "explain.h"

#include <string>

#include "platform/sim/trace.h"

namespace px::sim {

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

std::string DetectionVerdict(const ScanNote& note) {
  switch (note.kind) {
    case ScanNote::kMassStorage:
      return "mass-storage mode (vendor 0483, product 5720): the pass ends, restart the printer";
    case ScanNote::kAccepted:
      return note.ends_pass ? "accepted: the pass ends" : "accepted: the pass goes on";
    case ScanNote::kNotInTable:
      return "rejected: vendor 1A86, but the product id is not in the model table";
    case ScanNote::kOtherVendor:
      return "rejected: the device is not of vendor 1A86";
    case ScanNote::kAfterAccepted:
      return "not taken: a printer was accepted before it";
  }
  return "";
}

}  // namespace

void PortExplainLines::Note(const InterfaceNote& note) {
  out_ << Trace::Escape(note.key_name) << "\t" << Trace::Escape(note.vendor) << "\t"
       << (!note.port_read            ? "-"
           : note.port_digits.empty() ? "none"
                                      : Trace::Escape(note.port_digits))
       << "\t";
  if (note.usbprint_value < 0) {
    out_ << "none";
  } else if (note.usbprint_status != 0) {
    out_ << note.usbprint_value << "=unreadable";
  } else {
    out_ << note.usbprint_value << "=" << Trace::Escape(note.instance);
  }
  out_ << "\t" << PortVerdict(note) << "\n";
}

void DetectionExplainLines::Note(const ScanNote& note) {
  out_ << note.association + 1 << "\t" << Trace::Escape(paths_.at(note.association)) << "\t"
       << (note.kind == ScanNote::kMassStorage ? "5720" : Trace::Escape(note.product_id)) << "\t"
       << DetectionVerdict(note) << "\n";
}

}  // namespace px::sim
