// The port search over a class key with 10000 printer interfaces, on the simulated registry.
#include <benchmark/benchmark.h>

#include "port_registry.h"

namespace px {
namespace {

// 9999 interfaces of other printers sort before the one of the printer, which usbprint lists
// last of three.
void BM_FindPrinterPort10000Keys(benchmark::State& state) {
  testing::PortRegistry machine;
  for (int i = 0; i < 9999; ++i) {
    machine.AddInterface(u"USB\\VID_0483&PID_5740\\" + Decimal(100000 + i), 1 + i % 100);
  }
  const Text printer = u"USB\\VID_1A86&PID_5740\\A1B2C3D4";
  machine.AddInterface(printer, 1);
  machine.SetUsbPrint(0, u"USB\\VID_04B8&PID_0E15\\5&1E8C4F2A&0&4");
  machine.SetUsbPrint(1, u"USB\\VID_0483&PID_5720\\1");
  machine.SetUsbPrint(2, printer);

  PortSearch search;
  for (auto _ : state) {
    machine.registry().ResetCalls();
    FindPrinterPort(machine.registry(), search, NoReaders());
    benchmark::DoNotOptimize(search.PortName);
  }
  if (search.PortName != u"USB001") state.SkipWithError("the printer was not found");
  state.counters["value_reads"] = static_cast<double>(machine.registry().calls().query_value);
  state.counters["keys"] = search.InterfaceKeyCount;
}
BENCHMARK(BM_FindPrinterPort10000Keys)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace px
