#pragma once

// The pictures the controls are drawn from: a button's BackPicture and the frame's skin.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace px::kit {

// A bitmap shared by whoever holds it (copies are the same picture); the last holder releases
// its pixels. A Picture made by default is "no picture", as a button without a BackPicture has.
class Picture {
 public:
  Picture();
  ~Picture();
  Picture(const Picture&);
  Picture& operator=(const Picture&);

  // width * height pixels, 0xAARRGGBB (alpha 255 opaque), row by row, top row first; missing
  // pixels are transparent black.
  static Picture FromPixels(std::int32_t width, std::int32_t height,
                            std::vector<std::uint32_t> pixels);

  explicit operator bool() const { return rep_ != nullptr; }
  // 0 for no picture.
  std::int32_t PixelWidth() const;
  std::int32_t PixelHeight() const;
  // The pixels as FromPixels takes them; empty for no picture.
  std::span<const std::uint32_t> Pixels() const;

 private:
  friend struct KitAccess;
  struct Rep;
  std::shared_ptr<const Rep> rep_;
};

}  // namespace px::kit
