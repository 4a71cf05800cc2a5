#include "app/log_trust.h"

namespace px {

namespace {

Text Error(std::uint32_t error) { return u"error " + Decimal(error); }

// The account Windows' own files belong to (NT SERVICE\TrustedInstaller).
constexpr char16_t kTrustedInstallerSid[] =
    u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

}  // namespace

Text LogFolderRefusal(const FolderFacts& facts, TextView account) {
  if (facts.attributes & kFileAttributeReparsePoint) {
    return u"it is a junction or a link";
  }
  if (!(facts.attributes & kFileAttributeDirectory)) return u"it is a file, not a folder";
  if (facts.owner.empty()) return u"its owner cannot be read";
  if (!OwnerIsTrusted(facts.owner, account)) {
    return u"its owner is " + facts.owner + u", not SYSTEM or Administrators";
  }
  return Text();
}

bool OwnerIsTrusted(TextView owner, TextView account) {
  return owner == kSystemSid || owner == kAdministratorsSid ||
         (!account.empty() && owner == account);
}

Text LogFileRefusal(const OpenedFileFacts& facts) {
  if (facts.attributes & kFileAttributeReparsePoint) return u"it is a link";
  if (facts.attributes & kFileAttributeDirectory) return u"it is a folder";
  if (facts.links == 0) return u"it cannot be examined";
  if (facts.links > 1) return u"it has " + Decimal(facts.links) + u" hard links";
  return Text();
}

Text LogPathRefusal(const FolderWalk& walk, TextView account) {
  for (const WalkedFolder& folder : walk.folders) {
    if (folder.facts.attributes & kFileAttributeReparsePoint) {
      return folder.name + u" is a junction or a link";
    }
  }
  if (walk.error != 0 || !walk.held || walk.folders.empty()) {
    const Text where = walk.folders.empty() ? Text(u"its folder") : walk.folders.back().name;
    return where + u" cannot be opened (" + Error(walk.error) + u")";
  }
  const WalkedFolder& last = walk.folders.back();
  if (last.made) return Text();
  if (last.facts.owner.empty()) return last.name + u": its owner cannot be read";
  if (!OwnerIsTrusted(last.facts.owner, account) && last.facts.owner != kTrustedInstallerSid) {
    return last.name + u" belongs to " + last.facts.owner;
  }
  for (const Text& writer : last.facts.writers) {
    if (!OwnerIsTrusted(writer, account) && writer != kTrustedInstallerSid) {
      return last.name + u" may be written in by " + writer;
    }
  }
  return Text();
}

LogFolderChoice PrepareLogFolder(LogFolders& folders, const Text& folder, TextView aside_suffix) {
  const FolderFacts facts = folders.Inspect(folder);
  if (!facts.exists && facts.error == 0) {
    const std::uint32_t made = folders.CreateProtected(folder);
    if (made == 0) return {true, folders.TakeHeld(), Text()};
    return {false, nullptr, folder + u" cannot be made (" + Error(made) + u"): no log"};
  }
  // A folder whose DACL keeps even administrators from examining it is someone else's too.
  Text refusal = facts.error != 0 ? u"it cannot be examined (" + Error(facts.error) + u")"
                                  : LogFolderRefusal(facts, folders.AccountSid());
  if (refusal.empty()) {
    const std::uint32_t protect = folders.Protect();
    // Failing leaves SYSTEM's or Administrators' folder (trusted without the installer's own
    // account) as it was: the file checks still hold.
    if (protect == 0 || OwnerIsTrusted(facts.owner, TextView())) {
      return {true, folders.TakeHeld(), Text()};
    }
    refusal =
        u"its owner is the installer's own account, and it cannot be given to "
        u"Administrators (" +
        Error(protect) + u")";
  }
  const Text aside = folder + u".aside-" + Text(aside_suffix);
  if (const std::uint32_t moved = folders.Rename(folder, aside); moved != 0) {
    return {false, nullptr,
            folder + u" is not used: " + refusal + u"; it cannot be set aside (" + Error(moved) +
                u"): no log"};
  }
  const Text note = folder + u" was set aside as " + aside + u": " + refusal;
  // Someone may have made the name again in between: then it stays theirs, and unused.
  if (const std::uint32_t made = folders.CreateProtected(folder); made != 0) {
    return {false, nullptr, note + u"; a new one cannot be made (" + Error(made) + u"): no log"};
  }
  return {true, folders.TakeHeld(), note};
}

}  // namespace px
