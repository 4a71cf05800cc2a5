#include "controls/sim/button_api_sim.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "controls/common/geometry.h"
#include "controls/common/shape_mask.h"

namespace px::sim {
namespace {

constexpr GdiHandle kStockBitmap = 0x10;     // the 1 x 1 bitmap of a new memory DC
constexpr GdiHandle kDefaultPalette = 0x14;  // DEFAULT_PALETTE: the 20 static colours
constexpr std::int32_t kBitsPixel = 12;

constexpr std::array<PaletteEntry, 20> kStaticColors = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

Argb Nearest(Argb pixel, const std::vector<PaletteEntry>& palette) {
  const int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
  const PaletteEntry* best = nullptr;
  int best_distance = std::numeric_limits<int>::max();
  for (const PaletteEntry& e : palette) {
    const int d =
        (r - e.red) * (r - e.red) + (g - e.green) * (g - e.green) + (b - e.blue) * (b - e.blue);
    if (d < best_distance) {
      best_distance = d;
      best = &e;
    }
  }
  if (best == nullptr) return pixel;
  return (pixel & 0xFF000000u) | (OpaqueArgb(best->red, best->green, best->blue) & 0xFFFFFFu);
}

}  // namespace

struct SimButtonApi::Objects {
  struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Argb> pixels;
    GdiHandle selected_in = 0;
  };
  struct Palette {
    std::vector<PaletteEntry> entries;
  };
  struct Dc {
    std::int32_t hwnd = 0;  // 0 for a memory DC
    GdiHandle bitmap = kStockBitmap;
    GdiHandle palette = kDefaultPalette;
    bool realized = false;
  };
  // A copy of a picture that came from elsewhere, lent out as its bitmap handle while the
  // picture lives.
  struct Borrowed {
    std::weak_ptr<const Picture> picture;
    const Picture* address = nullptr;
    GdiHandle bitmap = 0;
  };

  Bitmap* FindBitmap(GdiHandle h) {
    auto it = bitmaps.find(h);
    return it == bitmaps.end() ? nullptr : &it->second;
  }
  Dc* FindDc(GdiHandle h) {
    auto it = dcs.find(h);
    return it == dcs.end() ? nullptr : &it->second;
  }
  GdiHandle NewHandle() { return next += 4; }

  std::map<GdiHandle, Bitmap> bitmaps;
  std::map<GdiHandle, Palette> palettes;
  std::map<GdiHandle, Dc> dcs;
  std::vector<Borrowed> borrowed;
  GdiHandle next = 0x1000;
};

// The picture OleCreatePictureIndirect makes: it shows the bitmap as it is in the handle table
// and, when it owns them, deletes the bitmap and palette with its last holder.
class SimButtonApi::OlePicture final : public Picture {
 public:
  OlePicture(std::shared_ptr<Objects> objects, GdiHandle bitmap, GdiHandle palette, bool own)
      : objects_(std::move(objects)), bitmap_(bitmap), palette_(palette), own_(own) {
    const Objects::Bitmap* b = objects_->FindBitmap(bitmap_);
    himetric_width_ = PixelsToHimetric(b->width);
    himetric_height_ = PixelsToHimetric(b->height);
  }
  ~OlePicture() override {
    if (!own_) return;
    if (Objects::Bitmap* b = objects_->FindBitmap(bitmap_)) {
      if (Objects::Dc* dc = objects_->FindDc(b->selected_in)) dc->bitmap = kStockBitmap;
      objects_->bitmaps.erase(bitmap_);
    }
    if (palette_ != 0) {
      for (auto& [handle, dc] : objects_->dcs) {
        if (dc.palette == palette_) dc.palette = kDefaultPalette;
      }
      objects_->palettes.erase(palette_);
    }
  }

