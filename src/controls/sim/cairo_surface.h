#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "controls/sim/recording_surface.h"

namespace px::sim {

// A surface that really draws: a 32-bit raster image, at 15 twips to the pixel, kept for as
// long as the surface lives (the retained image), pictures copied pixel by pixel as on Windows,
// text laid out by Pango on cairo. Faces missing on this machine fall back to what fontconfig
// offers; the text extent is that of the face really used.
class CairoSurface final : public SizedSurface {
 public:
  explicit CairoSurface(TwipSize size = {});

  void Resize(TwipSize size) override;
  TwipSize Size() const override { return size_; }
  Color BackColor() const override { return back_color_; }
  void SetBackColor(Color color) override { back_color_ = color; }
  Color ForeColor() const override { return fore_color_; }
  void SetForeColor(Color color) override { fore_color_ = color; }
  const Font& GetFont() const override { return font_; }
  void SetFont(const Font& font) override { font_ = font; }
  void Clear() override;
  void Print(TwipPoint at, TextView text) override;
  TwipSize TextExtent(TextView text) const override;
  void CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) override;
  PictureRef Image() const override;

 private:
  TwipSize size_;
  std::int32_t width_ = 0;  // pixels
  std::int32_t height_ = 0;
  std::vector<Argb> pixels_;
  Color back_color_ = kWhite;
  Color fore_color_ = kBlack;
  Font font_;
};

// Writes a picture as a PNG file; false when the file cannot be written.
bool WritePng(const Picture& picture, const std::filesystem::path& path);

// The picture a PNG file holds; nullptr when it cannot be read.
PictureRef ReadPng(const std::filesystem::path& path);

// A picture of `picture` with `over` drawn on it with its top-left at (x, y) pixels, clipped.
PictureRef DrawOver(const Picture& picture, const Picture& over, std::int32_t x, std::int32_t y);

}  // namespace px::sim
