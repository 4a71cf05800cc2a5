// px-sim gallery: the control set drawn to PNG files, or its operations printed.
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "controls/sim/cairo_surface.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

struct GalleryOptions {
  std::string out = "gallery";
  bool ops = false;
  std::vector<std::string> scenes;
};

std::vector<GalleryScene> AllScenes() {
  std::vector<GalleryScene> scenes = FrameScenes();
  for (GalleryScene& scene : ButtonScenes()) scenes.push_back(std::move(scene));
  return scenes;
}

int Gallery(const GalleryOptions& options) {
  std::vector<GalleryScene> scenes = AllScenes();
  for (const std::string& name : options.scenes) {
    if (std::none_of(scenes.begin(), scenes.end(),
                     [&](const GalleryScene& s) { return s.name == name; })) {
      std::cerr << "px-sim gallery: no scene named " << name << "\n";
      return EX_USAGE;
    }
  }
  std::error_code error;
  if (!options.ops) {
    std::filesystem::create_directories(options.out, error);
    if (error) {
      std::cerr << "px-sim gallery: " << options.out << ": " << error.message() << "\n";
      return EX_CANTCREAT;
    }
  }
  for (const GalleryScene& scene : scenes) {
    if (!options.scenes.empty() && std::find(options.scenes.begin(), options.scenes.end(),
                                             scene.name) == options.scenes.end()) {
      continue;
    }
    GalleryStage stage(!options.ops);
    scene.play(stage);
    if (options.ops) {
      std::cout << "scene\t" << scene.name << "\n";
      for (const std::string& line : stage.log().lines()) std::cout << line << "\n";
      continue;
    }
    const std::filesystem::path file = std::filesystem::path(options.out) / (scene.name + ".png");
    if (!stage.picture() || !WritePng(*stage.picture(), file)) {
      std::cerr << "px-sim gallery: " << file.string() << ": cannot be written\n";
      return EX_CANTCREAT;
    }
    std::cout << file.string() << "\n";
  }
  return 0;
}

}  // namespace

void AddGalleryCommand(CLI::App& app) {
  auto options = std::make_shared<GalleryOptions>();
  CLI::App* command =
      app.add_subcommand("gallery", "Draw the control set to PNG files, one per scene");
  command->add_option("--out", options->out, "Folder for the PNG files (default: gallery)");
  command->add_flag("--ops", options->ops,
                    "Print each scene's drawing operations instead of drawing it");
  command->add_option("--scene", options->scenes, "Only this scene (repeatable)");
  command->callback([options] {
    const int rc = Gallery(*options);
    if (rc != 0) throw CLI::RuntimeError(rc);
  });
}

}  // namespace px::sim
