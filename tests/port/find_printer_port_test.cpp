// The USB port search on simulated registries shaped like those of real machines.
#include "port/find_printer_port.h"

#include <gtest/gtest.h>
#include <functional>

#include "port_registry.h"

namespace px {
namespace {

using testing::InterfaceKeyName;
using testing::kOtherVendor;
using testing::kOtherVendor2;
using testing::kPrinter;
using testing::kPrinter2;
using testing::PortRegistry;
using testing::Search;

struct SearchCase {
  const char* name;
  std::function<void(PortRegistry&)> setup;
  TextView port_name;
};

class PortSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(PortSearchTest, NamesThePort) {
  PortRegistry machine;
  GetParam().setup(machine);
  EXPECT_EQ(Search(machine).PortName, GetParam().port_name);
}

// The printer with this port number, listed by usbprint as value "0".
std::function<void(PortRegistry&)> PrinterWithPort(std::uint32_t port) {
  return [port](PortRegistry& m) {
    m.AddInterface(kPrinter, port);
    m.SetUsbPrint(0, kPrinter);
  };
}

// The printer listed as value "0", with a "Port Number" of that type and data.
std::function<void(PortRegistry&)> PrinterWithPortValue(std::uint32_t type, std::string data) {
  return [type, data](PortRegistry& m) {
    m.SetPortValue(InterfaceKeyName(kPrinter), type, data);
    m.SetUsbPrint(0, kPrinter);
  };
}

INSTANTIATE_TEST_SUITE_P(Registrations, PortSearchTest,
                         ::testing::
                             Values(SearchCase{"NoClassKey", [](PortRegistry&) {}, u"lpt1:"},
                                    SearchCase{"EmptyClassKey",
                                               [](PortRegistry& m) {
                                                 m.store().Create(kHkeyLocalMachine, m.ClassKey());
                                                 m.SetUsbPrint(0, kPrinter);
                                               },
                                               u"lpt1:"},
                                    SearchCase{"OnlyOtherVendors",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kOtherVendor, 1);
                                                 m.AddInterface(kOtherVendor2, 2);
                                                 m.SetUsbPrint(0, kOtherVendor);
                                                 m.SetUsbPrint(1, kOtherVendor2);
                                               },
                                               u"lpt1:"},
                                    SearchCase{"PrinterListedAsValue0", PrinterWithPort(1),
                                               u"USB001"},
                                    SearchCase{
                                        "VendorInLowerCase",
                                        [](PortRegistry& m) {
                                          m.AddInterface(u"USB\\VID_1a86&PID_5740\\A1B2C3D4", 1);
                                          m.SetUsbPrint(0, u"USB\\VID_1a86&PID_5740\\A1B2C3D4");
                                        },
                                        u"USB001"},
                                    // The vendor is read at characters 13 to 16, wherever else the
                                    // name holds VID_1A86.
                                    SearchCase{
                                        "VendorNotAtItsPlace",
                                        [](PortRegistry& m) {
                                          m.AddInterface(u"USBPRINT\\VID_1A86&PID_5740\\1", 1);
                                          m.SetUsbPrint(0, u"USBPRINT\\VID_1A86&PID_5740\\1");
                                        },
                                        u"lpt1:"},
                                    SearchCase{"ListedOnlyAsValue2",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, 3);
                                                 m.SetUsbPrint(0, kOtherVendor);
                                                 m.SetUsbPrint(1, kOtherVendor2);
                                                 m.SetUsbPrint(2, kPrinter);
                                               },
                                               u"USB003"},
                                    SearchCase{"ListedOnlyAsValue9",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, 9);
                                                 for (int k = 0; k < 9; ++k)
                                                   m.SetUsbPrint(k, kOtherVendor);
                                                 m.SetUsbPrint(9, kPrinter);
                                               },
                                               u"USB009"},
                                    SearchCase{"MissingValue2RejectsUnlistedInterfaceOnly",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5740\\AAA",
                                                                4);  // listed nowhere
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5740\\BBB", 5);
                                                 m.SetUsbPrint(0, kOtherVendor);
                                                 m.SetUsbPrint(1, u"USB\\VID_1A86&PID_5740\\BBB");
                                               },
                                               u"USB005"},
                                    SearchCase{"Value0Missing",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, 1);
                                                 m.SetUsbPrint(1, kPrinter);
                                               },
                                               u"lpt1:"},
                                    SearchCase{"UsbPrintKeyMissing",
                                               [](PortRegistry& m) { m.AddInterface(kPrinter, 1); },
                                               u"lpt1:"},
                                    SearchCase{"InstanceDiffersInLetterCase",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, 1);
                                                 m.SetUsbPrint(0,
                                                               u"USB\\VID_1A86&PID_5740\\a1b2c3d4");
                                               },
                                               u"lpt1:"},
                                    SearchCase{"FirstInEnumerationOrderWins",
                                               [](PortRegistry& m) {
                                                 // Created first, sorted last: "5741" comes after
                                                 // "5740".
                                                 m.AddInterface(kPrinter2, 2);
                                                 m.AddInterface(kPrinter, 1);
                                                 m.SetUsbPrint(0, kPrinter2);
                                                 m.SetUsbPrint(1, kPrinter);
                                               },
                                               u"USB001"},
                                    SearchCase{"KeyNameTooShortForAVendor",
                                               [](PortRegistry& m) {
                                                 m.AddInterfaceKey(u"##?#USB#VID", 1);
                                                 m.SetUsbPrint(0, u"USB");
                                               },
                                               u"lpt1:"},
                                    // The port number is taken whole, as a number.
                                    SearchCase{"Port0", PrinterWithPort(0), u"USB000"},
                                    SearchCase{"Port12", PrinterWithPort(12), u"USB012"},
                                    SearchCase{"Port127", PrinterWithPort(127), u"USB127"},
                                    SearchCase{"Port128", PrinterWithPort(128), u"USB128"},
                                    SearchCase{"Port160", PrinterWithPort(160), u"USB160"},
                                    SearchCase{"Port256", PrinterWithPort(256), u"USB256"},
                                    SearchCase{"Port1000", PrinterWithPort(1000), u"USB1000"},
                                    SearchCase{"PortMax", PrinterWithPort(0xFFFFFFFF),
                                               u"USB4294967295"},
                                    SearchCase{"PortNumberMissing",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, std::nullopt);
                                                 m.SetUsbPrint(0, kPrinter);
                                               },
                                               u"lpt1:"},
                                    SearchCase{"PortNumberAsText",
                                               PrinterWithPortValue(kRegSz, sim::StringData(u"1")),
                                               u"lpt1:"},
                                    SearchCase{"PortNumberAsBinary",
                                               PrinterWithPortValue(kRegBinary,
                                                                    std::string("\x01\0\0\0", 4)),
                                               u"lpt1:"},
                                    SearchCase{
                                        "PortNumberOfTwoBytes",
                                        PrinterWithPortValue(kRegDword, std::string("\x01\0", 2)),
                                        u"lpt1:"},
                                    SearchCase{
                                        "PortNumberAsQword",
                                        PrinterWithPortValue(kRegQword,
                                                             std::string("\x01\0\0\0\0\0\0\0", 8)),
                                        u"lpt1:"},
                                    // A value stored without its terminator keeps its last
                                    // character, so a serial number is not cut short into the
                                    // prefix of another one.
                                    SearchCase{"UsbPrintValueWithoutTerminator",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5740\\A", 1);
                                                 const std::string ab =
                                                     sim::StringData(u"USB\\VID_1A86&PID_5740\\AB");
                                                 m.SetUsbPrintRaw(0, kRegSz,
                                                                  ab.substr(0, ab.size() - 2));
                                               },
                                               u"lpt1:"},
                                    SearchCase{"UsbPrintValueLongerThanTheBuffer",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(kPrinter, 1);
                                                 m.SetUsbPrint(0, Text(kPrinter) + Text(300, u'x'));
                                               },
                                               u"lpt1:"},
                                    // The instance counts only as whole segments of the key name.
                                    SearchCase{"ServedInstanceIsPrefixOfAnUnpluggedOne",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(
                                                     u"USB\\VID_1A86&PID_5740\\5&2a1b3c4d&0&11",
                                                     11);
                                                 m.SetUsbPrint(
                                                     0, u"USB\\VID_1A86&PID_5740\\5&2a1b3c4d&0&1");
                                               },
                                               u"lpt1:"},
                                    SearchCase{"SerialIsPrefixOfAnotherSerial",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5740\\AB", 2);
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5741\\A", 3);
                                                 m.SetUsbPrint(0, u"USB\\VID_1A86&PID_5740\\A");
                                                 m.SetUsbPrint(1, u"USB\\VID_1A86&PID_5741\\A");
                                               },
                                               u"USB003"},
                                    SearchCase{"ChineseSerialOnAChineseSystem",
                                               [](PortRegistry& m) {
                                                 m.AddInterface(u"USB\\VID_1A86&PID_5740\\打印机01",
                                                                3);
                                                 m.SetUsbPrint(0,
                                                               u"USB\\VID_1A86&PID_5740\\打印机01");
                                               },
                                               u"USB003"}),
                         [](const auto& info) { return std::string(info.param.name); });

