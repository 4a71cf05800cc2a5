#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/button_site.h"
#include "controls/sim/button_api_sim.h"
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

// The simulated host's side of one control, the frame's or the button's: a child window on the
// simulated desktop with a logged surface (drawn for real when given an inner surface), its
// size, its picture children, its shape mask, and the notifications a host window delivers.
// Besides the surface's lines it logs
//   size    CONTROL  width,height      a size asked for
//   paint   CONTROL  N  x,y,w,h        frame N drawn stretched into the rectangle
//   region  CONTROL  on|off            a new shape taking effect, or the shape ending
//   error   CONTROL  number  text      an error the control met while handling a notification
// and, when the log reads the controls (OpLog::ReadAccessibility), the control's accessible
// description (AccessibleLines) once it is attached, then each element again that changed when
// the control reports a change.
//
// Input comes in two ways. Handed straight to the control (MouseDown, MouseUp, MouseMove at a
// point, Click, DblClick): it goes to the visible child under the point (the last made on
// top), else to the control. Or through the user's hand on mouse and keyboard (MoveTo, Press,
// Release, ...), going where Windows would send it: a press goes to the window under the cursor
// (a disabled control, or a see-through pixel of its shape, is passed by) and to the element
// there, a child or the control; that element then holds the capture and hears moves and
// releases wherever the pointer is, until the last button is up; that release over the same
// element is a click. Keys go to the control while it has the focus and is enabled; a press
// on it gives it the focus.
//
// The shape mask (ShapeMask) gives the window its shape on the desktop, which finds the window
// only there; a style made opaque ends the shape at the next input or timer tick, as the next
// message does on Windows.
class RecordingSite : public ButtonSite {
 public:
  // A control at the top-left of a desktop of its own, whose timers never tick.
  RecordingSite(std::string name, OpLog& log, TwipSize size,
                std::unique_ptr<SizedSurface> inner = nullptr);
  // A control window at position (twips) in parent_hwnd's window on api's desktop, its timers
  // made by timers.
  RecordingSite(std::string name, OpLog& log, SimButtonApi& api, TimerFactory& timers,
                std::int32_t parent_hwnd, TwipPoint position, TwipSize size,
                std::unique_ptr<SizedSurface> inner = nullptr);
  ~RecordingSite() override;
  RecordingSite(const RecordingSite&) = delete;
  RecordingSite& operator=(const RecordingSite&) = delete;

  // ControlSite.
  void Attach(ControlNotifications* control) override;
  Surface& GetSurface() override { return surface_; }
  TwipSize Size() const override { return size_; }
  // Logged whenever it is asked for; a negative width or height becomes 0, as windows have it.
  void SetSize(TwipSize size) override;
  void PropertyChanged(TextView key) override { changed_.emplace_back(key); }
  bool Visible() const override { return visible_; }
  void AccessibleChanged() override;
  std::unique_ptr<ImageArea> CreateImageArea(std::string_view name, TwipRect bounds,
                                             InputListener& input) override;

  // ButtonSite.
  std::int32_t Hwnd() const override { return hwnd_; }
  GdiHandle Hdc() const override { return hdc_; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  std::int16_t BackStyle() const override { return mask_.back_style(); }
  void SetBackStyle(std::int16_t style) override;
  void SetSurfacePicture(PictureRef picture) override;
  const PictureRef& SurfacePicture() const override { return mask_.picture(); }
  std::int16_t DrawMode() const override { return draw_mode_; }
  void SetDrawMode(std::int16_t mode) override { draw_mode_ = mode; }
  void PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) override;
  TimerFactory& ChildTimers() override;
  ButtonApi& Api() override { return *api_; }
  void ReportError(const ControlError& error) override;

  // What the host window does with the control.
  void Site();  // the first resize once the control is placed, then its first show
  // Shows or hides the control's window (a hidden window is not found under the pointer).
  void SetVisible(bool visible);
  void Show();
  ControlStatus Load(PropertyStore& store);
  ControlStatus Save(PropertyStore& store);

