#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace px {

// A printer queue as the spooler describes it (PRINTER_INFO_2): its name, its port (several
// separated by commas) and its driver.
struct PrinterQueueInfo {
  Text name;
  Text port;
  Text driver;
};

// An installed printer driver (DRIVER_INFO_8): its name, the INF file of its package in the
// driver store (empty when the spooler names none) and the environment it is for: "Windows x64",
// "Windows ARM64" or "Windows NT x86". A 64-bit Windows keeps the drivers its own processor
// runs, and may keep 32-bit ones for clients beside them.
struct PrinterDriverInfo {
  Text name;
  Text inf_path;
  Text environment;
};

// Windows' error codes that the callers of the spooler tell apart.
inline constexpr std::uint32_t kErrorInvalidPrinterName = 1801;  // no queue of that name
inline constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;
inline constexpr std::uint32_t kErrorPrinterDriverInUse = 3001;
inline constexpr std::uint32_t kErrorPrinterDriverPackageInUse = 3015;
// The spooler service stopped, or restarted in the middle of the call: it has lost nothing it
// had committed, and a second call may well be answered.
inline constexpr std::uint32_t kErrorRpcServerUnavailable = 1722;
inline constexpr std::uint32_t kErrorRpcCallFailed = 1726;

// A spooler call, made once more when the spooler was restarting the first time.
template <class Call>
std::uint32_t RetriedOnce(Call call) {
  const std::uint32_t error = call();
  if (error != kErrorRpcServerUnavailable && error != kErrorRpcCallFailed) return error;
  return call();
}

// The local print spooler. Every call but PrinterExists answers 0 or Windows' error code (the
// last error, or the code inside an HRESULT), for the log. Queue and driver names compare
// without regard to letter case, as the spooler compares them.
class PrintSpooler {
 public:
  virtual ~PrintSpooler() = default;
  // Whether a printer of that name exists and is attached to that port (port names compare
  // without regard to letter case, as Windows does).
  virtual bool PrinterExists(const Text& printer_name, const Text& port_name) = 0;

  // Every local queue (EnumPrinters, level 2).
  virtual std::uint32_t EnumQueues(std::vector<PrinterQueueInfo>& queues) = 0;
  // The queue of that name (OpenPrinter, GetPrinter level 2); 1801 when there is none.
  virtual std::uint32_t GetQueue(const Text& name, PrinterQueueInfo& queue) = 0;
  // Attaches the queue to that one port (SetPrinter, level 2).
  virtual std::uint32_t SetQueuePort(const Text& name, const Text& port) = 0;
  virtual std::uint32_t DeleteQueue(const Text& name) = 0;

  // The drivers of every environment (EnumPrinterDrivers, level 8, environment "all"): the
  // caller's own environment alone would hide a 64-bit Windows' drivers from this 32-bit program.
  virtual std::uint32_t EnumDrivers(std::vector<PrinterDriverInfo>& drivers) = 0;
  // Deletes the driver of that environment and those of its files no other driver uses
  // (DeletePrinterDriverEx with DPD_DELETE_UNUSED_FILES); 3001 while a queue uses it.
  virtual std::uint32_t DeleteDriver(const Text& name, const Text& environment) = 0;
  // Removes a driver package of that environment from the driver store
  // (DeletePrinterDriverPackage), by the INF path EnumPrinterDrivers gave; 3015 while a driver
  // uses it.
  virtual std::uint32_t DeleteDriverPackage(const Text& inf_path, const Text& environment) = 0;
};

}  // namespace px
