#pragma once

#include <array>
#include <functional>

#include "platform/installer_view.h"

namespace px {

// Form1 without a window, for unattended runs: it keeps the texts, shows no message box, and
// ends the program (on_end) where the window would unload.
class HiddenView : public InstallerView {
 public:
  explicit HiddenView(std::function<void()> on_end) : on_end_(std::move(on_end)) {}

  void SetCaption(const Text& text) override { caption_ = text; }
  Text Caption() const override { return caption_; }
  void SetLabel2(const Text&) override {}
  void SetLabel1(int index, const Text& text) override {
    if (index >= 0 && index < kLabel1Count) label1_[static_cast<std::size_t>(index)] = text;
  }
  Text Label1(int index) const override {
    if (index < 0 || index >= kLabel1Count) return Text();
    return label1_[static_cast<std::size_t>(index)];
  }
  void Refresh() override {}
  void ShowMessage(const Text&) override {}
  void Unload() override { End(); }
  void ShowErrorAndEnd(const SystemError&) override { End(); }

  bool ended() const { return ended_; }

 private:
  void End() {
    if (ended_) return;
    ended_ = true;
    if (on_end_) on_end_();
  }

  std::function<void()> on_end_;
  Text caption_;
  std::array<Text, kLabel1Count> label1_;
  bool ended_ = false;
};

}  // namespace px
