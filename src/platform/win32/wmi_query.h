#pragma once

#include <memory>
#include <vector>

#include "base/text.h"
#include "platform/system_error.h"
#include "platform/usb_associations.h"

namespace px::win32 {

// The objects of a WQL query in WMI's root\cimv2 namespace, read forward one at a time in the
// order WMI delivers them. The query returns at once and WMI goes on listing while the objects
// are read (WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY); a failing call
// (connection, query, enumeration, property read) is an error naming the call and its HRESULT.
// COM must be initialised on the calling thread.
class WmiObjects {
 public:
  static Expected<WmiObjects> Query(const wchar_t* query);

  WmiObjects(WmiObjects&&) noexcept;
  WmiObjects& operator=(WmiObjects&&) noexcept;
  ~WmiObjects();

  // Moves to the next object: true, or false after the last one.
  Expected<bool> Next();
  // A property of the object Next moved to, as text.
  Expected<Text> Read(const wchar_t* property);

 private:
  struct Com;
  explicit WmiObjects(std::unique_ptr<Com> com);
  std::unique_ptr<Com> com_;
};

// One property of every object of a query, read to the end.
Expected<std::vector<Text>> QueryWmiProperty(const wchar_t* query, const wchar_t* property);

// The USB controller-device associations: the Dependent path of each Win32_USBControllerDevice,
// read when the detection pass reaches it.
class WmiUsbAssociations : public UsbAssociations {
 public:
  Expected<std::unique_ptr<UsbAssociationCursor>> Query() override;
};

}  // namespace px::win32
