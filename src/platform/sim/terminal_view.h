#pragma once

#include <iosfwd>

#include "platform/sim/sim_view.h"

namespace px::sim {

// Draws the window in a terminal: the caption, the provider line and the fifteen status
// lines, cyan on black, redrawn in place. The message box waits for Enter when asked to.
class TerminalView : public WindowPainter {
 public:
  TerminalView(std::ostream& out, std::istream* confirm_from) : out_(out), in_(confirm_from) {}
  ~TerminalView() override;

  void Paint(const WindowImage& image) override;
  void ShowMessage(const WindowImage& image, const Text& title, const Text& text) override;

 private:
  std::ostream& out_;
  std::istream* in_;  // nullptr: the box is answered at once
  bool drawn_ = false;
};

}  // namespace px::sim
