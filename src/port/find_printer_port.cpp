#include "port/find_printer_port.h"

#include <algorithm>
#include <array>
#include <string>

#include "port/registry_routines.h"

namespace px {

namespace {

constexpr int kUsbPrintValueCount = 10;  // the values "0" ... "9"

// The usbprint values of one search, each read the first time a look-up needs it. The
// registry does not change during a search, so a second read would give the same answer.
class UsbPrintValues {
 public:
  struct Entry {
    Text instance;
    std::int32_t status = 0;
  };

  UsbPrintValues(Registry& registry, RegistryFailure& failure)
      : registry_(registry), failure_(failure) {}

  const Entry& Get(int k) {
    if (!read_[k]) {
      entries_[k].instance =
          ReadUsbPrintInstance(registry_, Decimal(k), entries_[k].status, &failure_);
      read_[k] = true;
    }
    return entries_[k];
  }

 private:
  Registry& registry_;
  RegistryFailure& failure_;
  std::array<bool, kUsbPrintValueCount> read_{};
  std::array<Entry, kUsbPrintValueCount> entries_{};
};

struct LookUp {
  int value;   // the value that ended the look-up, -1 when all ten were tried in vain
  bool found;  // a failed read ends the look-up too, with its status
  std::int32_t status;
};

// Whether the instance stands in the key name as whole segments, between two "#" (or after
// the start). A served device "...#5&2a1b3c4d&0&1" must not claim the interface of an unplugged
// "...#5&2a1b3c4d&0&11#{...}", nor serial "A" the interface of serial "AB": the printer would be
// registered on another device's port. An empty instance names no device.
bool HoldsInstance(TextView key_name, TextView instance) {
  if (instance.empty()) return false;
  for (std::size_t at = key_name.find(instance); at != TextView::npos;
       at = key_name.find(instance, at + 1)) {
    const std::size_t end = at + instance.size();
    const bool starts_segment = at == 0 || key_name[at - 1] == u'#';
    if (starts_segment && end < key_name.size() && key_name[end] == u'#') return true;
  }
  return false;
}

// Tries the values "0", "1", ... in order until one names the key's device, case-sensitive,
// or cannot be read.
LookUp FindServingValue(UsbPrintValues& values, TextView key_name) {
  for (int k = 0; k < kUsbPrintValueCount; ++k) {
    const UsbPrintValues::Entry& entry = values.Get(k);
    if (entry.status != 0 || HoldsInstance(key_name, entry.instance)) {
      return {k, true, entry.status};
    }
  }
  return {-1, false, values.Get(kUsbPrintValueCount - 1).status};
}

// Characters 13 to 16 of "##?#USB#VID_1A86&PID_...": fewer when the name is shorter.
TextView VendorOf(TextView key_name) {
  constexpr std::size_t kVendorAt = 12;
  return kVendorAt < key_name.size() ? key_name.substr(kVendorAt, 4) : TextView();
}

Text DigitsOf(std::uint32_t port_number) {
  Text digits = Decimal(port_number);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), u'0');
  return digits;
}

}  // namespace

void FindPrinterPort(Registry& registry, PortSearch& search, RunEvents& events) {
  search.PortName = Text(kFallbackPortName);
  search.Failure = {};
  CollectPrinterInterfaceKeys(registry, search);

  UsbPrintValues usbprint(registry, search.Failure);
  const std::int32_t count = search.InterfaceKeyCount;
  for (std::int32_t i = 0; i < count; ++i) {
    const Text& name = search.InterfaceKeyNames[i];
    InterfaceNote note{i,     name, Text(VendorOf(name)),    -1, {}, 0,
                       false, {},   InterfaceNote::kAccepted};

    // Every interface gets its look-up, another vendor's too, so that its note says what
    // usbprint holds for it; the reads are shared by all look-ups, and the last interface's
    // UsbPrintReadStatus is what the search leaves behind.
    const bool vendor = note.vendor == u"1A86" || note.vendor == u"1a86";
    const LookUp look_up = FindServingValue(usbprint, name);
    search.UsbPrintReadStatus = look_up.status;
    note.usbprint_status = look_up.status;
    if (look_up.value >= 0) {
      note.usbprint_value = look_up.value;
      note.instance = usbprint.Get(look_up.value).instance;
    }

    if (!vendor) {
      note.verdict = InterfaceNote::kOtherVendor;
    } else if (!look_up.found) {
      note.verdict = InterfaceNote::kNotServed;
    } else if (look_up.status != 0) {
      note.verdict = InterfaceNote::kUsbPrintUnreadable;
    } else {
      note.port_read = true;
      note.port_digits = ReadPortNumberDigits(registry, name, &search.Failure);
      if (note.port_digits.empty()) note.verdict = InterfaceNote::kNoPortNumber;
    }
    events.On(event::Port{note});
    if (note.verdict == InterfaceNote::kAccepted) {
      search.PortName = u"USB" + note.port_digits;
      return;
    }
  }
}

