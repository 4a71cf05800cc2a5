#pragma once

#include <cstdint>

namespace px {

// What a BForm raises to the window that hosts it. The frame never moves, minimises or closes a
// window itself: the host does that in its handlers. Arguments are passed by reference, as the
// frame received them from the press.
class BFormEvents {
 public:
  virtual ~BFormEvents() = default;
  // A mouse button went down on the frame's own surface (not on one of its buttons); X and Y
  // are twips from the frame's top-left.
  virtual void MouseDown(std::int16_t& /*button*/, std::int16_t& /*shift*/, float& /*x*/,
                         float& /*y*/) {}
  virtual void MinClick() {}
  virtual void CloseClick() {}
  virtual void DblClick() {}
};

}  // namespace px
