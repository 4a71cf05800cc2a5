// The installer's port search on this PC's registry, through advapi32 as the installer reads
// it: prints "PortName<TAB>USB001" as px-sim port does, for the capture round trip to compare.
#include <cstdio>

#include "base/utf.h"
#include "platform/win32/registry_win32.h"
#include "port/find_printer_port.h"

int main() {
  px::win32::Win32Registry registry;
  px::PortSearch search;
  px::FindPrinterPort(registry, search, px::NoReaders());
  std::printf("PortName\t%s\n", px::ToUtf8(search.PortName).c_str());
  return 0;
}
