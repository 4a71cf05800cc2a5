#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "controls/common/blit.h"
#include "controls/common/color.h"
#include "controls/common/picture.h"

namespace px {

// The colour a shape mask leaves see-through (0x00BBGGRR).
inline constexpr Color kMaskKeyColor = 0x00FD00FF;

// The shape a mask picture gives a control: its pixels that are not the key colour, as one
// rectangle one pixel high per run of such pixels, row by row from the top. A mask of key
// colour only gives no rectangle: nothing of the control is shown. Two masks give the same
// shape exactly when their runs are equal, whatever else their pixels hold.
std::vector<PixelRect> MaskShape(const Picture& mask);

// Whether the pixel (x, y) of the control lies in the shape.
bool ShapeContains(std::span<const PixelRect> shape, std::int32_t x, std::int32_t y);

// The shape mask of a control window as its host keeps it. While the background style is
// transparent (0) and a surface picture is set, the window has the picture's shape; otherwise it
// has its whole rectangle. The host is told to set a shape only when it differs from the one in
// force, so a repaint that hands it the same shape again (every hover, press and tick of a
// button does) changes nothing on the screen. A style made opaque ends the shape only once the
// control is back in the message loop (Settle), so that a repaint that makes the style opaque
// for a moment and transparent again keeps the shape all along.
class ShapeMask {
 public:
  // What the host does with its window after a change.
  enum class Step {
    kNone,
    kSetShape,  // give the window shape() now
    kEndLater,  // the shape is to end: call Settle when back in the message loop
  };

  std::int16_t back_style() const { return back_style_; }
  const PictureRef& picture() const { return picture_; }
  Step SetBackStyle(std::int16_t style);
  Step SetPicture(PictureRef picture);
  // True when the shape ends now: the host gives the window its whole rectangle again.
  bool Settle();

  bool on() const { return on_; }
  const std::vector<PixelRect>& shape() const { return shape_; }
  // How many times a shape took effect or ended.
  int changes() const { return changes_; }

 private:
  Step Update();

  std::int16_t back_style_ = 1;
  PictureRef picture_;
  bool on_ = false;
  std::vector<PixelRect> shape_;
  bool end_pending_ = false;
  int changes_ = 0;
};

}  // namespace px
