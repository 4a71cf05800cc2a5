#pragma once

#include "platform/print_spooler.h"

namespace px::win32 {

// The local print spooler, through winspool. Each call maps one interface call onto the
// spooler's API and answers its last error; every winspool call of the installer is here.
class Win32PrintSpooler : public PrintSpooler {
 public:
  bool PrinterExists(const Text& printer_name, const Text& port_name) override;
  std::uint32_t EnumQueues(std::vector<PrinterQueueInfo>& queues) override;
  std::uint32_t GetQueue(const Text& name, PrinterQueueInfo& queue) override;
  std::uint32_t SetQueuePort(const Text& name, const Text& port) override;
  std::uint32_t DeleteQueue(const Text& name) override;
  std::uint32_t EnumDrivers(std::vector<PrinterDriverInfo>& drivers) override;
  std::uint32_t DeleteDriver(const Text& name, const Text& environment) override;
  std::uint32_t DeleteDriverPackage(const Text& inf_path, const Text& environment) override;
};

}  // namespace px::win32
