// The port search's bounds: how many interface keys it examines and how many values it reads.
#include <gtest/gtest.h>

#include "port/find_printer_port.h"
#include "port_registry.h"

namespace px {
namespace {

using testing::InterfaceKeyName;
using testing::kOtherVendor2;
using testing::kPrinter;
using testing::PortRegistry;
using testing::Search;

TEST(PortSearch, ExaminesAtMost10000InterfaceKeys) {
  PortRegistry machine;
  for (int i = 0; i < 10000; ++i) {
    machine.AddInterface(u"USB\\VID_0483&PID_5740\\" + Decimal(100000 + i), 1);
  }
  // The 10001st key in enumeration order: "VID_1A86" sorts after "VID_0483".
  machine.AddInterface(kPrinter, 1);
  machine.SetUsbPrint(0, kPrinter);
  PortSearch search;
  FindPrinterPort(machine.registry(), search, NoReaders());
  EXPECT_EQ(search.InterfaceKeyCount, 10000);
  EXPECT_EQ(search.PortName, u"lpt1:");

  // One key fewer, and the printer is examined.
  machine.store().Delete(
      kHkeyLocalMachine,
      machine.ClassKey() + u"\\" + InterfaceKeyName(u"USB\\VID_0483&PID_5740\\100000"));
  FindPrinterPort(machine.registry(), search, NoReaders());
  EXPECT_EQ(search.InterfaceKeyCount, 10000);
  EXPECT_EQ(search.PortName, u"USB001");
}

TEST(PortSearch, NameTooLongForTheBufferHidesTheKeysAfterIt) {
  PortRegistry machine;
  machine.AddInterfaceKey(u"##?#USB#VID_0000&PID_0000#" + Text(229, u'0'), 1);  // 255 chars
  machine.AddInterface(kPrinter, 1);
  machine.SetUsbPrint(0, kPrinter);
  PortSearch search;
  FindPrinterPort(machine.registry(), search, NoReaders());
  EXPECT_EQ(search.InterfaceKeyCount, 0);
  EXPECT_EQ(search.PortName, u"lpt1:");
}

// Each usbprint value is read at most once per search, and a port number only where nothing
// else rejects the interface. Another vendor's interface gets its look-up too (its verdict names
// what usbprint holds), so it may read the values the printer's look-up would not have needed.
TEST(PortSearch, ValueReadsStayWithinKPlus11) {
  struct Case {
    const char* name;
    int other_keys;
    int usbprint_values;  // "0" ... present, the printer's last
    bool printer;
    std::uint64_t reads;
  };
  const Case cases[] = {
      {"printer alone", 0, 1, true, 2},
      {"50 other printers, the printer in value 2", 50, 3, true, 5},
      {"500 others, no printer, 3 values", 500, 3, false, 4},
      {"1000 others, no printer, 10 values", 1000, 10, false, 10},
      {"no interfaces", 0, 3, false, 0},
  };
  for (const Case& c : cases) {
    PortRegistry machine;
    for (int i = 0; i < c.other_keys; ++i) {
      machine.AddInterface(u"USB\\VID_0483&PID_5740\\" + Decimal(i), 1);
    }
    if (c.printer) machine.AddInterface(kPrinter, 1);
    for (int k = 0; k < c.usbprint_values; ++k) {
      const bool last = k == c.usbprint_values - 1;
      machine.SetUsbPrint(k, last && c.printer ? kPrinter : kOtherVendor2);
    }
    machine.registry().ResetCalls();
    const PortSearch search = Search(machine);
    EXPECT_EQ(search.PortName, c.printer ? u"USB001" : u"lpt1:") << c.name;
    const std::uint64_t k = search.InterfaceKeyCount;
    EXPECT_EQ(machine.registry().calls().query_value, c.reads) << c.name;
    EXPECT_LE(machine.registry().calls().query_value, k + 11) << c.name;
  }
}

TEST(PortSearch, ValueReadsWhenEveryVendorInterfaceLacksAPort) {
  PortRegistry machine;
  for (int i = 0; i < 300; ++i) {
    const Text instance = u"USB\\VID_1A86&PID_5740\\" + Decimal(1000 + i);
    machine.AddInterface(instance, std::nullopt);
    if (i < 10) machine.SetUsbPrint(i, instance);
  }
  machine.registry().ResetCalls();
  EXPECT_EQ(Search(machine).PortName, u"lpt1:");
  // The ten served interfaces need their port number; the others end their look-up unserved.
  EXPECT_EQ(machine.registry().calls().query_value, 10u + 10u);
}

}  // namespace
}  // namespace px
