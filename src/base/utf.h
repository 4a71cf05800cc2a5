#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace px {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(TextView text);

// UTF-8 to UTF-16; nullopt when the bytes are not well-formed UTF-8.
std::optional<Text> FromUtf8(std::string_view bytes);

// For literals and messages the program writes itself, which are always well-formed.
Text Utf8Literal(std::string_view bytes);

}  // namespace px
