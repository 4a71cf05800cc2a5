#pragma once

#include "base/text.h"
#include "platform/system_error.h"

namespace px {

// The modal message boxes of a run without its window (the usage, a command line not
// understood, a failure before the window exists, the removal of the printers), titled with the
// program's title.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // One OK button, no icon; returns when the user has confirmed it.
  virtual void ShowMessage(const Text& text) = 0;
  // Yes and No, Yes the default button; true when the answer is Yes. The error when Windows
  // could not show the box: nobody answered, neither Yes nor No.
  virtual Expected<bool> AskYesNo(const Text& text) = 0;
  // One OK button with the information icon: the usage.
  virtual void ShowUsage(const Text& text) = 0;
  // One OK button with the error icon.
  virtual void ShowError(const Text& text) = 0;
};

}  // namespace px
