// The receipt as a picture, drawn with cairo.
#include "receipt/receipt_picture.h"

#include <memory>
#include <stdexcept>

#include "base/sim/cairo_owned.h"

namespace px::receipt {

namespace {

using sim::Owned;

constexpr int kMargin = 24;
constexpr int kNotes = 230;      // the margin at the right that names cuts and drawer kicks
constexpr int kLongest = 30000;  // cairo draws at most 32767 pixels high
constexpr const char* kFont = "WenQuanYi Micro Hei 9";

void Note(cairo_t* cr, const std::string& text, double x, double y) {
  Owned<PangoLayout> layout(pango_cairo_create_layout(cr));
  Owned<PangoFontDescription> font(pango_font_description_from_string(kFont));
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout.get());
}

}  // namespace

void WriteReceiptPng(const Receipt& receipt, const std::filesystem::path& png) {
  int length = std::max(receipt.length, 1);
  for (const Cut& cut : receipt.cuts) length = std::max(length, cut.y + 1);
  if (length > kLongest) {
    throw std::length_error("the receipt is " + std::to_string(length) +
                            " dot rows long, longer than a picture holds (" +
                            std::to_string(kLongest) + ")");
  }
  const int paper = receipt.roll.paper_dots;
  const int width = kMargin + paper + kNotes;
  const int height = kMargin * 2 + length;
  Owned<cairo_surface_t> surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  Owned<cairo_t> cr(cairo_create(surface.get()));
  cairo_set_source_rgb(cr.get(), 0.82, 0.82, 0.82);
  cairo_paint(cr.get());
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_rectangle(cr.get(), kMargin, kMargin, paper, length);
  cairo_fill(cr.get());
  cairo_surface_flush(surface.get());
  // The dots, straight into the picture's pixels.
  unsigned char* pixels = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const int left = kMargin + (paper - receipt.width) / 2;
  for (const auto& [y, row] : receipt.rows) {
    auto* line = reinterpret_cast<std::uint32_t*>(
        pixels + static_cast<std::ptrdiff_t>(kMargin + y) * stride);
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (row[x]) line[left + static_cast<int>(x)] = 0xFF000000u;
    }
  }
  cairo_surface_mark_dirty(surface.get());
  const double notes = kMargin + paper + 12;
  for (const Cut& cut : receipt.cuts) {
    const double y = kMargin + cut.y + 0.5;
    cairo_set_source_rgb(cr.get(), 0.8, 0.1, 0.1);
    cairo_set_line_width(cr.get(), 1);
    const double dash[] = {6, 4};
    cairo_set_dash(cr.get(), dash, cut.full ? 0 : 2, 0);
    cairo_move_to(cr.get(), kMargin - 8, y);
    cairo_line_to(cr.get(), kMargin + paper + 8, y);
    cairo_stroke(cr.get());
    cairo_set_dash(cr.get(), nullptr, 0, 0);
    Note(cr.get(), std::string(cut.full ? "full cut" : "partial cut"), notes, y - 8);
  }
  for (const DrawerKick& kick : receipt.kicks) {
    const double y = kMargin + kick.y;
    cairo_set_source_rgb(cr.get(), 0.1, 0.3, 0.8);
    cairo_move_to(cr.get(), kMargin + paper + 2, y);
    cairo_line_to(cr.get(), kMargin + paper + 10, y - 5);
    cairo_line_to(cr.get(), kMargin + paper + 10, y + 5);
    cairo_close_path(cr.get());
    cairo_fill(cr.get());
    Note(cr.get(),
         "drawer " + std::to_string(kick.drawer) + " (pin " + std::to_string(kick.pin) + "), " +
             std::to_string(kick.on_ms) + " ms",
         notes + 4, y + 4);
  }
  if (cairo_surface_write_to_png(surface.get(), png.string().c_str()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(png.string() + ": cannot be written");
  }
}

Page ReadPagePng(const std::filesystem::path& png) {
  Owned<cairo_surface_t> image(cairo_image_surface_create_from_png(png.string().c_str()));
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(png.string() + ": no PNG picture");
  }
  // Drawn on white, so that transparency reads as paper.
  const int width = cairo_image_surface_get_width(image.get());
  const int height = cairo_image_surface_get_height(image.get());
  Owned<cairo_surface_t> flat(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  Owned<cairo_t> cr(cairo_create(flat.get()));
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_paint(cr.get());
  cairo_set_source_surface(cr.get(), image.get(), 0, 0);
  cairo_paint(cr.get());
  cairo_surface_flush(flat.get());
  const unsigned char* pixels = cairo_image_surface_get_data(flat.get());
  const int stride = cairo_image_surface_get_stride(flat.get());
  Page page;
  page.width = width;
  for (int y = 0; y < height; ++y) {
    const auto* line =
        reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = line[x];
      const int grey = (299 * (p >> 16 & 0xFF) + 587 * (p >> 8 & 0xFF) + 114 * (p & 0xFF)) / 1000;
      row[static_cast<std::size_t>(x)] = grey < 128 ? 1 : 0;
    }
    page.rows.push_back(std::move(row));
  }
  return page;
}

}  // namespace px::receipt
