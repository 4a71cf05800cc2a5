#include "gallery/button_strips.h"

#include <cstdint>
#include <vector>

#include "controls/common/button_site.h"

namespace px {
namespace {

constexpr std::int32_t kWidth = 400;
constexpr std::int32_t kHeight = 30;
constexpr std::int32_t kRadius = 6;

struct Rgb8 {
  int r, g, b;
};

// A frame's look: a vertical gradient from top to bottom colour, a one-pixel border.
struct Look {
  Rgb8 top;
  Rgb8 bottom;
  Rgb8 border;
};

Argb Mix(Rgb8 a, Rgb8 b, double t) {
  const auto at = [t](int x, int y) { return static_cast<std::uint8_t>(x + (y - x) * t + 0.5); };
  return OpaqueArgb(at(a.r, b.r), at(a.g, b.g), at(a.b, b.b));
}

// Inside the rounded rectangle of a w x h frame, and on its edge.
bool Inside(int x, int y, int w, int h, int radius) {
  const int cx = x < radius ? radius : (x >= w - radius ? w - radius - 1 : x);
  const int cy = y < radius ? radius : (y >= h - radius ? h - radius - 1 : y);
  const int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= radius * radius;
}

// Inside, with a neighbour outside: the border.
bool OnEdge(int x, int y, int w) {
  return x == 0 || y == 0 || x == w - 1 || y == kHeight - 1 ||
         !Inside(x - 1, y, w, kHeight, kRadius) || !Inside(x + 1, y, w, kHeight, kRadius) ||
         !Inside(x, y - 1, w, kHeight, kRadius) || !Inside(x, y + 1, w, kHeight, kRadius);
}

void DrawFrame(std::vector<Argb>& pixels, int left, int w, const Look& look) {
  const Argb key = OpaqueArgb(RedOf(kMaskKeyColor), GreenOf(kMaskKeyColor), BlueOf(kMaskKeyColor));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < w; ++x) {
      Argb& p = pixels[y * kWidth + left + x];
      if (!Inside(x, y, w, kHeight, kRadius)) {
        p = key;
      } else if (OnEdge(x, y, w)) {
        p = Mix(look.border, look.border, 0);
      } else {
        p = Mix(look.top, look.bottom, static_cast<double>(y) / (kHeight - 1));
      }
    }
  }
}

// A slot the button never shows: dark red hatching.
void DrawUnused(std::vector<Argb>& pixels, int left, int w) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < w; ++x) {
      pixels[y * kWidth + left + x] =
          (x + y) % 6 < 3 ? OpaqueArgb(120, 20, 20) : OpaqueArgb(60, 10, 10);
    }
  }
}

PictureRef DrawStrip(int slots, const std::vector<Look>& looks) {
  std::vector<Argb> pixels(kWidth * kHeight);
  const int w = kWidth / slots;
  for (int slot = 0; slot < slots; ++slot) {
    if (slot < static_cast<int>(looks.size())) {
      DrawFrame(pixels, slot * w, w, looks[slot]);
    } else {
      DrawUnused(pixels, slot * w, w);
    }
  }
  return MakePixelPicture(kWidth, kHeight, std::move(pixels));
}

const Look kNormal = {{86, 150, 225}, {38, 98, 176}, {24, 64, 120}};
const Look kHover = {{120, 180, 245}, {60, 130, 210}, {24, 64, 120}};
const Look kPressed = {{26, 70, 128}, {50, 110, 185}, {14, 40, 80}};
const Look kDisabled = {{214, 214, 214}, {184, 184, 184}, {150, 150, 150}};

const Look kOffNormal = {{150, 160, 175}, {104, 116, 134}, {70, 78, 92}};
const Look kOffHover = {{176, 186, 200}, {128, 140, 158}, {70, 78, 92}};
const Look kOffPressed = {{84, 94, 110}, {120, 130, 146}, {50, 56, 66}};
const Look kOnNormal = {{96, 200, 110}, {40, 140, 60}, {24, 90, 36}};
const Look kOnHover = {{130, 225, 140}, {62, 170, 82}, {24, 90, 36}};
const Look kOnPressed = {{26, 100, 44}, {50, 150, 70}, {14, 60, 24}};
const Look kOnDisabled = {{200, 220, 200}, {172, 190, 172}, {140, 156, 140}};

}  // namespace

PictureRef DrawPushStrip() { return DrawStrip(5, {kNormal, kHover, kPressed, kDisabled}); }

PictureRef DrawToggleStrip() {
  return DrawStrip(10, {kOffNormal, kOffHover, kOffPressed, kDisabled, kOnNormal, kOnHover,
                        kOnPressed, kOnDisabled});
}

}  // namespace px
