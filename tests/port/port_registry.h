// A machine's printer registrations, built in code for the port search tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/registry_sim.h"
#include "port/find_printer_port.h"

namespace px::testing {

// The interface key name Windows gives a USB printer interface: the device instance path with
// "#" for "\", between "##?#" and the class GUID.
inline Text InterfaceKeyName(TextView instance_path) {
  Text name = u"##?#" + Text(instance_path) + u"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  for (char16_t& c : name) {
    if (c == u'\\') c = u'#';
  }
  return name;
}

class PortRegistry {
 public:
  explicit PortRegistry(unsigned code_page = 936) : registry_(code_page) {}

  sim::SimRegistry& registry() { return registry_; }
  sim::RegistryStore& store() { return registry_.store(); }

  Text ClassKey() const { return Text(kPrinterInterfaceClassKey); }
  Text ParametersKey(TextView key_name) const {
    return ClassKey() + u"\\" + Text(key_name) + u"\\#\\Device Parameters";
  }

  // An interface of that instance path with a REG_DWORD "Port Number" (none: no value).
  Text AddInterface(TextView instance_path, std::optional<std::uint32_t> port) {
    const Text name = InterfaceKeyName(instance_path);
    AddInterfaceKey(name, port);
    return name;
  }
  void AddInterfaceKey(TextView key_name, std::optional<std::uint32_t> port) {
    if (port) {
      store().SetDword(kHkeyLocalMachine, ParametersKey(key_name), u"Port Number", *port);
    } else {
      store().Create(kHkeyLocalMachine, ParametersKey(key_name));
    }
  }
  void SetPortValue(TextView key_name, std::uint32_t type, std::string data) {
    store().SetValue(kHkeyLocalMachine, ParametersKey(key_name),
                     {u"Port Number", type, std::move(data)});
  }

  // usbprint's value k ("0" ... "9") naming a device instance path.
  void SetUsbPrint(int k, TextView instance_path) {
    store().SetString(kHkeyLocalMachine, kUsbPrintEnumKey, Decimal(k), instance_path);
  }
  void SetUsbPrintRaw(int k, std::uint32_t type, std::string data) {
    store().SetValue(kHkeyLocalMachine, kUsbPrintEnumKey, {Decimal(k), type, std::move(data)});
  }

 private:
  sim::SimRegistry registry_;
};

// Device instance paths the port search tests register.
inline constexpr TextView kPrinter = u"USB\\VID_1A86&PID_5740\\A1B2C3D4";
inline constexpr TextView kPrinter2 = u"USB\\VID_1A86&PID_5741\\0002";
inline constexpr TextView kOtherVendor = u"USB\\VID_0483&PID_5740\\7F3A1B2C";
inline constexpr TextView kOtherVendor2 = u"USB\\VID_04B8&PID_0E15\\5&1E8C4F2A&0&4";

// A whole search on the machine, which must leave no key open.
inline PortSearch Search(PortRegistry& machine) {
  PortSearch search;
  FindPrinterPort(machine.registry(), search, NoReaders());
  EXPECT_EQ(machine.registry().open_handle_count(), 0u);
  return search;
}

}  // namespace px::testing
