#pragma once

#include <iostream>
#include <ostream>
#include <string>

#include "base/utf.h"
#include "platform/message_boxes.h"
#include "platform/sim/fault_plan.h"

namespace px::sim {

// The boxes of a run without a window on the simulated PC. Nobody is there to answer: a
// question gets its default button, Yes. With a terminal the boxes are printed there; the usage
// goes to px-sim's standard output and an error box to its standard error (or to errors),
// terminal or not. The machine's faults may fail any box: it is not shown, and a question that
// was not shown has no answer.
class SimMessageBoxes : public MessageBoxes, public FaultHook {
 public:
  explicit SimMessageBoxes(std::ostream* terminal, Text title = u"px-installer",
                           std::ostream* errors = &std::cerr)
      : out_(terminal), errors_(errors), title_(std::move(title)) {}

  void ShowMessage(const Text& text) override {
    if (!Injected("MessageBox")) Print(text, "[ OK ]");
  }
  Expected<bool> AskYesNo(const Text& text) override {
    if (const std::uint32_t error = Injected("MessageBox")) {
      return PlannedError(u"MessageBoxW", error);
    }
    Print(text, "[ Yes ]  No");
    return true;
  }
  void ShowUsage(const Text& text) override {
    if (!Injected("MessageBox")) std::cout << ToUtf8(text) << "\n";
  }
  void ShowError(const Text& text) override {
    if (!Injected("MessageBox") && errors_) *errors_ << ToUtf8(text) << "\n";
  }

 private:
  void Print(const Text& text, const char* buttons) {
    if (!out_) return;
    *out_ << "\n  [ " << ToUtf8(title_) << " ]  ";
    for (char c : ToUtf8(text)) *out_ << (c == '\n' ? std::string("\n  ") : std::string(1, c));
    *out_ << "\n  " << buttons << "\n" << std::flush;
  }

  std::ostream* out_;
  std::ostream* errors_;
  Text title_;
};

}  // namespace px::sim
