#pragma once

#include <cstdint>

namespace px {

// A colour as the controls' properties hold it: 0x00BBGGRR, red in the low byte. Properties keep
// the 32-bit value they were given (a BackColor read back gives the same number); surfaces paint
// with its low 24 bits.
using Color = std::uint32_t;

inline constexpr Color Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Color>(red) | static_cast<Color>(green) << 8 | static_cast<Color>(blue) << 16;
}
inline constexpr std::uint8_t RedOf(Color c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline constexpr std::uint8_t GreenOf(Color c) { return static_cast<std::uint8_t>(c >> 8 & 0xFF); }
inline constexpr std::uint8_t BlueOf(Color c) { return static_cast<std::uint8_t>(c >> 16 & 0xFF); }

inline constexpr Color kWhite = Rgb(255, 255, 255);
inline constexpr Color kBlack = Rgb(0, 0, 0);

}  // namespace px
