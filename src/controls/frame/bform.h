#pragma once

#include <memory>

#include "base/text.h"
#include "controls/common/control_error.h"
#include "controls/common/control_site.h"
#include "controls/frame/bform_events.h"
#include "controls/frame/frame_skin.h"

namespace px {

// BForm stands in for a window's title bar: it draws the bar from its skin, prints a caption on
// it, and shows a minimise and a close button whose look follows the mouse. Presses,
// double-clicks and button clicks go to the host through BFormEvents. The bar is drawn in full
// on every resize, every Caption or BackColor set, and every load or save of the settings, and
// at no other time: the frame relies on its surface's retained image in between.
class BForm final : public ControlNotifications {
 public:
  // The frame's height, whatever the host asks for: 27 pixels of a 30-pixel band.
  static constexpr std::int32_t kHeight = 405;
  static constexpr Color kDesignBackColor = Rgb(222, 222, 222);
  static constexpr Color kDesignForeColor = Rgb(255, 255, 255);
  // What a load of saved settings falls back to for an absent key.
  static constexpr std::int32_t kStoredBackColorDefault = 14346732;
  static constexpr char16_t kStoredBackColorDefaultText[] = u"14346732";
  static constexpr char16_t kStoredCaptionDefault[] = u"NewForm";

  // The frame attaches itself to the site and makes its two buttons there. It draws nothing
  // until it is first resized. A frame made new, without saved settings, has an empty caption.
  BForm(ControlSite& site, FrameSkin skin, BFormEvents& events);
  ~BForm() override;
  BForm(const BForm&) = delete;
  BForm& operator=(const BForm&) = delete;

  const Text& Caption() const { return caption_; }
  void SetCaption(const Text& caption);

  // The background colour as decimal text, "14346732" for red 236, green 233, blue 218.
  Text BackColor() const;
  // Takes any text that is a number: a fraction goes to the nearest integer, a half to the even
  // neighbour. A text that is not a number (type mismatch) or lies outside 32 bits (overflow)
  // is refused, and colour and bar stay as they were.
  ControlStatus SetBackColor(TextView text);

  // Removes the minimise button for good; the next full redraw brings its glyph back into the
  // bar, but never the button.
  void Nomin();

  // Draws a thin skin border along the left, right and bottom edges of the host's surface,
  // after clearing it. The top edge is left to the title bar.
  void Printform(HostWindow& host);

  // Host notifications.
  void OnResize() override;
  void OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void OnMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void OnDblClick() override;
  ControlStatus OnReadProperties(PropertyStore& store) override;
  ControlStatus OnWriteProperties(PropertyStore& store) override;

  // What a screen reader is told: a title bar named by the caption, with two parts, the
  // minimise button (1) and the close button (2), push buttons named in the reader's language
  // whose looks (hover, pressed) give their states. A part's default action is a click on it,
  // raising MinClick or CloseClick; a hidden part (Pmin after Nomin) has none.
  static constexpr std::int32_t kMinimizePart = 1;
  static constexpr std::int32_t kClosePart = 2;
  AccessibleDescription Describe(UiLanguage language) const override;
  bool DoDefaultAction(std::int32_t child) override;

  // The buttons, for hosts and tests that look at them.
  const ImageArea& Pmin() const { return *pmin_; }
  const ImageArea& Pclose() const { return *pclose_; }

 private:
  class ButtonInput;

  void DrawTitleBar(const Text& caption);
  void PrintCaption(const Text& caption);
  std::int32_t SkinWidth() const;
  std::int32_t SkinHeight() const;

  ControlSite& site_;
  FrameSkin skin_;
  BFormEvents& events_;
  Text caption_;
  std::unique_ptr<ButtonInput> pmin_input_;
  std::unique_ptr<ButtonInput> pclose_input_;
  std::unique_ptr<ImageArea> pmin_;
  std::unique_ptr<ImageArea> pclose_;
};

}  // namespace px
