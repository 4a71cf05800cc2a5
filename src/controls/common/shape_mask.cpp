#include "controls/common/shape_mask.h"

namespace px {

std::vector<PixelRect> MaskShape(const Picture& mask) {
  const std::int32_t w = mask.PixelWidth(), h = mask.PixelHeight();
  const std::span<const Argb> pixels = mask.Pixels();
  std::vector<PixelRect> runs;
  if (w <= 0 || h <= 0 || pixels.size() != static_cast<std::size_t>(w) * h) return runs;
  const Argb key =
      OpaqueArgb(RedOf(kMaskKeyColor), GreenOf(kMaskKeyColor), BlueOf(kMaskKeyColor)) & 0xFFFFFFu;
  const auto see_through = [&](std::int32_t x, std::int32_t y) {
    return (pixels[static_cast<std::size_t>(y) * w + x] & 0xFFFFFFu) == key;
  };
  for (std::int32_t y = 0; y < h; ++y) {
    std::int32_t x = 0;
    while (x < w) {
      while (x < w && see_through(x, y)) ++x;
      const std::int32_t start = x;
      while (x < w && !see_through(x, y)) ++x;
      if (x > start) runs.push_back({start, y, x - start, 1});
    }
  }
  return runs;
}

bool ShapeContains(std::span<const PixelRect> shape, std::int32_t x, std::int32_t y) {
  for (const PixelRect& run : shape) {
    if (y == run.y && x >= run.x && x < run.x + run.width) return true;
  }
  return false;
}

ShapeMask::Step ShapeMask::SetBackStyle(std::int16_t style) {
  back_style_ = style;
  return Update();
}

ShapeMask::Step ShapeMask::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  return Update();
}

ShapeMask::Step ShapeMask::Update() {
  if (back_style_ != 0 || picture_ == nullptr) {
    if (!on_ || end_pending_) return Step::kNone;
    end_pending_ = true;
    return Step::kEndLater;
  }
  end_pending_ = false;
  std::vector<PixelRect> shape = MaskShape(*picture_);
  if (on_ && shape == shape_) return Step::kNone;
  on_ = true;
  shape_ = std::move(shape);
  ++changes_;
  return Step::kSetShape;
}

bool ShapeMask::Settle() {
  if (!end_pending_) return false;
  end_pending_ = false;
  on_ = false;
  shape_.clear();
  ++changes_;
  return true;
}

}  // namespace px
