// What the button costs at its busiest moments: a timer tick that changes nothing, a repaint,
// and cutting a strip into frames, on the simulated host with a raster surface.
#include <benchmark/benchmark.h>

#include "base/sim/event_loop.h"
#include "controls/button/ibutton.h"
#include "controls/sim/button_site_sim.h"
#include "controls/sim/cairo_surface.h"
#include "gallery/button_strips.h"

namespace px::sim {
namespace {

struct Bench {
  explicit Bench(std::int32_t style)
      : site("button", log, api, loop, host, {300, 300}, iButton::kDesignSize,
             std::make_unique<CairoSurface>(iButton::kDesignSize)),
        button(site, events) {
    (void)button.SetStyle(style);
    (void)button.SetAutoSize(true);
    (void)button.SetBackPicture(style == 0 ? DrawPushStrip() : DrawToggleStrip());
    (void)button.SetCaption(u"Install");
    site.Site();
  }
  OpLog log;
  EventLoop loop{EventLoop::Clock::kVirtual};
  SimButtonApi api;
  std::int32_t host = api.AddWindow(0, {0, 0, 800, 600});
  ButtonSimSite site;
  iButtonEvents events;
  iButton button;
};

// The pointer rests on the button: every 50 ms tick asks where the cursor is, and draws nothing.
void BM_TickWithoutChange(benchmark::State& state) {
  Bench b(0);
  b.site.MoveTo({600, 225});
  for (auto _ : state) {
    b.loop.Run(b.loop.NowMs() + 50);
    b.log.ClearLines();
  }
}
BENCHMARK(BM_TickWithoutChange);

// A full repaint: clear, one stretched frame, the caption.
void BM_FullRepaint(benchmark::State& state) {
  Bench b(0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.button.cMouseAction(Hover, true));
    b.log.ClearLines();
  }
}
BENCHMARK(BM_FullRepaint);

// Cutting the strip into its frames (4 for a push button, 8 for a toggle), then a repaint.
void BM_BuildStateFrames(benchmark::State& state) {
  const std::int32_t style = static_cast<std::int32_t>(state.range(0));
  Bench b(style);
  const PictureRef strip = style == 0 ? DrawPushStrip() : DrawToggleStrip();
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.button.SetBackPicture(strip));
    b.log.ClearLines();
  }
}
BENCHMARK(BM_BuildStateFrames)->Arg(0)->Arg(1);

}  // namespace
}  // namespace px::sim
