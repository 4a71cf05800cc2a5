// The frame's scenes: its bar at several widths, its buttons' looks, its border on a host.
#include <sstream>

#include "controls/frame/bform.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

constexpr TwipSize kDesignSize{4800, BForm::kHeight};

// The host's handlers: every event goes into the scene's log with its arguments.
class LoggedEvents final : public BFormEvents {
 public:
  explicit LoggedEvents(GalleryStage& stage) : stage_(stage) {}
  void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override {
    std::ostringstream args;
    args << button << "," << shift << "," << x << "," << y;
    stage_.LogEvent("MouseDown", args.str());
  }
  void MinClick() override { stage_.LogEvent("MinClick", ""); }
  void CloseClick() override { stage_.LogEvent("CloseClick", ""); }
  void DblClick() override { stage_.LogEvent("DblClick", ""); }

 private:
  GalleryStage& stage_;
};

// A new frame on its site, captioned "Gallery", resized to the given width.
struct FrameOnStage {
  FrameOnStage(GalleryStage& stage, std::int32_t width)
      : site(stage.MakeSite("BForm", kDesignSize)),
        events(stage),
        frame(*site, stage.frame_skin(), events) {
    frame.SetCaption(u"Gallery");
    site->SetSize({width, BForm::kHeight});
  }
  TwipPoint Centre(const char* button) const {
    const TwipRect b = site->ImageAreaNamed(button)->Bounds();
    return {b.x + b.width / 2, b.y + b.height / 2};
  }

  std::unique_ptr<RecordingSite> site;
  LoggedEvents events;
  BForm frame;
};

void Frame(GalleryStage& stage, std::int32_t width) {
  FrameOnStage f(stage, width);
  stage.Picture(*f.site);
}

}  // namespace

std::vector<GalleryScene> FrameScenes() {
  return {
      {"frame-3000", [](GalleryStage& stage) { Frame(stage, 3000); }},
      {"frame-800", [](GalleryStage& stage) { Frame(stage, 800); }},
      {"frame-3000-nomin-resized",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.frame.Nomin();
         // The host asks for another height: the frame keeps 405 and redraws its whole bar.
         f.site->SetSize({3000, 600});
         stage.Picture(*f.site);
       }},
      {"frame-nomin",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.frame.Nomin();
         stage.Picture(*f.site);
       }},
      {"printform-4500x3000",
       [](GalleryStage& stage) {
         auto host = stage.MakeHost({4500, 3000});
         FrameOnStage f(stage, 4500);
         f.frame.Printform(*host);
         stage.Picture(*host, *f.site, {0, 0});
       }},
      {"frame-hover-close",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.site->MouseMove(f.Centre("Pclose"));
         stage.Picture(*f.site);
       }},
      {"frame-hover-min",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.site->MouseMove(f.Centre("Pmin"));
         stage.Picture(*f.site);
       }},
      {"frame-pressed-min",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.site->MouseMove(f.Centre("Pmin"));
         f.site->MouseDown(f.Centre("Pmin"));
         stage.Picture(*f.site);
       }},
      {"frame-pressed-close",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.site->MouseMove(f.Centre("Pclose"));
         f.site->MouseDown(f.Centre("Pclose"));
         stage.Picture(*f.site);
       }},
      {"frame-events",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         f.site->MouseDown({1500, 200}, kLeftButton, 0);
         f.site->MouseUp({1500, 200});
         f.site->Click({1500, 200});
         f.site->DblClick({1500, 200});
         f.site->MouseUp({1500, 200});
         for (const char* button : {"Pmin", "Pclose"}) {
           f.site->MouseDown(f.Centre(button));
           f.site->MouseUp(f.Centre(button));
           f.site->Click(f.Centre(button));
         }
         stage.Picture(*f.site);
       }},
      {"frame-stored-defaults",
       [](GalleryStage& stage) {
         FrameOnStage f(stage, 3000);
         MemoryPropertyStore store;
         (void)f.site->Load(store);  // an empty store cannot fail
         stage.Picture(*f.site);
       }},
  };
}

}  // namespace px::sim