  std::int32_t HimetricWidth() const override { return himetric_width_; }
  std::int32_t HimetricHeight() const override { return himetric_height_; }
  std::int32_t PixelWidth() const override {
    const Objects::Bitmap* b = objects_->FindBitmap(bitmap_);
    return b ? b->width : 0;
  }
  std::int32_t PixelHeight() const override {
    const Objects::Bitmap* b = objects_->FindBitmap(bitmap_);
    return b ? b->height : 0;
  }
  std::span<const Argb> Pixels() const override {
    const Objects::Bitmap* b = objects_->FindBitmap(bitmap_);
    return b ? std::span<const Argb>(b->pixels) : std::span<const Argb>();
  }

  const Objects* objects() const { return objects_.get(); }
  GdiHandle bitmap() const { return bitmap_; }
  GdiHandle palette() const { return palette_; }

 private:
  std::shared_ptr<Objects> objects_;
  GdiHandle bitmap_;
  GdiHandle palette_;
  bool own_;
  std::int32_t himetric_width_ = 0;
  std::int32_t himetric_height_ = 0;
};

SimButtonApi::SimButtonApi() : objects_(std::make_shared<Objects>()) {
  objects_->bitmaps[kStockBitmap] = {1, 1, {0xFF000000u}, 0};
  objects_->palettes[kDefaultPalette].entries.assign(kStaticColors.begin(), kStaticColors.end());
}

SimButtonApi::~SimButtonApi() = default;

const std::array<PaletteEntry, 256>& SimButtonApi::SystemPalette() {
  static const std::array<PaletteEntry, 256> palette = [] {
    std::array<PaletteEntry, 256> p{};
    std::copy_n(kStaticColors.begin(), 10, p.begin());
    std::copy_n(kStaticColors.begin() + 10, 10, p.begin() + 246);
    std::size_t i = 10;
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 6; ++g) {
        for (int b = 0; b < 6; ++b) {
          p[i++] = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                    static_cast<std::uint8_t>(b * 51), 0};
        }
      }
    }
    for (int k = 0; i < 246; ++k) {
      const auto v = static_cast<std::uint8_t>(8 + k * 12);
      p[i++] = {v, v, v, 0};
    }
    return p;
  }();
  return palette;
}

GdiHandle SimButtonApi::GetWindowDC(std::int32_t hwnd) {
  const GdiHandle h = objects_->NewHandle();
  objects_->dcs[h] = {hwnd, 0, kDefaultPalette, false};
  return h;
}

void SimButtonApi::ReleaseWindowDC(GdiHandle dc) {
  if (const Objects::Dc* d = objects_->FindDc(dc); d && d->hwnd != 0) objects_->dcs.erase(dc);
}

// --- GDI -------------------------------------------------------------------------------------

// Copies of pictures that have gone are deleted.
void SimButtonApi::PruneBorrowed() {
  std::erase_if(objects_->borrowed, [this](const Objects::Borrowed& b) {
    if (!b.picture.expired()) return false;
    if (Objects::Bitmap* bitmap = objects_->FindBitmap(b.bitmap)) {
      if (Objects::Dc* dc = objects_->FindDc(bitmap->selected_in)) dc->bitmap = kStockBitmap;
      objects_->bitmaps.erase(b.bitmap);
    }
    return true;
  });
}

std::size_t SimButtonApi::LiveObjects() {
  PruneBorrowed();
  std::size_t n = objects_->bitmaps.size() - 1 + objects_->palettes.size() - 1;
  for (const auto& [handle, dc] : objects_->dcs) n += dc.hwnd == 0 ? 1 : 0;
  return n - objects_->borrowed.size();
}

GdiHandle SimButtonApi::PicturePalette(const Picture& picture) const {
  const auto* ole = dynamic_cast<const OlePicture*>(&picture);
  return ole && ole->objects() == objects_.get() ? ole->palette() : 0;
}

std::vector<PaletteEntry> SimButtonApi::PaletteEntries(GdiHandle palette) const {
  const auto it = objects_->palettes.find(palette);
  return it == objects_->palettes.end() ? std::vector<PaletteEntry>() : it->second.entries;
}

