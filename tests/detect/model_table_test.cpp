// The product data: every count the driver package relies on, and the lookup rules.
#include "detect/model_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/utf.h"

namespace px {
namespace {

const ModelTable& Table() { return ModelTable::Builtin(); }

std::vector<std::u16string_view> Keys(const ModelRow& row) {
  std::vector<std::u16string_view> keys{row.keys[0]};
  if (!row.keys[1].empty()) keys.push_back(row.keys[1]);
  return keys;
}

bool IsUpperHex(std::u16string_view key) {
  return std::all_of(key.begin(), key.end(), [](char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
  });
}

TEST(ModelTableData, GroupsHaveTheirRowsKeysAndSuffixes) {
  const auto rows = Table().rows();
  ASSERT_EQ(rows.size(), 217u);
  struct Group {
    std::size_t first, count;
  };
  const Group groups[] = {{0, 25}, {25, 2}, {27, 28}, {55, 162}};
  std::size_t two_key_rows[4] = {};
  std::set<std::u16string_view> suffixes[4];
  for (int g = 0; g < 4; ++g) {
    for (std::size_t i = groups[g].first; i < groups[g].first + groups[g].count; ++i) {
      two_key_rows[g] += Keys(rows[i]).size() == 2;
      if (!rows[i].suffix.empty()) suffixes[g].insert(rows[i].suffix);
      EXPECT_EQ(rows[i].suffix.empty(), g == 0 || g == 3) << "row " << i + 1;
      if (g == 2) {
        EXPECT_EQ(Keys(rows[i]).size(), i < 27 + 8 ? 2u : 1u) << "row " << i + 1;
      }
    }
  }
  EXPECT_EQ(two_key_rows[0], 2u);
  EXPECT_EQ(two_key_rows[1], 0u);
  EXPECT_EQ(two_key_rows[2], 8u);
  EXPECT_EQ(two_key_rows[3], 3u);
  EXPECT_EQ(suffixes[1].size(), 2u);  // two companies
  EXPECT_EQ(suffixes[2].size(), 6u);  // six brands' welcome banners
  for (std::u16string_view banner : suffixes[2]) {
    EXPECT_TRUE(banner.starts_with(u"欢迎使用") && banner.ends_with(u"打印机")) << ToUtf8(banner);
  }
}

TEST(ModelTableData, KeysAreUniqueFourCharacterIdsWithThreeCaseTwins) {
  std::set<std::u16string_view> keys;
  int different_pairs = 0, case_pairs = 0;
  for (const ModelRow& row : Table().rows()) {
    for (std::u16string_view key : Keys(row)) {
      EXPECT_EQ(key.size(), 4u);
      EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << ToUtf8(key);
    }
    if (Keys(row).size() != 2) {
      EXPECT_TRUE(IsUpperHex(row.keys[0])) << ToUtf8(row.keys[0]);
      continue;
    }
    std::u16string upper(row.keys[1]);
    for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? c - 32 : c;
    if (upper == row.keys[0]) {
      ++case_pairs;
      EXPECT_TRUE(IsUpperHex(row.keys[0]));
      for (char16_t c : row.keys[1])
        EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'c'));
    } else {
      ++different_pairs;
      EXPECT_TRUE(IsUpperHex(row.keys[0]) && IsUpperHex(row.keys[1]));
    }
  }
  EXPECT_EQ(keys.size(), 230u);
  EXPECT_EQ(different_pairs, 10);
  EXPECT_EQ(case_pairs, 3);
}

TEST(ModelTableData, NamesHaveTheirFormAndCount) {
  std::set<std::u16string_view> names;
  int two_forms = 0;
  auto well_formed = [](std::u16string_view name) {
    if (name.size() < 5 || name.size() > 18) return false;
    auto code_char = [](char16_t c) {
      return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
    };
    const auto blank = name.find(u' ');
    if (blank == std::u16string_view::npos) return std::all_of(name.begin(), name.end(), code_char);
    const auto brand = name.substr(0, blank), code = name.substr(blank + 1);
    return !brand.empty() && !code.empty() && code.find(u' ') == std::u16string_view::npos &&
           std::all_of(code.begin(), code.end(), code_char);
  };
  for (const ModelRow& row : Table().rows()) {
    EXPECT_TRUE(well_formed(row.model)) << ToUtf8(row.model);
    names.insert(row.model);
    if (!row.model_dash.empty()) {
      ++two_forms;
      EXPECT_TRUE(well_formed(row.model_dash)) << ToUtf8(row.model_dash);
      std::u16string dashed(row.model);
      std::replace(dashed.begin(), dashed.end(), u'_', u'-');
      EXPECT_EQ(dashed, row.model_dash);
      EXPECT_NE(row.model.find(u'_'), std::u16string_view::npos);
      names.insert(row.model_dash);
    }
  }
  EXPECT_EQ(two_forms, 2);
  EXPECT_EQ(names.size(), 215u);
}

TEST(ModelTableData, StopListAndLastCharacterEndThePassFor143Keys) {
  ASSERT_EQ(Table().stop_list().size(), 12u);
  for (std::u16string_view stop : Table().stop_list()) {
    EXPECT_NE(Table().Find(stop), nullptr) << ToUtf8(stop);
  }
  int ends = 0, goes_on = 0;
  for (const ModelRow& row : Table().rows()) {
    for (std::u16string_view key : Keys(row)) (Table().EndsPass(key) ? ends : goes_on)++;
  }
  EXPECT_EQ(ends, 143);
  EXPECT_EQ(goes_on, 87);
}

TEST(ModelTable, FindsTheRowOfEitherKeyAndNothingElse) {
  for (const ModelRow& row : Table().rows()) {
    for (std::u16string_view key : Keys(row)) EXPECT_EQ(Table().Find(key), &row) << ToUtf8(key);
  }
  for (std::u16string_view absent : {u"", u"A1", u"A1200", u"a120", u"5720", u"7523"}) {
    EXPECT_EQ(Table().Find(absent), nullptr) << ToUtf8(absent);
  }
}

TEST(ModelTable, EndOfPassRuleLooksAtTheLastCharacterCaseSensitively) {
  const ModelTable empty({}, {});
  for (char16_t c : std::u16string_view(u"E576A8BCD")) {
    EXPECT_TRUE(empty.EndsPass(std::u16string(u"123") + c));
  }
  for (char16_t c : std::u16string_view(u"0123449Fabcde")) {
    EXPECT_FALSE(empty.EndsPass(std::u16string(u"123") + c));
  }
}

TEST(ModelTable, TwoFormNamesFollowTheLanguageFlag) {
  const ModelRow* row = nullptr;
  for (const ModelRow& r : Table().rows()) {
    if (!r.model_dash.empty()) row = &r;
  }
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(ModelName(*row, 0), row->model);
  EXPECT_EQ(ModelName(*row, 1), row->model_dash);
  EXPECT_EQ(ModelName(*row, -3), row->model_dash);
  EXPECT_EQ(ModelName(Table().rows()[0], 1), Table().rows()[0].model);
}

}  // namespace
}  // namespace px
