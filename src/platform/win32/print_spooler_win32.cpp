#include "platform/win32/print_spooler_win32.h"

#include <cwchar>
#include <vector>

#include "base/win32/windows_api.h"
#include "platform/win32/winspool_functions.h"

namespace px::win32 {

namespace {

// A structure the spooler writes together with the texts it points to, suitably aligned.
using InfoBuffer = std::vector<std::uint64_t>;

BYTE* Bytes(InfoBuffer& buffer, DWORD size) {
  buffer.assign(size / sizeof(std::uint64_t) + 1, 0);
  return reinterpret_cast<BYTE*>(buffer.data());
}

// The last error of a call that failed; never 0, so that a failure is never read as success.
DWORD LastError() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

Text Copy(const wchar_t* text) {
  return text == nullptr ? Text() : FromWide(text, std::wcslen(text));
}

// The spooler's functions when winspool.drv loaded and has every one of them, else null: the
// spooler is then as absent as a stopped one, and the caller answers kMissing.
template <class... Members>
const WinspoolFunctions* SpoolerWith(Members... members) {
  const WinspoolFunctions* winspool = Winspool();
  if (winspool == nullptr || !winspool->OpenPrinterW || !winspool->ClosePrinter) return nullptr;
  return ((winspool->*members != nullptr) && ...) ? winspool : nullptr;
}

// What a call answers when the function it needs is not there (Wine lacks some).
constexpr DWORD kMissing = ERROR_PROC_NOT_FOUND;

// An open printer, closed on every path.
class PrinterHandle {
 public:
  // access 0: the default access, enough to read; PRINTER_ALL_ACCESS to change or delete.
  PrinterHandle(const WinspoolFunctions& winspool, const Text& name, ACCESS_MASK access)
      : winspool_(winspool) {
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    if (!winspool_.OpenPrinterW(const_cast<wchar_t*>(Wide(name)), &handle_,
                                access != 0 ? &defaults : nullptr)) {
      error_ = LastError();
      handle_ = nullptr;
    }
  }
  PrinterHandle(const PrinterHandle&) = delete;
  PrinterHandle& operator=(const PrinterHandle&) = delete;
  ~PrinterHandle() {
    if (handle_ != nullptr) winspool_.ClosePrinter(handle_);
  }
  HANDLE get() const { return handle_; }
  // Why OpenPrinter failed (1801: no printer of that name), 0 when it did not.
  DWORD error() const { return error_; }

 private:
  const WinspoolFunctions& winspool_;
  HANDLE handle_ = nullptr;
  DWORD error_ = 0;
};

// GetPrinter level 2 into buffer.
DWORD ReadPrinterInfo2(const WinspoolFunctions& winspool, HANDLE printer, InfoBuffer& buffer) {
  DWORD needed = 0;
  if (!winspool.GetPrinterW(printer, 2, nullptr, 0, &needed) &&
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return LastError();
  }
  if (!winspool.GetPrinterW(printer, 2, Bytes(buffer, needed), needed, &needed)) {
    return LastError();
  }
  return 0;
}

// An enumeration in two calls: the size, then the list. A list that grew in between is asked
// for again.
template <class Enumerate>
DWORD EnumerateInto(InfoBuffer& buffer, DWORD& count, Enumerate enumerate) {
  DWORD needed = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    count = 0;
    BYTE* bytes = Bytes(buffer, needed);
    if (enumerate(needed > 0 ? bytes : nullptr, needed, &needed, &count)) return 0;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return LastError();
  }
  return ERROR_INSUFFICIENT_BUFFER;
}

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
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::GetPrinterW);
  if (winspool == nullptr) return false;
  const PrinterHandle printer(*winspool, printer_name, 0);
  InfoBuffer buffer;
  if (printer.get() == nullptr || ReadPrinterInfo2(*winspool, printer.get(), buffer) != 0) {
    return false;
  }
  return HasPort(reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())->pPortName, port_name);
}

std::uint32_t Win32PrintSpooler::EnumQueues(std::vector<PrinterQueueInfo>& queues) {
  queues.clear();
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::EnumPrintersW);
  if (winspool == nullptr) return kMissing;
  InfoBuffer buffer;
  DWORD count = 0;
  const DWORD error = EnumerateInto(
      buffer, count, [winspool](BYTE* bytes, DWORD size, DWORD* needed, DWORD* returned) {
        return winspool->EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, bytes, size, needed,
                                       returned);
      });
  if (error != 0) return error;
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    queues.push_back({Copy(printers[i].pPrinterName), Copy(printers[i].pPortName),
                      Copy(printers[i].pDriverName)});
  }
  return 0;
}

