// The image button's scenes: its strips, each state, push and toggle, stretched, with and
// without its shape mask, on a true-colour and on a 256-colour display.
#include <memory>
#include <sstream>

#include "base/sim/event_loop.h"
#include "controls/button/ibutton.h"
#include "controls/sim/button_site_sim.h"
#include "controls/sim/cairo_surface.h"
#include "gallery/button_strips.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

// The host window, 300 x 100 pixels, and where the button sits on it.
constexpr TwipSize kHostSize{4500, 1500};
constexpr TwipPoint kAt{450, 300};

// The host's handlers: every event goes into the scene's log with its arguments.
class LoggedEvents final : public iButtonEvents {
 public:
  explicit LoggedEvents(GalleryStage& stage) : stage_(stage) {}
  void Click() override { stage_.LogEvent("Click", ""); }
  void MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse("MouseDown", b, s, x, y);
  }
  void KeyDown(std::int16_t& k, std::int16_t& s) override { Key("KeyDown", k, s); }
  void KeyUP(std::int16_t& k, std::int16_t& s) override { Key("KeyUP", k, s); }
  void KeyPress(std::int16_t& k) override { stage_.LogEvent("KeyPress", std::to_string(k)); }
  void MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse("MouseUp", b, s, x, y);
  }
  void MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    Mouse("MouseMove", b, s, x, y);
  }
  void MouseOut() override { stage_.LogEvent("MouseOut", ""); }
  void MouseOver() override { stage_.LogEvent("MouseOver", ""); }
  void DBClick() override { stage_.LogEvent("DBClick", ""); }

 private:
  void Mouse(const char* name, std::int16_t b, std::int16_t s, float x, float y) {
    std::ostringstream args;
    args << b << "," << s << "," << x << "," << y;
    stage_.LogEvent(name, args.str());
  }
  void Key(const char* name, std::int16_t k, std::int16_t s) {
    stage_.LogEvent(name, std::to_string(k) + "," + std::to_string(s));
  }
  GalleryStage& stage_;
};

struct Setup {
  std::int32_t style = 0;
  bool auto_size = true;
  std::int16_t back_style = 0;  // the shape mask on
  const char16_t* caption = u"OK";
  bool palette_display = false;
  bool picture = true;
  TwipSize size = iButton::kDesignSize;
};

// A button loaded from saved settings onto a host window, shown, with a virtual clock for its
// timer. Its white caption reads on every frame.
struct ButtonOnStage {
  ButtonOnStage(GalleryStage& stage, const Setup& setup)
      : stage(stage),
        host(stage.MakeHost(kHostSize)),
        host_hwnd(api.AddWindow(
            0, {0, 0, TwipsToPixels(kHostSize.width), TwipsToPixels(kHostSize.height)})),
        site("iButton", stage.log(), api, loop, host_hwnd, kAt, setup.size,
             stage.raster() ? std::make_unique<CairoSurface>(setup.size) : nullptr),
        events(stage),
        button(site, events) {
    api.SetPaletteDisplay(setup.palette_display);
    MemoryPropertyStore store;
    if (setup.picture) {
      PictureRef strip = setup.style == 0 ? DrawPushStrip() : DrawToggleStrip();
      stage.log().NamePicture(strip.get(), setup.style == 0 ? "push-strip" : "toggle-strip");
      store.Set(u"BackPicture", strip);
    }
    store.Set(u"Style", setup.style);
    store.Set(u"AutoSize", setup.auto_size);
    store.Set(u"cBackStyle", std::int32_t{setup.back_style});
    store.Set(u"Caption", Text(setup.caption));
    store.Set(u"cForeColor", static_cast<std::int32_t>(setup.picture ? kWhite : kBlack));
    (void)site.Load(store);  // every value above is one the button takes
    site.Site();
  }
  TwipPoint Centre() const { return {site.Size().width / 2, site.Size().height / 2}; }
  void RunFor(std::int64_t ms) { loop.Run(loop.NowMs() + ms); }
  // The host window with the button on it, as the screen shows them.
  void Picture() {
    if (!stage.raster()) return;
    stage.SetPicture(DrawOver(*host->GetSurface().Image(), *site.VisibleImage(),
                              TwipsToPixels(kAt.x), TwipsToPixels(kAt.y)));
  }

