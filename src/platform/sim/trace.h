#pragma once

#include "app/run_log.h"

namespace px::sim {

// px-sim's --trace is the installer's run log, written to a file or stdout.
using Trace = RunLog;

}  // namespace px::sim
