#include "controls/sim/button_site_sim.h"

#include <algorithm>
#include <vector>

#include "controls/common/geometry.h"
#include "controls/sim/recording_site.h"
#include "base/utf.h"

namespace px::sim {

ButtonSimSite::ButtonSimSite(std::string name, OpLog& log, SimButtonApi& api, TimerFactory& timers,
                             std::int32_t parent_hwnd, TwipPoint position, TwipSize size,
                             std::unique_ptr<SizedSurface> inner)
    : name_(std::move(name)),
      log_(log),
      api_(api),
      timers_(timers),
      parent_hwnd_(parent_hwnd),
      position_(position),
      size_(size),
      surface_(name_, log, size, std::move(inner)) {
  hwnd_ = api_.AddWindow(parent_hwnd_, {});
  PlaceWindow();
  hdc_ = api_.GetWindowDC(hwnd_);
}

ButtonSimSite::~ButtonSimSite() {
  api_.ReleaseWindowDC(hdc_);
  api_.RemoveWindow(hwnd_);
}

void ButtonSimSite::PlaceWindow() {
  const PixelRect parent = api_.WindowRect(parent_hwnd_);
  api_.SetWindowRect(hwnd_,
                     {parent.x + TwipsToPixels(position_.x), parent.y + TwipsToPixels(position_.y),
                      TwipsToPixels(size_.width), TwipsToPixels(size_.height)});
}

void ButtonSimSite::SetSize(TwipSize size) {
  log_.Add(OpLine({"size", name_, Pair(size.width, size.height)}));
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  size_ = size;
  surface_.Resize(size);
  PlaceWindow();
  if (control_ != nullptr) control_->OnResize();
}

std::unique_ptr<ImageArea> ButtonSimSite::CreateImageArea(std::string_view name, TwipRect bounds,
                                                          InputListener& input) {
  return std::make_unique<RecordingImageArea>(std::string(name), log_, bounds, input);
}

void ButtonSimSite::SetEnabled(bool enabled) {
  enabled_ = enabled;
  api_.SetWindowEnabled(hwnd_, enabled);
  // Disabling a window cancels its mouse capture.
  if (!enabled) {
    captured_ = false;
    click_pending_ = false;
  }
}

void ButtonSimSite::UpdateRegion(bool reshaped) {
  const bool on = back_style_ == 0 && surface_picture_ != nullptr;
  if (on && (!region_on_ || reshaped)) log_.Add(OpLine({"region", name_, "on"}));
  if (!on && region_on_) log_.Add(OpLine({"region", name_, "off"}));
  region_on_ = on;
}

void ButtonSimSite::SetBackStyle(std::int16_t style) {
  back_style_ = style;
  UpdateRegion(false);
}

void ButtonSimSite::SetSurfacePicture(PictureRef picture) {
  surface_picture_ = std::move(picture);
  UpdateRegion(true);
}

void ButtonSimSite::PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) {
  log_.Add(OpLine({"paint", name_, std::to_string(frame), Quad(dest)}));
  if (SizedSurface* inner = surface_.inner()) {
    inner->CopyPicture(
        picture, {0, 0, PixelsToTwips(picture.PixelWidth()), PixelsToTwips(picture.PixelHeight())},
        dest);
  }
}

void ButtonSimSite::ReportError(const ControlError& error) {
  errors_.push_back(error);
  log_.Add(OpLine({"error", name_, std::to_string(error.number), EscapeText(error.description)}));
}

void ButtonSimSite::Site() {
  if (control_ == nullptr) return;
  control_->OnResize();
  control_->OnShow();
}

void ButtonSimSite::Show() {
  if (control_ != nullptr) control_->OnShow();
}

ControlStatus ButtonSimSite::Load(PropertyStore& store) {
  return control_ ? control_->OnReadProperties(store) : ControlStatus();
}

ControlStatus ButtonSimSite::Save(PropertyStore& store) {
  return control_ ? control_->OnWriteProperties(store) : ControlStatus();
}

bool ButtonSimSite::CursorOverControl() const {
  return api_.WindowFromPoint(api_.GetCursorPos()) == hwnd_;
}

