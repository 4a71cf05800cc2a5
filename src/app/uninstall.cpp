#include "app/uninstall.h"

#include <algorithm>
#include <optional>
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
  // The answer, or nothing when the box could not be shown: then nobody said yes.
  const auto ask = [&](const Text& text) -> std::optional<bool> {
    const Expected<bool> yes = boxes.AskYesNo(text);
    if (!yes) {
      events.On(event::Failure{yes.error()});
      return std::nullopt;
    }
    events.On(event::Question{text, yes.value()});
    return yes.value();
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
  if (const std::uint32_t error = Told(events, {u"EnumPrinters"},
                                       RetriedOnce([&] { return spooler.EnumQueues(queues); }))) {
    failed += failure(u"EnumPrinters", error);
  }
  if (const std::uint32_t error = Told(events, {u"EnumPrinterDrivers"},
                                       RetriedOnce([&] { return spooler.EnumDrivers(drivers); }))) {
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
    const std::optional<bool> yes = ask(text(TextId::kRemoveAsk) + listing);
    if (!yes) return failed_result;
    if (!*yes) {
      return {ExitCode::kRegistered, u"nothing removed: the user answered no"};
    }
  }

  Text removed;
  for (const PrinterQueueInfo& queue : queues) {
    const std::uint32_t error = Told(events, {u"DeletePrinter", queue.name},
                                     RetriedOnce([&] { return spooler.DeleteQueue(queue.name); }));
    if (error == 0) {
      removed += queue_line(queue);
    } else {
      failed += failure(queue.name, error);
    }
  }
  // Each driver goes in its own environment: a 64-bit Windows lists its x64 or ARM64 drivers
  // (and 32-bit ones for clients, perhaps) to this 32-bit program only when asked for all.
  std::vector<PrinterDriverInfo> packages;  // the packages those drivers came from
  for (const PrinterDriverInfo& driver : drivers) {
    const std::uint32_t error =
        Told(events, {u"DeletePrinterDriverEx", driver.environment, driver.name},
             RetriedOnce([&] { return spooler.DeleteDriver(driver.name, driver.environment); }));
    if (error != 0) {
      failed += failure(text(TextId::kDriverItem) + driver.name, error);
      continue;
    }
    removed += driver_line(driver);
    const bool listed =
        std::any_of(packages.begin(), packages.end(), [&](const PrinterDriverInfo& p) {
          return p.inf_path == driver.inf_path && p.environment == driver.environment;
        });
    if (!driver.inf_path.empty() && !listed) packages.push_back(driver);
  }
  // A package another driver still uses (one of another maker, say) stays in the store.
  for (const PrinterDriverInfo& package : packages) {
    const std::uint32_t error =
        Told(events, {u"DeletePrinterDriverPackage", package.inf_path, package.environment},
             RetriedOnce([&] {
               return spooler.DeleteDriverPackage(package.inf_path, package.environment);
             }));
    if (error != 0 && error != kErrorPrinterDriverPackageInUse) {
      failed += failure(package.inf_path, error);
    }
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
