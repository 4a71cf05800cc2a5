#pragma once

#include <cstdint>

#include "app/exit_codes.h"
#include "detect/model_table.h"
#include "events/run_events.h"
#include "platform/message_boxes.h"
#include "platform/print_spooler.h"

namespace px {

// How a removal ended: the exit code, and what it means in the log's words (0 stands both for
// "removed" and for "nothing to remove").
struct UninstallResult {
  ExitCode code;
  TextView meaning;
};

// px-installer /uninstall: removes every queue whose driver is a model of the driver package,
// on whatever port, then every driver of the package, then the package from the driver store
// once no driver uses it. Queues and drivers of other makers stay. Windowed (quiet false), a
// question lists what will go before anything does, and a closing box says what went; quiet
// runs ask nothing. Any failed call makes the result 6, after the rest has been tried. Every box
// and every spooler call but the look-ups is told to events.
UninstallResult Uninstall(PrintSpooler& spooler, MessageBoxes& boxes, const ModelTable& table,
                          std::int16_t language_flag, bool quiet, RunEvents& events);

}  // namespace px
