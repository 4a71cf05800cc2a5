#pragma once

#include <memory>

#include "base/text.h"
#include "platform/system_error.h"

namespace px {

// One enumeration of the associations, read forward in the order WMI delivers them. WMI hands
// out each object when it has it, so the detection pass shows its progress while WMI is still
// listing, and a failure is met only when the pass reaches the object that fails.
class UsbAssociationCursor {
 public:
  virtual ~UsbAssociationCursor() = default;
  // Moves to the next association: true, or false after the last one (then it stays there).
  virtual Expected<bool> Next() = 0;
  // The Dependent object path of the association Next moved to; once per association.
  virtual Expected<Text> Dependent() = 0;
};

// The associations between USB controllers and devices that WMI's Win32_USBControllerDevice
// lists.
class UsbAssociations {
 public:
  virtual ~UsbAssociations() = default;
  // Runs the query; its objects are read through the cursor.
  virtual Expected<std::unique_ptr<UsbAssociationCursor>> Query() = 0;
};

}  // namespace px
