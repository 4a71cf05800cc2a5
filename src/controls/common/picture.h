#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace px {

// One pixel of a picture: 0xAARRGGBB, alpha 255 for an opaque pixel. The same 32-bit word is a
// pixel of a cairo ARGB32 image and of a 32-bit top-down Windows DIB.
using Argb = std::uint32_t;

inline constexpr Argb OpaqueArgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return 0xFF000000u | static_cast<Argb>(red) << 16 | static_cast<Argb>(green) << 8 | blue;
}

// A picture object: a bitmap that owns its pixels and reports its size in HIMETRIC, as picture
// objects do. Pictures are shared (PictureRef); the last holder releases the pixels.
class Picture {
 public:
  virtual ~Picture() = default;

  // Size in HIMETRIC (0.01 mm), taken at 96 dots per inch.
  virtual std::int32_t HimetricWidth() const = 0;
  virtual std::int32_t HimetricHeight() const = 0;

  // The bitmap itself.
  virtual std::int32_t PixelWidth() const = 0;
  virtual std::int32_t PixelHeight() const = 0;
  // PixelWidth() * PixelHeight() pixels, row by row, top row first.
  virtual std::span<const Argb> Pixels() const = 0;
};

using PictureRef = std::shared_ptr<const Picture>;

// A picture held in memory: what the controls' skins are made of, and what the simulated
// surfaces hand out as their retained image.
class PixelPicture final : public Picture {
 public:
  // pixels.size() must be width * height; missing pixels are made transparent black.
  PixelPicture(std::int32_t width, std::int32_t height, std::vector<Argb> pixels);

  std::int32_t HimetricWidth() const override;
  std::int32_t HimetricHeight() const override;
  std::int32_t PixelWidth() const override { return width_; }
  std::int32_t PixelHeight() const override { return height_; }
  std::span<const Argb> Pixels() const override { return pixels_; }

  Argb At(std::int32_t x, std::int32_t y) const { return pixels_[y * width_ + x]; }

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<Argb> pixels_;
};

PictureRef MakePixelPicture(std::int32_t width, std::int32_t height, std::vector<Argb> pixels);

}  // namespace px
