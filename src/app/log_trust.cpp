#include "app/log_trust.h"

namespace px {

namespace {

Text Error(std::uint32_t error) { return u"error " + Decimal(error); }

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

LogFolderChoice PrepareLogFolder(LogFolders& folders, const Text& folder, TextView aside_suffix) {
  const FolderFacts facts = folders.Inspect(folder);
  if (!facts.exists && facts.error == 0) {
    const std::uint32_t made = folders.CreateProtected(folder);
    if (made == 0) return {true, Text()};
    return {false, folder + u" cannot be made (" + Error(made) + u"): no log"};
  }
  // A folder whose DACL keeps even administrators from examining it is someone else's too.
  Text refusal = facts.error != 0 ? u"it cannot be examined (" + Error(facts.error) + u")"
                                  : LogFolderRefusal(facts, folders.AccountSid());
  if (refusal.empty()) {
    const std::uint32_t protect = folders.Protect(folder);
    // Failing leaves SYSTEM's or Administrators' folder (trusted without the installer's own
    // account) as it was: the file checks still hold.
    if (protect == 0 || OwnerIsTrusted(facts.owner, TextView())) return {true, Text()};
    refusal =
        u"its owner is the installer's own account, and it cannot be given to "
        u"Administrators (" +
        Error(protect) + u")";
  }
  const Text aside = folder + u".aside-" + Text(aside_suffix);
  if (const std::uint32_t moved = folders.Rename(folder, aside); moved != 0) {
    return {false, folder + u" is not used: " + refusal + u"; it cannot be set aside (" +
                       Error(moved) + u"): no log"};
  }
  const Text note = folder + u" was set aside as " + aside + u": " + refusal;
  // Someone may have made the name again in between: then it stays theirs, and unused.
  if (const std::uint32_t made = folders.CreateProtected(folder); made != 0) {
    return {false, note + u"; a new one cannot be made (" + Error(made) + u"): no log"};
  }
  return {true, note};
}

}  // namespace px
