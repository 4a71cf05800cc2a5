#pragma once

#include "base/sim/event_loop.h"
#include "platform/sim/machine.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_sim.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"

namespace px::sim {

// The PC a simulated run happens on: its USB devices over time, its programs (whose commands
// the spooler stand-in carries out), its files, registry and spooler, and the failures planned
// for its calls: the backend px-sim's run
// and replay, and the tests, run the installer on.
struct SimulatedPc {
  SimulatedPc(const Machine& machine, const EventLoop& loop)
      : faults(machine.planned_faults),
        usb(machine, loop),
        processes(loop),
        system(machine),
        registry(LoadMachineRegistry(machine)),
        spooler(machine, system) {
    usb.SetFaults(&faults);
    processes.SetFaults(&faults);
    registry.SetFaults(&faults);
    spooler.SetFaults(&faults);
    processes.SetStartFailures(machine.start_fails);
    processes.SetRunner([this](const Text& command_line) { return spooler.Run(command_line); });
  }
  SimulatedPc(const SimulatedPc&) = delete;
  SimulatedPc& operator=(const SimulatedPc&) = delete;

  // The machine's planned faults and the count of every call; the log files of a run on it
  // may take them too (SimLogFiles::SetFaults).
  FaultPlan faults;
  SimUsb usb;
  SimProcesses processes;
  SimSystem system;
  SimRegistry registry;
  SimSpooler spooler;
};

}  // namespace px::sim
