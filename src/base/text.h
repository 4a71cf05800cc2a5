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

// The text with A-Z as a-z, and whether two texts are the same so: how Windows compares the
// ASCII names the installer looks for (switches, programs, files, device ids).
inline Text AsciiLowercase(TextView text) {
  Text lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}
inline bool SameIgnoringAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace px
