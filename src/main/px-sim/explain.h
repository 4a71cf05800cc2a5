#pragma once

#include <ostream>
#include <vector>

#include "detect/scan_note.h"
#include "port/interface_note.h"

namespace px::sim {

// Why the port search took or left each interface key, one TAB-separated line each: the key
// name, the vendor, the port number read, the usbprint value that ended the look-up, the verdict.
class PortExplainLines {
 public:
  explicit PortExplainLines(std::ostream& out) : out_(out) {}
  void Note(const InterfaceNote& note);

 private:
  std::ostream& out_;
};

// Why the detection pass took or left each product id it read, one line each: the association's
// number (from 1), its path, the product id and the verdict.
class DetectionExplainLines {
 public:
  DetectionExplainLines(std::ostream& out, const std::vector<Text>& paths)
      : out_(out), paths_(paths) {}
  void Note(const ScanNote& note);

 private:
  std::ostream& out_;
  const std::vector<Text>& paths_;
};

}  // namespace px::sim
