#include "platform/sim/terminal_view.h"

#include <istream>
#include <ostream>
#include <string>

#include "base/utf.h"

namespace px::sim {

namespace {
constexpr const char* kCyanOnBlack = "\x1b[36;40m";
constexpr const char* kTitleBar = "\x1b[30;46m";
constexpr const char* kReset = "\x1b[0m";
constexpr const char* kClearLine = "\x1b[K";

// Control characters would move the cursor; the window shows them as nothing visible.
std::string Printable(TextView text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    if (static_cast<unsigned char>(c) >= 0x20 || c < 0) out += c;
  }
  return out;
}
}  // namespace

TerminalView::~TerminalView() {
  if (drawn_) out_ << kReset << "\n" << std::flush;
}

void TerminalView::Paint(const WindowImage& image) {
  // Appends only: GCC 12 warns falsely on "literal" + std::string in optimised builds.
  std::string frame = drawn_ ? "\x1b[H" : "\x1b[2J\x1b[H";
  auto line = [&frame](const char* colour, const char* indent, const Text& text) {
    frame.append(colour).append(indent).append(Printable(text)).append(kClearLine).append("\n");
  };
  line(kTitleBar, " ", image.caption);
  frame.append(kReset);
  line(kCyanOnBlack, "  ", image.label2);
  for (const Text& text : image.label1) line("", "  ", text);
  frame.append(kReset).append(kClearLine);
  out_ << frame << std::flush;
  drawn_ = true;
}

void TerminalView::ShowMessage(const WindowImage& image, const Text& title, const Text& text) {
  Paint(image);
  out_ << "\n  [ " << Printable(title) << " ]  ";
  // The box's text may hold a second line.
  for (char c : ToUtf8(text)) out_ << (c == '\n' ? std::string("\n  ") : std::string(1, c));
  out_ << "\n  " << (in_ ? "[ OK: press Enter ]" : "[ OK ]") << "\n" << std::flush;
  if (in_) {
    std::string line;
    std::getline(*in_, line);
  }
}

}  // namespace px::sim