// An empty usbprint value, read with its terminator or with a size of 0, names no device.
TEST(PortSearch, EmptyUsbPrintValueOfAnySizeMatchesNoName) {
  for (const std::string& data : {sim::StringData(u""), std::string()}) {
    PortRegistry machine;
    machine.AddInterface(kPrinter, 7);
    machine.SetUsbPrintRaw(0, kRegSz, data);
    EXPECT_EQ(Search(machine).PortName, u"lpt1:") << data.size() << " bytes";
  }
}

// On an English system the Chinese characters of the key name turn into "?": the name read
// back no longer opens the key, as on Windows, and the interface has no readable port.
TEST(PortSearch, KeyNameOutsideTheCodePageCannotBeOpened) {
  PortRegistry machine(1252);
  machine.AddInterface(u"USB\\VID_1A86&PID_5740\\打印机01", 3);
  machine.SetUsbPrint(0, u"USB\\VID_1A86&PID_5740\\打印机01");
  EXPECT_EQ(Search(machine).PortName, u"lpt1:");
}

TEST(PortSearch, UsbPrintReadStatusDescribesTheInterfaceExaminedLast) {
  struct Case {
    const char* name;
    std::function<void(PortRegistry&)> setup;
    std::int32_t status;
  };
  const Case cases[] = {
      {"accepted", PrinterWithPort(1), 0},
      {"last look-up ended on a missing value",
       [](PortRegistry& m) {
         m.AddInterface(kPrinter, 1);
         m.SetUsbPrint(0, kOtherVendor);
       },
       kUsbPrintReadFailed},
      {"all ten values read, none matched",
       [](PortRegistry& m) {
         m.AddInterface(kPrinter, 1);
         for (int k = 0; k < 10; ++k) m.SetUsbPrint(k, kOtherVendor);
       },
       0},
      {"other vendor last, its look-up failed",
       [](PortRegistry& m) {
         m.AddInterface(kPrinter, std::nullopt);  // served, no port: rejected
         m.AddInterface(u"USB\\VID_2A86&PID_1\\1", 1);
         m.SetUsbPrint(0, kPrinter);
       },
       kUsbPrintReadFailed},
      {"no interfaces", [](PortRegistry&) {}, 0},
  };
  for (const Case& c : cases) {
    PortRegistry machine;
    c.setup(machine);
    EXPECT_EQ(Search(machine).UsbPrintReadStatus, c.status) << c.name;
  }
}

