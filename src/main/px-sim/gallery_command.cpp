// px-sim gallery: the control set drawn to PNG files, or its operations printed.
#include <filesystem>
#include <iostream>
#include <optional>

#include "commands.h"
#include "controls/sim/cairo_surface.h"
#include "gallery/gallery.h"

namespace px::sim {
namespace {

struct GalleryOptions {
  std::string out = "gallery";
  bool ops = false;
  bool accessibility = false;
  std::string lang = "en";
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
  // Reading the controls lists the operations too: each description follows the operation
  // after which it changed.
  const bool list = options.ops || options.accessibility;
  std::optional<UiLanguage> reader;
  if (options.accessibility) {
    reader = options.lang == "zh" ? UiLanguage::kChinese : UiLanguage::kEnglish;
  }
  std::error_code error;
  if (!list) {
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
    GalleryStage stage(!list, reader);
    scene.play(stage);
    if (list) {
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
  CLI::Option* accessibility =
      command->add_flag("--accessibility", options->accessibility,
                        "Print the operations and, after each that changed it, each control's "
                        "accessible role, name, state and default action");
  command->add_option("--lang", options->lang, "The reader's language: zh or en (default en)")
      ->check(CLI::IsMember({"zh", "en"}))
      ->needs(accessibility);
  command->add_option("--scene", options->scenes, "Only this scene (repeatable)");
  command->callback([options] {
    const int rc = Gallery(*options);
    if (rc != 0) throw CLI::RuntimeError(rc);
  });
}

}  // namespace px::sim
