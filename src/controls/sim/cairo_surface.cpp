#include "controls/sim/cairo_surface.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>

#include "base/utf.h"
#include "controls/common/blit.h"

namespace px::sim {
namespace {

Argb ToArgb(Color c) { return OpaqueArgb(RedOf(c), GreenOf(c), BlueOf(c)); }

struct CairoDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct GObjectDeleter {
  void operator()(void* object) const { g_object_unref(object); }
};
struct FontDescriptionDeleter {
  void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};

// A cairo view of a pixel buffer: cairo's ARGB32 is the same 32-bit word as ours, and its rows
// of 4 * width bytes need no padding.
std::unique_ptr<cairo_surface_t, CairoDeleter> Wrap(Argb* pixels, std::int32_t w, std::int32_t h) {
  return std::unique_ptr<cairo_surface_t, CairoDeleter>(cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, w, h, w * 4));
}

// A Pango layout of the text in the font, at 96 dots per inch.
std::unique_ptr<PangoLayout, GObjectDeleter> Layout(cairo_t* cr, const Font& font, TextView text) {
  std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_cairo_create_layout(cr));
  pango_cairo_context_set_resolution(pango_layout_get_context(layout.get()), 96);
  pango_layout_context_changed(layout.get());
  std::unique_ptr<PangoFontDescription, FontDescriptionDeleter> description(
      pango_font_description_new());
  pango_font_description_set_family(description.get(), ToUtf8(font.name).c_str());
  pango_font_description_set_size(description.get(),
                                  static_cast<gint>(font.size_points * PANGO_SCALE));
  pango_font_description_set_weight(description.get(),
                                    font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description.get(),
                                   font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_layout_set_font_description(layout.get(), description.get());
  const std::string utf8 = ToUtf8(text);
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  if (font.underline) {
    std::unique_ptr<PangoAttrList, decltype(&pango_attr_list_unref)> attributes(
        pango_attr_list_new(), &pango_attr_list_unref);
    pango_attr_list_insert(attributes.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout.get(), attributes.get());
  }
  return layout;
}

}  // namespace

CairoSurface::CairoSurface(TwipSize size) { Resize(size); }

void CairoSurface::Resize(TwipSize size) {
  // What was drawn stays where it was; new parts show the background colour.
  const std::int32_t w = std::max(TwipsToPixels(size.width), 0);
  const std::int32_t h = std::max(TwipsToPixels(size.height), 0);
  std::vector<Argb> pixels(static_cast<std::size_t>(w) * h, ToArgb(back_color_));
  for (std::int32_t y = 0; y < std::min(h, height_); ++y) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, std::min(w, width_),
                pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
  }
  size_ = size;
  width_ = w;
  height_ = h;
  pixels_ = std::move(pixels);
}

void CairoSurface::Clear() { std::fill(pixels_.begin(), pixels_.end(), ToArgb(back_color_)); }

void CairoSurface::Print(TwipPoint at, TextView text) {
  if (text.empty() || width_ == 0 || height_ == 0) return;
  const auto surface = Wrap(pixels_.data(), width_, height_);
  const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface.get()));
  const auto layout = Layout(cr.get(), font_, text);
  cairo_set_source_rgb(cr.get(), RedOf(fore_color_) / 255.0, GreenOf(fore_color_) / 255.0,
                       BlueOf(fore_color_) / 255.0);
  cairo_move_to(cr.get(), TwipsToPixels(at.x), TwipsToPixels(at.y));
  pango_cairo_show_layout(cr.get(), layout.get());
  cairo_surface_flush(surface.get());
}

TwipSize CairoSurface::TextExtent(TextView text) const {
  const std::unique_ptr<cairo_surface_t, CairoDeleter> scratch(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
  const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(scratch.get()));
  const auto layout = Layout(cr.get(), font_, text);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  return {PixelsToTwips(w), PixelsToTwips(h)};
}

void CairoSurface::CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) {
  BlitPicture(picture, source, dest, pixels_, width_, height_);
}

PictureRef CairoSurface::Image() const { return MakePixelPicture(width_, height_, pixels_); }

bool WritePng(const Picture& picture, const std::filesystem::path& path) {
  std::vector<Argb> pixels(picture.Pixels().begin(), picture.Pixels().end());
  // cairo keeps colours premultiplied by their alpha.
  for (Argb& p : pixels) {
    const std::uint32_t a = p >> 24;
    if (a == 255) continue;
    const auto scaled = [&](int shift) { return ((p >> shift & 0xFF) * a + 127) / 255 << shift; };
    p = a << 24 | scaled(16) | scaled(8) | scaled(0);
  }
  if (picture.PixelWidth() <= 0 || picture.PixelHeight() <= 0) return false;
  const auto surface = Wrap(pixels.data(), picture.PixelWidth(), picture.PixelHeight());
  return cairo_surface_write_to_png(surface.get(), path.string().c_str()) == CAIRO_STATUS_SUCCESS;
}

PictureRef ReadPng(const std::filesystem::path& path) {
  const std::unique_ptr<cairo_surface_t, CairoDeleter> png(
      cairo_image_surface_create_from_png(path.string().c_str()));
  if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  // Drawn onto an ARGB32 image of our own, whatever format the file had.
  const std::int32_t w = cairo_image_surface_get_width(png.get());
  const std::int32_t h = cairo_image_surface_get_height(png.get());
  std::vector<Argb> pixels(static_cast<std::size_t>(w) * h, 0);
  {
    const auto target = Wrap(pixels.data(), w, h);
    const std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(target.get()));
    cairo_set_source_surface(cr.get(), png.get(), 0, 0);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
    cairo_surface_flush(target.get());
  }
  // Back from premultiplied colours.
  for (Argb& p : pixels) {
    const std::uint32_t a = p >> 24;
    if (a == 255 || a == 0) continue;
    const auto unscaled = [&](int shift) {
      return std::min<std::uint32_t>((p >> shift & 0xFF) * 255 / a, 255) << shift;
    };
    p = a << 24 | unscaled(16) | unscaled(8) | unscaled(0);
  }
  return MakePixelPicture(w, h, std::move(pixels));
}

PictureRef DrawOver(const Picture& picture, const Picture& over, std::int32_t x, std::int32_t y) {
  const std::int32_t w = picture.PixelWidth(), h = picture.PixelHeight();
  std::vector<Argb> pixels(picture.Pixels().begin(), picture.Pixels().end());
  const std::int32_t ow = over.PixelWidth(), oh = over.PixelHeight();
  BlitPicture(over, {0, 0, PixelsToTwips(ow), PixelsToTwips(oh)},
              {PixelsToTwips(x), PixelsToTwips(y), PixelsToTwips(ow), PixelsToTwips(oh)}, pixels, w,
              h);
  return MakePixelPicture(w, h, std::move(pixels));
}

}  // namespace px::sim

// Fontconfig keeps what Pango asks it for in caches that live as long as the process and are
// never given back; the leak checker of sanitizer builds is told so, and still reports every
// leak of our own.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
