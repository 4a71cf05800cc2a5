#pragma once

#include <vector>

#include "base/text.h"

namespace px::capture {

// px-capture.exe [FOLDER] [/quiet], its switches taken as the installer takes its own: "/quiet"
// and "-quiet" alike, letter case ignored, /? for the usage, anything unknown an error; a
// command line that holds /quiet anywhere shows no box, even when it is not understood.
struct CaptureOptions {
  Text folder;  // where the capture goes; empty: a new folder on the desktop
  bool quiet = false;
  bool usage = false;
};

struct ParsedCaptureLine {
  CaptureOptions options;
  Text error;  // empty when the whole command line was understood
};

ParsedCaptureLine ParseCaptureCommandLine(const std::vector<Text>& args);

}  // namespace px::capture
