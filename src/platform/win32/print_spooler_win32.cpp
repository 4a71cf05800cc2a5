#include "platform/win32/print_spooler_win32.h"

#include <vector>

#include "base/win32/windows_api.h"
#include "platform/win32/winspool_functions.h"

namespace px::win32 {

namespace {

// An open printer, closed on every path. OpenPrinterW and ClosePrinter must have loaded.
class PrinterHandle {
 public:
  PrinterHandle(const WinspoolFunctions& winspool, const Text& name) : winspool_(winspool) {
    if (!winspool_.OpenPrinterW(const_cast<wchar_t*>(Wide(name)), &handle_, nullptr)) {
      handle_ = nullptr;
    }
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  ~PrinterHandle() {
    if (handle_ != nullptr) winspool_.ClosePrinter(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  const WinspoolFunctions& winspool_;
  HANDLE handle_ = nullptr;
};

// Whether a printer's port list (names separated by commas) holds the port.
bool HasPort(const wchar_t* ports, const Text& port_name) {
  if (ports == nullptr) return false;
  std::wstring_view rest(ports);
  while (!rest.empty()) {
    const std::size_t comma = rest.find(L',');
    std::wstring_view port = rest.substr(0, comma);
    while (!port.empty() && port.front() == L' ') port.remove_prefix(1);
    while (!port.empty() && port.back() == L' ') port.remove_suffix(1);
    if (CompareStringOrdinal(port.data(), static_cast<int>(port.size()), Wide(port_name),
                             static_cast<int>(port_name.size()), TRUE) == CSTR_EQUAL) {
      return true;
    }
    if (comma == std::wstring_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace

bool Win32PrintSpooler::PrinterExists(const Text& printer_name, const Text& port_name) {
  // Without the spooler's DLL no printer can be found, as without the spooler itself.
  const WinspoolFunctions* winspool = Winspool();
  if (winspool == nullptr || !winspool->OpenPrinterW || !winspool->ClosePrinter ||
      !winspool->GetPrinterW) {
    return false;
  }
  const PrinterHandle printer(*winspool, printer_name);
  if (printer.get() == nullptr) return false;
  DWORD needed = 0;
  winspool->GetPrinterW(printer.get(), 2, nullptr, 0, &needed);
  if (needed == 0) return false;
  // PRINTER_INFO_2 and the texts it points to, suitably aligned.
  std::vector<std::uint64_t> buffer((needed + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
  if (!winspool->GetPrinterW(printer.get(), 2, reinterpret_cast<BYTE*>(buffer.data()), needed,
                             &needed)) {
    return false;
  }
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  return HasPort(info->pPortName, port_name);
}

}  // namespace px::win32
