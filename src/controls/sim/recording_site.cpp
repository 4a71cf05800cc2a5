#include "controls/sim/recording_site.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "base/utf.h"
#include "controls/common/geometry.h"
#include "controls/sim/accessible_lines.h"

namespace px::sim {

RecordingImageArea::RecordingImageArea(std::string name, OpLog& log, TwipRect bounds,
                                       InputListener& input)
    : name_(std::move(name)), log_(log), bounds_(bounds), input_(input) {}

void RecordingImageArea::Move(TwipPoint top_left) {
  log_.Add(OpLine({"move", name_, Pair(top_left.x, top_left.y)}));
  bounds_.x = top_left.x;
  bounds_.y = top_left.y;
}

void RecordingImageArea::SetPicture(PictureRef picture) {
  log_.Add(OpLine({"picture", name_, log_.PictureName(picture.get())}));
  picture_ = std::move(picture);
}

void RecordingImageArea::SetVisible(bool visible) {
  log_.Add(OpLine({"show", name_, visible ? "1" : "0"}));
  visible_ = visible;
}

// The site hands out children that unregister themselves when the control lets them go.
class RecordingSite::AreaHandle final : public ImageArea {
 public:
  AreaHandle(RecordingSite& site, std::unique_ptr<RecordingImageArea> area)
      : site_(site), area_(std::move(area)) {
    site_.areas_.push_back(area_.get());
  }
  ~AreaHandle() override {
    std::erase(site_.areas_, area_.get());
    if (site_.captured_ == &area_->input()) {
      site_.captured_ = nullptr;
      site_.click_pending_ = false;
    }
  }

  void Move(TwipPoint top_left) override { area_->Move(top_left); }
  TwipRect Bounds() const override { return area_->Bounds(); }
  void SetPicture(PictureRef picture) override { area_->SetPicture(std::move(picture)); }
  const PictureRef& GetPicture() const override { return area_->GetPicture(); }
  void SetVisible(bool visible) override { area_->SetVisible(visible); }
  bool Visible() const override { return area_->Visible(); }
  void SetToolTip(const Text& text) override { area_->SetToolTip(text); }

 private:
  RecordingSite& site_;
  std::unique_ptr<RecordingImageArea> area_;
};

namespace {

// The timers of a site on a desktop of its own: nothing runs them.
class IdleTimers final : public TimerFactory {
 public:
  std::unique_ptr<Timer> CreateTimer(std::function<void()>) override {
    return std::make_unique<IdleTimer>();
  }

 private:
  class IdleTimer final : public Timer {
   public:
    void SetInterval(std::uint32_t ms) override { interval_ = ms; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    std::uint32_t Interval() const override { return interval_; }
    bool Enabled() const override { return enabled_; }

   private:
    std::uint32_t interval_ = 0;
    bool enabled_ = true;
  };
};

}  // namespace

// The control's timers: a tick is a message, so the message loop settles the shape first.
class RecordingSite::Timers final : public TimerFactory {
 public:
  Timers(RecordingSite& site, TimerFactory& timers) : site_(site), timers_(timers) {}
  std::unique_ptr<Timer> CreateTimer(std::function<void()> on_tick) override {
    return timers_.CreateTimer([this, tick = std::move(on_tick)] {
      site_.SettleRegion();
      tick();
    });
  }