  GalleryStage& stage;
  EventLoop loop{EventLoop::Clock::kVirtual};
  SimButtonApi api;
  std::unique_ptr<RecordingHostWindow> host;
  std::int32_t host_hwnd;
  ButtonSimSite site;
  LoggedEvents events;
  iButton button;
};

GalleryScene Still(std::string name, Setup setup,
                   std::function<void(ButtonOnStage&)> act = nullptr) {
  return {std::move(name), [setup, act](GalleryStage& stage) {
            ButtonOnStage b(stage, setup);
            if (act) act(b);
            b.Picture();
          }};
}

Setup Toggle() {
  Setup s;
  s.style = 1;
  s.caption = u"Sound";
  return s;
}

}  // namespace

std::vector<GalleryScene> ButtonScenes() {
  Setup stretched;
  stretched.auto_size = false;
  stretched.size = {3000, 900};
  stretched.caption = u"Install";
  Setup opaque;
  opaque.back_style = 1;
  Setup palette;
  palette.palette_display = true;
  Setup no_picture;
  no_picture.picture = false;
  no_picture.size = {2400, 900};
  Setup stretched_opaque = stretched;
  stretched_opaque.back_style = 1;

  return {
      {"button-strips",
       [](GalleryStage& stage) {
         auto host = stage.MakeHost({6300, 1500});
         host->GetSurface().CopyPicture(*DrawPushStrip(), {0, 0, 6000, 450}, {150, 225, 6000, 450});
         host->GetSurface().CopyPicture(*DrawToggleStrip(), {0, 0, 6000, 450},
                                        {150, 825, 6000, 450});
         if (stage.raster()) stage.SetPicture(host->GetSurface().Image());
       }},
      Still("button-push-autosize", Setup{}),
      Still("button-toggle-autosize", Toggle()),
      Still("button-push-stretched", stretched),
      Still("button-push-stretched-opaque", stretched_opaque),
      Still("button-state-normal", Setup{}),
      Still("button-state-hover", Setup{}, [](ButtonOnStage& b) { b.site.MoveTo(b.Centre()); }),
      Still("button-state-pressed", Setup{},
            [](ButtonOnStage& b) {
              b.site.MoveTo(b.Centre());
              b.site.Press();
            }),
      Still("button-state-disabled", Setup{},
            [](ButtonOnStage& b) { (void)b.button.SetEnabled(false); }),
      Still("button-toggle-on", Toggle(), [](ButtonOnStage& b) { (void)b.button.SetValue(true); }),
      Still("button-toggle-on-hover", Toggle(),
            [](ButtonOnStage& b) {
              b.site.Click(b.Centre());  // the click turns it on; the pointer stays
            }),
      Still("button-toggle-on-disabled", Toggle(),
            [](ButtonOnStage& b) {
              (void)b.button.SetValue(true);
              (void)b.button.SetEnabled(false);
            }),
      Still("button-opaque", opaque),
      Still("button-palette-display", palette),
      Still("button-no-picture", no_picture),
      Still("button-events", Toggle(),
            [](ButtonOnStage& b) {
              b.site.DoubleClick(b.Centre());
              b.site.Focus();
              b.site.KeyDown(kKeyReturn);
              b.site.KeyPress(kKeyReturn);
              b.site.KeyUp(kKeyReturn);
              b.site.KeyDown(kKeySpace);
              b.site.KeyPress(kKeySpace);
              b.site.KeyUp(kKeySpace);
              b.site.Click(b.Centre(), kRightButton);
              b.site.MoveAway();
              b.RunFor(50);
            }),
  };
}

}  // namespace px::sim
