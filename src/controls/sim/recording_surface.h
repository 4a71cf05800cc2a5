#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/common/accessible.h"
#include "controls/common/surface.h"

namespace px::sim {

// The operations of a scene, one line each, tab-separated, rectangles in twips as the control
// asked for them (before any clipping):
//   clear   SURFACE
//   print   SURFACE  x,y  text
//   copy    SURFACE  PICTURE  sx,sy,sw,sh  dx,dy,dw,dh
//   move    CONTROL  left,top
//   size    CONTROL  width,height
//   show    CONTROL  0|1
//   picture CONTROL  PICTURE|none
//   event   NAME     args
// and, on a log that reads the controls as a screen reader does (ReadAccessibility), a line per
// element of a control's accessible description when it first shows and whenever it changes:
//   accessible  CONTROL  CHILD  role  name  states  default-action
// Texts are UTF-8 with backslash, tab, carriage return and line feed written as \\ \t \r \n.
class OpLog {
 public:
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& lines() const { return lines_; }
  void ClearLines() { lines_.clear(); }

  // The language a reader of this log's controls hears them in; none: nobody reads them.
  void ReadAccessibility(UiLanguage language) { reader_ = language; }
  const std::optional<UiLanguage>& accessibility_reader() const { return reader_; }

  // Pictures are logged by the name their holder gives them ("PP"); others as "picture".
  void NamePicture(const Picture* picture, std::string name);
  std::string PictureName(const Picture* picture) const;

 private:
  std::vector<std::string> lines_;
  std::map<const Picture*, std::string> names_;
  std::optional<UiLanguage> reader_;
};

// One line's fields joined by tabs, and the pieces they are made of.
std::string OpLine(std::initializer_list<std::string> fields);
std::string Pair(std::int32_t a, std::int32_t b);
std::string Quad(const TwipRect& rect);
std::string EscapeText(TextView text);

// A surface whose size its owner (a control site, a host window) sets.
class SizedSurface : public Surface {
 public:
  virtual void Resize(TwipSize size) = 0;
};

// A surface that logs every operation under its name and hands it on to an inner surface that
// really draws (the gallery's raster surface), when there is one. Without one, it keeps colours
// and font itself, its image is its background colour, and texts measure 8 x 13 pixels a
// character (120 x 195 twips), so that tests do not depend on fonts.
class RecordingSurface final : public SizedSurface {
 public:
  static constexpr std::int32_t kCharWidth = 120;
  static constexpr std::int32_t kLineHeight = 195;

  RecordingSurface(std::string name, OpLog& log, TwipSize size,
                   std::unique_ptr<SizedSurface> inner = nullptr);

  const std::string& name() const { return name_; }
  SizedSurface* inner() const { return inner_.get(); }

  void Resize(TwipSize size) override;
  TwipSize Size() const override { return size_; }
  Color BackColor() const override { return back_color_; }
  void SetBackColor(Color color) override;
  Color ForeColor() const override { return fore_color_; }
  void SetForeColor(Color color) override;
  const Font& GetFont() const override { return font_; }
  void SetFont(const Font& font) override;
  void Clear() override;
  void Print(TwipPoint at, TextView text) override;
  TwipSize TextExtent(TextView text) const override;
  void CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) override;
  PictureRef Image() const override;

 private:
  std::string name_;
  OpLog& log_;
  TwipSize size_;
  std::unique_ptr<SizedSurface> inner_;
  Color back_color_ = kWhite;
  Color fore_color_ = kBlack;
  Font font_;
};

}  // namespace px::sim
