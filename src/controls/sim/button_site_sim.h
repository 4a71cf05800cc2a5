#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/common/button_site.h"
#include "controls/sim/button_api_sim.h"
#include "controls/sim/recording_surface.h"

namespace px::sim {

// The simulated host's side of one image button: a child window on the simulated desktop with
// a logged surface (drawn for real when given an inner surface), and the user's hand on mouse
// and keyboard. Besides the surface's lines it logs
//   paint   CONTROL  N  x,y,w,h        frame N drawn stretched into the rectangle
//   region  CONTROL  on|off            the shape mask taking effect (again) or ending
//   size    CONTROL  width,height      a size asked for
//   error   CONTROL  number  text      an error the button met while handling a notification
//
// Input goes where Windows would send it: a press goes to the window under the cursor (a
// disabled button is passed by, so it hears nothing), the button then holds the capture and
// hears moves and the release wherever the pointer is, and a release over the button after a
// press on it is a click. Keys go to the button while it has the focus and is enabled; a press
// on it gives it the focus.
class ButtonSimSite final : public ButtonSite {
 public:
  ButtonSimSite(std::string name, OpLog& log, SimButtonApi& api, TimerFactory& timers,
                std::int32_t parent_hwnd, TwipPoint position, TwipSize size,
                std::unique_ptr<SizedSurface> inner = nullptr);
  ~ButtonSimSite() override;
  ButtonSimSite(const ButtonSimSite&) = delete;
  ButtonSimSite& operator=(const ButtonSimSite&) = delete;

  // ControlSite.
  void Attach(ControlNotifications* control) override { control_ = control; }
  Surface& GetSurface() override { return surface_; }
  TwipSize Size() const override { return size_; }
  void SetSize(TwipSize size) override;
  void PropertyChanged(TextView key) override { changed_.emplace_back(key); }
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

  // ButtonSite.
  std::int32_t Hwnd() const override { return hwnd_; }
  GdiHandle Hdc() const override { return hdc_; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  std::int16_t BackStyle() const override { return back_style_; }
  void SetBackStyle(std::int16_t style) override;
  void SetSurfacePicture(PictureRef picture) override;
  const PictureRef& SurfacePicture() const override { return surface_picture_; }
  std::int16_t DrawMode() const override { return draw_mode_; }
  void SetDrawMode(std::int16_t mode) override { draw_mode_ = mode; }
  void PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) override;
  TimerFactory& ChildTimers() override { return timers_; }
  ButtonApi& Api() override { return api_; }
  void ReportError(const ControlError& error) override;

  // What the host window does with the control.
  void Site();  // the first resize once the control is placed, then its first show
  void Show();
  ControlStatus Load(PropertyStore& store);
  ControlStatus Save(PropertyStore& store);

  // What the user does. Points are in the control's twips and may lie outside it.
  void MoveTo(TwipPoint at);
  void MoveAway();  // to a point of the screen far from every window
  void Press(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  void Release(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  // The second press of a double click: a double-click notification in place of the press.
  void DoublePress(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  void Click(TwipPoint at, std::int16_t button = kLeftButton);
  void DoubleClick(TwipPoint at, std::int16_t button = kLeftButton);
  void Focus();
  void Unfocus();
  void KeyDown(std::int16_t key_code, std::int16_t shift = 0);
  void KeyUp(std::int16_t key_code, std::int16_t shift = 0);
  void KeyPress(std::int16_t key_ascii);

  const std::string& name() const { return name_; }
  RecordingSurface& recording_surface() { return surface_; }
  const std::vector<Text>& changed_properties() const { return changed_; }
  const std::vector<ControlError>& errors() const { return errors_; }
  bool focused() const { return focused_; }
  bool region_on() const { return region_on_; }
  TwipPoint position() const { return position_; }
  // The control as the screen shows it: the surface's image, with every pixel that the shape
  // mask leaves see-through made transparent.
  PictureRef VisibleImage() const;

 private:
  bool CursorOverControl() const;
  void UpdateRegion(bool reshaped);
  void PlaceWindow();
  void Deliver(void (ControlNotifications::*notification)(std::int16_t&, std::int16_t&, float&,
                                                          float&),
               std::int16_t button, std::int16_t shift);

  std::string name_;
  OpLog& log_;
  SimButtonApi& api_;
  TimerFactory& timers_;
  std::int32_t parent_hwnd_;
  TwipPoint position_;
  TwipSize size_;
  RecordingSurface surface_;
  std::int32_t hwnd_ = 0;
  GdiHandle hdc_ = 0;
  ControlNotifications* control_ = nullptr;

  bool enabled_ = true;
  std::int16_t back_style_ = 1;
  std::int16_t draw_mode_ = 13;
  PictureRef surface_picture_;
  bool region_on_ = false;

  TwipPoint cursor_{-100000, -100000};  // in the control's twips
  std::int16_t held_ = 0;
  bool captured_ = false;
  bool click_pending_ = false;
  bool focused_ = false;

  std::vector<Text> changed_;
  std::vector<ControlError> errors_;
};

}  // namespace px::sim
