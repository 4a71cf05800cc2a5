#pragma once

// Whole runs of the installer on a simulated machine, on the virtual clock, read from the trace.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/run_installer.h"
#include "app/run_lines.h"
#include "base/sim/event_loop.h"
#include "base/utf.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_sim.h"
#include "platform/sim/sim_form_host.h"
#include "platform/sim/sim_message_boxes.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/simulated_pc.h"
#include "platform/sim/trace.h"

namespace px::testing {

inline Text Device(const char16_t* id) {
  return Text(u"\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"") + id + u"\"";
}
inline const Text kHub = Device(u"USB\\\\ROOT_HUB30\\\\4&1F&0&0");
inline const Text kPrinter = Device(u"USB\\\\VID_1A86&PID_A798\\\\5&2A1B3C4D&0&3");
inline const Text kMassStorage = Device(u"USB\\\\VID_0483&PID_5720\\\\5&2A1B3C4D&0&3");

// The registry usbprint leaves for the printer above: its interface on port 1.
inline constexpr char kPrinterRegistry[] =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
    "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#USB#VID_1A86&PID_A798#5&2a1b3c4d&0&3#"
    "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters]\r\n"
    "\"Port Number\"=dword:00000001\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\usbprint\\Enum]\r\n"
    "\"0\"=\"USB\\\\VID_1A86&PID_A798\\\\5&2a1b3c4d&0&3\"\r\n";

class InstallerRun : public ::testing::Test {
 protected:
  InstallerRun() {
    machine.program_folder = u"C:\\Drivers";
    machine.package_dir = sim::DefaultPackageDir();
    machine.ports = {u"LPT1:", u"USB001"};
    machine.install_ms = 2500;
    machine.usb = {{0, "hub", {kHub}}, {7500, "printer", {kHub, kPrinter}}};
  }

  // Runs until the program ends, or closes the window at close_at_ms.
  void Run(std::int64_t close_at_ms = 600000) {
    out.str("");
    sim::EventLoop loop(sim::EventLoop::Clock::kVirtual);
    sim::StreamSink sink(out);
    TraceLines trace(&sink, [&loop] { return loop.NowMs(); });
    sim::SimUsb usb(machine, loop);
    sim::SimProcesses processes(loop);
    sim::SimSystem system(machine);
    sim::SimRegistry registry(936);
    if (with_registry) {
      sim::LoadRegFile(registry.store(), registry_text, "printer.reg", registry.code_page());
    }
    sim::SimSpooler spooler(machine, system);
    processes.SetRunner([this, &spooler, &system](const Text& line) {
      holds_at_launch = system.holds();
      return spooler.Run(line);
    });
    processes.SetStartFailures(machine.start_fails);
    sim::SimFormHost host(loop, {}, close_at_ms);
    sim::SimMessageBoxes boxes(nullptr);
    Backend backend{usb, registry, processes, spooler, system, host, boxes, {}};
    backend.release_package = sim::ReleasePackageOf(machine);
    backend.package_whql_signed = whql_signed;
    ParsedCommandLine command_line;
    command_line.options.quiet = quiet;
    command_line.options.wait_seconds = wait_seconds;
    const RunResult run = RunInstaller(command_line, backend, trace);
    queues = spooler.printers();
    printers = queues.size();
    holds_at_end = system.holds();
    copied_files_at_end = system.private_files();
    result = run.window_closed ? std::nullopt : std::optional<ExitCode>(run.code);
    end_ms = loop.NowMs();
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Has(const std::string& line) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::size_t CountOf(const std::string& part) const {
    std::size_t n = 0;
    for (const std::string& line : Lines()) n += line.find(part) != std::string::npos;
    return n;
  }
  std::string Last() const { return Lines().back(); }

  sim::Machine machine;
  bool with_registry = true;
  bool quiet = false;        // /quiet, with /wait wait_seconds
  bool whql_signed = false;  // the release's driver package is WHQL-signed
  std::int32_t wait_seconds = 300;
  std::optional<ExitCode> result;  // how the run ended; none when the window was closed
  std::int64_t end_ms = 0;
  std::string registry_text = kPrinterRegistry;
  std::ostringstream out;
  std::size_t printers = 0;
  int holds_at_launch = 0;  // holds on the driver package when the last command was launched
  int holds_at_end = 0;     // ... and when the run had ended
  std::size_t copied_files_at_end = 0;    // files of private copies of the package left then
  std::vector<sim::PrinterQueue> queues;  // the spooler's queues after the run
};

}  // namespace px::testing
