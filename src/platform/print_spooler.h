#pragma once

#include "base/text.h"

namespace px {

// The print spooler, asked after an installation whether it worked.
class PrintSpooler {
 public:
  virtual ~PrintSpooler() = default;
  // Whether a printer of that name exists and is attached to that port (port names compare
  // without regard to letter case, as Windows does).
  virtual bool PrinterExists(const Text& printer_name, const Text& port_name) = 0;
};

}  // namespace px
