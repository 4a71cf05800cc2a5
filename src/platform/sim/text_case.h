#pragma once

#include "base/text.h"

namespace px::sim {

// Windows compares names without regard to letter case (registry keys and values, file and
// program names, INF sections, command options): both sides upcased, then code unit by code
// unit. The upcasing covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the
// full-width Latin letters.
char16_t UpcaseChar(char16_t c);
Text Upcase(TextView name);
inline bool SameNoCase(TextView a, TextView b) { return Upcase(a) == Upcase(b); }

}  // namespace px::sim
