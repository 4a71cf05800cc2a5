#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/gpd_file.h"

namespace px::receipt {

// A page as the driver renders it: rows of dots across the printable width, one byte per dot,
// 1 for black.
struct Page {
  int width = 0;
  std::vector<std::vector<std::uint8_t>> rows;
};

// The bytes of a one-document, one-page job as Unidrv makes them from a printer description:
// the commands of each job section in *Order, those of the selected options among them, the
// page's raster through CmdSendBlockData (rows ending blank left short by *StripBlanks:
// LIST(TRAILING) once *MinStripBlankPixels are blank), blank rows as CmdYMoveRelDown, and the
// form feed.
class JobComposer {
 public:
  // Throws sim::MachineError for a description without the commands a raster job needs.
  explicit JobComposer(const sim::GpdFile& gpd);

  // Feature=Option in place of the feature's *DefaultOption. Throws std::invalid_argument
  // naming the features or the options there are.
  void Select(const std::string& feature, const std::string& option);
  const std::map<std::string, std::string>& selected() const { return selected_; }

  // The selected paper size's width and printable area, in dots.
  int paper_width() const;
  int printable_width() const;
  int printable_height() const;

  // Throws std::invalid_argument for a page wider or longer than the printable area, and
  // sim::MachineError for a command of the description that cannot be sent.
  std::string Compose(const Page& page) const;

 private:
  struct Ordered {
    std::string section;
    double number = 0;
    const sim::GpdEntry* cmd = nullptr;
  };
  const sim::GpdEntry* SelectedOption(const std::string& feature) const;
  // The entries that hold for an option's block: its own, and those of the *case of each
  // *switch that matches the selection.
  void Resolve(const std::vector<sim::GpdEntry>& entries,
               std::vector<const sim::GpdEntry*>& out) const;
  std::vector<const sim::GpdEntry*> InForce() const;
  const sim::GpdEntry* FindCommand(const std::string& name) const;
  std::string Section(const std::string& name) const;
  std::string Raster(const Page& page) const;

  std::vector<sim::GpdEntry> root_;
  std::map<std::string, std::vector<const sim::GpdEntry*>> features_;  // all blocks of a name
  std::map<std::string, std::string> selected_;
};

}  // namespace px::receipt
