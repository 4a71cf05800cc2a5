#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace px {

// The installer runs elevated, but the folders it logs into may have been made first by a
// standard user, and a name in them may be a link to another file. These interfaces answer
// what Windows says of a folder or an opened file; the rules that decide what may be used
// are the core's (app/log_trust.h).

// Attribute bits as Windows reports them (FILE_ATTRIBUTE_*).
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;

// Well-known owners, as SID texts.
inline constexpr char16_t kSystemSid[] = u"S-1-5-18";
inline constexpr char16_t kAdministratorsSid[] = u"S-1-5-32-544";

// What Windows says of a folder's name, the name itself and not what a link points to.
struct FolderFacts {
  bool exists = false;           // false: nothing has that name (ERROR_FILE_NOT_FOUND)
  std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_*: a junction has the reparse point bit
  Text owner;                    // the owner's SID, "S-1-5-32-544"; empty when unreadable
  // The SIDs its DACL allows to add, change or delete names in it, or to change the DACL
  // ("S-1-1-0", Everyone, for a folder without a DACL). Read only where a log is written.
  std::vector<Text> writers = {};
  std::uint32_t error = 0;  // any other failure of the look-up: nothing else is known
};

// What an opened file's handle says (GetFileInformationByHandle).
struct OpenedFileFacts {
  std::uint32_t attributes = 0;
  std::uint32_t links = 0;  // hard links: names that the same file has
  std::uint64_t size = 0;
};

// A log file opened for appending. Everything goes through the handle, never the path again,
// so that nothing swapped in under the name meanwhile is written or renamed.
class LogFile {
 public:
  virtual ~LogFile() = default;
  // Zero links when the handle cannot answer.
  virtual OpenedFileFacts Facts() = 0;
  // The bytes in one append; false when not all of them were written.
  virtual bool Append(std::string_view bytes) = 0;
  // Renames the opened file to another name in the folder it was opened in (relative to that
  // folder's handle), replacing a file of that name: a link there is replaced, not followed.
  virtual bool RenameTo(const Text& name) = 0;
};

// A folder held open from its check to the end of the run: the files in it are opened and
// renamed by their names relative to the handle, so that a folder renamed away or replaced by a
// junction meanwhile changes nothing.
class LogFolder {
 public:
  virtual ~LogFolder() = default;
  // Opens a file of the folder for appending and creates it when missing, shared with readers
  // and with another run. A reparse point (a link) is opened as itself, never followed. Null
  // when it cannot be opened.
  virtual std::unique_ptr<LogFile> Open(const Text& name) = 0;
};

// The folders the installer makes for itself (the log's, under ProgramData). Inspect and
// CreateProtected hold the folder they examined or made, and the calls after them act on that
// handle, never on the name again.
class LogFolders {
 public:
  virtual ~LogFolders() = default;
  virtual FolderFacts Inspect(const Text& folder) = 0;
  // The SID of the account the program runs as.
  virtual Text AccountSid() = 0;
  // Makes the folder with the program's own DACL: SYSTEM and Administrators full control,
  // Users read, nothing inherited from the folder above. 0, or the Win32 error (183 when the
  // name exists).
  virtual std::uint32_t CreateProtected(const Text& folder) = 0;
  // Gives the folder Inspect held the owner and DACL CreateProtected would have given it:
  // Administrators own it, and its DACL is the program's. 0 or the Win32 error.
  virtual std::uint32_t Protect() = 0;
  // Renames a folder without replacing anything; a junction is renamed, not followed. 0 or the
  // Win32 error.
  virtual std::uint32_t Rename(const Text& from, const Text& to) = 0;
  // The folder held last, for the log's files; null when none is held.
  virtual std::unique_ptr<LogFolder> TakeHeld() = 0;
};

// One folder of a walk down a path: what it is, and whether the walk made it.
struct WalkedFolder {
  Text name;
  FolderFacts facts;
  bool made = false;
};

// Where a walk down a path ended. held is the last folder, when the walk reached it.
struct FolderWalk {
  std::vector<WalkedFolder> folders;
  std::unique_ptr<LogFolder> held;
  std::uint32_t error = 0;  // why the walk stopped before the end (0: a reparse point)
};

class LogFiles {
 public:
  virtual ~LogFiles() = default;
  // The full path of a path as given (GetFullPathNameW): a relative one is taken from the
  // current folder. Empty when it has none.
  virtual Text FullPath(const Text& path) = 0;
  // The SID of the account the program runs as.
  virtual Text AccountSid() = 0;
  // Opens a full folder path from its root down, each folder relative to the one above and as
  // itself (a junction is not followed), and makes the missing ones with the program's DACL.
  // The walk stops at the first folder that is a reparse point or cannot be opened or made.
  virtual FolderWalk OpenFolder(const Text& folder) = 0;
};

}  // namespace px
