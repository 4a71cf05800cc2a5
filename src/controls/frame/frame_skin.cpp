#include "controls/frame/frame_skin.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace px {
namespace {

struct Rgbf {
  double r, g, b;
};

Rgbf Mix(Rgbf a, Rgbf b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Rgbf kWhite{255, 255, 255};
constexpr Rgbf kOutline{18, 52, 124};
constexpr Rgbf kBandTop{86, 150, 236};
constexpr Rgbf kBandBottom{28, 88, 196};
constexpr Rgbf kBorderBlue{44, 104, 204};
constexpr Rgbf kBorderLight{128, 172, 234};
constexpr Rgbf kClient{236, 236, 236};
constexpr Rgbf kCloseRed{214, 62, 48};
constexpr Rgbf kCloseRedDark{150, 34, 26};
constexpr Rgbf kPressedBlue{20, 62, 150};

// The band's colour on a row, shared by the skin and the glyph pictures so that the corners of
// a glyph picture melt into the band behind it.
Rgbf BandColor(int row) {
  if (row == 0) return kOutline;
  if (row == 1) return Mix(kBandTop, kWhite, 0.35);
  return Mix(kBandTop, kBandBottom, std::clamp((row - 2) / 25.0, 0.0, 1.0));
}

// A small canvas of floating-point colours with shapes covered at 4 x 4 samples per pixel.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  void Set(int x, int y, Rgbf c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = c;
  }
  void FillRect(int x, int y, int w, int h, Rgbf c) {
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
  }
  // Paints colour c with the given opacity over every pixel of the box (x, y, w, h) in
  // proportion to how much of the pixel `inside` covers; coordinates are in pixels.
  void Cover(int x, int y, int w, int h, const std::function<bool(double, double)>& inside, Rgbf c,
             double opacity) {
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) hits += inside(i + (sx + 0.5) / 4, j + (sy + 0.5) / 4);
        }
        if (hits == 0 || i < 0 || j < 0 || i >= width_ || j >= height_) continue;
        Rgbf& p = pixels_[j * width_ + i];
        p = Mix(p, c, opacity * hits / 16.0);
      }
    }
  }

  PictureRef ToPicture() const {
    std::vector<Argb> out;
    out.reserve(pixels_.size());
    for (const Rgbf& p : pixels_) {
      const auto channel = [](double v) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
      };
      out.push_back(OpaqueArgb(channel(p.r), channel(p.g), channel(p.b)));
    }
    return MakePixelPicture(width_, height_, std::move(out));
  }

 private:
  int width_;
  int height_;
  std::vector<Rgbf> pixels_;
};

std::function<bool(double, double)> RoundedBox(double x, double y, double w, double h,
                                               double radius) {
  return [=](double px, double py) {
    if (px < x || py < y || px > x + w || py > y + h) return false;
    const double cx = std::clamp(px, x + radius, x + w - radius);
    const double cy = std::clamp(py, y + radius, y + h - radius);
    return std::hypot(px - cx, py - cy) <= radius;
  };
}

// A stroke of the given width along the segment (x0, y0) - (x1, y1), with square-ish ends.
std::function<bool(double, double)> Stroke(double x0, double y0, double x1, double y1,
                                           double width) {
  return [=](double px, double py) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2;
  };
}

enum class Glyph { kMinimise, kClose };
enum class Look { kNormal, kHover, kPressed };

