#include "gallery_buttons.h"

#include <deque>

#include "gallery/button_strips.h"

namespace px::gallery {
namespace {

constexpr Color kFace = Rgb(240, 240, 240);

Text Number(int n) { return Decimal(n); }

}  // namespace

// One button's handlers: its last four events, printed on the host window's line for it.
// MouseMove, which comes with every move and would drown the rest, is not shown.
class GalleryButtons::Events final : public iButtonEvents {
 public:
  Events(GalleryButtons& owner, Text name, std::int32_t line_y)
      : owner_(owner), name_(std::move(name)), line_y_(line_y) {}

  void Click() override { Heard(u"Click"); }
  void MouseDown(std::int16_t& b, std::int16_t&, float&, float&) override {
    Heard(u"MouseDown " + Number(b));
  }
  void KeyDown(std::int16_t& k, std::int16_t&) override { Heard(u"KeyDown " + Number(k)); }
  void KeyUP(std::int16_t& k, std::int16_t&) override { Heard(u"KeyUP " + Number(k)); }
  void KeyPress(std::int16_t& k) override { Heard(u"KeyPress " + Number(k)); }
  void MouseUp(std::int16_t& b, std::int16_t&, float&, float&) override {
    Heard(u"MouseUp " + Number(b));
  }
  void MouseOut() override { Heard(u"MouseOut"); }
  void MouseOver() override { Heard(u"MouseOver"); }
  void DBClick() override { Heard(u"DBClick"); }

  // Blanks the line and prints the events on it.
  void Show() {
    Surface& surface = owner_.host_.GetSurface();
    const TwipSize size = surface.Size();
    const std::int32_t w = TwipsToPixels(size.width) - 16;
    const Argb face = OpaqueArgb(RedOf(kFace), GreenOf(kFace), BlueOf(kFace));
    if (w > 0) {
      const PictureRef blank = MakePixelPicture(w, 16, std::vector<Argb>(w * 16, face));
      surface.CopyPicture(*blank, {0, 0, w * 15, 240}, {120, line_y_, w * 15, 240});
    }
    Text line = name_ + u":";
    for (const Text& event : events_) line += u" " + event;
    surface.SetForeColor(Rgb(60, 60, 60));
    surface.Print({300, line_y_}, line);
  }

 private:
  void Heard(Text event) {
    events_.push_back(std::move(event));
    while (events_.size() > 4) events_.pop_front();
    Show();
  }

  GalleryButtons& owner_;
  Text name_;
  std::int32_t line_y_;
  std::deque<Text> events_;
};

GalleryButtons::GalleryButtons(HostWindow& host) : host_(host) {}

GalleryButtons::~GalleryButtons() {
  push_.reset();
  toggle_.reset();
}

std::unique_ptr<GalleryButtons> GalleryButtons::Create(HWND window, HostWindow& host) {
  std::unique_ptr<GalleryButtons> buttons(new GalleryButtons(host));
  buttons->push_events_ = std::make_unique<Events>(*buttons, u"Push", 2250);
  buttons->toggle_events_ = std::make_unique<Events>(*buttons, u"Toggle", 2550);
  // Settings as a saved form would hold them: the strip, the style, the caption, the shape.
  const auto make = [&](int id, TwipPoint at, std::int32_t style, const char16_t* caption,
                        Events& events) -> std::unique_ptr<win32::ButtonControl> {
    MemoryPropertyStore settings;
    settings.Set(u"BackPicture", style == 0 ? DrawPushStrip() : DrawToggleStrip());
    settings.Set(u"Style", style);
    settings.Set(u"Caption", Text(caption));
    settings.Set(u"cBackStyle", std::int32_t{0});
    settings.Set(u"cForeColor", static_cast<std::int32_t>(kWhite));
    ControlStatus loaded;
    auto control = win32::ButtonControl::Create(window, id, {at.x, at.y, 1200, 450}, events,
                                                settings, &loaded);
    return loaded ? std::move(control) : nullptr;
  };
  buttons->push_ = make(kPushId, kPushAt, 0, u"Push", *buttons->push_events_);
  buttons->toggle_ = make(kToggleId, kToggleAt, 1, u"On", *buttons->toggle_events_);
  if (buttons->push_ == nullptr || buttons->toggle_ == nullptr) return nullptr;
  (void)buttons->toggle_->button().SetValue(true);  // a toggle that is on: its second group
  return buttons;
}

void GalleryButtons::ShowEvents() {
  push_events_->Show();
  toggle_events_->Show();
}

}  // namespace px::gallery
