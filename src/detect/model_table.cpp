#include "detect/model_table.h"

#include <algorithm>

namespace px {

namespace {

// Packs a four-unit product id into one integer; other lengths never match a key.
constexpr std::uint64_t kNoKey = ~std::uint64_t{0};
std::uint64_t Pack(TextView id) {
  if (id.size() != 4) return kNoKey;
  std::uint64_t packed = 0;
  for (char16_t c : id) packed = (packed << 16) | c;
  return packed;
}

}  // namespace

ModelTable::ModelTable(std::span<const ModelRow> rows,
                       std::span<const std::u16string_view> stop_list)
    : rows_(rows), stop_list_(stop_list) {
  for (const ModelRow& row : rows_) {
    for (std::u16string_view key : row.keys) {
      if (!key.empty()) index_.push_back({Pack(key), &row});
    }
  }
  // Stable, so that of two rows holding one id the first in table order wins.
  std::stable_sort(index_.begin(), index_.end(),
                   [](const Entry& a, const Entry& b) { return a.key < b.key; });
}

const ModelRow* ModelTable::Find(TextView product_id) const {
  const std::uint64_t key = Pack(product_id);
  if (key == kNoKey) return nullptr;
  auto it = std::lower_bound(index_.begin(), index_.end(), key,
                             [](const Entry& e, std::uint64_t k) { return e.key < k; });
  return it != index_.end() && it->key == key ? it->row : nullptr;
}

bool ModelTable::EndsPass(TextView product_id) const {
  if (std::find(stop_list_.begin(), stop_list_.end(), product_id) != stop_list_.end()) {
    return true;
  }
  return !product_id.empty() && TextView(u"E576A8BCD").find(product_id.back()) != TextView::npos;
}

TextView ModelName(const ModelRow& row, std::int16_t language_flag) {
  return language_flag != 0 && !row.model_dash.empty() ? row.model_dash : row.model;
}

}  // namespace px
