#include "controls/frame/bform.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <utility>

#include "controls/common/property_store.h"

namespace px {
namespace {

constexpr std::int32_t kTile = 300;        // width of one middle tile of the band
constexpr std::int32_t kBandHeight = 450;  // the band as the skin holds it
constexpr std::int32_t kLeftCap = 450;     // the band's left end
constexpr std::int32_t kRightEnd = 1000;   // the band's right end, glyphs included
constexpr std::int32_t kButtonSize = 315;  // Pmin and Pclose: 21 x 21 pixels
constexpr std::int32_t kButtonTop = 70;
constexpr std::int32_t kCloseFromRight = 360;
constexpr std::int32_t kMinFromRight = 720;
constexpr TwipPoint kCaptionAt{120, 100};
constexpr std::int32_t kBorder = 60;     // the skin border, 4 pixels
constexpr std::int32_t kEdgeTile = 500;  // how far one border tile reaches

// The caption's font: the bar is 27 pixels high and the caption starts 7 pixels down.
const Font& CaptionFont() {
  static const Font font{u"Tahoma", 9, true, false, false};
  return font;
}

// i * 300 for the i-th tile; a tile whose position does not fit the coordinates lies far
// beyond any surface and is left out.
bool TileAt(std::int64_t i, std::int32_t& x) {
  const std::int64_t at = i * kTile;
  if (at > std::numeric_limits<std::int32_t>::max()) return false;
  x = static_cast<std::int32_t>(at);
  return true;
}

}  // namespace

// The mouse on Pmin or Pclose: the hover look while the pointer moves over it, the pressed look
// while a button is held (whichever button), no picture again on release, the event on click.
// A reader hears of each change of look.
class BForm::ButtonInput final : public InputListener {
 public:
  ButtonInput(BForm& frame, PictureRef hover, PictureRef pressed, std::function<void()> click)
      : frame_(frame),
        hover_(std::move(hover)),
        pressed_(std::move(pressed)),
        click_(std::move(click)) {}
  void SetArea(ImageArea* area) { area_ = area; }

  void OnMouseMove(std::int16_t&, std::int16_t&, float&, float&) override { Show(hover_); }
  void OnMouseDown(std::int16_t&, std::int16_t&, float&, float&) override { Show(pressed_); }
  void OnMouseUp(std::int16_t&, std::int16_t&, float&, float&) override { Show(nullptr); }
  void OnClick() override { click_(); }

 private:
  void Show(const PictureRef& picture) {
    area_->SetPicture(picture);
    frame_.site_.AccessibleChanged();
  }

  BForm& frame_;
  PictureRef hover_;
  PictureRef pressed_;
  std::function<void()> click_;
  ImageArea* area_ = nullptr;
};

BForm::BForm(ControlSite& site, FrameSkin skin, BFormEvents& events)
    : site_(site), skin_(std::move(skin)), events_(events) {
  Surface& surface = site_.GetSurface();
  surface.SetBackColor(kDesignBackColor);
  surface.SetForeColor(kDesignForeColor);
  surface.SetFont(CaptionFont());

  pmin_input_ =
      std::make_unique<ButtonInput>(*this, skin_.pi3, skin_.pi1, [this] { events_.MinClick(); });
  pclose_input_ =
      std::make_unique<ButtonInput>(*this, skin_.pi4, skin_.pi2, [this] { events_.CloseClick(); });
  const std::int32_t w = site_.Size().width;
  pmin_ = site_.CreateImageArea("Pmin", {w - kMinFromRight, kButtonTop, kButtonSize, kButtonSize},
                                *pmin_input_);
  pclose_ = site_.CreateImageArea(
      "Pclose", {w - kCloseFromRight, kButtonTop, kButtonSize, kButtonSize}, *pclose_input_);
  pmin_input_->SetArea(pmin_.get());
  pclose_input_->SetArea(pclose_.get());
  pmin_->SetToolTip(u"最小化");
  pclose_->SetToolTip(u"退出");
  site_.Attach(this);
}

BForm::~BForm() { site_.Attach(nullptr); }

void BForm::SetCaption(const Text& caption) {
  caption_ = caption;
  DrawTitleBar(caption_);
  site_.AccessibleChanged();
  site_.PropertyChanged(u"Caption");
}

Text BForm::BackColor() const {
  return Decimal(static_cast<std::int32_t>(site_.GetSurface().BackColor()));
}

ControlStatus BForm::SetBackColor(TextView text) {
  const ControlResult<std::int32_t> color = ToInt32(Text(text));
  if (!color) return color.error();
  site_.GetSurface().SetBackColor(static_cast<Color>(color.value()));
  DrawTitleBar(caption_);
  site_.PropertyChanged(u"BackColor");
  return {};
}

std::int32_t BForm::SkinWidth() const { return PixelsToTwips(skin_.pp->PixelWidth()); }
std::int32_t BForm::SkinHeight() const { return PixelsToTwips(skin_.pp->PixelHeight()); }

void BForm::DrawTitleBar(const Text& caption) {
  Surface& surface = site_.GetSurface();
  const std::int32_t w = site_.Size().width;
  surface.Clear();
  // The middle tiles start at x = 300 and run on until one lies wholly beyond the right edge.
  const std::int64_t tiles = w / kTile + 1;
  for (std::int64_t i = 1; i <= tiles; ++i) {
    std::int32_t x = 0;
    if (!TileAt(i, x)) break;
    surface.CopyPicture(*skin_.pp, {kTile, 0, kTile, kBandHeight}, {x, 0, kTile, kBandHeight});
  }
  surface.CopyPicture(*skin_.pp, {0, 0, kLeftCap, kBandHeight}, {0, 0, kLeftCap, kBandHeight});
  surface.CopyPicture(*skin_.pp, {SkinWidth() - kRightEnd, 0, kRightEnd, kBandHeight},
                      {w - kRightEnd, 0, kRightEnd, kBandHeight});
  PrintCaption(caption);
}

void BForm::PrintCaption(const Text& caption) { site_.GetSurface().Print(kCaptionAt, caption); }

void BForm::OnResize() {
  // Correcting the height makes the site resize again (once): that inner resize draws the bar
  // at the final size, and this one draws it again.
  site_.SetSize({site_.Size().width, kHeight});
  DrawTitleBar(caption_);
  const std::int32_t w = site_.Size().width;
  pclose_->Move({w - kCloseFromRight, kButtonTop});
  pmin_->Move({w - kMinFromRight, kButtonTop});
}

void BForm::OnMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  events_.MouseDown(button, shift, x, y);
}

