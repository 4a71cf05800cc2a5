#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/control_site.h"
#include "controls/sim/recording_surface.h"

namespace px::sim {

// A picture child of a control that logs what is done to it (move, picture, show).
class RecordingImageArea final : public ImageArea {
 public:
  RecordingImageArea(std::string name, OpLog& log, TwipRect bounds, InputListener& input);

  void Move(TwipPoint top_left) override;
  TwipRect Bounds() const override { return bounds_; }
  void SetPicture(PictureRef picture) override;
  const PictureRef& GetPicture() const override { return picture_; }
  void SetVisible(bool visible) override;
  bool Visible() const override { return visible_; }
  void SetToolTip(const Text& text) override { tool_tip_ = text; }

  const std::string& name() const { return name_; }
  const Text& tool_tip() const { return tool_tip_; }
  InputListener& input() const { return input_; }

 private:
  std::string name_;
  OpLog& log_;
  TwipRect bounds_;
  InputListener& input_;
  PictureRef picture_;
  bool visible_ = true;
  Text tool_tip_;
};

// The mouse arguments as the handlers left them.
struct MouseArgs {
  std::int16_t button = 0;
  std::int16_t shift = 0;
  float x = 0;
  float y = 0;
};

// The simulated host's side of one control: its surface (logged, and drawn for real when given
// an inner surface), its size, its children, and the notifications a host window would deliver.
// Mouse input is given at a point of the control and goes, as on Windows, to the visible child
// under it (the last made on top), else to the control itself.
class RecordingSite final : public ControlSite {
 public:
  RecordingSite(std::string name, OpLog& log, TwipSize size,
                std::unique_ptr<SizedSurface> inner = nullptr);

  void Attach(ControlNotifications* control) override { control_ = control; }
  Surface& GetSurface() override { return surface_; }
  TwipSize Size() const override { return size_; }
  // Logged whenever it is asked for; a negative width or height becomes 0, as windows have it.
  void SetSize(TwipSize size) override;
  void PropertyChanged(TextView key) override { changed_.emplace_back(key); }
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

  // What a host window does with the control.
  void Site();  // the first resize once the control is placed, then its show
  ControlStatus Load(PropertyStore& store);
  ControlStatus Save(PropertyStore& store);
  MouseArgs MouseDown(TwipPoint at, std::int16_t button = kLeftButton, std::int16_t shift = 0);
  MouseArgs MouseUp(TwipPoint at, std::int16_t button = kLeftButton, std::int16_t shift = 0);
  MouseArgs MouseMove(TwipPoint at, std::int16_t button = 0, std::int16_t shift = 0);
  void Click(TwipPoint at);
  void DblClick(TwipPoint at);

  const std::string& name() const { return name_; }
  RecordingSurface& recording_surface() { return surface_; }
  // Live children, in the order they were made.
  std::vector<RecordingImageArea*> image_areas() const;
  RecordingImageArea* ImageAreaNamed(std::string_view name) const;
  // Keys of every property-changed notice, in order.
  const std::vector<Text>& changed_properties() const { return changed_; }

 private:
  class AreaHandle;
  using Delivery = void (InputListener::*)(std::int16_t&, std::int16_t&, float&, float&);
  // The child under the point, or nullptr for the control's own surface.
  RecordingImageArea* HitTest(TwipPoint at) const;
  MouseArgs Deliver(Delivery delivery, TwipPoint at, std::int16_t button, std::int16_t shift);

  std::string name_;
  OpLog& log_;
  TwipSize size_;
  RecordingSurface surface_;
  ControlNotifications* control_ = nullptr;
  std::vector<RecordingImageArea*> areas_;
  std::vector<Text> changed_;
};

// A host window of the simulated machine: a logged surface and an outer size.
class RecordingHostWindow final : public HostWindow {
 public:
  RecordingHostWindow(std::string name, OpLog& log, TwipSize outer_size,
                      std::unique_ptr<SizedSurface> inner = nullptr);
  Surface& GetSurface() override { return surface_; }
  TwipSize OuterSize() const override { return outer_size_; }
  void SetOuterSize(TwipSize size);
  RecordingSurface& recording_surface() { return surface_; }

 private:
  TwipSize outer_size_;
  RecordingSurface surface_;
};

}  // namespace px::sim
