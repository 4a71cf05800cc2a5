#pragma once

#include <string>
#include <vector>

#include "base/text.h"

namespace px::capture {

// The bytes wmic writes for `wmic path CLASS get PROPERTY > file`: UTF-16LE with a BOM, the
// property's name as a header, one value a line, every line padded with blanks to the longest
// plus two and ended by CR CR LF, then an empty line. With no values: the header alone (wmic
// would say "No Instance(s) Available." on its error output instead).
std::string WmicPropertyFile(TextView property, const std::vector<Text>& values);

}  // namespace px::capture
