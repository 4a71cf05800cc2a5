#pragma once

// iButton, the image button: a child window whose whole look comes from one picture, the
// BackPicture, a horizontal strip of equal frames, one per visual state, with the caption
// printed centred over it. Style 0 is a push button, Style 1 a toggle button. Its events go to
// the program's iButtonEvents; its settings may be restored from a MemoryPropertyStore.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "px/kit_types.h"
#include "px/picture.h"
#include "px/property_store.h"

namespace px::kit {

// The visual states of a button, also the frames of a strip's first group of four. cMouseAction
// takes them.
enum ButtonState : std::int32_t {
  Normal = 0,    // at rest, pointer elsewhere
  Hover = 1,     // pointer over the button
  Pressed = 2,   // left button (or Space) held on the button
  Disabled = 3,  // the button is disabled
};

// The ten events a button raises, each with a default that does nothing. The arguments are
// references: after MouseDown, MouseUp, KeyDown and KeyUP the button reads Button or KeyCode
// back, so a handler that changes them changes what the button does next. Handlers run inside
// the window message that raised them and may set the button's properties.
class iButtonEvents {
 public:
  virtual ~iButtonEvents() = default;
  virtual void Click() {}
  // Button: 1 left, 2 right, 4 middle. Shift: 1 Shift, 2 Ctrl, 4 Alt. X, Y: twips from the
  // button's top-left.
  virtual void MouseDown(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/,
                         float& /*Y*/) {}
  virtual void KeyDown(std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
  virtual void KeyUP(std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/) {}
  virtual void KeyPress(std::int16_t& /*KeyAscii*/) {}
  virtual void MouseUp(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/,
                       float& /*Y*/) {}
  virtual void MouseMove(std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/,
                         float& /*Y*/) {}
  virtual void MouseOut() {}
  virtual void MouseOver() {}
  virtual void DBClick() {}
};

class iButton {
 public:
  // A visible button at `bounds` in the parent's client area; nullptr when Windows refuses the
  // window. events must outlive the button.
  static std::unique_ptr<iButton> Create(HWND parent, int id, TwipRect bounds,
                                         iButtonEvents& events);
  // A button restored from saved settings: loaded first, then placed and shown. *loaded (when
  // given) tells whether they loaded: one value that does not convert (type mismatch, overflow)
  // loads none of them, and the button shows its defaults.
  static std::unique_ptr<iButton> Create(HWND parent, int id, TwipRect bounds,
                                         iButtonEvents& events, MemoryPropertyStore& settings,
                                         ControlStatus* loaded);
  ~iButton();
  iButton(const iButton&) = delete;
  iButton& operator=(const iButton&) = delete;

  HWND hwnd() const;

  // Properties. A setter that fails leaves the button as it was.
  std::int32_t Hwnd() const;  // the window handle as a number
  std::int32_t hdc() const;   // the handle of the device context the button draws into
  Picture Image() const;      // what the button shows now

  std::int16_t cDrawMode() const;
  ControlStatus SetcDrawMode(std::int16_t vNewValue);
  Font cFont() const;
  ControlStatus SetcFont(const Font& vNewValue);
  Color cForeColor() const;
  ControlStatus SetcForeColor(Color vNewValue);
  bool AutoSize() const;
  ControlStatus SetAutoSize(bool vNewValue);
  bool Value() const;
  ControlStatus SetValue(bool vNewValue);
  std::int32_t Style() const;
  // A negative style is refused (subscript out of range).
  ControlStatus SetStyle(std::int32_t vNewValue);
  Picture BackPicture() const;
  ControlStatus SetBackPicture(Picture vNewValue);
  bool Enabled() const;
  ControlStatus SetEnabled(bool vNewValue);
  // 0 cuts the window to the frames' shape, 1 keeps it a rectangle. Outside 16 bits: overflow.
  std::int32_t cBackStyle() const;
  ControlStatus SetcBackStyle(std::int32_t tValue);
  const std::u16string& Caption() const;
  ControlStatus SetCaption(std::u16string_view vNewValue);
  // The name a screen reader gives the button instead of its caption; empty: the caption.
  const std::u16string& AccessibleName() const;
  void SetAccessibleName(std::u16string_view name);

  // Shows a state: when cAction differs from the state shown, or vComplePaint is set, cAction
  // becomes the state and the button is drawn in it. Anything but a ButtonState is refused
  // (subscript out of range).
  ControlStatus cMouseAction(std::int32_t cAction, bool vComplePaint);

 private:
  struct Impl;
  explicit iButton(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace px::kit