  // Input handed straight to the control or its child at a point of the control.
  MouseArgs MouseDown(TwipPoint at, std::int16_t button = kLeftButton, std::int16_t shift = 0);
  MouseArgs MouseUp(TwipPoint at, std::int16_t button = kLeftButton, std::int16_t shift = 0);
  MouseArgs MouseMove(TwipPoint at, std::int16_t button = 0, std::int16_t shift = 0);
  void Click(TwipPoint at);
  void DblClick(TwipPoint at);

  // What the user does. Points are in the control's twips and may lie outside it.
  void MoveTo(TwipPoint at);
  void MoveAway();  // to a point of the screen far from every window
  void Press(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  void Release(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  // The second press of a double click: a double-click notification in place of the press.
  void DoublePress(std::int16_t button = kLeftButton, std::int16_t shift = 0);
  // Move, press and release; and that followed by the second press and its release.
  void UserClick(TwipPoint at, std::int16_t button = kLeftButton);
  void UserDoubleClick(TwipPoint at, std::int16_t button = kLeftButton);
  void Focus();
  void Unfocus();
  void KeyDown(std::int16_t key_code, std::int16_t shift = 0);
  void KeyUp(std::int16_t key_code, std::int16_t shift = 0);
  void KeyPress(std::int16_t key_ascii);

  const std::string& name() const { return name_; }
  RecordingSurface& recording_surface() { return surface_; }
  // Live children, in the order they were made.
  std::vector<RecordingImageArea*> image_areas() const { return areas_; }
  RecordingImageArea* ImageAreaNamed(std::string_view name) const;
  // Keys of every property-changed notice, in order.
  const std::vector<Text>& changed_properties() const { return changed_; }
  const std::vector<ControlError>& errors() const { return errors_; }
  bool focused() const { return focused_; }
  // Whether a shape is in force, and how many times one took effect or ended.
  bool region_on() const { return mask_.on(); }
  int region_changes() const { return mask_.changes(); }
  TwipPoint position() const { return position_; }
  // The control as the screen shows it: the surface's image, with every pixel that the shape
  // leaves see-through made transparent.
  PictureRef VisibleImage() const;

 private:
  class AreaHandle;
  class Timers;
  RecordingSite(std::string name, OpLog& log, std::unique_ptr<SimButtonApi> api,
                std::unique_ptr<TimerFactory> timers, TwipSize size,
                std::unique_ptr<SizedSurface> inner);
  using Delivery = void (InputListener::*)(std::int16_t&, std::int16_t&, float&, float&);

  // The child under the point, or nullptr for the control's own surface; and the listener of
  // that child, or the control.
  RecordingImageArea* HitTest(TwipPoint at) const;
  InputListener* ElementAt(TwipPoint at) const;
  MouseArgs Deliver(Delivery delivery, TwipPoint at, std::int16_t button, std::int16_t shift);
  // The element of the user's input under the cursor (a child's listener or the control), and
  // an element's top-left.
  InputListener* ElementUnderCursor() const;
  TwipPoint OriginOf(const InputListener& element) const;
  void DeliverToHand(Delivery delivery, InputListener& element, std::int16_t button,
                     std::int16_t shift);
  bool CursorOverControl() const;
  void PlaceWindow();
  void Reshape(ShapeMask::Step step);
  // What the message loop does before it hands the control the next message.
  void SettleRegion();
  // Logs the elements of the description that differ from those logged last.
  void ReadAccessible();

  std::string name_;
  OpLog& log_;
  std::unique_ptr<SimButtonApi> own_api_;
  std::unique_ptr<TimerFactory> own_timers_;
  SimButtonApi* api_;
  std::unique_ptr<Timers> timers_;
  std::int32_t parent_hwnd_;
  TwipPoint position_;
  TwipSize size_;
  RecordingSurface surface_;
  std::int32_t hwnd_ = 0;
  GdiHandle hdc_ = 0;
  ControlNotifications* control_ = nullptr;
  std::vector<RecordingImageArea*> areas_;
  std::vector<Text> changed_;
  std::vector<ControlError> errors_;

  bool enabled_ = true;
  bool visible_ = true;
  std::vector<std::string> read_;  // the accessible lines logged last
  std::int16_t draw_mode_ = 13;
  ShapeMask mask_;

  TwipPoint cursor_{-100000, -100000};  // in the control's twips
  std::int16_t held_ = 0;
  InputListener* captured_ = nullptr;
  bool click_pending_ = false;
  bool focused_ = false;
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
