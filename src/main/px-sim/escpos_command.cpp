// px-sim escpos: a virtual receipt printer. It carries out the bytes of a job as the PX printers
// do and draws the receipt that comes out.
#include <iostream>
#include <optional>

#include "commands.h"
#include "platform/sim/host_file.h"
#include "receipt/escpos_printer.h"
#include "receipt/receipt_picture.h"

namespace px::sim {

namespace {

struct EscPosOptions {
  std::string in;
  std::string png;
  int paper = 58;
};

void EscPos(const EscPosOptions& options) {
  // A job that cannot be read is not printed as an empty one.
  const std::optional<std::string> bytes = ReadHostFile(options.in);
  if (!bytes) {
    std::cerr << "px-sim: escpos: " << options.in << ": cannot be read\n";
    throw CLI::RuntimeError(EX_NOINPUT);
  }
  receipt::Receipt receipt;
  try {
    receipt = receipt::Interpret(*bytes, receipt::RollOf(options.paper));
  } catch (const receipt::EscPosError& error) {
    for (const std::string& line : error.log()) std::cout << line << "\n";
    std::cerr << "px-sim: escpos: " << options.in << ": " << error.what() << "\n";
    throw CLI::RuntimeError(EX_DATAERR);
  }
  for (const std::string& line : receipt.log) std::cout << line << "\n";
  std::cout << receipt.log.size() << " commands: " << receipt.length << " dot rows of paper, "
            << receipt.cuts.size() << " cuts, " << receipt.kicks.size() << " drawer kicks\n";
  try {
    receipt::WriteReceiptPng(receipt, options.png);
  } catch (const std::length_error& error) {
    std::cerr << "px-sim: escpos: " << error.what() << "\n";
    throw CLI::RuntimeError(EX_DATAERR);
  } catch (const std::runtime_error& error) {
    std::cerr << "px-sim: escpos: " << error.what() << "\n";
    throw CLI::RuntimeError(EX_CANTCREAT);
  }
}

}  // namespace

void AddEscPosCommand(CLI::App& app) {
  auto options = std::make_shared<EscPosOptions>();
  auto* command = app.add_subcommand(
      "escpos", "Print a job's bytes on a virtual receipt printer and draw the receipt");
  command->add_option("IN", options->in, "The bytes a job sends (px-sim print --bytes)")
      ->required()
      ->check(CLI::ExistingFile);
  command->add_option("--png", options->png, "The receipt as a picture")->required();
  command->add_option("--paper", options->paper, "The roll's width in mm")
      ->check(CLI::IsMember({58, 80}))
      ->capture_default_str();
  command->callback([options] { EscPos(*options); });
}

}  // namespace px::sim
