// A Dependent list saved by a customer: any bytes give a list or a MachineError.
#include <cstddef>
#include <cstdint>

#include "platform/sim/dependent_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    px::sim::ParseDependentList({reinterpret_cast<const char*>(data), size}, "usb.txt");
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
