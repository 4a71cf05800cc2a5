#pragma once

#include <cstdint>

#include "base/timers.h"
#include "controls/common/button_api.h"
#include "controls/common/control_site.h"
#include "controls/common/shape_mask.h"

namespace px {

// The host's side of an image button: the control site of every control, and what the button
// keeps in its window rather than in fields of its own.
class ButtonSite : public ControlSite {
 public:
  // The control's window (Hwnd) and the device context of its surface (hdc).
  virtual std::int32_t Hwnd() const = 0;
  virtual GdiHandle Hdc() const = 0;

  // The enabled flag of the control window. A disabled window gets no mouse or key input, and
  // the window-from-point question passes it by.
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  // Background style: 0 transparent, anything else opaque. While the style is transparent the
  // surface picture is a shape mask: its pixels of the key colour 0x00FD00FF are see-through and
  // the host window shows there; the other pixels form the control's shape. With no surface
  // picture, or with an opaque style, the whole control is shown.
  virtual std::int16_t BackStyle() const = 0;
  virtual void SetBackStyle(std::int16_t style) = 0;
  virtual void SetSurfacePicture(PictureRef picture) = 0;
  virtual const PictureRef& SurfacePicture() const = 0;

  // The surface's draw mode (the raster operation of its line drawing, 13 copy pen).
  virtual std::int16_t DrawMode() const = 0;
  virtual void SetDrawMode(std::int16_t mode) = 0;

  // Draws a frame of the button's strip stretched over dest, a rectangle of the surface.
  // frame is the frame's number in the strip; hosts may show it in traces.
  virtual void PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) = 0;

  // Timers owned by the control window, ticking on the user-interface thread.
  virtual TimerFactory& ChildTimers() = 0;

  virtual ButtonApi& Api() = 0;

  // The host's default error handling, for an error the button meets while it handles a
  // notification (a repaint from a timer tick or a key), where no caller could see it.
  virtual void ReportError(const ControlError& error) = 0;
};

}  // namespace px
