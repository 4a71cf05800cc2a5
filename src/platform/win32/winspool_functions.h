#pragma once

#include "base/win32/windows_api.h"

#include <winspool.h>

namespace px::win32 {

// winspool.drv is no KnownDLL: imported, it would be loaded from the program's folder first,
// before wWinMain could restrict the search, and a copy planted beside the installer would run
// with its rights. It is loaded from the system folder once the program runs, and its functions
// are looked up here. A new function is one more row of the table.
#define PX_WINSPOOL_FUNCTIONS(X) \
  X(ClosePrinter)                \
  X(DeletePrinter)               \
  X(DeletePrinterDriverExW)      \
  X(DeletePrinterDriverPackageW) \
  X(EnumPortsW)                  \
  X(EnumPrinterDriversW)         \
  X(EnumPrintersW)               \
  X(GetPrinterW)                 \
  X(OpenPrinterW)                \
  X(SetPrinterW)

struct WinspoolFunctions {
#define PX_WINSPOOL_MEMBER(name) decltype(&::name) name = nullptr;
  PX_WINSPOOL_FUNCTIONS(PX_WINSPOOL_MEMBER)
#undef PX_WINSPOOL_MEMBER
};

// The spooler's functions, loaded on the first call with
// LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) (by its full path in
// the system folder where Windows 7 lacks that flag). Null when the DLL cannot be loaded; a
// function this Windows (or Wine) lacks is null, so callers check the ones they call. The
// module stays loaded for the life of the process. For the program's one thread.
const WinspoolFunctions* Winspool();

}  // namespace px::win32
