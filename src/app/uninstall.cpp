#include "app/uninstall.h"

#include <algorithm>
#include <vector>

#include "texts/installer_texts.h"

namespace px {

namespace {

bool IsPackageModel(const ModelTable& table, TextView name) {
  return std::any_of(table.rows().begin(), table.rows().end(), [name](const ModelRow& row) {
    return row.model == name || (!row.model_dash.empty() && row.model_dash == name);
  });
}

}  // namespace

UninstallResult Uninstall(PrintSpooler& spooler, MessageBoxes& boxes, const ModelTable& table,
                          std::int16_t language_flag, bool quiet, RunEvents& events) {
  const auto show = [&](const Text& text) {
    events.On(event::Message{text});
    boxes.ShowMessage(text);
  };
  const auto ask = [&](const Text& text) {
    const bool yes = boxes.AskYesNo(text);
    events.On(event::Question{text, yes});
    return yes;
  };
  const auto text = [language_flag](TextId id) { return Text(TextFor(id, language_flag)); };
  // One line of a box: what, and the error code when it failed.
  const auto failure = [&text](TextView what, std::uint32_t error) {
    return u"\n" + Text(what) + u" (" + text(TextId::kErrorWord) + u" " + Decimal(error) + u")";
  };
  const auto queue_line = [](const PrinterQueueInfo& q) {
    return u"\n" + q.name + u" (" + q.port + u")";
  };
  const auto driver_line = [&text](const PrinterDriverInfo& d) {
    return u"\n" + text(TextId::kDriverItem) + d.name;
  };
  const UninstallResult failed_result{ExitCode::kSystemError,
                                      ExitCodeMeaning(ExitCode::kSystemError)};

  std::vector<PrinterQueueInfo> queues;
  std::vector<PrinterDriverInfo> drivers;
  Text failed;
  if (const std::uint32_t error = Told(events, {u"EnumPrinters"}, spooler.EnumQueues(queues))) {
    failed += failure(u"EnumPrinters", error);
  }
  if (const std::uint32_t error =
          Told(events, {u"EnumPrinterDrivers"}, spooler.EnumDrivers(drivers))) {
    failed += failure(u"EnumPrinterDrivers", error);
  }
  if (!failed.empty()) {
    show(text(TextId::kRemoveFailed) + failed);
    return failed_result;
  }
  std::erase_if(queues,
                [&](const PrinterQueueInfo& q) { return !IsPackageModel(table, q.driver); });
  std::erase_if(drivers,
                [&](const PrinterDriverInfo& d) { return !IsPackageModel(table, d.name); });
  if (queues.empty() && drivers.empty()) {
    show(text(TextId::kNothingToRemove));
    return {ExitCode::kRegistered, u"nothing to remove: no printer or driver of the package"};
  }

  if (!quiet) {
    // The queues by name and port, then the drivers no listed queue names.
    Text listing;
    for (const PrinterQueueInfo& queue : queues) listing += queue_line(queue);
    for (const PrinterDriverInfo& driver : drivers) {
      const bool named = std::any_of(queues.begin(), queues.end(), [&](const PrinterQueueInfo& q) {
        return q.driver == driver.name;
      });
      if (!named) listing += driver_line(driver);
    }
    if (!ask(text(TextId::kRemoveAsk) + listing)) {
      return {ExitCode::kRegistered, u"nothing removed: the user answered no"};
    }
  }

  Text removed;
  for (const PrinterQueueInfo& queue : queues) {
    const std::uint32_t error =
        Told(events, {u"DeletePrinter", queue.name}, spooler.DeleteQueue(queue.name));
    if (error == 0) {
      removed += queue_line(queue);
    } else {
      failed += failure(queue.name, error);
    }
  }
  std::vector<Text> packages;
  for (const PrinterDriverInfo& driver : drivers) {
    const std::uint32_t error =
        Told(events, {u"DeletePrinterDriverEx", driver.name}, spooler.DeleteDriver(driver.name));
    if (error != 0) {
      failed += failure(text(TextId::kDriverItem) + driver.name, error);
      continue;
    }
    removed += driver_line(driver);
    if (!driver.inf_path.empty() &&
        std::find(packages.begin(), packages.end(), driver.inf_path) == packages.end()) {
      packages.push_back(driver.inf_path);
    }
  }
  // A package another driver still uses (one of another environment, say) stays in the store.
  for (const Text& package : packages) {
    const std::uint32_t error = Told(events, {u"DeletePrinterDriverPackage", package},
                                     spooler.DeleteDriverPackage(package));
    if (error != 0 && error != kErrorPrinterDriverPackageInUse) failed += failure(package, error);
  }

  if (!failed.empty()) {
    show(text(TextId::kRemoveFailed) + failed +
         (removed.empty() ? Text() : u"\n" + text(TextId::kRemoved) + removed));
    return failed_result;
  }
  show(text(TextId::kRemoved) + removed);
  return {ExitCode::kRegistered, u"the printers and drivers of the package are removed"};
}

}  // namespace px
