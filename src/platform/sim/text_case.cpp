#include "platform/sim/text_case.h"

namespace px::sim {

char16_t UpcaseChar(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? c - 0x20 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17E) {
    // Latin Extended-A pairs an upper-case letter with the lower-case one after it; from
    // U+0139 to U+0148 and from U+0179 on the pairs start on an odd code point.
    const bool odd_pairs = (c >= 0x139 && c <= 0x148) || c >= 0x179;
    const bool lower = odd_pairs ? (c % 2 == 0) : (c % 2 == 1);
    if (c == 0x138 || c == 0x149) return c;
    return lower ? c - 1 : c;
  }
  if (c == 0x3C2) return 0x3A3;
  if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3C9)) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
  return c;
}

Text Upcase(TextView name) {
  Text upper(name);
  for (char16_t& c : upper) c = UpcaseChar(c);
  return upper;
}

}  // namespace px::sim
