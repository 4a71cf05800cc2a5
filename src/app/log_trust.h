#pragma once

#include "base/text.h"
#include "platform/log_files.h"

namespace px {

// Which folders and files the elevated installer may write its log into. A standard user can
// make C:\ProgramData\px-installer before the first run, turn it into a junction, or put a link
// where the log goes; an elevated write or rename through such a name would act on a file of
// that user's choosing.

// Whether a folder's owner is one no other account can give it: SYSTEM, Administrators, or the
// account the program runs as. The last is trusted for reading (px-capture copies its own
// account's log); the installer writes into such a folder only once Administrators own it,
// since an unelevated process of the same account, as its owner, could change its DACL again.
bool OwnerIsTrusted(TextView owner, TextView account);

// Why an existing folder must not be written into (or read from, by an elevated program): a
// junction or a link, a file, or an owner that is not trusted. Empty when it may be.
Text LogFolderRefusal(const FolderFacts& facts, TextView account);

// Why an opened log file must not be written: a reparse point (opened as the link itself), a
// folder, or a file with more than one name (a hard link to a file elsewhere). Empty when it
// may be written.
Text LogFileRefusal(const OpenedFileFacts& facts);

// Why no log may be written into the folder a walk down a /log path ended at (LogFiles::
// OpenFolder): a folder on the way is a junction or a link that the program did not make, one
// could not be opened, or the last one, unless the program made it, is owned or may be written
// in by an account other than SYSTEM, Administrators, TrustedInstaller and the program's own.
// Empty when it may.
Text LogPathRefusal(const FolderWalk& walk, TextView account);

struct LogFolderChoice {
  bool usable = false;
  std::unique_ptr<LogFolder> folder;  // the folder, held from its check on, when usable
  // What was done about the folder, or why it is not used, for the log; empty when the folder
  // was used as it stood or made anew.
  Text note;
};

// Makes the log's folder usable: a missing one is made with the program's DACL; one that
// exists is used only when it is no reparse point and its owner is trusted, and then gets the
// program's owner and DACL again (a folder of an older version inherited "Users may create
// files"); a folder of the program's own account that cannot be given to Administrators is not
// used. Anything else, a folder that cannot even be examined included, is renamed to
// <folder>.aside-<aside_suffix> and a new folder is made; when that fails too, the run logs
// nowhere.
LogFolderChoice PrepareLogFolder(LogFolders& folders, const Text& folder, TextView aside_suffix);

}  // namespace px
