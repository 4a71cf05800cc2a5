#pragma once

#include <array>
#include <functional>
#include <vector>

#include "platform/installer_view.h"

namespace px::sim {

// What the window shows at one moment; terminal and picture views draw it.
struct WindowImage {
  Text caption;
  Text label2;
  std::array<Text, InstallerView::kLabel1Count> label1;
};

// Receives the window's paints and its message box.
class WindowPainter {
 public:
  virtual ~WindowPainter() = default;
  virtual void Paint(const WindowImage& image) = 0;
  // Shows the modal box and returns once the user has confirmed it.
  virtual void ShowMessage(const WindowImage& image, const Text& title, const Text& text) = 0;
};

// The simulated Form1: keeps the texts and paints through the painters. Its trace is written by
// the run log's LoggedView in front of it, as on Windows.
class SimView : public InstallerView {
 public:
  enum class EndKind { kRunning, kUnload, kClosed, kError };

  explicit SimView(std::function<void()> on_end, Text title = u"px-installer")
      : on_end_(std::move(on_end)), title_(std::move(title)) {}

  void AddPainter(WindowPainter* painter) { painters_.push_back(painter); }

  void SetCaption(const Text& text) override;
  Text Caption() const override { return image_.caption; }
  void SetLabel2(const Text& text) override;
  void SetLabel1(int index, const Text& text) override;
  Text Label1(int index) const override;
  void Refresh() override;
  void ShowMessage(const Text& text) override;
  void Unload() override;
  void ShowErrorAndEnd(const SystemError& error) override;

  // The user closes the window with its system close button.
  void Close();
  // Paints without a trace line, as the message loop does between ticks.
  void Paint();

  const WindowImage& image() const { return image_; }
  EndKind end() const { return end_; }

 private:
  void End(EndKind kind);

  std::function<void()> on_end_;
  Text title_;
  WindowImage image_;
  std::vector<WindowPainter*> painters_;
  EndKind end_ = EndKind::kRunning;
};

}  // namespace px::sim
