#pragma once

#include <vector>

#include "platform/system_error.h"
#include "base/text.h"

namespace px {

// The associations between USB controllers and devices, as WMI's Win32_USBControllerDevice
// lists them: the Dependent object path of each, in the order WMI delivers them.
class UsbAssociations {
 public:
  virtual ~UsbAssociations() = default;
  virtual Expected<std::vector<Text>> QueryDependents() = 0;
};

}  // namespace px
