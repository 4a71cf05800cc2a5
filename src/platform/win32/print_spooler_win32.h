#pragma once

#include "platform/print_spooler.h"

namespace px::win32 {

// The local print spooler, through winspool.
class Win32PrintSpooler : public PrintSpooler {
 public:
  bool PrinterExists(const Text& printer_name, const Text& port_name) override;
};

}  // namespace px::win32
