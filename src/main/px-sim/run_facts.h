#pragma once

#include "events/run_events.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_spooler.h"

namespace px::sim {

// Who runs on which simulated PC, as the installer's log names it on its first line.
event::Start HeaderFor(const Machine& machine, const Text& arguments);

// What the machine's spooler holds after a run, for the person running the simulation: one
// line each on standard error.
void ReportSpooler(const SimSpooler& spooler);

}  // namespace px::sim
