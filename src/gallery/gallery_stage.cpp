#include "controls/sim/cairo_surface.h"
#include "gallery/gallery.h"

namespace px::sim {

GalleryStage::GalleryStage(bool raster, std::optional<UiLanguage> reader)
    : raster_(raster), frame_skin_(DrawFrameSkin()) {
  if (reader) log_.ReadAccessibility(*reader);
  log_.NamePicture(frame_skin_.pp.get(), "PP");
  log_.NamePicture(frame_skin_.pi3.get(), "Pi3");
  log_.NamePicture(frame_skin_.pi4.get(), "Pi4");
  log_.NamePicture(frame_skin_.pi1.get(), "pi1");
  log_.NamePicture(frame_skin_.pi2.get(), "pi2");
}

std::unique_ptr<RecordingSite> GalleryStage::MakeSite(std::string name, TwipSize size) {
  return std::make_unique<RecordingSite>(std::move(name), log_, size,
                                         raster_ ? std::make_unique<CairoSurface>(size) : nullptr);
}

std::unique_ptr<RecordingHostWindow> GalleryStage::MakeHost(TwipSize size) {
  // A host window's face, before anything is drawn on it.
  const Color face = Rgb(236, 236, 236);
  std::unique_ptr<CairoSurface> inner;
  if (raster_) {
    inner = std::make_unique<CairoSurface>(size);
    inner->SetBackColor(face);
    inner->Clear();
  }
  auto host = std::make_unique<RecordingHostWindow>("host", log_, size, std::move(inner));
  host->GetSurface().SetBackColor(face);
  return host;
}

void GalleryStage::LogEvent(const std::string& name, const std::string& args) {
  log_.Add(OpLine({"event", name, args}));
}

PictureRef GalleryStage::Compose(RecordingSite& site) const {
  PictureRef picture = site.GetSurface().Image();
  for (const RecordingImageArea* area : site.image_areas()) {
    if (!area->Visible() || !area->GetPicture()) continue;
    const TwipRect b = area->Bounds();
    // An image area shows its picture clipped to its own bounds.
    const PictureRef clipped =
        DrawOver(*MakePixelPicture(TwipsToPixels(b.width), TwipsToPixels(b.height), {}),
                 *area->GetPicture(), 0, 0);
    picture = DrawOver(*picture, *clipped, TwipsToPixels(b.x), TwipsToPixels(b.y));
  }
  return picture;
}

void GalleryStage::Picture(RecordingSite& site) {
  if (raster_) picture_ = Compose(site);
}

void GalleryStage::Picture(RecordingHostWindow& host, RecordingSite& site, TwipPoint at) {
  if (!raster_) return;
  picture_ = DrawOver(*host.GetSurface().Image(), *Compose(site), TwipsToPixels(at.x),
                      TwipsToPixels(at.y));
}

}  // namespace px::sim
