#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/frame/frame_skin.h"
#include "controls/sim/recording_site.h"

namespace px::sim {

// One scene of the gallery: the controls made, driven and looked at, every operation logged.
class GalleryStage {
 public:
  // raster: draw for real (cairo) so that the scene can be pictured; otherwise only log.
  // reader: the controls are also read as a screen reader in that language reads them, and
  // their descriptions logged (OpLog::ReadAccessibility).
  explicit GalleryStage(bool raster, std::optional<UiLanguage> reader = std::nullopt);

  OpLog& log() { return log_; }
  // The frame's skin, its pictures named in the log as the frame names them.
  const FrameSkin& frame_skin() const { return frame_skin_; }

  std::unique_ptr<RecordingSite> MakeSite(std::string name, TwipSize size);
  std::unique_ptr<RecordingHostWindow> MakeHost(TwipSize size);
  void LogEvent(const std::string& name, const std::string& args);

  // The scene's picture: a control's image with its visible children on top, optionally laid on
  // a host window's image at the control's position. Empty when the stage only logs.
  void Picture(RecordingSite& site);
  void Picture(RecordingHostWindow& host, RecordingSite& site, TwipPoint at);
  const PictureRef& picture() const { return picture_; }
  // For scenes that compose their picture themselves.
  bool raster() const { return raster_; }
  void SetPicture(PictureRef picture) { picture_ = std::move(picture); }

 private:
  PictureRef Compose(RecordingSite& site) const;

  bool raster_;
  OpLog log_;
  FrameSkin frame_skin_;
  PictureRef picture_;
};

struct GalleryScene {
  std::string name;
  std::function<void(GalleryStage&)> play;
};

// The scenes of each control, in the order the gallery shows them.
std::vector<GalleryScene> FrameScenes();
std::vector<GalleryScene> ButtonScenes();

}  // namespace px::sim
