#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace px {

// One supported printer: one or two USB product ids, its model name, and an optional text
// the window caption gains when the printer is accepted.
struct ModelRow {
  std::array<std::u16string_view, 2> keys;  // the second is empty for a row with one id
  std::u16string_view model;                // the only form, or the "_" form of a model with two
  std::u16string_view model_dash;           // the "-" form, or empty
  std::u16string_view suffix;               // a welcome banner or a company name, or empty
};

// The model table: product id to printer model, and the rule that decides whether an
// accepted printer ends the detection pass.
class ModelTable {
 public:
  ModelTable(std::span<const ModelRow> rows, std::span<const std::u16string_view> stop_list);

  // The table the driver package supports.
  static const ModelTable& Builtin();

  // The first row holding this exact id (upper and lower case differ), or nullptr.
  const ModelRow* Find(TextView product_id) const;

  // Whether accepting this product id ends the detection pass: the stop list, or a last
  // character of E 5 7 6 A 8 B C D (case-sensitive).
  bool EndsPass(TextView product_id) const;

  std::span<const ModelRow> rows() const { return rows_; }
  std::span<const std::u16string_view> stop_list() const { return stop_list_; }

 private:
  struct Entry {
    std::uint64_t key;
    const ModelRow* row;
  };
  std::span<const ModelRow> rows_;
  std::span<const std::u16string_view> stop_list_;
  std::vector<Entry> index_;  // sorted by key; product ids are four UTF-16 units
};

// The model name a row gives under the language flag: the "_" form for 0, the "-" form
// otherwise.
TextView ModelName(const ModelRow& row, std::int16_t language_flag);

}  // namespace px
