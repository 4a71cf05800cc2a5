#include "app/package_copy.h"

#include <algorithm>

#include "base/sha256.h"
#include "base/utf.h"

namespace px {
namespace {

PackageCopy Refused(TextView file, TextView why) { return {nullptr, Text(file), Text(why)}; }

}  // namespace

Expected<PackageCopy> CopyPackage(const FileHold& hold, std::span<const PackageFile> release,
                                  SystemInfo& system) {
  const std::vector<Text> held = hold.Names();
  std::vector<std::pair<Text, std::string>> files;  // what goes into the copy
  if (release.empty()) {
    for (const Text& name : held) {
      Expected<std::string> bytes = hold.Read(name);
      if (!bytes) return Refused(name, bytes.error().text);
      files.emplace_back(name, std::move(bytes.value()));
    }
  } else {
    Text inf_names;  // the INF's text, folded: which file names Windows may look for
    for (const PackageFile& file : release) {
      const auto found = std::find_if(held.begin(), held.end(), [&](const Text& name) {
        return SameIgnoringAsciiCase(name, file.name);
      });
      if (found == held.end()) return Refused(file.name, u"missing");
      Expected<std::string> bytes = hold.Read(*found);
      if (!bytes) return Refused(file.name, bytes.error().text);
      if (Sha256Hex(bytes.value()) != file.sha256) return Refused(file.name, u"changed");
      if (SameIgnoringAsciiCase(file.name, u"PX.inf")) {
        inf_names = AsciiLowercase(FromUtf8(bytes.value()).value_or(Text()));
      }
      files.emplace_back(Text(file.name), std::move(bytes.value()));
    }
    for (const Text& name : held) {
      const bool released = std::any_of(release.begin(), release.end(), [&](const PackageFile& f) {
        return SameIgnoringAsciiCase(f.name, name);
      });
      if (!released && inf_names.find(AsciiLowercase(name)) != Text::npos) {
        return Refused(name, u"not part of the release");
      }
    }
  }

  Expected<std::unique_ptr<PrivateFolder>> folder = system.MakePrivateFolder();
  if (!folder) return folder.error();
  for (const auto& [name, bytes] : files) {
    if (Status written = folder.value()->Write(name, bytes); !written) return written.error();
  }
  return PackageCopy{std::move(folder.value()), {}, {}};
}

}  // namespace px
