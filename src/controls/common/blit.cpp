#include "controls/common/blit.h"

#include <algorithm>

namespace px {
namespace {

Argb Blend(Argb over, Argb under) {
  const std::uint32_t a = over >> 24;
  if (a == 255) return over;
  if (a == 0) return under;
  const auto channel = [&](int shift) {
    const std::uint32_t o = over >> shift & 0xFF, u = under >> shift & 0xFF;
    return (o * a + u * (255 - a) + 127) / 255 << shift;
  };
  return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

}  // namespace

PixelRect ToPixels(TwipRect rect) {
  return {TwipsToPixels(rect.x), TwipsToPixels(rect.y), TwipsToPixels(rect.width),
          TwipsToPixels(rect.height)};
}

void BlitPicture(const Picture& picture, TwipRect source, TwipRect dest, std::span<Argb> target,
                 std::int32_t width, std::int32_t height) {
  const PixelRect s = ToPixels(source);
  const PixelRect d = ToPixels(dest);
  if (s.width <= 0 || s.height <= 0 || d.width <= 0 || d.height <= 0) return;
  const std::int32_t pw = picture.PixelWidth(), ph = picture.PixelHeight();
  const std::span<const Argb> pixels = picture.Pixels();
  if (target.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return;
  // Only the destination rows and columns that fall on the buffer are visited.
  const std::int64_t x0 = std::max<std::int64_t>(d.x, 0);
  const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{d.x} + d.width, width);
  const std::int64_t y0 = std::max<std::int64_t>(d.y, 0);
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{d.y} + d.height, height);
  for (std::int64_t y = y0; y < y1; ++y) {
    const std::int64_t sy = s.y + (y - d.y) * s.height / d.height;
    if (sy < 0 || sy >= ph) continue;
    for (std::int64_t x = x0; x < x1; ++x) {
      const std::int64_t sx = s.x + (x - d.x) * s.width / d.width;
      if (sx < 0 || sx >= pw) continue;
      Argb& out = target[static_cast<std::size_t>(y * width + x)];
      out = Blend(pixels[static_cast<std::size_t>(sy * pw + sx)], out);
    }
  }
}

}  // namespace px
