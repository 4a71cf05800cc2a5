// A .reg file: any bytes load into the simulated registry or give a MachineError.
#include <cstddef>
#include <cstdint>

#include "platform/sim/dependent_list.h"
#include "platform/sim/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const px::sim::CodePage code_page(936);
  px::sim::RegistryStore store;
  try {
    px::sim::LoadRegFile(store, {reinterpret_cast<const char*>(data), size}, "fuzz.reg", code_page);
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
