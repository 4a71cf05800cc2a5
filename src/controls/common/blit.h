#pragma once

#include <cstdint>
#include <span>

#include "controls/common/geometry.h"
#include "controls/common/picture.h"

namespace px {

// A rectangle in pixels.
struct PixelRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A twip rectangle on the pixel grid: origin and size are each brought to the nearest pixel,
// so two rectangles of the same size in twips are the same size in pixels wherever they lie.
PixelRect ToPixels(TwipRect rect);

// The picture copy of the surfaces, on a 32-bit pixel buffer of width x height pixels (row by
// row, top row first): the source rectangle of the picture goes to the destination rectangle of
// the buffer, stretched (nearest pixel) when the sizes differ. Only destination pixels inside
// the buffer whose source pixel lies inside the picture are drawn; nothing wraps. Opaque
// pixels replace, see-through ones are skipped, partly see-through ones are blended.
void BlitPicture(const Picture& picture, TwipRect source, TwipRect dest, std::span<Argb> target,
                 std::int32_t width, std::int32_t height);

}  // namespace px
