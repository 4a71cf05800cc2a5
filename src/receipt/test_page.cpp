// The built-in test receipt, drawn with pango and made 1-bit as the driver would.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

#include "receipt/receipt_picture.h"

namespace px::receipt {

namespace {

constexpr int kHeight = 300;
constexpr double kDotsPerMm = kDotsPerInch / 25.4;

void Text(cairo_t* cr, const std::string& text, const char* font_name, double y) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string(font_name);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, text.c_str(), -1);
  cairo_move_to(cr, 4, y);
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
}

}  // namespace

Page TestPage(const std::string& model, const std::string& port, int width) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  Text(cr, model, "WenQuanYi Micro Hei Bold 22px", 0);
  Text(cr, "Port " + port, "WenQuanYi Micro Hei 18px", 40);
  Text(cr, std::to_string(width) + " dots across", "WenQuanYi Micro Hei 18px", 70);
  // The ruler: a bar at each end of the printable width, a line between them, and a tick each
  // millimetre from the left, longer each 5 and 10.
  const double top = 120;
  cairo_rectangle(cr, 0, top, 2, 40);
  cairo_rectangle(cr, width - 2, top, 2, 40);
  cairo_rectangle(cr, 0, top + 38, width, 2);
  cairo_fill(cr);
  for (int mm = 1; mm * kDotsPerMm < width - 2; ++mm) {
    const double x = static_cast<int>(mm * kDotsPerMm);
    const double tick = mm % 10 == 0 ? 24 : (mm % 5 == 0 ? 14 : 7);
    cairo_rectangle(cr, x, top + 38 - tick, 1, tick);
  }
  cairo_fill(cr);
  Text(cr, "打印测试 收银小票 Print test, receipt", "WenQuanYi Micro Hei 20px", 180);
  Text(cr, "0123456789 ABCDEFGHIJ 中文 English", "WenQuanYi Micro Hei 20px", 220);
  cairo_surface_flush(surface);
  const unsigned char* pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  Page page;
  page.width = width;
  for (int y = 0; y < kHeight; ++y) {
    const auto* line =
        reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x)] = (line[x] & 0xFF) < 128;
    page.rows.push_back(std::move(row));
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return page;
}

}  // namespace px::receipt
