#pragma once

#include "base/text.h"

namespace px {

// Modal message boxes of a run that has no window (the removal of the printers), titled with
// the program's title.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // One OK button, no icon; returns when the user has confirmed it.
  virtual void ShowMessage(const Text& text) = 0;
  // Yes and No, Yes the default button; true when the answer is Yes.
  virtual bool AskYesNo(const Text& text) = 0;
};

}  // namespace px
