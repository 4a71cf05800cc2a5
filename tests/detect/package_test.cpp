// The driver package that ships beside the program defines every model the table can detect.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/utf.h"
#include "detect/model_table.h"
#include "platform/sim/inf_file.h"
#include "platform/sim/machine.h"

namespace px {
namespace {

TEST(DriverPackage, EveryModelNameOfTheTableIsAModelOfTheInfOnEveryArchitecture) {
  const std::filesystem::path path = sim::DefaultPackageDir() / "PX.inf";
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const sim::InfFile inf = sim::InfFile::Parse(bytes.str(), path.string());

  std::set<Text> names;
  for (const ModelRow& row : ModelTable::Builtin().rows()) {
    names.emplace(row.model);
    if (!row.model_dash.empty()) names.emplace(row.model_dash);
  }
  // Windows 7 is the oldest x86 and x64 Windows, 10.0.16299 the first ARM64 one.
  using sim::Architecture;
  const sim::InfTarget targets[] = {
      {Architecture::kX86, {6, 1, 7601}},     {Architecture::kX86, {}},
      {Architecture::kAmd64, {6, 1, 7601}},   {Architecture::kAmd64, {}},
      {Architecture::kArm64, {10, 0, 16299}}, {Architecture::kArm64, {}},
  };
  for (const sim::InfTarget& target : targets) {
    EXPECT_EQ(inf.Models(target), names)
        << static_cast<int>(target.architecture) << " " << target.version.build;
  }
  // A version-3 printer-class package (the documented rules: package_rules_test.cpp).
  std::map<Text, Text> version;
  for (const auto& line : inf.Section(u"Version")) version[line.key] = line.values.at(0);
  EXPECT_EQ(version[u"Class"], u"Printer");
  EXPECT_EQ(version[u"ClassGuid"], u"{4D36E979-E325-11CE-BFC1-08002BE10318}");
  EXPECT_EQ(version[u"CatalogFile"], u"PX.cat");
  EXPECT_FALSE(version[u"DriverVer"].empty());
}

}  // namespace
}  // namespace px
