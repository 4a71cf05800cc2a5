#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace px::sim {

// What Windows makes of a language tag ("es-ES", "zh-Hant-TW", "sr-Latn-RS"): its LCID, whose
// low 16 bits are the LANGID GetUserDefaultUILanguage gives, and the ANSI code page that
// GetACP gives while the tag is the system locale.
struct WindowsLocale {
  std::uint32_t lcid = 0;
  unsigned ansi_code_page = 0;
};

// A tag Windows has no LCID for is a custom locale to it: LOCALE_CUSTOM_UNSPECIFIED, and the
// Western code page, which a registry in such a locale most likely holds.
inline constexpr WindowsLocale kCustomLocale{0x1000, 1252};

// nullopt for a text that is not a language tag Windows knows.
std::optional<WindowsLocale> FindWindowsLocale(std::string_view tag);

}  // namespace px::sim
