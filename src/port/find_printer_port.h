#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "events/run_events.h"
#include "platform/registry.h"
#include "port/registry_routines.h"

namespace px {

// Where Windows registers the USB printer interfaces and the devices the usbprint driver
// serves, under HKEY_LOCAL_MACHINE.
inline constexpr TextView kPrinterInterfaceClassKey =
    u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
inline constexpr TextView kUsbPrintEnumKey = u"SYSTEM\\CurrentControlSet\\Services\\usbprint\\Enum";

inline constexpr TextView kFallbackPortName = u"lpt1:";
inline constexpr std::int32_t kUsbPrintReadFailed = 88888;
inline constexpr std::int32_t kMaxInterfaceKeys = 10000;

// What the port search reads and leaves behind: the window's PortName and UsbPrintReadStatus,
// and the program-wide list of interface keys. Entries of InterfaceKeyNames past
// InterfaceKeyCount may be left from an earlier, longer search; they are never read.
struct PortSearch {
  Text PortName;
  std::int32_t UsbPrintReadStatus = 0;  // 0 or kUsbPrintReadFailed
  std::vector<Text> InterfaceKeyNames;
  std::int32_t InterfaceKeyCount = 0;
  // The search's first registry call that failed, if one did.
  RegistryFailure Failure;
};

// Names the virtual USB printer port of the first interface, in enumeration order, whose
// vendor is 1A86, whose device usbprint lists, and whose "Port Number" is readable: "USB" and
// the number with at least three digits. "lpt1:" when none qualifies.
//
// Every interface key examined is told to the run's events with the reason it was taken or
// left. The usbprint values are read at most once per search and the port number only of an
// interface that nothing else rejects: at most K + 10 value reads for K interface keys.
void FindPrinterPort(Registry& registry, PortSearch& search, RunEvents& events);

// Refills InterfaceKeyNames and InterfaceKeyCount with at most kMaxInterfaceKeys names.
void CollectPrinterInterfaceKeys(Registry& registry, PortSearch& search);

// The interface's "Port Number" as the digits of its port name ("001", "012", "256", "1000"),
// or an empty text when it is missing or not a REG_DWORD of 4 bytes.
Text ReadPortNumberDigits(Registry& registry, TextView interface_key_name,
                          RegistryFailure* failure = nullptr);

// One value of the usbprint enumeration key as a fragment of an interface key name (each "\"
// of the device instance path turned into "#"), and sets UsbPrintReadStatus: 0 when it was
// read, kUsbPrintReadFailed (with an empty result) when it was not.
Text ReadUsbPrintInstance(Registry& registry, TextView value_name, std::int32_t& UsbPrintReadStatus,
                          RegistryFailure* failure = nullptr);

}  // namespace px