 private:
  RecordingSite& site_;
  TimerFactory& timers_;
};

RecordingSite::RecordingSite(std::string name, OpLog& log, TwipSize size,
                             std::unique_ptr<SizedSurface> inner)
    : RecordingSite(std::move(name), log, std::make_unique<SimButtonApi>(),
                    std::make_unique<IdleTimers>(), size, std::move(inner)) {}

RecordingSite::RecordingSite(std::string name, OpLog& log, std::unique_ptr<SimButtonApi> api,
                             std::unique_ptr<TimerFactory> timers, TwipSize size,
                             std::unique_ptr<SizedSurface> inner)
    : RecordingSite(std::move(name), log, *api, *timers, 0, {}, size, std::move(inner)) {
  own_api_ = std::move(api);
  own_timers_ = std::move(timers);
}

RecordingSite::RecordingSite(std::string name, OpLog& log, SimButtonApi& api, TimerFactory& timers,
                             std::int32_t parent_hwnd, TwipPoint position, TwipSize size,
                             std::unique_ptr<SizedSurface> inner)
    : name_(std::move(name)),
      log_(log),
      api_(&api),
      timers_(std::make_unique<Timers>(*this, timers)),
      parent_hwnd_(parent_hwnd),
      position_(position),
      size_(size),
      surface_(name_, log, size, std::move(inner)) {
  hwnd_ = api_->AddWindow(parent_hwnd_, {});
  PlaceWindow();
  hdc_ = api_->GetWindowDC(hwnd_);
}

RecordingSite::~RecordingSite() {
  api_->ReleaseWindowDC(hdc_);
  api_->RemoveWindow(hwnd_);
}

void RecordingSite::PlaceWindow() {
  const PixelRect parent = api_->WindowRect(parent_hwnd_);
  api_->SetWindowRect(hwnd_,
                      {parent.x + TwipsToPixels(position_.x), parent.y + TwipsToPixels(position_.y),
                       TwipsToPixels(size_.width), TwipsToPixels(size_.height)});
}

void RecordingSite::Attach(ControlNotifications* control) {
  control_ = control;
  read_.clear();
  ReadAccessible();
}

void RecordingSite::AccessibleChanged() { ReadAccessible(); }

void RecordingSite::ReadAccessible() {
  if (control_ == nullptr || !log_.accessibility_reader()) return;
  std::vector<std::string> lines =
      AccessibleLines(name_, control_->Describe(*log_.accessibility_reader()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= read_.size() || read_[i] != lines[i]) log_.Add(lines[i]);
  }
  read_ = std::move(lines);
}

void RecordingSite::SetVisible(bool visible) {
  visible_ = visible;
  api_->SetWindowVisible(hwnd_, visible);
  ReadAccessible();
}

void RecordingSite::SetSize(TwipSize size) {
  log_.Add(OpLine({"size", name_, Pair(size.width, size.height)}));
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  size_ = size;
  surface_.Resize(size);
  PlaceWindow();
  if (control_ != nullptr) control_->OnResize();
}

std::unique_ptr<ImageArea> RecordingSite::CreateImageArea(std::string_view name, TwipRect bounds,
                                                          InputListener& input) {
  return std::make_unique<AreaHandle>(
      *this, std::make_unique<RecordingImageArea>(std::string(name), log_, bounds, input));
}

TimerFactory& RecordingSite::ChildTimers() { return *timers_; }

RecordingImageArea* RecordingSite::ImageAreaNamed(std::string_view name) const {
  for (RecordingImageArea* area : areas_) {
    if (area->name() == name) return area;
  }
  return nullptr;
}

void RecordingSite::SetEnabled(bool enabled) {
  enabled_ = enabled;
  api_->SetWindowEnabled(hwnd_, enabled);
  // Disabling a window cancels its mouse capture.
  if (!enabled) {
    captured_ = nullptr;
    click_pending_ = false;
  }
}

void RecordingSite::SetBackStyle(std::int16_t style) { Reshape(mask_.SetBackStyle(style)); }

void RecordingSite::SetSurfacePicture(PictureRef picture) {
  Reshape(mask_.SetPicture(std::move(picture)));
}

void RecordingSite::Reshape(ShapeMask::Step step) {
  if (step != ShapeMask::Step::kSetShape) return;
  log_.Add(OpLine({"region", name_, "on"}));
  api_->SetWindowShape(hwnd_, mask_.shape());
}

void RecordingSite::SettleRegion() {
  if (!mask_.Settle()) return;
  log_.Add(OpLine({"region", name_, "off"}));
  api_->SetWindowShape(hwnd_, std::nullopt);
}

void RecordingSite::PaintPicture(std::int32_t frame, const Picture& picture, TwipRect dest) {
  log_.Add(OpLine({"paint", name_, std::to_string(frame), Quad(dest)}));
  if (SizedSurface* inner = surface_.inner()) {
    inner->CopyPicture(
        picture, {0, 0, PixelsToTwips(picture.PixelWidth()), PixelsToTwips(picture.PixelHeight())},
        dest);
  }
}

void RecordingSite::ReportError(const ControlError& error) {
  errors_.push_back(error);
  log_.Add(OpLine({"error", name_, std::to_string(error.number), EscapeText(error.description)}));
}

void RecordingSite::Site() {
  if (control_ == nullptr) return;
  control_->OnResize();
  control_->OnShow();
}

void RecordingSite::Show() {
  if (control_ != nullptr) control_->OnShow();
}

ControlStatus RecordingSite::Load(PropertyStore& store) {
  return control_ ? control_->OnReadProperties(store) : ControlStatus();
}

ControlStatus RecordingSite::Save(PropertyStore& store) {
  return control_ ? control_->OnWriteProperties(store) : ControlStatus();
}

// --- input handed straight to the control ----------------------------------------------------

RecordingImageArea* RecordingSite::HitTest(TwipPoint at) const {
  for (auto it = areas_.rbegin(); it != areas_.rend(); ++it) {
    const TwipRect b = (*it)->Bounds();
    if ((*it)->Visible() && at.x >= b.x && at.x < b.x + b.width && at.y >= b.y &&
        at.y < b.y + b.height) {
      return *it;
    }
  }
  return nullptr;
}

MouseArgs RecordingSite::Deliver(Delivery delivery, TwipPoint at, std::int16_t button,
                                 std::int16_t shift) {
  SettleRegion();
  MouseArgs args{button, shift, static_cast<float>(at.x), static_cast<float>(at.y)};
  if (RecordingImageArea* area = HitTest(at)) {
    args.x -= static_cast<float>(area->Bounds().x);
    args.y -= static_cast<float>(area->Bounds().y);
    (area->input().*delivery)(args.button, args.shift, args.x, args.y);
  } else if (control_ != nullptr) {
    (control_->*delivery)(args.button, args.shift, args.x, args.y);
  }
  return args;
}

MouseArgs RecordingSite::MouseDown(TwipPoint at, std::int16_t button, std::int16_t shift) {
  return Deliver(&InputListener::OnMouseDown, at, button, shift);
}
MouseArgs RecordingSite::MouseUp(TwipPoint at, std::int16_t button, std::int16_t shift) {
  return Deliver(&InputListener::OnMouseUp, at, button, shift);
}
MouseArgs RecordingSite::MouseMove(TwipPoint at, std::int16_t button, std::int16_t shift) {
  return Deliver(&InputListener::OnMouseMove, at, button, shift);
}

InputListener* RecordingSite::ElementAt(TwipPoint at) const {
  if (RecordingImageArea* area = HitTest(at)) return &area->input();
  return control_;
}

void RecordingSite::Click(TwipPoint at) {
  SettleRegion();
  if (InputListener* element = ElementAt(at)) element->OnClick();
}

void RecordingSite::DblClick(TwipPoint at) {
  SettleRegion();
  if (InputListener* element = ElementAt(at)) element->OnDblClick();
}

PictureRef RecordingSite::VisibleImage() const {
  const PictureRef image = surface_.Image();
  if (!mask_.on() || !image) return image;
  const std::int32_t w = image->PixelWidth(), h = image->PixelHeight();
  std::vector<Argb> pixels(image->Pixels().begin(), image->Pixels().end());
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      if (!ShapeContains(mask_.shape(), x, y)) pixels[static_cast<std::size_t>(y) * w + x] = 0;
    }
  }
  return MakePixelPicture(w, h, std::move(pixels));
}

RecordingHostWindow::RecordingHostWindow(std::string name, OpLog& log, TwipSize outer_size,
                                         std::unique_ptr<SizedSurface> inner)
    : outer_size_(outer_size), surface_(std::move(name), log, outer_size, std::move(inner)) {}

void RecordingHostWindow::SetOuterSize(TwipSize size) {
  outer_size_ = size;
  surface_.Resize(size);
}

}  // namespace px::sim
