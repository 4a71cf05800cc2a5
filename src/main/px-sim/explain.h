#pragma once

#include <ostream>
#include <vector>

#include "detect/detect_usb_printer.h"
#include "port/find_printer_port.h"

namespace px::sim {

// Why the port search took or left each interface key, one TAB-separated line each: the key
// name, the vendor, the port number read, the usbprint value that ended the look-up, the verdict.
class PortExplainLines : public PortSearchNotes {
 public:
  explicit PortExplainLines(std::ostream& out) : out_(out) {}
  void Note(const InterfaceNote& note) override;

 private:
  std::ostream& out_;
};

// Why the detection pass took or left each product id it read, one line each: the association's
// number (from 1), its path, the product id and the verdict.
class DetectionExplainLines : public ScanNotes {
 public:
  DetectionExplainLines(std::ostream& out, const std::vector<Text>& paths)
      : out_(out), paths_(paths) {}
  void Note(const ScanNote& note) override;

 private:
  std::ostream& out_;
  const std::vector<Text>& paths_;
};

}  // namespace px::sim
