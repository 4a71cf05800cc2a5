// Where the elevated installer may write its log, how the log rotates through its handle, and
// how it leaves out detection passes that change nothing. Windows' answers come from fakes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/log_trust.h"
#include "app/rotating_log.h"
#include "app/unchanged_passes.h"
#include "base/utf.h"

namespace px {
namespace {

constexpr char16_t kFolder[] = u"C:\\ProgramData\\px-installer";
constexpr char16_t kAccount[] = u"S-1-5-21-1-2-3-500";
constexpr char16_t kStandardUser[] = u"S-1-5-21-1-2-3-1001";

// ProgramData as Windows answers for it: the folder's facts, and the changes asked for.
class FakeFolders : public LogFolders {
 public:
  FolderFacts Inspect(const Text& folder) override {
    inspected = folder;
    auto found = folders.find(folder);
    if (found != folders.end()) return found->second;
    FolderFacts none;
    none.error = inspect_error;
    return none;
  }
  Text AccountSid() override { return kAccount; }
  std::uint32_t CreateProtected(const Text& folder) override {
    calls.push_back("create " + ToUtf8(folder));
    if (create_error == 0) folders[folder] = {true, kFileAttributeDirectory, kAdministratorsSid};
    return create_error;
  }
  std::uint32_t Protect() override {
    calls.push_back("protect " + ToUtf8(inspected));
    return protect_error;
  }
  std::unique_ptr<LogFolder> TakeHeld() override { return nullptr; }
  std::uint32_t Rename(const Text& from, const Text& to) override {
    calls.push_back("rename " + ToUtf8(from) + " " + ToUtf8(to));
    if (rename_error == 0) folders.erase(from);
    return rename_error;
  }

