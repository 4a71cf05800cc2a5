#pragma once

#include "controls/sim/recording_site.h"

namespace px::sim {

// The recording site as the button's scenes and tests drive it: there a click or double click
// is the user's, moving the mouse, pressing and releasing it, rather than a click notification
// handed straight to the control.
class ButtonSimSite final : public RecordingSite {
 public:
  using RecordingSite::RecordingSite;

  void Click(TwipPoint at, std::int16_t button = kLeftButton) { UserClick(at, button); }
  void DoubleClick(TwipPoint at, std::int16_t button = kLeftButton) { UserDoubleClick(at, button); }
};

}  // namespace px::sim