void ButtonSimSite::Deliver(void (ControlNotifications::*notification)(std::int16_t&, std::int16_t&,
                                                                       float&, float&),
                            std::int16_t button, std::int16_t shift) {
  if (control_ == nullptr) return;
  float x = static_cast<float>(cursor_.x);
  float y = static_cast<float>(cursor_.y);
  (control_->*notification)(button, shift, x, y);
}

void ButtonSimSite::MoveTo(TwipPoint at) {
  cursor_ = at;
  const PixelRect rect = api_.WindowRect(hwnd_);
  api_.SetCursorPos({rect.x + TwipsToPixels(at.x), rect.y + TwipsToPixels(at.y)});
  if (captured_ || CursorOverControl()) Deliver(&ControlNotifications::OnMouseMove, held_, 0);
}

void ButtonSimSite::MoveAway() {
  cursor_ = {-100000, -100000};
  api_.SetCursorPos({-100000, -100000});
  if (captured_) Deliver(&ControlNotifications::OnMouseMove, held_, 0);
}

void ButtonSimSite::Press(std::int16_t button, std::int16_t shift) {
  if (!CursorOverControl()) return;
  Focus();
  held_ = static_cast<std::int16_t>(held_ | button);
  captured_ = true;
  click_pending_ = true;
  Deliver(&ControlNotifications::OnMouseDown, button, shift);
}

void ButtonSimSite::DoublePress(std::int16_t button, std::int16_t /*shift*/) {
  if (!CursorOverControl()) return;
  held_ = static_cast<std::int16_t>(held_ | button);
  captured_ = true;
  click_pending_ = false;
  if (control_ != nullptr) control_->OnDblClick();
}

void ButtonSimSite::Release(std::int16_t button, std::int16_t shift) {
  if ((held_ & button) == 0) return;
  held_ = static_cast<std::int16_t>(held_ & ~button);
  if (!captured_) return;
  if (held_ == 0) captured_ = false;
  Deliver(&ControlNotifications::OnMouseUp, button, shift);
  const bool click = click_pending_ && CursorOverControl();
  click_pending_ = false;
  if (click && control_ != nullptr) control_->OnClick();
}

void ButtonSimSite::Click(TwipPoint at, std::int16_t button) {
  MoveTo(at);
  Press(button);
  Release(button);
}

void ButtonSimSite::DoubleClick(TwipPoint at, std::int16_t button) {
  Click(at, button);
  DoublePress(button);
  Release(button);
}

void ButtonSimSite::Focus() {
  if (focused_ || !enabled_) return;
  focused_ = true;
  if (control_ != nullptr) control_->OnGotFocus();
}

void ButtonSimSite::Unfocus() {
  if (!focused_) return;
  focused_ = false;
  if (control_ != nullptr) control_->OnLostFocus();
}

void ButtonSimSite::KeyDown(std::int16_t key_code, std::int16_t shift) {
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyDown(key_code, shift);
}

void ButtonSimSite::KeyUp(std::int16_t key_code, std::int16_t shift) {
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyUp(key_code, shift);
}

void ButtonSimSite::KeyPress(std::int16_t key_ascii) {
  if (focused_ && enabled_ && control_ != nullptr) control_->OnKeyPress(key_ascii);
}

PictureRef ButtonSimSite::VisibleImage() const {
  const PictureRef image = surface_.Image();
  if (!region_on_ || !image) return image;
  const Picture& mask = *surface_picture_;
  const std::span<const Argb> mask_pixels = mask.Pixels();
  const std::int32_t w = image->PixelWidth(), h = image->PixelHeight();
  std::vector<Argb> pixels(image->Pixels().begin(), image->Pixels().end());
  const Argb key =
      OpaqueArgb(RedOf(kMaskKeyColor), GreenOf(kMaskKeyColor), BlueOf(kMaskKeyColor)) & 0xFFFFFFu;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      // The shape is the mask's pixels of another colour; beyond the mask there is no shape.
      const bool inside = x < mask.PixelWidth() && y < mask.PixelHeight() &&
                          (mask_pixels[y * mask.PixelWidth() + x] & 0xFFFFFFu) != key;
      if (!inside) pixels[y * w + x] = 0;
    }
  }
  return MakePixelPicture(w, h, std::move(pixels));
}

}  // namespace px::sim
