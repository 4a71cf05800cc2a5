#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/sim/event_loop.h"
#include "controls/button/ibutton.h"
#include "controls/common/picture.h"
#include "controls/sim/button_site_sim.h"

namespace px {

// Events as lines ("MouseDown 1 0"), with hooks that may change the by-reference arguments.
class RecordedEvents : public iButtonEvents {
 public:
  std::vector<std::string> lines;
  std::function<void(std::int16_t& button)> on_mouse_down;
  std::function<void(std::int16_t& key_code)> on_key_down;
  std::function<void(std::int16_t& button)> on_mouse_up;
  std::function<void(std::int16_t& key_code)> on_key_up;
  std::function<void()> on_click;

  int Count(const std::string& line) const {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  void Click() override {
    lines.push_back("Click");
    if (on_click) on_click();
  }
  void MouseDown(std::int16_t& button, std::int16_t& shift, float&, float&) override {
    if (on_mouse_down) on_mouse_down(button);
    lines.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(shift));
  }
  void KeyDown(std::int16_t& key_code, std::int16_t&) override {
    if (on_key_down) on_key_down(key_code);
    lines.push_back("KeyDown " + std::to_string(key_code));
  }
  void KeyUP(std::int16_t& key_code, std::int16_t&) override {
    if (on_key_up) on_key_up(key_code);
    lines.push_back("KeyUP " + std::to_string(key_code));
  }
  void KeyPress(std::int16_t& key_ascii) override {
    lines.push_back("KeyPress " + std::to_string(key_ascii));
  }
  void MouseUp(std::int16_t& button, std::int16_t& shift, float&, float&) override {
    if (on_mouse_up) on_mouse_up(button);
    lines.push_back("MouseUp " + std::to_string(button) + " " + std::to_string(shift));
  }
  void MouseMove(std::int16_t& button, std::int16_t&, float&, float&) override {
    lines.push_back("MouseMove " + std::to_string(button));
  }
  void MouseOut() override { lines.push_back("MouseOut"); }
  void MouseOver() override { lines.push_back("MouseOver"); }
  void DBClick() override { lines.push_back("DBClick"); }
};

// A strip whose pixel in column c is the colour c (red and green hold the column), so that a
// frame's pixels tell which columns of the strip it was cut from.
inline PictureRef ColumnStrip(std::int32_t width, std::int32_t height) {
  std::vector<Argb> pixels;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      pixels.push_back(OpaqueArgb(static_cast<std::uint8_t>(x >> 8), static_cast<std::uint8_t>(x),
                                  static_cast<std::uint8_t>(y)));
    }
  }
  return MakePixelPicture(width, height, std::move(pixels));
}

inline std::int32_t ColumnOf(Argb pixel) { return static_cast<std::int32_t>(pixel >> 8 & 0xFFFF); }

// A button on a host window of the simulated desktop, with a virtual clock. The host window
// lies at (100, 100) on the screen and the button at (100, 100) pixels inside it.
class ButtonTest : public ::testing::Test {
 protected:
  static constexpr TwipPoint kInside = {300, 150};
  static constexpr TwipPoint kOutside = {-600, -600};

  std::vector<std::string> Lines(const std::string& kind) const {
    std::vector<std::string> out;
    for (const std::string& line : log.lines()) {
      if (line.rfind(kind + "\t", 0) == 0) out.push_back(line);
    }
    return out;
  }
  // The frame numbers painted since the log was last cleared.
  std::vector<int> Painted() const {
    std::vector<int> frames;
    for (const std::string& line : Lines("paint")) {
      const std::size_t a = line.find('\t', 6) + 1;
      frames.push_back(std::stoi(line.substr(a, line.find('\t', a) - a)));
    }
    return frames;
  }
  PictureRef Frame(std::int32_t state) const {
    const ControlResult<PictureRef> frame = button->GetStateFrame(state);
    EXPECT_TRUE(frame.ok());
    return frame.ok() ? frame.value() : nullptr;
  }
  void RunFor(std::int64_t ms) { loop.Run(loop.NowMs() + ms); }
  // A loaded button with a 400 x 30 strip, shown, as a host places it.
  void Place(std::int32_t style, bool auto_size = true, PictureRef strip = ColumnStrip(400, 30)) {
    ASSERT_TRUE(button->SetStyle(style));
    ASSERT_TRUE(button->SetAutoSize(auto_size));
    ASSERT_TRUE(button->SetBackPicture(std::move(strip)));
    site.Site();
    log.ClearLines();
  }

  sim::OpLog log;
  sim::EventLoop loop{sim::EventLoop::Clock::kVirtual};
  sim::SimButtonApi api;
  std::int32_t host = api.AddWindow(0, {100, 100, 800, 600});
  sim::ButtonSimSite site{"button", log, api, loop, host, {1500, 1500}, iButton::kDesignSize};
  RecordedEvents events;
  std::unique_ptr<iButton> button = std::make_unique<iButton>(site, events);
};

}  // namespace px
