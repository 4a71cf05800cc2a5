#include "controls/common/picture.h"

#include <algorithm>

#include "controls/common/geometry.h"

namespace px {

PixelPicture::PixelPicture(std::int32_t width, std::int32_t height, std::vector<Argb> pixels)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), pixels_(std::move(pixels)) {
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

std::int32_t PixelPicture::HimetricWidth() const { return PixelsToHimetric(width_); }
std::int32_t PixelPicture::HimetricHeight() const { return PixelsToHimetric(height_); }

PictureRef MakePixelPicture(std::int32_t width, std::int32_t height, std::vector<Argb> pixels) {
  return std::make_shared<PixelPicture>(width, height, std::move(pixels));
}

}  // namespace px
