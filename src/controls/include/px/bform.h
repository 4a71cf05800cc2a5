#pragma once

// BForm, the skinned frame: a child window that stands in for its parent's title bar. It draws
// the bar from its skin, prints a caption on it, and shows a minimise and a close button whose
// look follows the mouse. It never moves, minimises or closes a window itself: its events reach
// the parent as WM_NOTIFY messages, and the parent does that in its handlers.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "px/host_surface.h"
#include "px/kit_types.h"
#include "px/picture.h"

namespace px::kit {

// The codes of the frame's WM_NOTIFY messages; the NMHDR carries the frame's window and its id.
inline constexpr UINT kBFormMouseDown = 0x7001;   // a BFormMouseDown
inline constexpr UINT kBFormMinClick = 0x7002;    // the minimise button was clicked
inline constexpr UINT kBFormCloseClick = 0x7003;  // the close button was clicked
inline constexpr UINT kBFormDblClick = 0x7004;    // a double-click on the bar

// MouseDown's arguments: a mouse button went down on the bar itself (not on one of its
// buttons). The parent may change them; the frame takes the values back when the message
// returns.
struct BFormMouseDown {
  NMHDR header;
  std::int16_t button;  // 1 left, 2 right, 4 middle
  std::int16_t shift;   // 1 Shift, 2 Ctrl, 4 Alt
  float x;              // twips from the frame's top-left
  float y;
};

// The pictures a frame draws itself from: every part of the bar and of the window border is
// copied out of pp; the four glyph pictures cover the bar's glyphs while the pointer is over a
// button (pi3, pi4) or a button is held down (pi1, pi2).
struct FrameSkin {
  Picture pp;   // a miniature window: title band, glyphs, client area, border (94 x 85 px)
  Picture pi3;  // minimise glyph, pointer over it (19 x 19 px)
  Picture pi4;  // close glyph, pointer over it
  Picture pi1;  // minimise glyph, held down
  Picture pi2;  // close glyph, held down
};

// The kit's own skin, the same pixels on every system. In pp the blue band is rows 0-29, the
// minimise glyph's box starts at (46, 5) and the close glyph's at (70, 5), and the border is 4
// pixels wide on the left, right and bottom.
FrameSkin DrawFrameSkin();

class BForm {
 public:
  // The frame's height, whatever its bounds ask for: 27 pixels of the skin's 30-pixel band.
  static constexpr std::int32_t kHeight = 405;

  // A visible frame at `bounds` in the parent's client area, drawn from the kit's skin or from
  // `skin`, whose five parts must all be pictures; nullptr when Windows refuses the window. A
  // new frame has an empty caption.
  static std::unique_ptr<BForm> Create(HWND parent, int id, TwipRect bounds);
  static std::unique_ptr<BForm> Create(HWND parent, int id, TwipRect bounds, FrameSkin skin);
  ~BForm();
  BForm(const BForm&) = delete;
  BForm& operator=(const BForm&) = delete;

  HWND hwnd() const;

  const std::u16string& Caption() const;
  void SetCaption(std::u16string_view caption);

  // The background colour as decimal text: "14346732" for red 236, green 233, blue 218.
  std::u16string BackColor() const;
  // Takes any text that is a number (a fraction to the nearest integer, a half to the even
  // neighbour). Text that is not a number is a type mismatch, a number outside 32 bits an
  // overflow; either leaves colour and bar as they were.
  ControlStatus SetBackColor(std::u16string_view text);

  // Removes the minimise button for good; a later redraw shows its glyph, but no button.
  void Nomin();

  // Draws a thin skin border along the left, right and bottom edges of the host's surface,
  // after clearing it. The top edge is left to the title bar.
  void Printform(HostSurface& host);

 private:
  struct Impl;
  explicit BForm(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace px::kit
