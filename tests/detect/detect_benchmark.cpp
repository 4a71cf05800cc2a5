// One detection pass over 1000 associations of a busy machine, without the cost of a window.
#include <benchmark/benchmark.h>

#include "base/utf.h"
#include "detect/detect_usb_printer.h"

namespace px {
namespace {

// Every event is looked at, as a reader of the run would.
class CountingReader : public RunEvents {
 public:
  void On(const RunEvent& event) override { benchmark::DoNotOptimize(event.index()); }
};

std::vector<Text> BusyMachine() {
  const char* ids[] = {
      R"(USB\\ROOT_HUB30\\4&1F3B5A2C&0&0)",
      R"(USB\\VID_046D&PID_C31C\\6&3A1F2B7&0&1)",
      R"(HID\\VID_046D&PID_C31C&MI_00\\7&1B2C3D4E&0&0000)",
      R"(USB\\VID_0D8C&PID_0014&MI_03\\6&2F4A1B3C&0&0003)",
      R"(USB\\VID_1A86&PID_7523\\5&1E8C4F2A&0&5)",
      R"(USB\\VID_0483&PID_1234\\5&1E8C4F2A&0&6)",
  };
  std::vector<Text> paths;
  for (int i = 0; i < 1000; ++i) {
    paths.push_back(Utf8Literal(
        std::string(R"(\\DESKTOP-7Q1\root\cimv2:Win32_PnPEntity.DeviceID=")") + ids[i % 6] + "\""));
  }
  return paths;
}

void BM_DetectionPass1000(benchmark::State& bench) {
  const std::vector<Text> paths = BusyMachine();
  CountingReader reader;
  FormTexts form(reader);
  DetectionState state;
  for (auto _ : bench) {
    ScanAssociations(state, 0, form, paths, ModelTable::Builtin());
    benchmark::DoNotOptimize(state.PrinterFound);
  }
  bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(BM_DetectionPass1000);

}  // namespace
}  // namespace px
