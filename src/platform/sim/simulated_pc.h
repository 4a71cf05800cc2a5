#pragma once

#include <span>

#include "base/sim/event_loop.h"
#include "detect/release_package.h"
#include "platform/sim/machine.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_sim.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_unattended_lock.h"

namespace px::sim {

// The release a machine's installer was built as: the one of the repository's driver package,
// unless the machine's package is another folder. That one runs as a build for development, or,
// with release = true, as the release it should be a copy of.
inline std::span<const PackageFile> ReleasePackageOf(const Machine& machine) {
  if (machine.release || machine.package_dir == DefaultPackageDir()) return ReleasePackageFiles();
  return {};
}

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
    system.SetFaults(&faults);
    lock.SetFaults(&faults);
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
  SimUnattendedLock lock;
};

}  // namespace px::sim
