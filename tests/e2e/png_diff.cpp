// Counts the pixels in which two PNG pictures differ, so that a picture can be compared with a
// committed one whatever bytes the PNG encoder chose:
//   png_diff A.png B.png
// Exit code 0 when every pixel is the same, 1 when some differ (their count on stdout), 2 when a
// file cannot be read or the sizes differ.
#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

cairo_surface_t* Load(const char* path) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(path);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "png_diff: %s: %s\n", path,
                 cairo_status_to_string(cairo_surface_status(image)));
    cairo_surface_destroy(image);
    return nullptr;
  }
  cairo_surface_flush(image);
  return image;
}

// A pixel as 0xAARRGGBB; a picture without alpha reads as opaque.
std::uint32_t Pixel(cairo_surface_t* image, int x, int y) {
  const unsigned char* row = cairo_image_surface_get_data(image) +
                             static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(image);
  switch (cairo_image_surface_get_format(image)) {
    case CAIRO_FORMAT_ARGB32: {
      std::uint32_t value;
      std::memcpy(&value, row + 4 * x, 4);
      return value;
    }
    case CAIRO_FORMAT_RGB24: {
      std::uint32_t value;
      std::memcpy(&value, row + 4 * x, 4);
      return value | 0xFF000000u;
    }
    case CAIRO_FORMAT_A8:
      return static_cast<std::uint32_t>(row[x]) << 24;
    default:  // A1 and the 16- and 30-bit formats, which cairo's PNG reader does not make
      return 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: png_diff A.png B.png\n");
    return 2;
  }
  cairo_surface_t* a = Load(argv[1]);
  cairo_surface_t* b = Load(argv[2]);
  int status = 2;
  if (a != nullptr && b != nullptr) {
    const int width = cairo_image_surface_get_width(a), height = cairo_image_surface_get_height(a);
    if (width != cairo_image_surface_get_width(b) || height != cairo_image_surface_get_height(b)) {
      std::printf("sizes differ: %dx%d, %dx%d\n", width, height, cairo_image_surface_get_width(b),
                  cairo_image_surface_get_height(b));
    } else {
      long differ = 0;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) differ += Pixel(a, x, y) != Pixel(b, x, y) ? 1 : 0;
      }
      if (differ != 0) std::printf("%ld pixels differ\n", differ);
      status = differ == 0 ? 0 : 1;
    }
  }
  if (a != nullptr) cairo_surface_destroy(a);
  if (b != nullptr) cairo_surface_destroy(b);
  return status;
}
