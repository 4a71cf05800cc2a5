// What this Windows refuses, checked once the printer and its port are known and before the
// driver package is touched: a refusal ends the run with its own exit code and words an
// administrator can act on, instead of an installation that fails without a reason.
#include "app/form1.h"
#include "app/print_policy.h"
#include "texts/installer_texts.h"

namespace px {

bool Form1::RefusedByPolicy() {
  const PrintPolicy policy = CheckPrintPolicy(backend_.registry, backend_.system,
                                              backend_.package_whql_signed, detection.ProductId);
  const auto text = [this](TextId id) { return Text(TextFor(id, LanguageFlag)); };

  if (!policy.approval_missing.empty()) {
    const Text warning = text(TextId::kDeviceControlHead) + policy.approval_missing +
                         text(TextId::kDeviceControlTail);
    events_.On(event::Warning{
        {u"device control: " + policy.approval_missing + u" is not in ApprovedUsbPrintDevices"}});
    ShowMessage(warning);
  }
  if (policy.block == PrintPolicy::kNone) return false;

  Text cause;
  Text help;
  Text log;
  if (policy.block == PrintPolicy::kProtectedPrint) {
    cause = text(TextId::kProtectedPrint);
    help = text(TextId::kProtectedPrintHelp);
    log = u"protected print mode is on (" + policy.protected_by + u")";
  } else {
    cause = text(TextId::kSignatureHead) + Decimal(policy.level) + text(TextId::kSignatureTail);
    help = text(TextId::kSignatureHelp);
    log = u"driver signature validation level " + Decimal(policy.level) +
          (backend_.package_whql_signed ? u" refuses a WHQL-signed package"
                                        : u" refuses a package that is not WHQL-signed");
  }
  events_.On(event::Warning{{log}});
  form_.SetLabel1(5, cause);
  form_.SetLabel1(6, text(TextId::kAdminCan));
  ShowMessage(text(TextId::kFailed) + u"\n" + cause + u"\n" + help);
  End(ExitCode::kBlockedByPolicy);
  return true;
}

}  // namespace px
