#pragma once

#include <filesystem>
#include <optional>

#include "platform/sim/sim_view.h"

namespace px::sim {

// Writes a PNG picture of the installer's window at every visible change, with the real
// window's geometry at 96 dpi: a 681 x 453 black client area under a title bar, the sixteen
// labels cyan in a 10.5 pt CJK font, each one line high and cut off at its right edge; the
// message box drawn over the window while it is shown.
class WindowSnapshot : public WindowPainter {
 public:
  WindowSnapshot(std::filesystem::path dir, std::function<std::int64_t()> now_ms);

  void Paint(const WindowImage& image) override;
  void ShowMessage(const WindowImage& image, const Text& title, const Text& text) override;

  int written() const { return count_; }

 private:
  struct Box {
    Text title;
    Text text;
  };
  void Write(const WindowImage& image, const std::optional<Box>& box);

  std::filesystem::path dir_;
  std::function<std::int64_t()> now_ms_;
  std::optional<WindowImage> last_;
  int count_ = 0;
};

// Renders one picture to a PNG file; returns false when it cannot be written.
bool RenderWindowPng(const WindowImage& image, const Text* box_title, const Text* box_text,
                     const std::filesystem::path& file);

}  // namespace px::sim