GdiHandle SimButtonApi::CreateCompatibleDC(GdiHandle dc) {
  if (dc != 0 && objects_->FindDc(dc) == nullptr) return 0;
  const GdiHandle h = objects_->NewHandle();
  objects_->dcs[h] = {};
  return h;
}

GdiHandle SimButtonApi::CreateCompatibleBitmap(GdiHandle dc, std::int32_t width,
                                               std::int32_t height) {
  if (objects_->FindDc(dc) == nullptr || width < 0 || height < 0) return 0;
  if (width == 0 || height == 0) width = height = 1;
  if (static_cast<std::int64_t>(width) * height > kMaxBitmapPixels) return 0;
  const GdiHandle h = objects_->NewHandle();
  objects_->bitmaps[h] = {
      width, height, std::vector<Argb>(static_cast<std::size_t>(width) * height, 0xFF000000u), 0};
  return h;
}

GdiHandle SimButtonApi::SelectObject(GdiHandle dc, GdiHandle object) {
  Objects::Dc* d = objects_->FindDc(dc);
  Objects::Bitmap* b = objects_->FindBitmap(object);
  // Bitmaps go into memory DCs only, and into one at a time.
  if (d == nullptr || b == nullptr || d->hwnd != 0) return 0;
  if (b->selected_in != 0 && b->selected_in != dc && object != kStockBitmap) return 0;
  const GdiHandle old = d->bitmap;
  if (Objects::Bitmap* previous = objects_->FindBitmap(old); previous && old != kStockBitmap) {
    previous->selected_in = 0;
  }
  d->bitmap = object;
  if (object != kStockBitmap) b->selected_in = dc;
  return old;
}

bool SimButtonApi::DeleteDC(GdiHandle dc) {
  Objects::Dc* d = objects_->FindDc(dc);
  if (d == nullptr || d->hwnd != 0) return false;
  if (Objects::Bitmap* b = objects_->FindBitmap(d->bitmap); b && d->bitmap != kStockBitmap) {
    b->selected_in = 0;
  }
  objects_->dcs.erase(dc);
  return true;
}

bool SimButtonApi::DeleteObject(GdiHandle object) {
  if (object == kStockBitmap || object == kDefaultPalette) return false;
  if (Objects::Bitmap* b = objects_->FindBitmap(object)) {
    if (b->selected_in != 0) return false;
    objects_->bitmaps.erase(object);
    return true;
  }
  if (objects_->palettes.contains(object)) {
    for (const auto& [handle, dc] : objects_->dcs) {
      if (dc.palette == object) return false;
    }
    objects_->palettes.erase(object);
    return true;
  }
  return false;
}

std::int32_t SimButtonApi::GetDeviceCaps(GdiHandle dc, std::int32_t index) {
  if (objects_->FindDc(dc) == nullptr) return 0;
  switch (index) {
    case RASTERCAPS:
      // RC_BITBLT, RC_BITMAP64, RC_DI_BITMAP, RC_DIBTODEV, RC_STRETCHBLT, RC_STRETCHDIB and
      // more, as a display driver reports them.
      return palette_display_ ? 0x7E99 | RC_PALETTE : 0x7E99;
    case SIZEPALETTE:
      return palette_display_ ? 256 : 0;
    case kBitsPixel:
      return palette_display_ ? 8 : 32;
    default:
      return 0;
  }
}

std::uint32_t SimButtonApi::GetSystemPaletteEntries(GdiHandle dc, std::uint32_t start,
                                                    std::span<PaletteEntry> entries) {
  if (!palette_display_ || objects_->FindDc(dc) == nullptr || start >= 256) return 0;
  const std::size_t n = std::min<std::size_t>(entries.size(), 256 - start);
  std::copy_n(SystemPalette().begin() + start, n, entries.begin());
  return static_cast<std::uint32_t>(n);
}