  std::map<Text, FolderFacts> folders;
  std::uint32_t inspect_error = 0;  // for a name that is not in folders: 0 is "not found"
  std::uint32_t create_error = 0;
  std::uint32_t rename_error = 0;
  std::uint32_t protect_error = 0;
  std::vector<std::string> calls;
  Text inspected;
};

class LogFolderStub : public LogFolder {
 public:
  std::unique_ptr<LogFile> Open(const Text&) override { return nullptr; }
};

TEST(LogFolder, OnlyAFolderNoStandardUserCanHaveMadeIsUsed) {
  const std::string folder = ToUtf8(kFolder);
  const std::string aside = "rename " + folder + " " + folder + ".aside-T";
  const FolderFacts directory{true, kFileAttributeDirectory, kAdministratorsSid};
  struct Case {
    const char* name;
    std::optional<FolderFacts> facts;  // none: nothing has the name
    std::uint32_t create_error, rename_error, protect_error;
    bool usable;
    std::vector<std::string> calls;
    const char* note;  // a part of the note; empty: no note
  };
  auto with = [&directory](std::uint32_t attributes, const char16_t* owner) {
    FolderFacts facts = directory;
    facts.attributes = attributes;
    facts.owner = owner;
    return facts;
  };
  const Case cases[] = {
      {"missing: made", std::nullopt, 0, 0, 0, true, {"create " + folder}, ""},
      {"missing, cannot be made", std::nullopt, 5, 0, 0, false, {"create " + folder}, "error 5"},
      {"SYSTEM's",
       with(kFileAttributeDirectory, kSystemSid),
       0,
       0,
       0,
       true,
       {"protect " + folder},
       ""},
      {"Administrators'", directory, 0, 0, 0, true, {"protect " + folder}, ""},
      {"Administrators', its DACL not set again",
       directory,
       0,
       0,
       5,
       true,
       {"protect " + folder},
       ""},
      // Given to Administrators: as its owner, the account's unelevated processes could
      // change the DACL back.
      {"the installer's own account's",
       with(kFileAttributeDirectory, kAccount),
       0,
       0,
       0,
       true,
       {"protect " + folder},
       ""},
      {"the installer's own account's, not given to Administrators",
       with(kFileAttributeDirectory, kAccount),
       0,
       0,
       5,
       true,
       {"protect " + folder, aside, "create " + folder},
       "cannot be given to Administrators (error 5)"},
      {"a standard user's",
       with(kFileAttributeDirectory, kStandardUser),
       0,
       0,
       0,
       true,
       {aside, "create " + folder},
       "its owner is S-1-5-21-1-2-3-1001"},
      {"a junction, even of Administrators",
       with(kFileAttributeDirectory | kFileAttributeReparsePoint, kAdministratorsSid),
       0,
       0,
       0,
       true,
       {aside, "create " + folder},
       "junction"},
      {"a file", with(0, kAdministratorsSid), 0, 0, 0, true, {aside, "create " + folder}, "a file"},
      {"owner unreadable",
       with(kFileAttributeDirectory, u""),
       0,
       0,
       0,
       true,
       {aside, "create " + folder},
       "owner cannot be read"},
      {"cannot be set aside",
       with(kFileAttributeDirectory, kStandardUser),
       0,
       32,
       0,
       false,
       {aside},
       "cannot be set aside (error 32)"},
      {"made again by someone in between",
       with(kFileAttributeDirectory, kStandardUser),
       183,
       0,
       0,
       false,
       {aside, "create " + folder},
       "a new one cannot be made (error 183)"},
  };
  for (const Case& c : cases) {
    FakeFolders folders;
    if (c.facts) folders.folders[kFolder] = *c.facts;
    folders.create_error = c.create_error;
    folders.rename_error = c.rename_error;
    folders.protect_error = c.protect_error;
    const LogFolderChoice choice = PrepareLogFolder(folders, kFolder, u"T");
    EXPECT_EQ(choice.usable, c.usable) << c.name;
    EXPECT_EQ(folders.calls, c.calls) << c.name;
    if (*c.note == '\0') {
      EXPECT_EQ(choice.note, u"") << c.name;
    } else {
      EXPECT_NE(ToUtf8(choice.note).find(c.note), std::string::npos)
          << c.name << ": " << ToUtf8(choice.note);
    }
  }
  // A DACL that denies administrators even a look: someone else's folder, set aside too.
  FakeFolders unreadable;
  unreadable.inspect_error = 5;
  const LogFolderChoice choice = PrepareLogFolder(unreadable, kFolder, u"T");
  EXPECT_TRUE(choice.usable);
  EXPECT_EQ(unreadable.calls, (std::vector<std::string>{aside, "create " + folder}));
  EXPECT_NE(ToUtf8(choice.note).find("cannot be examined (error 5)"), std::string::npos);
}

TEST(LogFile, ALinkAFolderOrASecondNameIsRefused) {
  EXPECT_EQ(LogFileRefusal({0, 1, 10}), u"");
  EXPECT_NE(LogFileRefusal({kFileAttributeReparsePoint, 1, 0}), u"");
  EXPECT_NE(LogFileRefusal({kFileAttributeDirectory, 1, 0}), u"");
  EXPECT_NE(LogFileRefusal({0, 2, 10}), u"");
  EXPECT_NE(LogFileRefusal({0, 0, 0}), u"");  // the handle did not answer
}

TEST(LogPath, OnlyAFolderNoStandardUserCanChangeOrRedirectIsWrittenIn) {
  const FolderFacts admins{true, kFileAttributeDirectory, kAdministratorsSid, {kSystemSid}};
  FolderFacts link = admins;
  link.attributes |= kFileAttributeReparsePoint;
  FolderFacts theirs = admins;
  theirs.owner = kStandardUser;
  FolderFacts open_to_all = admins;
  open_to_all.writers = {kAdministratorsSid, u"S-1-1-0"};
  FolderFacts mine = admins;
  mine.owner = kAccount;
  mine.writers = {kAccount, u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
  struct Case {
    const char* name;
    std::vector<WalkedFolder> folders;
    std::uint32_t error;
    const char* refusal;  // "" when the log may be written
  };
  const Case cases[] = {
      {"SYSTEM's and Administrators'", {{u"C:\\", admins}, {u"C:\\logs", admins}}, 0, ""},
      {"the account's own", {{u"C:\\", admins}, {u"C:\\logs", mine}}, 0, ""},
      {"a junction above", {{u"C:\\", admins}, {u"C:\\j", link}}, 0, "C:\\j is a junction"},
      {"a standard user's", {{u"C:\\", open_to_all}, {u"C:\\logs", theirs}}, 0, "belongs to"},
      {"made by the walk in a folder open to all",
       {{u"C:\\", open_to_all}, {u"C:\\logs", admins, true}},
       0,
       ""},
      {"open to all", {{u"C:\\", admins}, {u"C:\\logs", open_to_all}}, 0, "written in by S-1-1-0"},
      {"a folder that cannot be opened", {{u"C:\\", admins}, {u"C:\\logs", {}}}, 5, "error 5"},
  };
  for (const Case& c : cases) {
    FolderWalk walk;
    walk.folders = c.folders;
    walk.error = c.error;
    if (c.error == 0 && !(c.folders.back().facts.attributes & kFileAttributeReparsePoint)) {
      walk.held = std::make_unique<LogFolderStub>();
    }
    const std::string refusal = ToUtf8(LogPathRefusal(walk, kAccount));
    if (*c.refusal == '\0') {
      EXPECT_EQ(refusal, "") << c.name;
    } else {
      EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.name << ": " << refusal;
    }
  }
}

// Files as handles: each Open is a new handle to what the name holds at that moment.
class FakeFiles : public LogFiles {
 public:
  struct File {
    OpenedFileFacts facts;
    std::string bytes;
  };
  class Handle : public LogFile {
   public:
    Handle(FakeFiles& files, Text name) : files_(files), name_(std::move(name)) {}
    OpenedFileFacts Facts() override {
      OpenedFileFacts facts = files_.files[name_].facts;
      facts.size = files_.files[name_].bytes.size();
      return facts;
    }
    bool Append(std::string_view bytes) override {
      files_.files[name_].bytes += bytes;
      return true;
    }
    bool RenameTo(const Text& name) override {
      const Text path = u"C:\\logs\\" + name;
      ++files_.renames;
      if (files_.rename_fails) return false;
      files_.files[path] = files_.files[name_];
      files_.files.erase(name_);
      name_ = path;
      // Someone may make the name again at once, with a link of their own.
      if (files_.link_after_rename) files_.files[u"C:\\logs\\run.log"] = {{0, 2, 0}, "theirs"};
      return true;
    }

   private:
    FakeFiles& files_;
    Text name_;
  };

  // C:\logs, Administrators' and held.
  class Folder : public LogFolder {
   public:
    explicit Folder(FakeFiles& files) : files_(files) {}
    std::unique_ptr<LogFile> Open(const Text& name) override {
      const Text path = u"C:\\logs\\" + name;
      if (!files_.files.count(path)) files_.files[path] = {{0, 1, 0}, ""};
      return std::make_unique<Handle>(files_, path);
    }

   private:
    FakeFiles& files_;
  };

  Text FullPath(const Text& path) override { return u"C:\\logs\\" + path; }
  Text AccountSid() override { return kAccount; }
  FolderWalk OpenFolder(const Text& folder) override {
    FolderWalk walk;
    const FolderFacts admins{true, kFileAttributeDirectory, kAdministratorsSid, {}};
    walk.folders = {{u"C:\\", admins}, {folder, admins}};
    walk.held = std::make_unique<Folder>(*this);
    return walk;
  }

  std::map<Text, File> files;
  bool rename_fails = false;
  bool link_after_rename = false;
  int renames = 0;
};

TEST(RotatingLog, RenamesThroughItsHandleOnceItPassesAMegabyteAndGoesOnInANewFile) {
  FakeFiles files;
  std::unique_ptr<RotatingLog> log = RotatingLog::Open(files, u"run.log");  // relative
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->path(), u"C:\\logs\\run.log");
  log->Write(std::string(kLogRotateBytes, 'a'));
  log->Write("b\n");
  log->Write("c\n");
  EXPECT_EQ(files.files[u"C:\\logs\\run.1.log"].bytes.size(), kLogRotateBytes + 2);
  EXPECT_EQ(files.files[u"C:\\logs\\run.log"].bytes, "c\n");
}

TEST(RotatingLog, ARenameThatFailsIsNotTriedAtEveryLine) {
  FakeFiles files;
  files.rename_fails = true;
  files.files[u"C:\\logs\\run.log"] = {{0, 1, 0}, std::string(kLogRotateBytes + 1, 'a')};
  std::unique_ptr<RotatingLog> log = RotatingLog::Open(files, u"run.log");
  ASSERT_NE(log, nullptr);
  for (int i = 0; i < 100; ++i) log->Write("line\n");
  EXPECT_EQ(files.renames, 1);
  EXPECT_EQ(files.files[u"C:\\logs\\run.log"].bytes.size(), kLogRotateBytes + 1 + 500);
}

TEST(RotatingLog, ANewFileThatIsALinkEndsTheLog) {
  FakeFiles files;
  files.link_after_rename = true;
  std::unique_ptr<RotatingLog> log = RotatingLog::Open(files, u"run.log");
  log->Write(std::string(kLogRotateBytes + 1, 'a'));
  log->Write("more\n");
  EXPECT_EQ(files.files[u"C:\\logs\\run.log"].bytes, "theirs");
}

// Passes over a list the test changes, a second apart on a clock the test moves.
class Passes : public ::testing::Test {
 protected:
  // One pass as the detection makes it: a line per device read, between its start and its end.
  void Pass() {
    filter.BeginPass();
    for (const Text& device : list) log.Write({u"Label1(3)", device});
    filter.EndPass({list, false, false});
    now += 1000;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::string line;
    for (char c : out.text) {
      if (c != '\n') {
        line += c;
      } else {
        lines.push_back(line);
        line.clear();
      }
    }
    return lines;
  }

