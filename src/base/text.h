#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace px {

// Every text of the installer is UTF-16, as Windows keeps it. On Windows a Text's data is
// handed to the wide-character API as it is; it becomes the ANSI code page only at the
// registry interface and UTF-8 only at the terminal and in files.
using Text = std::u16string;
using TextView = std::u16string_view;

// Plain decimal, no leading blanks or zeros: "7", "-12".
Text Decimal(std::int64_t value);

}  // namespace px
