#pragma once

#include <cstdint>

namespace px {

// The ten events an iButton raises to the window that hosts it, in their declared order. The
// arguments are references: after MouseDown, MouseUp, KeyDown and KeyUP the button reads Button
// or KeyCode back, so a handler that changes them changes what the button does next. Handlers
// run synchronously inside the raising call and may set the button's properties.
class iButtonEvents {
 public:
  virtual ~iButtonEvents() = default;
  virtual void Click() {}
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

}  // namespace px
