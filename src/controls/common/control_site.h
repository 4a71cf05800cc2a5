#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "base/text.h"
#include "controls/common/accessible.h"
#include "controls/common/control_error.h"
#include "controls/common/geometry.h"
#include "controls/common/picture.h"
#include "controls/common/property_store.h"
#include "controls/common/surface.h"

namespace px {

// Mouse buttons and shift keys as mouse notifications and control events report them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

// Mouse input of one window-like element, delivered on the user-interface thread. X and Y are
// in twips from the element's top-left. The arguments are references: a control hands them on
// to its own events by reference, so whatever a host handler leaves in them is what the caller
// holds afterwards. A click follows the mouse-up of a press and release on the element; a
// double-click takes the place of the second mouse-down of a double click and is followed by
// that click's mouse-up.
class InputListener {
 public:
  virtual ~InputListener() = default;
  virtual void OnMouseDown(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/,
                           float& /*y*/) {}
  virtual void OnMouseUp(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/,
                         float& /*y*/) {}
  virtual void OnMouseMove(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/,
                           float& /*y*/) {}
  virtual void OnClick() {}
  virtual void OnDblClick() {}
};

// Everything a control hears from its host besides the mouse. A new control is told OnResize
// once it is sited; OnReadProperties comes (when there are saved settings) before OnShow;
// OnWriteProperties whenever the host saves. A disabled control receives no mouse or key input.
// Every control of the kit describes itself to screen readers (AccessibleControl).
class ControlNotifications : public InputListener, public AccessibleControl {
 public:
  virtual void OnResize() {}
  virtual void OnShow() {}
  // A stored value the control cannot take (a colour that is not a number) fails the load; the
  // error goes back to the host that loads the control.
  virtual ControlStatus OnReadProperties(PropertyStore& /*store*/) { return {}; }
  virtual ControlStatus OnWriteProperties(PropertyStore& /*store*/) { return {}; }
  virtual void OnKeyDown(std::int16_t& /*key_code*/, std::int16_t& /*shift*/) {}
  virtual void OnKeyUp(std::int16_t& /*key_code*/, std::int16_t& /*shift*/) {}
  virtual void OnKeyPress(std::int16_t& /*key_ascii*/) {}
  virtual void OnGotFocus() {}
  virtual void OnLostFocus() {}
};

// A windowless child of a control that shows one picture at its top-left, unscaled and clipped
// to its own size; where it holds no picture it is transparent, so the control's surface shows
// through. It receives mouse input of its own.
class ImageArea {
 public:
  virtual ~ImageArea() = default;
  virtual void Move(TwipPoint top_left) = 0;
  virtual TwipRect Bounds() const = 0;
  // nullptr: no picture.
  virtual void SetPicture(PictureRef picture) = 0;
  virtual const PictureRef& GetPicture() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetToolTip(const Text& text) = 0;
};

// What a control gets from the window that contains it: its surface, its size, its children
// and the way to tell the container that a stored property changed.
class ControlSite {
 public:
  virtual ~ControlSite() = default;

  // Where the host's notifications go; a control attaches itself when it is made and detaches
  // (nullptr) when it goes.
  virtual void Attach(ControlNotifications* control) = 0;

  virtual Surface& GetSurface() = 0;

  virtual TwipSize Size() const = 0;
  // A size different from the current one resizes the control and delivers OnResize before
  // SetSize returns (so a control that corrects its size from OnResize is told again); setting
  // the size it already has does nothing.
  virtual void SetSize(TwipSize size) = 0;

  // Marks the host's saved settings as changed; key is the property's persistence key.
  virtual void PropertyChanged(TextView key) = 0;

  // Whether the control's window is shown (it and every window it lies in).
  virtual bool Visible() const = 0;
  // The control's accessible description may have changed: the host compares it with what it
  // last told readers and tells them what differs. A control calls it after each change of its
  // look, caption or name; calling it without a change is harmless.
  virtual void AccessibleChanged() = 0;

  // A new child, visible, without a picture. name is the child's name in the control
  // ("Pclose"); input receives its mouse notifications and must outlive the child.
  virtual std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                                     InputListener& input) = 0;
};

// The window that hosts controls, as a control's method that draws on it sees it.
class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual Surface& GetSurface() = 0;
  // The window's outer size, frame and caption included.
  virtual TwipSize OuterSize() const = 0;
};

}  // namespace px