GdiHandle SimButtonApi::CreatePalette(const LogPalette& palette) {
  if (palette.version != 0x300 || palette.entry_count == 0 || palette.entry_count > 256) return 0;
  const GdiHandle h = objects_->NewHandle();
  objects_->palettes[h].entries.assign(palette.entries.begin(),
                                       palette.entries.begin() + palette.entry_count);
  return h;
}

GdiHandle SimButtonApi::SelectPalette(GdiHandle dc, GdiHandle palette, bool /*force_background*/) {
  Objects::Dc* d = objects_->FindDc(dc);
  if (d == nullptr || !objects_->palettes.contains(palette)) return 0;
  const GdiHandle old = d->palette;
  d->palette = palette;
  d->realized = false;
  return old;
}

std::uint32_t SimButtonApi::RealizePalette(GdiHandle dc) {
  Objects::Dc* d = objects_->FindDc(dc);
  if (d == nullptr || !palette_display_) return 0;
  d->realized = true;
  return static_cast<std::uint32_t>(objects_->palettes.at(d->palette).entries.size());
}

bool SimButtonApi::BitBlt(GdiHandle dest, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, GdiHandle source, std::int32_t source_x,
                          std::int32_t source_y, std::uint32_t rop) {
  Objects::Dc* d = objects_->FindDc(dest);
  Objects::Dc* s = objects_->FindDc(source);
  if (d == nullptr || s == nullptr || rop != SRCCOPY) return false;
  Objects::Bitmap* to = objects_->FindBitmap(d->bitmap);
  const Objects::Bitmap* from = objects_->FindBitmap(s->bitmap);
  if (to == nullptr || from == nullptr || d->bitmap == kStockBitmap) return false;
  const std::vector<PaletteEntry>* palette =
      palette_display_ && d->realized ? &objects_->palettes.at(d->palette).entries : nullptr;
  for (std::int64_t j = 0; j < height; ++j) {
    const std::int64_t ty = y + j, sy = source_y + j;
    if (ty < 0 || ty >= to->height || sy < 0 || sy >= from->height) continue;
    for (std::int64_t i = 0; i < width; ++i) {
      const std::int64_t tx = x + i, sx = source_x + i;
      if (tx < 0 || tx >= to->width || sx < 0 || sx >= from->width) continue;
      const Argb pixel = from->pixels[sy * from->width + sx];
      to->pixels[ty * to->width + tx] = palette ? Nearest(pixel, *palette) : pixel;
    }
  }
  return true;
}

PictureRef SimButtonApi::OleCreatePictureIndirect(const PictDesc& desc, bool own) {
  if (desc.size != 20 || desc.type != PICTYPE_BITMAP) return nullptr;
  if (objects_->FindBitmap(desc.bitmap) == nullptr || desc.bitmap == kStockBitmap) return nullptr;
  if (desc.palette != 0 && !objects_->palettes.contains(desc.palette)) return nullptr;
  return std::make_shared<OlePicture>(objects_, desc.bitmap, desc.palette, own);
}

GdiHandle SimButtonApi::PictureHandle(const PictureRef& picture) {
  if (!picture) return 0;
  if (const auto* ole = dynamic_cast<const OlePicture*>(picture.get());
      ole && ole->objects() == objects_.get()) {
    return ole->bitmap();
  }
  // A live picture's copy is lent out again.
  PruneBorrowed();
  for (const Objects::Borrowed& b : objects_->borrowed) {
    if (b.address == picture.get()) return b.bitmap;
  }
  const std::int32_t w = picture->PixelWidth(), h = picture->PixelHeight();
  const std::span<const Argb> pixels = picture->Pixels();
  if (w <= 0 || h <= 0 || pixels.size() != static_cast<std::size_t>(w) * h) return 0;
  const GdiHandle handle = objects_->NewHandle();
  objects_->bitmaps[handle] = {w, h, std::vector<Argb>(pixels.begin(), pixels.end()), 0};
  objects_->borrowed.push_back({picture, picture.get(), handle});
  return handle;
}

}  // namespace px::sim
