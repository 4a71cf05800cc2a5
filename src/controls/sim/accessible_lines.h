#pragma once

#include <string>
#include <vector>

#include "controls/common/accessible.h"

namespace px::sim {

// A control's accessible description as a reader of the simulated desktop writes it, one line
// per element, the control (child 0) first:
//   accessible  CONTROL  CHILD  role  name  states  default-action
// role is "push button", "check button" or "title bar"; states are the names of the state
// bits, comma-separated ("focusable,hot tracked"), or "normal" when none is set; the name and
// the default action are escaped as printed texts are, and empty when there is none.
std::vector<std::string> AccessibleLines(const std::string& control,
                                         const AccessibleDescription& description);
std::string RoleName(AccessibleRole role);
std::string StateNames(std::uint32_t state);

}  // namespace px::sim
