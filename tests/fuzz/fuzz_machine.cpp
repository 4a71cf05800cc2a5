// A machine description: any bytes give a machine or a MachineError.
#include <cstddef>
#include <cstdint>

#include "platform/sim/dependent_list.h"
#include "platform/sim/machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    px::sim::ParseMachine({reinterpret_cast<const char*>(data), size}, "machine.toml",
                          "/nonexistent/px-fuzz-machine");
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
