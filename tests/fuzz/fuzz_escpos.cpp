// The virtual receipt printer: any bytes give a receipt or an EscPosError naming an offset
// within them, on either roll.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "receipt/escpos_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const px::receipt::Receipt receipt =
        px::receipt::Interpret(bytes, px::receipt::RollOf(size % 2 ? 58 : 80));
    for (const auto& [y, row] : receipt.rows) {
      if (y < 0 || y >= receipt.length || static_cast<int>(row.size()) != receipt.width)
        std::abort();
    }
  } catch (const px::receipt::EscPosError& error) {
    if (error.offset() >= size) std::abort();
  }
  return 0;
}
