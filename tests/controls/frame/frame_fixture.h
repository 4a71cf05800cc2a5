#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/frame/bform.h"
#include "controls/sim/recording_site.h"

namespace px::test {

// What the host heard from the frame, one line per event.
class EventLog final : public BFormEvents {
 public:
  void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    lines.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(shift) + " " +
                    std::to_string(static_cast<int>(x)) + " " +
                    std::to_string(static_cast<int>(y)));
    if (on_mouse_down) on_mouse_down(button, shift, x, y);
  }
  void MinClick() override { lines.push_back("MinClick"); }
  void CloseClick() override { lines.push_back("CloseClick"); }
  void DblClick() override { lines.push_back("DblClick"); }

  std::vector<std::string> lines;
  std::function<void(std::int16_t&, std::int16_t&, float&, float&)> on_mouse_down;
};

// A frame on a logging site, its skin's pictures named as the log names them.
class FrameTest : public testing::Test {
 protected:
  FrameTest() : skin_(DrawFrameSkin()), site_("BForm", log_, {4800, 405}) {
    log_.NamePicture(skin_.pp.get(), "PP");
    log_.NamePicture(skin_.pi3.get(), "Pi3");
    log_.NamePicture(skin_.pi4.get(), "Pi4");
    log_.NamePicture(skin_.pi1.get(), "pi1");
    log_.NamePicture(skin_.pi2.get(), "pi2");
    frame_ = std::make_unique<BForm>(site_, skin_, events_);
  }

  // The lines logged since the last call.
  std::vector<std::string> TakeLog() {
    std::vector<std::string> lines = log_.lines();
    log_.ClearLines();
    return lines;
  }

  sim::RecordingImageArea& Area(const char* name) { return *site_.ImageAreaNamed(name); }

  sim::OpLog log_;
  FrameSkin skin_;
  sim::RecordingSite site_;
  EventLog events_;
  std::unique_ptr<BForm> frame_;
};

}  // namespace px::test
