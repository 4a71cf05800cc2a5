// An INF file: any bytes give its models or a MachineError.
#include <cstddef>
#include <cstdint>

#include "platform/sim/dependent_list.h"
#include "platform/sim/inf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const auto inf = px::sim::InfFile::Parse({reinterpret_cast<const char*>(data), size}, "PX.inf");
    inf.Models(u"NTamd64");
    inf.Models(u"NTx86");
  } catch (const px::sim::MachineError&) {
  }
  return 0;
}
