#pragma once

#include "base/text.h"
#include "controls/common/color.h"
#include "controls/common/font.h"
#include "controls/common/geometry.h"
#include "controls/common/picture.h"

namespace px {

// The drawing surface of a control or of the window that hosts it, in twips. The surface keeps
// a retained image: what is drawn stays (and is repainted from that image when the window is
// uncovered) until the next Clear. The size belongs to whoever owns the window (the control
// site, the host window); the surface follows it.
class Surface {
 public:
  virtual ~Surface() = default;

  virtual TwipSize Size() const = 0;

  virtual Color BackColor() const = 0;
  // Takes effect at the next Clear; what is drawn stays as it is.
  virtual void SetBackColor(Color color) = 0;
  virtual Color ForeColor() const = 0;
  virtual void SetForeColor(Color color) = 0;
  virtual const Font& GetFont() const = 0;
  virtual void SetFont(const Font& font) = 0;

  // Removes everything drawn, leaving the background colour.
  virtual void Clear() = 0;

  // Prints text with its top-left at `at`, in the current font and fore colour, with no
  // background box. A text wider than the surface is clipped by the surface, not cut short.
  virtual void Print(TwipPoint at, TextView text) = 0;

  // Width and height of the text in the current font.
  virtual TwipSize TextExtent(TextView text) const = 0;

  // Copies the part `source` of the picture (twips, from the picture's top-left; the picture is
  // PixelWidth * 15 twips wide) onto the part `dest` of the surface. When the two sizes differ
  // the source is stretched to the destination. Only what lies inside both the picture and the
  // surface is drawn: rectangles reaching beyond either are fine and are clipped, never
  // wrapped.
  virtual void CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) = 0;

  // A snapshot of the retained image, independent of later drawing.
  virtual PictureRef Image() const = 0;
};

}  // namespace px
