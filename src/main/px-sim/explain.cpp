#include "explain.h"

#include <string>

#include "app/run_lines.h"

namespace px::sim {

namespace {

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

void PortExplainLines::Note(const InterfaceNote& note) { out_ << PortNoteFields(note) << "\n"; }

void DetectionExplainLines::Note(const ScanNote& note) {
  out_ << note.association + 1 << "\t" << RunLog::Escape(paths_.at(note.association)) << "\t"
       << (note.kind == ScanNote::kMassStorage ? "5720" : RunLog::Escape(note.product_id)) << "\t"
       << DetectionVerdict(note) << "\n";
}

}  // namespace px::sim
