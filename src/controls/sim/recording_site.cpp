#include "controls/sim/recording_site.h"

#include <algorithm>

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
  ~AreaHandle() override { std::erase(site_.areas_, area_.get()); }

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

RecordingSite::RecordingSite(std::string name, OpLog& log, TwipSize size,
                             std::unique_ptr<SizedSurface> inner)
    : name_(name), log_(log), size_(size), surface_(std::move(name), log, size, std::move(inner)) {}

void RecordingSite::SetSize(TwipSize size) {
  log_.Add(OpLine({"size", name_, Pair(size.width, size.height)}));
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size == size_) return;
  size_ = size;
  surface_.Resize(size);
  if (control_ != nullptr) control_->OnResize();
}

std::unique_ptr<ImageArea> RecordingSite::CreateImageArea(std::string_view name, TwipRect bounds,
                                                          InputListener& input) {
  return std::make_unique<AreaHandle>(
      *this, std::make_unique<RecordingImageArea>(std::string(name), log_, bounds, input));
}

void RecordingSite::Site() {
  if (control_ == nullptr) return;
  control_->OnResize();
  control_->OnShow();
}

ControlStatus RecordingSite::Load(PropertyStore& store) {
  if (control_ == nullptr) return {};
  return control_->OnReadProperties(store);
}

ControlStatus RecordingSite::Save(PropertyStore& store) {
  if (control_ == nullptr) return {};
  return control_->OnWriteProperties(store);
}

std::vector<RecordingImageArea*> RecordingSite::image_areas() const { return areas_; }

RecordingImageArea* RecordingSite::ImageAreaNamed(std::string_view name) const {
  for (RecordingImageArea* area : areas_) {
    if (area->name() == name) return area;
  }
  return nullptr;
}

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

void RecordingSite::Click(TwipPoint at) {
  if (RecordingImageArea* area = HitTest(at)) {
    area->input().OnClick();
  } else if (control_ != nullptr) {
    control_->OnClick();
  }
}

void RecordingSite::DblClick(TwipPoint at) {
  if (RecordingImageArea* area = HitTest(at)) {
    area->input().OnDblClick();
  } else if (control_ != nullptr) {
    control_->OnDblClick();
  }
}

RecordingHostWindow::RecordingHostWindow(std::string name, OpLog& log, TwipSize outer_size,
                                         std::unique_ptr<SizedSurface> inner)
    : outer_size_(outer_size), surface_(std::move(name), log, outer_size, std::move(inner)) {}

void RecordingHostWindow::SetOuterSize(TwipSize size) {
  outer_size_ = size;
  surface_.Resize(size);
}

}  // namespace px::sim
