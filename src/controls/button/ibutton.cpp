#include "controls/button/ibutton.h"

#include <limits>
#include <utility>
#include <variant>

#include "controls/button/frame_geometry.h"

namespace px {

iButton::iButton(ButtonSite& site, iButtonEvents& events) : site_(site), events_(events) {
  site_.Attach(this);
  site_.GetSurface().SetBackColor(kDesignBackColor);
  timer1_ = site_.ChildTimers().CreateTimer([this] { Timer1_Timer(); });
  timer1_->SetInterval(kTimer1IntervalMs);
  timer1_->SetEnabled(true);
  // No picture yet: this only paints the empty white surface.
  Report(BuildStateFrames());
}

iButton::~iButton() {
  site_.Attach(nullptr);
  timer1_.reset();
  mFrames.Clear();
  mBackPicture.reset();
}

std::int32_t iButton::Hwnd() const { return site_.Hwnd(); }

std::int32_t iButton::hdc() const { return static_cast<std::int32_t>(site_.Hdc()); }

PictureRef iButton::Image() const { return site_.GetSurface().Image(); }

std::int16_t iButton::cDrawMode() const { return site_.DrawMode(); }

ControlStatus iButton::SetcDrawMode(std::int16_t vNewValue) {
  site_.SetDrawMode(vNewValue);
  if (ControlStatus s = Repaint(); !s) return s;
  site_.PropertyChanged(u"cDrawMode");
  return {};
}

const Font& iButton::cFont() const { return site_.GetSurface().GetFont(); }

ControlStatus iButton::SetcFont(const Font& vNewValue) {
  site_.GetSurface().SetFont(vNewValue);
  if (ControlStatus s = Repaint(); !s) return s;
  site_.PropertyChanged(u"cFont");
  return {};
}

Color iButton::cForeColor() const { return site_.GetSurface().ForeColor(); }

ControlStatus iButton::SetcForeColor(Color vNewValue) {
  site_.GetSurface().SetForeColor(vNewValue);
  if (ControlStatus s = Repaint(); !s) return s;
  site_.PropertyChanged(u"cForeColor");
  return {};
}

ControlStatus iButton::SetAutoSize(bool vNewValue) {
  mAutoSize = vNewValue;
  if (mAutoSize) {
    if (ControlStatus s = BuildStateFrames(); !s) return s;
  }
  site_.PropertyChanged(u"AutoSize");
  return {};
}

ControlStatus iButton::SetValue(bool vNewValue) {
  // Only a toggle button keeps a value; a push button is never "on".
  if (mStyle != 1) {
    mValue = false;
    return {};
  }
  mValue = vNewValue;
  return FullRepaint();
}

ControlStatus iButton::SetStyle(std::int32_t vNewValue) {
  // Checked before anything changes, so that a refused style leaves the frames in place.
  if (ControlResult<std::int32_t> last = LastFrameIndex(vNewValue); !last) return last.error();
  mStyle = vNewValue;
  if (ControlStatus s = BuildStateFrames(); !s) return s;
  site_.PropertyChanged(u"Style");
  return {};
}

ControlStatus iButton::SetBackPicture(PictureRef vNewValue) {
  mBackPicture = std::move(vNewValue);
  if (ControlStatus s = BuildStateFrames(); !s) return s;
  site_.PropertyChanged(u"BackPicture");
  return {};
}

bool iButton::Enabled() const { return site_.Enabled(); }

ControlStatus iButton::SetEnabled(bool vNewValue) {
  site_.SetEnabled(vNewValue);
  if (ControlStatus s = FullRepaint(); !s) return s;
  site_.PropertyChanged(u"Enabled");
  return {};
}

std::int32_t iButton::cBackStyle() const { return site_.BackStyle(); }

ControlStatus iButton::SetcBackStyle(std::int32_t tValue) {
  if (tValue < std::numeric_limits<std::int16_t>::min() ||
      tValue > std::numeric_limits<std::int16_t>::max()) {
    return OverflowError();
  }
  site_.SetBackStyle(static_cast<std::int16_t>(tValue));
  if (ControlStatus s = Repaint(); !s) return s;
  site_.PropertyChanged(u"cBackStyle");
  return {};
}

ControlStatus iButton::SetCaption(const Text& vNewValue) {
  mCaption = vNewValue;
  const ControlStatus s = Repaint();
  site_.AccessibleChanged();
  if (!s) return s;
  site_.PropertyChanged(u"Caption");
  return {};
}

void iButton::SetAccessibleName(const Text& name) {
  accessible_name_ = name;
  site_.AccessibleChanged();
  site_.PropertyChanged(u"AccessibleName");
}

ControlStatus iButton::cMouseAction(std::int32_t cAction, bool vComplePaint) {
  // A state outside the four would be stored and then fail at every later repaint; it is
  // refused here, whether or not there are frames to look it up in.
  if (cAction < Normal || cAction > Disabled) return SubscriptOutOfRangeError();
  if (cAction == mState && !vComplePaint) return {};
  mState = cAction;
  const ControlStatus s = DrawButton(cAction);
  site_.AccessibleChanged();
  return s;
}

ControlStatus iButton::Repaint() { return DrawButton(GetCurrentState()); }

ControlStatus iButton::FullRepaint() { return cMouseAction(GetCurrentState(), true); }

void iButton::Report(const ControlStatus& status) {
  if (!status) site_.ReportError(status.error());
}

void iButton::OnResize() {
  if (mAutoSize && mBackPicture) {
    const std::int32_t w = GetFrameWidth();
    const std::int32_t h = GetFrameHeight();
    // A strip too small to give a frame a pixel would shrink the control to nothing; the
    // control keeps its size then, as BuildStateFrames does.
    if (w > 0 && h > 0) site_.SetSize({w * kTwipsPerPixel, h * kTwipsPerPixel});
  }
  Report(FullRepaint());
}

void iButton::OnShow() {
  if (!marker_.empty()) return;
  Report(BuildStateFrames());
  marker_ = Text(1, u'1');
}

namespace {

ControlResult<PictureRef> ToPicture(const PropertyValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return PictureRef();
  if (const PictureRef* picture = std::get_if<PictureRef>(&value)) return *picture;
  return TypeMismatchError();
}

ControlResult<Font> ToFont(const PropertyValue& value) {
  if (const Font* font = std::get_if<Font>(&value)) return *font;
  return TypeMismatchError();
}

}  // namespace

// Settings are read in a fixed order. A value that cannot be taken ends the load with its error
// and the button keeps all its settings as they were; otherwise all are taken at the end.
// Nothing is built or drawn.
ControlStatus iButton::OnReadProperties(PropertyStore& store) {
  Surface& surface = site_.GetSurface();

  const ControlResult<PictureRef> picture = ToPicture(store.Read(u"BackPicture", std::monostate()));
  if (!picture) return picture.error();
  const ControlResult<bool> enabled = ToBoolean(store.Read(u"Enabled", kStoredEnabledDefault));
  if (!enabled) return enabled.error();
  const ControlResult<std::int16_t> back_style =
      ToInt16(store.Read(u"cBackStyle", std::int32_t{kStoredBackStyleDefault}));
  if (!back_style) return back_style.error();
  const ControlResult<Text> caption = ToText(store.Read(u"Caption", Text()));
  if (!caption) return caption.error();
  const ControlResult<std::int16_t> style =
      ToInt16(store.Read(u"Style", std::int32_t{kStoredStyleDefault}));
  if (!style) return style.error();
  // A negative style could not be built into frames later; it is refused as the setter does.
  if (const ControlResult<std::int32_t> last = LastFrameIndex(style.value()); !last) {
    return last.error();
  }
  const ControlResult<bool> auto_size = ToBoolean(store.Read(u"AutoSize", kStoredAutoSizeDefault));
  if (!auto_size) return auto_size.error();
  const ControlResult<std::int32_t> fore_color =
      ToInt32(store.Read(u"cForeColor", static_cast<std::int32_t>(surface.ForeColor())));
  if (!fore_color) return fore_color.error();
  const ControlResult<Font> font = ToFont(store.Read(u"cFont", surface.GetFont()));
  if (!font) return font.error();
  const ControlResult<std::int16_t> draw_mode =
      ToInt16(store.Read(u"cDrawMode", std::int32_t{site_.DrawMode()}));
  if (!draw_mode) return draw_mode.error();
  const ControlResult<Text> accessible_name = ToText(store.Read(u"AccessibleName", Text()));
  if (!accessible_name) return accessible_name.error();

  mBackPicture = picture.value();
  site_.SetEnabled(enabled.value());
  site_.SetBackStyle(back_style.value());
  mCaption = caption.value();
  mStyle = style.value();
  mAutoSize = auto_size.value();
  surface.SetForeColor(static_cast<Color>(fore_color.value()));
  surface.SetFont(font.value());
  site_.SetDrawMode(draw_mode.value());
  accessible_name_ = accessible_name.value();
  return {};
}

ControlStatus iButton::OnWriteProperties(PropertyStore& store) {
  const Surface& surface = site_.GetSurface();
  const PropertyValue none;
  store.Write(u"BackPicture", mBackPicture ? PropertyValue(mBackPicture) : none, none);
  store.Write(u"Enabled", site_.Enabled(), kStoredEnabledDefault);
  store.Write(u"Style", mStyle, std::int32_t{kStoredStyleDefault});
  store.Write(u"cBackStyle", std::int32_t{site_.BackStyle()},
              std::int32_t{kStoredBackStyleDefault});
  store.Write(u"Caption", mCaption, Text());
  store.Write(u"AutoSize", mAutoSize, kStoredAutoSizeDefault);
  store.Write(u"cFont", surface.GetFont(), std::nullopt);
  store.Write(u"cDrawMode", std::int32_t{site_.DrawMode()}, std::nullopt);
  store.Write(u"cForeColor", static_cast<std::int32_t>(surface.ForeColor()), std::nullopt);
  store.Write(u"AccessibleName", accessible_name_, Text());
  return {};
}

}  // namespace px