void CollectPrinterInterfaceKeys(Registry& registry, PortSearch& search) {
  search.InterfaceKeyCount = 0;
  // The trailing separator is how the class key has always been named here; the registry
  // opens the same key with or without it.
  std::vector<Text> list = EnumRegistrySubKeys(
      registry, kHkeyLocalMachine, Text(kPrinterInterfaceClassKey) + u"\\", &search.Failure);
  for (Text& name : list) {
    if (search.InterfaceKeyCount >= kMaxInterfaceKeys) break;
    const auto at = static_cast<std::size_t>(search.InterfaceKeyCount);
    if (at < search.InterfaceKeyNames.size()) {
      search.InterfaceKeyNames[at] = std::move(name);
    } else {
      search.InterfaceKeyNames.push_back(std::move(name));
    }
    ++search.InterfaceKeyCount;
  }
}

Text ReadPortNumberDigits(Registry& registry, TextView interface_key_name,
                          RegistryFailure* failure) {
  RegistryFailure unused;
  RegistryFailure& noted = failure ? *failure : unused;
  const Text path = Text(kPrinterInterfaceClassKey) + u"\\" + Text(interface_key_name) +
                    u"\\#\\Device Parameters";
  ScopedRegKey key(registry);
  noted.Note(u"RegOpenKeyExA",
             registry.RegOpenKeyExA(kHkeyLocalMachine, registry.ToAnsi(path).c_str(), 0, kKeyRead,
                                    key.put()));

  std::array<std::uint8_t, 255> buffer;
  buffer.fill(' ');
  std::uint32_t type = kRegDword;
  std::uint32_t size = buffer.size();
  const std::int32_t status = registry.RegQueryValueExA(
      key.get(), registry.ToAnsi(u"Port Number").c_str(), &type, buffer.data(), &size);
  noted.Note(u"RegQueryValueExA", status);
  // The number is taken whole: anything but a 4-byte REG_DWORD is no port number.
  if (status != kErrorSuccess || type != kRegDword || size != 4) return {};
  const std::uint32_t port_number = buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) |
                                    (static_cast<std::uint32_t>(buffer[3]) << 24);
  return DigitsOf(port_number);
}

Text ReadUsbPrintInstance(Registry& registry, TextView value_name, std::int32_t& UsbPrintReadStatus,
                          RegistryFailure* failure) {
  RegistryFailure unused;
  RegistryFailure& noted = failure ? *failure : unused;
  ScopedRegKey key(registry);
  noted.Note(u"RegOpenKeyExA",
             registry.RegOpenKeyExA(kHkeyLocalMachine, registry.ToAnsi(kUsbPrintEnumKey).c_str(), 0,
                                    kKeyRead, key.put()));

  std::string buffer(255, ' ');
  std::uint32_t type = kRegSz;
  std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
  const std::int32_t status =
      registry.RegQueryValueExA(key.get(), registry.ToAnsi(value_name).c_str(), &type,
                                reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
  noted.Note(u"RegQueryValueExA", status);
  if (status != kErrorSuccess) {
    UsbPrintReadStatus = kUsbPrintReadFailed;
    return {};
  }
  UsbPrintReadStatus = 0;
  buffer.resize(size);
  Text instance = registry.FromAnsi(buffer);
  std::replace(instance.begin(), instance.end(), u'\\', u'#');
  // The size counts the terminator. Only a terminator is dropped: a value stored without one
  // keeps its last character, and an empty value stays empty.
  if (!instance.empty() && instance.back() == u'\0') instance.pop_back();
  return instance;
}

}  // namespace px
