#include <iostream>
#include <memory>

#include "base/utf.h"
#include "commands.h"
#include "detect/model_table.h"

namespace px::sim {

namespace {

std::string Keys(const ModelRow& row) {
  std::string keys = ToUtf8(row.keys[0]);
  if (!row.keys[1].empty()) keys += "," + ToUtf8(row.keys[1]);
  return keys;
}

std::string StopKeys(const ModelTable& table, const ModelRow& row) {
  std::string keys;
  for (std::u16string_view key : row.keys) {
    for (std::u16string_view stop : table.stop_list()) {
      if (!key.empty() && key == stop) keys += (keys.empty() ? "" : ",") + ToUtf8(key);
    }
  }
  return keys;
}

void PrintModels(bool tsv) {
  const ModelTable& table = ModelTable::Builtin();
  if (tsv) std::cout << "row\tkeys\tmodel\tmodel_dash\tsuffix\tstop\n";
  int number = 0;
  for (const ModelRow& row : table.rows()) {
    ++number;
    if (tsv) {
      std::cout << number << '\t' << Keys(row) << '\t' << ToUtf8(row.model) << '\t'
                << ToUtf8(row.model_dash) << '\t' << ToUtf8(row.suffix) << '\t'
                << StopKeys(table, row) << '\n';
    } else {
      std::string name = ToUtf8(row.model);
      if (!row.model_dash.empty()) name += " / " + ToUtf8(row.model_dash);
      std::cout << number << "\t" << Keys(row) << "\t" << name
                << (row.suffix.empty() ? "" : "\t(caption: " + ToUtf8(row.suffix) + ")") << '\n';
    }
  }
}

}  // namespace

void AddModelsCommand(CLI::App& app) {
  auto* command = app.add_subcommand("models", "List the supported printers");
  auto tsv = std::make_shared<bool>(false);
  command->add_flag("--tsv", *tsv, "Tab-separated, one line per table row");
  command->callback([tsv] { PrintModels(*tsv); });
}

}  // namespace px::sim
