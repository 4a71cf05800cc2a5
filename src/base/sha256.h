#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace px {

// SHA-256 (FIPS 180-4) of a byte string, and its 64 lower-case hex digits. The installer
// checks the driver package it is about to hand to Windows with it, on every platform alike.
std::array<std::uint8_t, 32> Sha256(std::string_view bytes);
std::string Sha256Hex(std::string_view bytes);

}  // namespace px
