#include <iostream>

#include "app/run_log.h"
#include "base/utf.h"
#include "commands.h"
#include "detect/detect_usb_printer.h"
#include "platform/sim/dependent_list.h"
#include "platform/sim/host_file.h"
#include "texts/installer_texts.h"

namespace px::sim {

namespace {

struct DetectOptions {
  std::string machine;
  std::int64_t at_ms = 0;
  std::string usb_file;
  std::string lang;
};

std::vector<Text> ReadUsbFile(const std::string& file) {
  const std::optional<std::string> bytes = ReadHostFile(file);
  if (!bytes) throw MachineFileMissing(file + ": cannot be read");
  return ParseDependentList(*bytes, file);
}

void Detect(const DetectOptions& options) {
  const Machine machine = LoadMachineArg(options.machine);
  const std::vector<Text> paths = options.usb_file.empty() ? machine.DependentsAt(options.at_ms)
                                                           : ReadUsbFile(options.usb_file);

  FormTexts form(NoReaders());
  form.SetCaption(Text(kCaption));
  DetectionState state;
  const std::int16_t language_flag =
      options.lang.empty() ? LanguageFlagFor(machine.ui_language) : (options.lang == "zh" ? 0 : 1);
  ScanAssociations(state, language_flag, form, paths, ModelTable::Builtin());

  std::cout << "PrinterFound\t" << state.PrinterFound << "\n"
            << "ModelName\t" << RunLog::Escape(state.ModelName) << "\n"
            << "Caption\t" << RunLog::Escape(form.Caption()) << "\n"
            << "Label1(2)\t" << RunLog::Escape(form.Label1(2)) << "\n"
            << "Label1(3)\t" << RunLog::Escape(form.Label1(3)) << "\n"
            << "ScanCounter\t" << state.ScanCounter << "\n";
}

}  // namespace

void AddDetectCommand(CLI::App& app) {
  auto options = std::make_shared<DetectOptions>();
  auto* command = app.add_subcommand("detect", "One detection pass on the USB devices present");
  command->add_option("MACHINE", options->machine, "Machine folder or name (default: built-in)");
  command->add_option("--at", options->at_ms, "The moment of the machine's USB list (ms)")
      ->check(CLI::NonNegativeNumber);
  command->add_option("--usb", options->usb_file,
                      "A Dependent list instead (wmic or PowerShell output, as saved)");
  command->add_option("--lang", options->lang, "UI language instead of the machine's")
      ->check(CLI::IsMember({"zh", "en"}));
  command->callback([options] { Detect(*options); });
}

}  // namespace px::sim
