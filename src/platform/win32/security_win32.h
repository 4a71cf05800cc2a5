#pragma once

#include <memory>
#include <vector>

#include "base/text.h"
#include "base/win32/windows_api.h"

namespace px::win32 {

// The access the installer grants on what it makes for itself, in SDDL:
//   kProtectedFolderSddl  its log folder: SYSTEM and Administrators full control, Users read
//                         (px-capture, run by a user, copies the log), nothing inherited from
//                         ProgramData, whose "Users may create files" would let a user plant
//                         names in it
//   kNamespaceSddl        the private namespace of its kernel objects: SYSTEM and
//                         Administrators only
//   kComSddl              calls into the process (COM_RIGHTS_EXECUTE and _LOCAL): SYSTEM and
//                         Administrators only; nothing else has cause to call the installer
inline constexpr wchar_t kProtectedFolderSddl[] =
    L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
inline constexpr wchar_t kNamespaceSddl[] = L"O:BAG:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)";
inline constexpr wchar_t kComSddl[] = L"O:BAG:BAD:(A;;0x3;;;SY)(A;;0x3;;;BA)";

// A security descriptor made from SDDL, in the self-relative form SECURITY_ATTRIBUTES takes.
class SecurityDescriptor {
 public:
  // Null when the text is not valid SDDL.
  static std::unique_ptr<SecurityDescriptor> FromSddl(const wchar_t* sddl);
  ~SecurityDescriptor() { LocalFree(descriptor_); }
  SecurityDescriptor(const SecurityDescriptor&) = delete;
  SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;

  PSECURITY_DESCRIPTOR get() const { return descriptor_; }
  SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

 private:
  explicit SecurityDescriptor(PSECURITY_DESCRIPTOR descriptor);

  PSECURITY_DESCRIPTOR descriptor_;
  SECURITY_ATTRIBUTES attributes_;
};

// The same descriptor in absolute form, with its owner, group and DACL in buffers of its own,
// as CoInitializeSecurity wants it. Empty when it cannot be converted.
class AbsoluteSecurityDescriptor {
 public:
  explicit AbsoluteSecurityDescriptor(const SecurityDescriptor& self_relative);
  PSECURITY_DESCRIPTOR get() { return ok_ ? descriptor_.data() : nullptr; }

 private:
  bool ok_ = false;
  std::vector<BYTE> descriptor_, dacl_, sacl_, owner_, group_;
};

// A SID as text ("S-1-5-32-544"); empty when it cannot be converted.
Text SidText(PSID sid);

// The SID of the account this process runs as; empty when the token cannot be read.
Text ProcessAccountSid();

// Whether this process runs with a full administrator token (elevated).
bool ProcessIsElevated();

}  // namespace px::win32
