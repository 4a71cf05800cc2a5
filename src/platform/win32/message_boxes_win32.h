#pragma once

#include "platform/message_boxes.h"

namespace px::win32 {

// Message boxes of their own, without an owner window: the removal runs without the installer's
// window, and the usage and the failures before it exist have none. The removal's boxes are
// brought to the foreground.
class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(Text title) : title_(std::move(title)) {}
  void ShowMessage(const Text& text) override;
  Expected<bool> AskYesNo(const Text& text) override;
  void ShowUsage(const Text& text) override;
  void ShowError(const Text& text) override;

 private:
  Text title_;
};

}  // namespace px::win32
