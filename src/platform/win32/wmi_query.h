#pragma once

#include <vector>

#include "platform/system_error.h"
#include "base/text.h"
#include "platform/usb_associations.h"

namespace px::win32 {

// Runs a WQL query in WMI's root\cimv2 namespace and reads one property of every object, as
// text, in the order WMI delivers the objects. Any failing call (connection, query, enumeration,
// property read) is returned as an error naming the call and its HRESULT. COM must be
// initialised on the calling thread.
Expected<std::vector<Text>> QueryWmiProperty(const wchar_t* query, const wchar_t* property);

// The USB controller-device associations: the Dependent path of each Win32_USBControllerDevice.
class WmiUsbAssociations : public UsbAssociations {
 public:
  Expected<std::vector<Text>> QueryDependents() override;
};

}  // namespace px::win32
