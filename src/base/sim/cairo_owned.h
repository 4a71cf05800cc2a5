#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

namespace px::sim {

// cairo's and pango's objects owned as unique_ptr: released with their own free function on
// every path out of a drawing.
struct CairoDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  void operator()(cairo_t* c) const { cairo_destroy(c); }
  void operator()(PangoLayout* l) const { g_object_unref(l); }
  void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
template <class T>
using Owned = std::unique_ptr<T, CairoDeleter>;

}  // namespace px::sim