void BForm::OnMouseMove(std::int16_t&, std::int16_t&, float&, float&) {
  pmin_->SetPicture(nullptr);
  pclose_->SetPicture(nullptr);
  site_.AccessibleChanged();
}

void BForm::OnDblClick() { events_.DblClick(); }

void BForm::Nomin() {
  // A plain piece of the band, from left of the glyphs, covers the minimise glyph.
  const std::int32_t w = site_.Size().width;
  site_.GetSurface().CopyPicture(*skin_.pp, {SkinWidth() - 1200, 0, 400, kBandHeight},
                                 {w - 830, 0, 400, kBandHeight});
  pmin_->SetVisible(false);
  PrintCaption(caption_);
  site_.AccessibleChanged();
}

void BForm::Printform(HostWindow& host) {
  Surface& surface = host.GetSurface();
  const std::int32_t ppw = SkinWidth();
  const std::int32_t pph = SkinHeight();
  // The host's size is read afresh for every step: nothing here assumes it stays put.
  surface.Clear();
  const auto copy = [&](TwipRect source, TwipRect dest) {
    surface.CopyPicture(*skin_.pp, source, dest);
  };
  for (std::int64_t i = 1, n = host.OuterSize().width / kTile + 1; i <= n; ++i) {
    std::int32_t x = 0;
    if (!TileAt(i, x)) break;
    copy({kTile, pph - kBorder, kTile, kEdgeTile},
         {x, host.OuterSize().height - kBorder, kTile, kEdgeTile});
  }
  for (std::int64_t i = 1, n = host.OuterSize().height / kTile + 1; i <= n; ++i) {
    std::int32_t y = 0;
    if (!TileAt(i, y)) break;
    copy({0, 800, kBorder, kEdgeTile}, {0, y, kBorder, kEdgeTile});
  }
  for (std::int64_t i = 1, n = host.OuterSize().height / kTile + 1; i <= n; ++i) {
    std::int32_t y = 0;
    if (!TileAt(i, y)) break;
    copy({ppw - kBorder, 800, kTile, kEdgeTile},
         {host.OuterSize().width - kBorder, y, kTile, kEdgeTile});
  }
  copy({0, pph - kBorder, kLeftCap, kBorder},
       {0, host.OuterSize().height - kBorder, kLeftCap, kBorder});
  copy({ppw - 500, pph - kBorder, 500, kBorder},
       {host.OuterSize().width - 500, host.OuterSize().height - kBorder, 500, kBorder});
}

ControlStatus BForm::OnReadProperties(PropertyStore& store) {
  // Both values are converted before either is taken, so that a load that fails leaves the
  // frame as it was.
  const ControlResult<std::int32_t> color =
      ToInt32(store.Read(u"BackColor", Text(kStoredBackColorDefaultText)));
  if (!color) return color.error();
  const ControlResult<Text> caption = ToText(store.Read(u"Caption", Text(kStoredCaptionDefault)));
  if (!caption) return caption.error();
  site_.GetSurface().SetBackColor(static_cast<Color>(color.value()));
  caption_ = caption.value();
  DrawTitleBar(caption_);
  site_.AccessibleChanged();
  return {};
}

// A click on the button, as the mouse gives it: press, release, click.
bool BForm::DoDefaultAction(std::int32_t child) {
  const AccessibleDescription description = Describe(UiLanguage::kEnglish);
  const AccessibleElement* part = description.Element(child);
  if (child == 0 || part == nullptr || part->default_action.empty()) return false;
  ButtonInput& input = child == kMinimizePart ? *pmin_input_ : *pclose_input_;
  std::int16_t button = kLeftButton;
  std::int16_t shift = 0;
  float x = kButtonSize / 2;
  float y = kButtonSize / 2;
  input.OnMouseDown(button, shift, x, y);
  input.OnMouseUp(button, shift, x, y);
  input.OnClick();
  return true;
}

ControlStatus BForm::OnWriteProperties(PropertyStore& store) {
  store.Write(u"BackColor", static_cast<std::int32_t>(site_.GetSurface().BackColor()),
              PropertyValue(Text(kStoredBackColorDefaultText)));
  store.Write(u"Caption", caption_, PropertyValue(Text(kStoredCaptionDefault)));
  DrawTitleBar(caption_);
  return {};
}

}  // namespace px
