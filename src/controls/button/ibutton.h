#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/text.h"
#include "base/timers.h"
#include "controls/button/button_events.h"
#include "controls/button/button_state.h"
#include "controls/common/button_site.h"
#include "controls/common/control_error.h"
#include "controls/common/font.h"
#include "controls/common/picture.h"
#include "controls/common/property_store.h"

namespace px {

// iButton is an owner-drawn button whose whole look comes from one picture, the BackPicture: a
// horizontal strip of equal frames, one per visual state, over which the caption is printed
// centred. It works as a push button (Style 0) or a toggle button (Style 1). It notices the
// pointer entering through mouse moves and leaving by polling the cursor with its child timer
// Timer1, raises its ten events to the host, and keeps its settings in the host's property
// store.
//
// A visual state is one ButtonState, mState, which changes only through cMouseAction; painting
// is a function of that state and the properties. Input handlers change state and repaint.
class iButton final : public ControlNotifications {
 public:
  // Fixed design values of the control window.
  static constexpr Color kDesignBackColor = kWhite;
  static constexpr TwipSize kDesignSize = {7710, 4425};
  static constexpr std::uint32_t kTimer1IntervalMs = 50;
  // What a load of saved settings falls back to for an absent key (the fore colour, font and
  // draw mode fall back to what the surface holds).
  static constexpr bool kStoredEnabledDefault = true;
  static constexpr std::int16_t kStoredBackStyleDefault = 1;
  static constexpr std::int16_t kStoredStyleDefault = 0;
  static constexpr bool kStoredAutoSizeDefault = true;

  // Creation: the button attaches itself to the site, builds its (still empty) frames, which
  // paints an empty white surface, and starts Timer1.
  iButton(ButtonSite& site, iButtonEvents& events);
  // Destruction: the frames and the BackPicture are released.
  ~iButton() override;
  iButton(const iButton&) = delete;
  iButton& operator=(const iButton&) = delete;

  // Properties. A setter that fails leaves the button as it was.
  std::int32_t Hwnd() const;
  std::int32_t hdc() const;
  PictureRef Image() const;

  std::int16_t cDrawMode() const;
  ControlStatus SetcDrawMode(std::int16_t vNewValue);
  const Font& cFont() const;
  ControlStatus SetcFont(const Font& vNewValue);
  Color cForeColor() const;
  ControlStatus SetcForeColor(Color vNewValue);
  bool AutoSize() const { return mAutoSize; }
  ControlStatus SetAutoSize(bool vNewValue);
  bool Value() const { return mValue; }
  ControlStatus SetValue(bool vNewValue);
  std::int32_t Style() const { return mStyle; }
  // A negative style is refused with an index-out-of-range error (it would leave the frame
  // list an upper bound below 0).
  ControlStatus SetStyle(std::int32_t vNewValue);
  const PictureRef& BackPicture() const { return mBackPicture; }
  ControlStatus SetBackPicture(PictureRef vNewValue);
  bool Enabled() const;
  ControlStatus SetEnabled(bool vNewValue);
  std::int32_t cBackStyle() const;
  // The surface keeps the style in 16 bits: a value outside is an overflow error.
  ControlStatus SetcBackStyle(std::int32_t tValue);
  const Text& Caption() const { return mCaption; }
  ControlStatus SetCaption(const Text& vNewValue);
  // The name a screen reader gives the button instead of its caption; empty: the caption. A
  // button that shows only a picture needs one. Saved and loaded under "AccessibleName".
  const Text& AccessibleName() const { return accessible_name_; }
  void SetAccessibleName(const Text& name);

  // Shows a state: when cAction differs from the state shown, or vComplePaint is set, cAction
  // becomes the state and the button is drawn in it. cAction must be a ButtonState (0 to 3);
  // anything else is an index-out-of-range error and changes nothing.
  ControlStatus cMouseAction(std::int32_t cAction, bool vComplePaint);

  // Host notifications.
  void OnResize() override;
  void OnShow() override;
  ControlStatus OnReadProperties(PropertyStore& store) override;
  ControlStatus OnWriteProperties(PropertyStore& store) override;
  void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void OnMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void OnClick() override;
  void OnDblClick() override;
  void OnKeyDown(std::int16_t& key_code, std::int16_t& shift) override;
  void OnKeyUp(std::int16_t& key_code, std::int16_t& shift) override;
  void OnKeyPress(std::int16_t& key_ascii) override;
  void OnGotFocus() override;
  void OnLostFocus() override;

  // What a screen reader is told: a push button (Style 1: a check button) named by
  // AccessibleName or the caption, its state from the state shown, the enabled flag, the value
  // and the focus. The default action clicks the button as the left mouse button does, with the
  // same events in the same order (MouseDown, MouseUp, Click) and a toggle inverted; it is
  // there while the button is enabled and shown.
  AccessibleDescription Describe(UiLanguage language) const override;
  bool DoDefaultAction(std::int32_t child) override;

  // The state last given to cMouseAction, and Timer1, for hosts and tests that look at them.
  ButtonState State() const { return static_cast<ButtonState>(mState); }
  const Timer& Timer1() const { return *timer1_; }
  bool FramesReady() const { return mFramesReady; }
  // The frame that shows a state (none while no frames are cut); an index-out-of-range error
  // for a number past the frames.
  ControlResult<PictureRef> GetStateFrame(std::int32_t state) const;
  std::int32_t GetFrameWidth() const;
  std::int32_t GetFrameHeight() const;

 private:
  // Frames 0 to 4*mStyle+3, cut from the strip. Frames that start past the strip's right edge
  // (only styles above 1 have them) or that have no area are all one blank frame, cut once, so
  // that a large Style neither cuts nor holds millions of pictures.
  struct Frames {
    std::vector<PictureRef> cut;
    PictureRef blank;
    std::int64_t count = 0;
    void Clear() { *this = Frames(); }
  };

  void Timer1_Timer();
  bool IsCursorOverButton();
  ButtonState GetCurrentState();
  ControlStatus BuildStateFrames();
  ControlStatus DrawButton(std::int32_t state);
  ControlStatus PaintStateFrame();
  // Repaint: DrawButton in the current state without storing it. Full repaint: cMouseAction
  // with the current state, forced.
  ControlStatus Repaint();
  ControlStatus FullRepaint();
  // Hands an error met while handling a notification to the host's error handling.
  void Report(const ControlStatus& status);

  ButtonSite& site_;
  iButtonEvents& events_;
  std::unique_ptr<Timer> timer1_;
  Text marker_;  // "1" once the first show has built the frames
  Text accessible_name_;
  bool focused_ = false;

  PictureRef mBackPicture;
  Frames mFrames;
  bool mFramesReady = false;
  bool mHover = false;
  bool mPressed = false;
  std::int16_t mLastButton = 0;
  bool mValue = false;
  std::int32_t mStyle = 0;
  Text mCaption;
  std::int32_t mState = Normal;
  bool mAutoSize = false;
};

}  // namespace px