  struct Buffer : LineSink {
    void Write(std::string_view line) override { text += line; }
    std::string text;
  } out;
  std::int64_t now = 0;
  std::vector<Text> list = {u"hub", u"mouse"};
  UnchangedPassFilter filter{&out, [this] { return now; }};
  RunLog log{&filter, [this] { return now; }};
};

TEST_F(Passes, AnUnchangedPassWritesNothingAndALineAMinuteCountsThem) {
  for (int i = 0; i < 130; ++i) Pass();  // 0 s ... 129 s
  list.push_back(u"printer");
  Pass();  // 130 s
  log.Write({u"End", u"unload"});
  const std::vector<std::string> expected = {
      "0\tLabel1(3)\thub",
      "0\tLabel1(3)\tmouse",
      "60000\tUnchanged\t60 detection passes read the same USB devices as the one before",
      "120000\tUnchanged\t60 detection passes read the same USB devices as the one before",
      "130000\tUnchanged\t9 detection passes read the same USB devices as the one before",
      "130000\tLabel1(3)\thub",
      "130000\tLabel1(3)\tmouse",
      "130000\tLabel1(3)\tprinter",
      "131000\tEnd\tunload",
  };
  EXPECT_EQ(Lines(), expected);
}

// A pass in which WMI failed is never left out: its lines say why the run ended.
TEST_F(Passes, AFailedPassIsWrittenEvenWhenItReadTheSame) {
  Pass();
  filter.BeginPass();
  log.Write({u"Message", u"ExecQuery failed"});
  filter.EndPass({list, true, false});
  EXPECT_EQ(Lines().back(), "1000\tMessage\tExecQuery failed");
}

}  // namespace
}  // namespace px
