#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace px {

// Where Windows keeps the printing policies an administrator sets (Group Policy or Intune), under
// HKEY_LOCAL_MACHINE.
inline constexpr char kPrintersPolicyKey[] = "Software\\Policies\\Microsoft\\Windows NT\\Printers";
inline constexpr char kProtectedPrintPolicyKey[] =
    "Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
inline constexpr char kDriverPolicyKey[] =
    "Software\\Policies\\Microsoft\\Windows NT\\Printers\\Driver";

// The driver signature levels Windows checks a print driver against: 0 inbox drivers only,
// 1 adds the PrintDrivers certificate store, 2 adds WHQL, 3 adds Trusted Publishers, 4 (the
// default) admits any valid signature.
inline constexpr std::uint32_t kLevelWhql = 2;
inline constexpr std::uint32_t kLevelAnySignature = 4;

// What this Windows will do with the driver package and the printer, read before the
// installation.
struct PrintPolicy {
  enum Block {
    kNone,
    kProtectedPrint,  // protected print mode is on: only Microsoft's IPP class driver prints
    kSignature,       // the signature level admits no driver signed as this package is
  };
  Block block = kNone;
  // Who turned protected print mode on: "policy" (Group Policy or Intune) or "settings".
  Text protected_by;
  std::uint32_t level = kLevelAnySignature;
  // Device control is on and the printer's VID/PID is not on the approved list: the entry an
  // administrator has to add ("1A86/A798"); empty when printing is not refused.
  Text approval_missing;
};

// Reads the policies and asks Windows whether protected print mode is on. whql_signed: whether
// the driver package this release carries is signed by Microsoft (WHQL). product_id: the USB
// product id of the printer found ("A798").
PrintPolicy CheckPrintPolicy(Registry& registry, const SystemInfo& system, bool whql_signed,
                             TextView product_id);

// Whether a list in ApprovedUsbPrintDevices' form ("<vid>/<pid>[,<vid>/<pid>]", case and
// blanks around each entry aside) holds vid/pid.
bool ListsDevice(TextView approved, TextView vid, TextView pid);

}  // namespace px