// One 19 x 19 glyph box with its top-left at (x, y) of the canvas.
void DrawGlyph(Canvas& canvas, int x, int y, Glyph glyph, Look look) {
  const int s = kSkinGlyphSize;
  const auto box = RoundedBox(x + 0.5, y + 0.5, s - 1, s - 1, 3);
  const auto inner = RoundedBox(x + 1.5, y + 1.5, s - 3, s - 3, 2);
  switch (look) {
    case Look::kNormal:
      canvas.Cover(x, y, s, s, box, kWhite, 0.45);
      canvas.Cover(x, y, s, s, inner, BandColor(y + s / 2), 0.85);
      break;
    case Look::kHover:
      canvas.Cover(x, y, s, s, box, kWhite, 0.85);
      canvas.Cover(x, y, s, s, inner,
                   glyph == Glyph::kClose ? kCloseRed : Mix(kBandTop, kWhite, 0.3), 1.0);
      break;
    case Look::kPressed:
      canvas.Cover(x, y, s, s, box, kOutline, 1.0);
      canvas.Cover(x, y, s, s, inner, glyph == Glyph::kClose ? kCloseRedDark : kPressedBlue, 1.0);
      break;
  }
  // A held-down button shows its glyph one pixel lower and further right.
  const double o = look == Look::kPressed ? 1 : 0;
  if (glyph == Glyph::kMinimise) {
    canvas.Cover(x, y, s, s, Stroke(x + 5.5 + o, y + 13 + o, x + 13.5 + o, y + 13 + o, 2.2), kWhite,
                 1.0);
  } else {
    canvas.Cover(x, y, s, s, Stroke(x + 5.5 + o, y + 5.5 + o, x + 13.5 + o, y + 13.5 + o, 2.0),
                 kWhite, 1.0);
    canvas.Cover(x, y, s, s, Stroke(x + 13.5 + o, y + 5.5 + o, x + 5.5 + o, y + 13.5 + o, 2.0),
                 kWhite, 1.0);
  }
}

PictureRef DrawWindowSkin() {
  const int w = kSkinWidth, h = kSkinHeight, b = kSkinBorder, band = kSkinBandHeight;
  Canvas c(w, h);
  for (int y = 0; y < band; ++y) c.FillRect(0, y, w, 1, BandColor(y));
  c.FillRect(0, band, w, h - band, kClient);
  c.FillRect(b, band, w - 2 * b, 1, Mix(kClient, kOutline, 0.25));
  // The border: dark outline outside, two rows of blue, a light line towards the client area.
  const Rgbf rings[] = {kOutline, kBorderBlue, kBorderBlue, kBorderLight};
  for (int i = 0; i < b; ++i) {
    c.FillRect(i, band, 1, h - band - i, rings[i]);          // left
    c.FillRect(w - 1 - i, band, 1, h - band - i, rings[i]);  // right
    c.FillRect(i, h - 1 - i, w - 2 * i, 1, rings[i]);        // bottom
  }
  // The band's own left and right outline.
  for (int y = 0; y < band; ++y) {
    c.Set(0, y, kOutline);
    c.Set(w - 1, y, kOutline);
  }
  DrawGlyph(c, kSkinMinGlyphLeft, kSkinGlyphTop, Glyph::kMinimise, Look::kNormal);
  DrawGlyph(c, kSkinCloseGlyphLeft, kSkinGlyphTop, Glyph::kClose, Look::kNormal);
  return c.ToPicture();
}

PictureRef DrawGlyphPicture(Glyph glyph, Look look) {
  Canvas c(kSkinGlyphSize, kSkinGlyphSize);
  for (int y = 0; y < kSkinGlyphSize; ++y) {
    c.FillRect(0, y, kSkinGlyphSize, 1, BandColor(kSkinGlyphTop + y));
  }
  DrawGlyph(c, 0, 0, glyph, look);
  return c.ToPicture();
}

}  // namespace

FrameSkin DrawFrameSkin() {
  FrameSkin skin;
  skin.pp = DrawWindowSkin();
  skin.pi3 = DrawGlyphPicture(Glyph::kMinimise, Look::kHover);
  skin.pi4 = DrawGlyphPicture(Glyph::kClose, Look::kHover);
  skin.pi1 = DrawGlyphPicture(Glyph::kMinimise, Look::kPressed);
  skin.pi2 = DrawGlyphPicture(Glyph::kClose, Look::kPressed);
  return skin;
}

}  // namespace px
