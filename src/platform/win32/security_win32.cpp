#include "platform/win32/security_win32.h"

#include <sddl.h>

#include "base/win32/unique_handle.h"

namespace px::win32 {

SecurityDescriptor::SecurityDescriptor(PSECURITY_DESCRIPTOR descriptor)
    : descriptor_(descriptor), attributes_{sizeof attributes_, descriptor, FALSE} {}

std::unique_ptr<SecurityDescriptor> SecurityDescriptor::FromSddl(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return nullptr;
  }
  return std::unique_ptr<SecurityDescriptor>(new SecurityDescriptor(descriptor));
}

AbsoluteSecurityDescriptor::AbsoluteSecurityDescriptor(const SecurityDescriptor& self_relative) {
  DWORD sizes[5] = {};
  MakeAbsoluteSD(self_relative.get(), nullptr, &sizes[0], nullptr, &sizes[1], nullptr, &sizes[2],
                 nullptr, &sizes[3], nullptr, &sizes[4]);
  std::vector<BYTE>* buffers[5] = {&descriptor_, &dacl_, &sacl_, &owner_, &group_};
  // A part the descriptor lacks has size 0; a buffer of one byte keeps its pointer valid.
  for (int i = 0; i < 5; ++i) buffers[i]->resize(sizes[i] == 0 ? 1 : sizes[i]);
  ok_ = MakeAbsoluteSD(self_relative.get(), descriptor_.data(), &sizes[0],
                       reinterpret_cast<PACL>(dacl_.data()), &sizes[1],
                       reinterpret_cast<PACL>(sacl_.data()), &sizes[2], owner_.data(), &sizes[3],
                       group_.data(), &sizes[4]);
}

Text SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) return Text();
  Text out = FromWide(text);
  LocalFree(text);
  return out;
}

Text ProcessAccountSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return Text();
  const UniqueKernelHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return Text();
  // TOKEN_USER and the SID it points to, suitably aligned.
  std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
  if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return Text();
  return SidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
}

bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const UniqueKernelHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

}  // namespace px::win32
