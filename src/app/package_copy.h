#pragma once

#include <memory>
#include <span>

#include "base/text.h"
#include "detect/release_package.h"
#include "platform/system_info.h"

namespace px {

// The driver package as Windows gets it: the held files, checked against the release's
// hashes, copied into a private folder. PrintUIEntry and the spooler read the package again by
// name, long after the check; from the private folder they read the bytes that were checked.
struct PackageCopy {
  std::unique_ptr<PrivateFolder> folder;  // null when the package was refused
  // The file that made the package differ from the release's, and how; empty when accepted.
  Text refused_file;
  Text refusal;
};

// Checks and copies the package. Every file the release names must be held and read as its
// hash says; a held file the release does not name is refused when the INF names it (Windows
// would read it) and otherwise left behind. Without a release (a build for development), every
// held file is copied as it is. A folder that cannot be made or written is a SystemError.
Expected<PackageCopy> CopyPackage(const FileHold& hold, std::span<const PackageFile> release,
                                  SystemInfo& system);

}  // namespace px