std::uint32_t Win32PrintSpooler::GetQueue(const Text& name, PrinterQueueInfo& queue) {
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::GetPrinterW);
  if (winspool == nullptr) return kMissing;
  const PrinterHandle printer(*winspool, name, 0);
  if (printer.get() == nullptr) return printer.error();
  InfoBuffer buffer;
  if (const DWORD error = ReadPrinterInfo2(*winspool, printer.get(), buffer)) return error;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  queue = {Copy(info->pPrinterName), Copy(info->pPortName), Copy(info->pDriverName)};
  return 0;
}

std::uint32_t Win32PrintSpooler::SetQueuePort(const Text& name, const Text& port) {
  const WinspoolFunctions* winspool =
      SpoolerWith(&WinspoolFunctions::GetPrinterW, &WinspoolFunctions::SetPrinterW);
  if (winspool == nullptr) return kMissing;
  const PrinterHandle printer(*winspool, name, PRINTER_ALL_ACCESS);
  if (printer.get() == nullptr) return printer.error();
  InfoBuffer buffer;
  if (const DWORD error = ReadPrinterInfo2(*winspool, printer.get(), buffer)) return error;
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  info->pPortName = const_cast<wchar_t*>(Wide(port));
  // Without a security descriptor SetPrinter leaves the queue's permissions as they are.
  info->pSecurityDescriptor = nullptr;
  if (!winspool->SetPrinterW(printer.get(), 2, reinterpret_cast<BYTE*>(info), 0)) {
    return LastError();
  }
  return 0;
}

std::uint32_t Win32PrintSpooler::DeleteQueue(const Text& name) {
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::DeletePrinter);
  if (winspool == nullptr) return kMissing;
  const PrinterHandle printer(*winspool, name, PRINTER_ALL_ACCESS);
  if (printer.get() == nullptr) return printer.error();
  if (!winspool->DeletePrinter(printer.get())) return LastError();
  return 0;
}

std::uint32_t Win32PrintSpooler::EnumDrivers(std::vector<PrinterDriverInfo>& drivers) {
  drivers.clear();
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::EnumPrinterDriversW);
  if (winspool == nullptr) return kMissing;
  InfoBuffer buffer;
  DWORD count = 0;
  const DWORD error = EnumerateInto(
      buffer, count, [winspool](BYTE* bytes, DWORD size, DWORD* needed, DWORD* returned) {
        wchar_t all[] = L"all";
        return winspool->EnumPrinterDriversW(nullptr, all, 8, bytes, size, needed, returned);
      });
  if (error != 0) return error;
  const auto* infos = reinterpret_cast<const DRIVER_INFO_8W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    drivers.push_back(
        {Copy(infos[i].pName), Copy(infos[i].pszInfPath), Copy(infos[i].pEnvironment)});
  }
  return 0;
}

namespace {

// The environment a driver was listed with; none (a spooler that names none) is the caller's.
wchar_t* EnvironmentOf(const Text& environment) {
  return environment.empty() ? nullptr : const_cast<wchar_t*>(Wide(environment));
}

}  // namespace

std::uint32_t Win32PrintSpooler::DeleteDriver(const Text& name, const Text& environment) {
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::DeletePrinterDriverExW);
  if (winspool == nullptr) return kMissing;
  if (!winspool->DeletePrinterDriverExW(nullptr, EnvironmentOf(environment),
                                        const_cast<wchar_t*>(Wide(name)), DPD_DELETE_UNUSED_FILES,
                                        0)) {
    return LastError();
  }
  return 0;
}

std::uint32_t Win32PrintSpooler::DeleteDriverPackage(const Text& inf_path,
                                                     const Text& environment) {
  // Wine's spooler lacks this one.
  const WinspoolFunctions* winspool = SpoolerWith(&WinspoolFunctions::DeletePrinterDriverPackageW);
  if (winspool == nullptr) return kMissing;
  const HRESULT result =
      winspool->DeletePrinterDriverPackageW(nullptr, Wide(inf_path), EnvironmentOf(environment));
  if (SUCCEEDED(result)) return 0;
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) return HRESULT_CODE(result);
  return static_cast<std::uint32_t>(result);
}

}  // namespace px::win32
