#include "platform/sim/window_snapshot.h"

#include <cstdio>
#include <memory>

#include "base/sim/cairo_owned.h"
#include "base/utf.h"

namespace px::sim {

namespace {

// The window at 96 dpi: 15 twips to the pixel.
constexpr int kClientWidth = 681;   // 10215 twips
constexpr int kClientHeight = 453;  // 6795 twips
constexpr int kTitleHeight = 31;
constexpr int kBorder = 1;
constexpr int kLabelLeft = 8;     // 120 twips
constexpr int kLabelWidth = 601;  // 9015 twips
constexpr int kLabelHeight = 21;  // 315 twips
constexpr const char* kFont = "WenQuanYi Micro Hei 10.5";

void DrawText(cairo_t* cr, const std::string& text, double x, double y, double width, double height,
              double r, double g, double b) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, width, height);
  cairo_clip(cr);
  Owned<PangoLayout> layout(pango_cairo_create_layout(cr));
  Owned<PangoFontDescription> font(pango_font_description_from_string(kFont));
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.c_str(), -1);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
}

// A label shows one line: what follows a line break is not shown.
std::string FirstLine(const Text& text) {
  return ToUtf8(TextView(text).substr(0, std::min(text.find(u'\r'), text.find(u'\n'))));
}

}  // namespace

bool RenderWindowPng(const WindowImage& image, const Text* box_title, const Text* box_text,
                     const std::filesystem::path& file) {
  const int width = kClientWidth + 2 * kBorder;
  const int height = kClientHeight + kTitleHeight + kBorder;
  Owned<cairo_surface_t> surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  Owned<cairo_t> cr(cairo_create(surface.get()));
  cairo_t* c = cr.get();
  // Frame and title bar, as Windows 10 draws an active window.
  cairo_set_source_rgb(c, 0.55, 0.55, 0.55);
  cairo_paint(c);
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_rectangle(c, kBorder, 0, kClientWidth, kTitleHeight);
  cairo_fill(c);
  DrawText(c, FirstLine(image.caption), 10, 6, kClientWidth - 150, 22, 0, 0, 0);
  DrawText(c, "—     ☐     ✕", kClientWidth - 120, 6, 120, 22, 0, 0, 0);
  // The client area and its labels.
  const double left = kBorder, top = kTitleHeight;
  cairo_set_source_rgb(c, 0, 0, 0);
  cairo_rectangle(c, left, top, kClientWidth, kClientHeight);
  cairo_fill(c);
  DrawText(c, FirstLine(image.label2), left + kLabelLeft, top + 8, kLabelWidth, kLabelHeight, 0, 1,
           1);
  for (std::size_t i = 0; i < image.label1.size(); ++i) {
    DrawText(c, FirstLine(image.label1[i]), left + kLabelLeft, top + 32 + 24.0 * i, kLabelWidth,
             kLabelHeight, 0, 1, 1);
  }
  if (box_title && box_text) {
    const double bw = 300, bh = 150, bx = (width - bw) / 2, by = (height - bh) / 2;
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_rectangle(c, bx, by, bw, bh);
    cairo_fill(c);
    cairo_set_source_rgb(c, 0.5, 0.5, 0.5);
    cairo_set_line_width(c, 1);
    cairo_rectangle(c, bx + 0.5, by + 0.5, bw - 1, bh - 1);
    cairo_stroke(c);
    DrawText(c, ToUtf8(*box_title), bx + 10, by + 6, bw - 20, 22, 0, 0, 0);
    cairo_set_source_rgb(c, 0.94, 0.94, 0.94);
    cairo_rectangle(c, bx + 1, by + bh - 45, bw - 2, 44);
    cairo_fill(c);
    DrawText(c, ToUtf8(*box_text), bx + 20, by + 45, bw - 40, 50, 0, 0, 0);
    cairo_set_source_rgb(c, 0.2, 0.47, 0.84);
    cairo_rectangle(c, bx + bw - 95.5, by + bh - 33.5, 80, 24);
    cairo_stroke(c);
    DrawText(c, "确定", bx + bw - 70, by + bh - 31, 60, 22, 0, 0, 0);
  }
  cairo_surface_flush(surface.get());
  return cairo_surface_write_to_png(surface.get(), file.string().c_str()) == CAIRO_STATUS_SUCCESS;
}

WindowSnapshot::WindowSnapshot(std::filesystem::path dir, std::function<std::int64_t()> now_ms)
    : dir_(std::move(dir)), now_ms_(std::move(now_ms)) {
  std::filesystem::create_directories(dir_);
}

void WindowSnapshot::Write(const WindowImage& image, const std::optional<Box>& box) {
  char name[48];
  std::snprintf(name, sizeof name, "%04d-%08lld.png", ++count_, static_cast<long long>(now_ms_()));
  RenderWindowPng(image, box ? &box->title : nullptr, box ? &box->text : nullptr, dir_ / name);
}

void WindowSnapshot::Paint(const WindowImage& image) {
  if (last_ && last_->caption == image.caption && last_->label2 == image.label2 &&
      last_->label1 == image.label1) {
    return;  // nothing visible changed
  }
  last_ = image;
  Write(image, std::nullopt);
}

void WindowSnapshot::ShowMessage(const WindowImage& image, const Text& title, const Text& text) {
  last_ = image;
  Write(image, Box{title, text});
}

}  // namespace px::sim
