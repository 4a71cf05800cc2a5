#pragma once

#include <span>
#include <string_view>

namespace px {

// A file of the driver package and the SHA-256 of its bytes, in lower-case hex.
struct PackageFile {
  std::u16string_view name;
  std::string_view sha256;
};

// The driver package this build was released with; empty in a build for development that
// carries no hashes. Generated from the repository's PX folder when the build is configured.
std::span<const PackageFile> ReleasePackageFiles();

}  // namespace px
