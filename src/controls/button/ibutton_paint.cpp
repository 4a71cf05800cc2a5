// How an iButton cuts its strip into frames and paints a state.
#include <cstdint>

#include "controls/button/bitmap_capture.h"
#include "controls/button/frame_geometry.h"
#include "controls/button/ibutton.h"
#include "controls/common/geometry.h"

namespace px {

std::int32_t iButton::GetFrameWidth() const {
  return mBackPicture ? FrameWidthPixels(mBackPicture->HimetricWidth(), mStyle) : 0;
}

std::int32_t iButton::GetFrameHeight() const {
  return mBackPicture ? FrameHeightPixels(mBackPicture->HimetricHeight()) : 0;
}

// Frames are cut once per picture, style or AutoSize change, so that a repaint is a clear, one
// stretched picture and at most one text.
ControlStatus iButton::BuildStateFrames() {
  mFrames.Clear();
  ControlStatus result;
  if (!mBackPicture) {
    mFramesReady = false;
  } else if (ControlResult<std::int32_t> last = LastFrameIndex(mStyle); !last) {
    // Only a style that slipped past the setter and the load gets here. The frames are gone,
    // so the button falls back to its caption on white, and the caller hears why.
    mFramesReady = false;
    result = last.error();
  } else {
    const std::int32_t h = GetFrameHeight();
    const std::int32_t w = GetFrameWidth();
    ButtonApi& api = site_.Api();
    const GdiHandle memory = api.CreateCompatibleDC(site_.Hdc());
    const GdiHandle old_bitmap = api.SelectObject(memory, api.PictureHandle(mBackPicture));

    const std::int64_t strip_width = mBackPicture->PixelWidth();
    mFrames.count = static_cast<std::int64_t>(last.value()) + 1;
    for (std::int64_t i = 0; i < mFrames.count; ++i) {
      if (w <= 0 || h <= 0 || i * w >= strip_width) break;
      mFrames.cut.push_back(
          CaptureBitmapArea(api, memory, static_cast<std::int32_t>(i * w), 0, w, h));
    }
    if (mFrames.count > static_cast<std::int64_t>(mFrames.cut.size())) {
      // Everything from here on lies past the strip: a copy of nothing, as any of them would be.
      mFrames.blank =
          CaptureBitmapArea(api, memory, static_cast<std::int32_t>(strip_width), 0, w, h);
    }

    if (mAutoSize && w > 0 && h > 0) site_.SetSize({w * kTwipsPerPixel, h * kTwipsPerPixel});
    api.SelectObject(memory, old_bitmap);
    api.DeleteDC(memory);
    mFramesReady = true;
  }
  if (ControlStatus s = FullRepaint(); !s && result) result = s;
  return result;
}

ControlResult<PictureRef> iButton::GetStateFrame(std::int32_t state) const {
  if (!mFramesReady) return PictureRef();
  const ControlResult<std::int32_t> n = FrameNumber(state, mValue, mStyle);
  if (!n) return n.error();
  if (n.value() < 0 || n.value() >= mFrames.count) return SubscriptOutOfRangeError();
  if (n.value() < static_cast<std::int64_t>(mFrames.cut.size())) return mFrames.cut[n.value()];
  return mFrames.blank;
}

// The frame comes from mState, the caption's offset from the argument: the property setters
// draw the current state without storing it, so for them the frame stays that of the last
// cMouseAction.
ControlStatus iButton::DrawButton(std::int32_t state) {
  Surface& surface = site_.GetSurface();
  surface.Clear();
  if (ControlStatus s = PaintStateFrame(); !s) return s;
  if (mCaption.empty()) return {};
  const TwipSize size = site_.Size();
  const TwipSize text = surface.TextExtent(mCaption);
  auto x = static_cast<std::int32_t>(RoundHalfEven(size.width / 2.0 - text.width / 2.0));
  auto y = static_cast<std::int32_t>(RoundHalfEven(size.height / 2.0 - text.height / 2.0));
  if (state == Pressed) {
    x += kTwipsPerPixel;
    y += kTwipsPerPixel;
  }
  surface.Print({x, y}, mCaption);
  return {};
}

ControlStatus iButton::PaintStateFrame() {
  const ControlResult<PictureRef> frame = GetStateFrame(mState);
  if (!frame) return frame.error();
  const PictureRef& f = frame.value();
  if (!f) return {};
  const std::int32_t number = FrameNumber(mState, mValue, mStyle).value();
  const TwipSize size = site_.Size();
  const TwipRect whole = {0, 0, size.width, size.height};
  if (site_.BackStyle() != 0) {
    site_.PaintPicture(number, *f, whole);
  } else if (mAutoSize) {
    // The control is one frame large: the frame itself is its shape.
    site_.SetSurfacePicture(f);
    site_.PaintPicture(number, *f, whole);
  } else {
    // The shape must be the frame at the control's size: paint it stretched (opaque for the
    // moment, so that the image holds it) and take the image, before the caption goes on.
    site_.SetBackStyle(1);
    site_.PaintPicture(number, *f, whole);
    site_.SetSurfacePicture(site_.GetSurface().Image());
    site_.SetBackStyle(0);
  }
  return {};
}

}  // namespace px
