#pragma once

#include "base/text.h"

namespace px {

// The font a surface prints with. Surfaces that lack the face fall back to one of their own;
// the text extent they report is always that of the font they really use.
struct Font {
  Text name = u"Microsoft Sans Serif";
  double size_points = 8.25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace px
