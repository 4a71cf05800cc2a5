// A detection pass over any association list: lines of UTF-16 units.
#include <cstddef>
#include <cstdint>

#include "detect/detect_usb_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<px::Text> paths(1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == u'\n') {
      paths.emplace_back();
    } else {
      paths.back() += c;
    }
  }
  px::FormTexts view(px::NoReaders());
  px::DetectionState state;
  state.ScanCounter = size % 100;
  px::ScanAssociations(state, static_cast<std::int16_t>(size % 2), view, paths,
                       px::ModelTable::Builtin());
  if (state.PrinterFound != 0 && state.PrinterFound != 1) __builtin_trap();
  if (state.ScanCounter < 0 || state.ScanCounter > 99) __builtin_trap();
  return 0;
}
