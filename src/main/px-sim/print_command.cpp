// px-sim print: the bytes a one-page job sends to a printer of the machine, composed from the
// printer description its queue's driver was installed with, and the receipt they print.
#include <cmath>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "base/utf.h"
#include "commands.h"
#include "platform/sim/driver_data.h"
#include "platform/sim/gpd_file.h"
#include "platform/sim/host_file.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_spooler.h"
#include "receipt/escpos_printer.h"
#include "receipt/job_composer.h"
#include "receipt/receipt_picture.h"

namespace px::sim {

namespace {

struct PrintOptions {
  std::string machine;
  std::string printer;
  std::vector<std::string> settings;
  std::string page;
  bool test = false;
  std::string bytes;
  std::string png;
};

[[noreturn]] void Fail(const std::string& message, int code) {
  std::cerr << "px-sim: print: " << message << "\n";
  throw CLI::RuntimeError(code);
}

// The description of the queue's driver: the spooler stages the drivers of the machine's own
// package from <program folder>\PX\PX.inf, so the files are that folder's.
GpdFile InstalledDescription(const Machine& machine, const SimSystem& system,
                             const PrinterQueueInfo& queue) {
  SimSpooler spooler(machine, system);
  std::vector<PrinterDriverInfo> drivers;
  spooler.EnumDrivers(drivers);
  const auto driver = std::find_if(drivers.begin(), drivers.end(), [&](const auto& d) {
    return d.name == queue.driver && !d.inf_path.empty();
  });
  if (driver == drivers.end()) {
    Fail("the driver " + ToUtf8(queue.driver) + " of \"" + ToUtf8(queue.name) +
             "\" comes from no driver package of this machine",
         EX_NOINPUT);
  }
  const Text folder = machine.program_folder + u"\\PX\\";
  const auto read = [&](const Text& name) { return ReadHostFile(system.HostPath(folder + name)); };
  const std::optional<std::string> inf_bytes = read(u"PX.inf");
  if (!inf_bytes) Fail("the machine's driver package has no PX.inf", EX_NOINPUT);
  const InfFile inf = InfFile::Parse(*inf_bytes, "PX.inf");
  const std::optional<InfFile::Line> line =
      inf.ModelLine(queue.driver, {machine.arch, machine.windows_version});
  if (!line) Fail("PX.inf defines no model " + ToUtf8(queue.driver), EX_NOINPUT);
  if (const std::optional<std::string> problem = DriverDataProblem(inf, *line, read)) {
    Fail(*problem, EX_DATAERR);
  }
  const Text data_file = DataFileOf(inf, *line);
  return GpdFile::Parse(*read(data_file), ToUtf8(data_file), [&](const std::string& name) {
    std::optional<std::string> bytes = read(FromUtf8(name).value_or(Text()));
    if (!bytes) bytes.emplace();  // Unidrv's own includes (DriverDataProblem checked the rest)
    return bytes;
  });
}

void Print(const PrintOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  const SimSystem system(machine);
  SimSpooler spooler(machine, system);
  PrinterQueueInfo queue;
  if (spooler.GetQueue(FromUtf8(options.printer).value_or(Text()), queue) != 0) {
    std::string names;
    std::vector<PrinterQueueInfo> queues;
    spooler.EnumQueues(queues);
    for (const auto& q : queues) names += (names.empty() ? "" : ", ") + ToUtf8(q.name);
    Fail("the machine has no printer \"" + options.printer +
             "\" (its printers: " + (names.empty() ? "none" : names) + ")",
         EX_NOINPUT);
  }
  receipt::JobComposer composer(InstalledDescription(machine, system, queue));
  for (const std::string& setting : options.settings) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) Fail("--set " + setting + ": not Feature=Option", EX_USAGE);
    try {
      composer.Select(setting.substr(0, equals), setting.substr(equals + 1));
    } catch (const std::invalid_argument& error) {
      Fail("--set " + setting + ": " + error.what(), EX_USAGE);
    }
  }
  std::string bytes;
  try {
    const receipt::Page page = options.page.empty()
                                   ? receipt::TestPage(ToUtf8(queue.driver), ToUtf8(queue.port),
                                                       composer.printable_width())
                                   : receipt::ReadPagePng(options.page);
    bytes = composer.Compose(page);
  } catch (const std::exception& error) {
    Fail(error.what(), EX_DATAERR);
  }
  std::cout << ToUtf8(queue.name) << " on " << ToUtf8(queue.port) << ":";
  for (const auto& [feature, option] : composer.selected())
    std::cout << " " << feature << "=" << option;
  std::cout << "\n" << bytes.size() << " bytes\n";
  if (!options.bytes.empty()) {
    std::ofstream out(options.bytes, std::ios::binary);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
      Fail(options.bytes + ": cannot be written", EX_CANTCREAT);
    }
  }
  if (options.png.empty()) return;
  // The roll is the selected paper size's, its width in mm at the printers' 203 dpi.
  const int paper_mm =
      static_cast<int>(std::lround(composer.paper_width() * 25.4 / receipt::kDotsPerInch));
  try {
    const receipt::Receipt printed = receipt::Interpret(bytes, receipt::RollOf(paper_mm));
    std::cout << printed.log.size() << " commands: " << printed.length << " dot rows of paper, "
              << printed.cuts.size() << " cuts, " << printed.kicks.size() << " drawer kicks\n";
    receipt::WriteReceiptPng(printed, options.png);
  } catch (const receipt::EscPosError& error) {
    Fail("the printer refuses the job: " + std::string(error.what()), EX_DATAERR);
  } catch (const std::logic_error& error) {  // no roll of that width, or a receipt too long
    Fail(error.what(), EX_DATAERR);
  } catch (const std::runtime_error& error) {
    Fail(error.what(), EX_CANTCREAT);
  }
}

}  // namespace

void AddPrintCommand(CLI::App& app) {
  auto options = std::make_shared<PrintOptions>();
  auto* command = app.add_subcommand(
      "print",
      "Compose the bytes a one-page job sends to a printer of the machine, and print them");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command->add_option("--printer", options->printer, "The printer's queue")->required();
  command->add_option("--set", options->settings,
                      "Feature=Option of the printing preferences, e.g. CashDrawer=DRAWER1_BEFORE");
  auto* page = command->add_option("--page", options->page, "The page: a PNG, made 1-bit")
                   ->check(CLI::ExistingFile);
  command->add_flag("--test", options->test, "The built-in test receipt (the default)")
      ->excludes(page);
  command->add_option("--bytes", options->bytes, "Write the job's bytes here");
  command->add_option("--png", options->png, "Draw the receipt the printer makes of them here");
  command->callback([options] { Print(*options); });
}

}  // namespace px::sim
