#pragma once

#include <cstdint>

#include "base/text.h"

namespace px {

// How one interface key was taken by the port search; reported for support tools and the log.
struct InterfaceNote {
  enum Verdict {
    kAccepted,
    kOtherVendor,         // not 1A86 (nor 1a86) at characters 13 to 16 of the name
    kUsbPrintUnreadable,  // the usbprint value that ended the look-up could not be read
    kNotServed,           // none of the usbprint values "0" ... "9" occurs in the name
    kNoPortNumber,        // "Port Number" missing or not a 4-byte REG_DWORD
  };
  std::int32_t index;
  Text key_name;
  Text vendor;
  int usbprint_value;  // the value ("0" ... "9") that ended the look-up; -1 when none matched
  Text instance;       // what that value gave (empty when it could not be read)
  std::int32_t usbprint_status;  // UsbPrintReadStatus after the look-up
  bool port_read;    // the port number is read only when nothing else rejects the interface
  Text port_digits;  // empty when read and unreadable
  Verdict verdict;
};

}  // namespace px
