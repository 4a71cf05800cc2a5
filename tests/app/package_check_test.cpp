// The driver package Windows reads is the one that was checked: the release's bytes, from the
// installer's private copy.
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/sha256.h"
#include "support/installer_run.h"

namespace px::testing {
namespace {

namespace fs = std::filesystem;

class PackageCheck : public InstallerRun {
 protected:
  PackageCheck()
      : dir_(fs::temp_directory_path() / ("px-package-check-" + std::to_string(getpid()))) {}
  ~PackageCheck() override { fs::remove_all(dir_); }

  // A fresh copy of the repository's package, changed by change, as the machine's package.
  void UsePackage(const std::function<void(const fs::path&)>& change, bool release) {
    fs::remove_all(dir_);
    fs::copy(sim::DefaultPackageDir(), dir_);
    if (change) change(dir_);
    machine.package_dir = dir_;
    machine.release = release;
    quiet = true;
  }

  fs::path dir_;
};

void Append(const fs::path& file, const char* bytes) {
  std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

TEST_F(PackageCheck, APackageThatDiffersFromTheReleaseIsNotHandedToWindows) {
  const auto one_more_byte = [](const fs::path& d) { Append(d / "PX.inf", " "); };
  const struct {
    const char* name;
    std::function<void(const fs::path&)> change;
    bool release;
    ExitCode result;
    const char* refused;  // the file the box names, or nothing
  } cases[] = {
      {"the release's own package", {}, true, ExitCode::kRegistered, nullptr},
      {"one byte more in PX.inf", one_more_byte, true, ExitCode::kPackageMissing, "PX.inf"},
      {"a printer description missing", [](const fs::path& d) { fs::remove(d / "PX80.GPD"); }, true,
       ExitCode::kPackageMissing, "PX80.GPD"},
      {"the catalog the INF names, added", [](const fs::path& d) { Append(d / "PX.cat", "x"); },
       true, ExitCode::kPackageMissing, "PX.cat"},
      {"a file nobody asks for", [](const fs::path& d) { Append(d / "notes.txt", "x"); }, true,
       ExitCode::kRegistered, nullptr},
      // A build for development checks nothing but that the package is held.
      {"one byte more, development build", one_more_byte, false, ExitCode::kRegistered, nullptr},
      {"a link, development build",
       [](const fs::path& d) {
         fs::rename(d / "PX58.GPD", d / "elsewhere.bin");
         fs::create_symlink(d / "elsewhere.bin", d / "PX58.GPD");
       },
       false, ExitCode::kPackageMissing, "PX58.GPD"},
  };
  for (const auto& c : cases) {
    UsePackage(c.change, c.release);
    Run();
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(CountOf("\tLaunch\t"), c.refused ? 1u : 2u) << c.name << "\n" << out.str();
    if (c.refused) {
      EXPECT_TRUE(
          Has(std::string("8020\tMessage\tpx-installer\t驱动安装失败!!\\n驱动程序包已被改动:") +
              c.refused))
          << c.name << "\n"
          << out.str();
      EXPECT_EQ(printers, 0u) << c.name;
    }
    EXPECT_EQ(copied_files_at_end, 0u) << c.name;
  }
}

// The hashes a release carries were computed by the build, not by the installer's own SHA-256:
// each checks the other.
TEST(ReleasePackage, CarriesTheHashOfEveryFileOfTheRepositorysPackage) {
  ASSERT_EQ(ReleasePackageFiles().size(), 4u);
  for (const PackageFile& file : ReleasePackageFiles()) {
    std::ifstream in(sim::DefaultPackageDir() / ToUtf8(file.name), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Sha256Hex(bytes), file.sha256) << ToUtf8(file.name);
  }
}

TEST(Sha256, KnownDigests) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits the first block.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(Sha256Hex(c.message), c.digest) << c.message.size();
}

}  // namespace
}  // namespace px::testing