TEST(PortSearch, SecondSearchStartsAgainFromTheFallback) {
  PortRegistry machine;
  machine.AddInterface(kPrinter, 1);
  machine.AddInterface(kOtherVendor, 2);
  machine.SetUsbPrint(0, kPrinter);
  PortSearch search;
  FindPrinterPort(machine.registry(), search, NoReaders());
  ASSERT_EQ(search.PortName, u"USB001");
  ASSERT_EQ(search.InterfaceKeyCount, 2);

  // The printer is unplugged: Windows removes its interface.
  machine.store().Delete(kHkeyLocalMachine,
                         machine.ClassKey() + u"\\" + InterfaceKeyName(kPrinter));
  FindPrinterPort(machine.registry(), search, NoReaders());
  EXPECT_EQ(search.PortName, u"lpt1:");
  EXPECT_EQ(search.InterfaceKeyCount, 1);
  EXPECT_EQ(search.InterfaceKeyNames[0], InterfaceKeyName(kOtherVendor));
}

class RecordedNotes : public RunEvents {
 public:
  void On(const RunEvent& event) override {
    if (const auto* port = std::get_if<event::Port>(&event)) notes.push_back(port->note);
  }
  std::vector<InterfaceNote> notes;
};

TEST(PortSearch, ExplainsEveryInterfaceItExamines) {
  PortRegistry machine;
  machine.AddInterface(u"USB\\VID_0483&PID_5740\\1", 1);             // other vendor
  machine.AddInterface(u"USB\\VID_1A86&PID_0001\\1", 1);             // not served
  machine.AddInterface(u"USB\\VID_1A86&PID_0002\\1", std::nullopt);  // no port number
  machine.AddInterface(u"USB\\VID_1A86&PID_0003\\1", 3);             // accepted
  machine.AddInterface(u"USB\\VID_1A86&PID_0004\\1", 4);             // never examined
  machine.SetUsbPrint(0, u"USB\\VID_1A86&PID_0002\\1");
  for (int k = 1; k < 10; ++k) machine.SetUsbPrint(k, u"USB\\VID_1A86&PID_0003\\1");
  RecordedNotes notes;
  PortSearch search;
  FindPrinterPort(machine.registry(), search, notes);
  EXPECT_EQ(search.PortName, u"USB003");

  using V = InterfaceNote;
  ASSERT_EQ(notes.notes.size(), 4u);
  const V::Verdict verdicts[] = {V::kOtherVendor, V::kNotServed, V::kNoPortNumber, V::kAccepted};
  const int values[] = {-1, -1, 0, 1};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(notes.notes[i].index, static_cast<std::int32_t>(i));
    EXPECT_EQ(notes.notes[i].verdict, verdicts[i]) << i;
    EXPECT_EQ(notes.notes[i].usbprint_value, values[i]) << i;
  }
  EXPECT_EQ(notes.notes[0].vendor, u"0483");
  EXPECT_FALSE(notes.notes[1].port_read);
  EXPECT_TRUE(notes.notes[2].port_read);
  EXPECT_EQ(notes.notes[2].port_digits, u"");
  EXPECT_EQ(notes.notes[3].port_digits, u"003");
  EXPECT_EQ(notes.notes[3].instance, u"USB#VID_1A86&PID_0003#1");

  // A look-up that ends on a value that cannot be read.
  PortRegistry unlisted;
  unlisted.AddInterface(kPrinter, 1);
  notes.notes.clear();
  FindPrinterPort(unlisted.registry(), search, notes);
  ASSERT_EQ(notes.notes.size(), 1u);
  EXPECT_EQ(notes.notes[0].verdict, V::kUsbPrintUnreadable);
  EXPECT_EQ(notes.notes[0].usbprint_value, 0);
}

TEST(ReadUsbPrintInstance, TurnsTheInstancePathIntoAKeyNameFragment) {
  PortRegistry machine;
  machine.SetUsbPrint(0, kPrinter);
  std::int32_t status = -1;
  EXPECT_EQ(ReadUsbPrintInstance(machine.registry(), u"0", status),
            u"USB#VID_1A86&PID_5740#A1B2C3D4");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadUsbPrintInstance(machine.registry(), u"1", status), u"");
  EXPECT_EQ(status, kUsbPrintReadFailed);
  EXPECT_EQ(machine.registry().open_handle_count(), 0u);
}

}  // namespace
}  // namespace px
