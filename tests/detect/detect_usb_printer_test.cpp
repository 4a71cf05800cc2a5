// One detection pass over WMI's USB associations, on paths as real machines report them.
#include "detect/detect_usb_printer.h"

#include <gtest/gtest.h>

#include "base/sim/event_loop.h"
#include "base/utf.h"
#include "platform/sim/sim_platform.h"
#include "support/recorded_view.h"

namespace px {
namespace {

using testing::RecordedView;

// A Dependent value as WMI gives it: the object path with doubled backslashes.
Text Device(std::string_view id) {
  return Utf8Literal(R"(\\DESKTOP-7Q1\root\cimv2:Win32_PnPEntity.DeviceID=")") + Utf8Literal(id) +
         u"\"";
}
Text Usb(std::string_view vid, std::string_view pid, std::string_view tail = "5&2A1B3C4D&0&3") {
  return Device("USB\\\\VID_" + std::string(vid) + "&PID_" + std::string(pid) + "\\\\" +
                std::string(tail));
}
const Text kRootHub = Device(R"(USB\\ROOT_HUB30\\4&1F3B5A2C&0&0)");
const Text kKeyboard = Usb("046D", "C31C", "6&3A1F2B7&0&1");
const Text kSerialChip = Usb("1A86", "7523", "5&1E8C4F2A&0&5");  // vendor 1A86, no printer

// Table rows the tests lean on, found by their properties rather than by position.
const ModelRow& RowWith(bool (*pred)(const ModelRow&)) {
  for (const ModelRow& row : ModelTable::Builtin().rows()) {
    if (pred(row)) return row;
  }
  throw std::logic_error("no such row");
}
const ModelRow& BannerRowEndingPass() {
  return RowWith([](const ModelRow& r) {
    return r.suffix.starts_with(u"欢迎使用") && ModelTable::Builtin().EndsPass(r.keys[0]);
  });
}
const ModelRow& PlainRowScanningOn() {
  return RowWith([](const ModelRow& r) {
    return r.suffix.empty() && r.model_dash.empty() && !ModelTable::Builtin().EndsPass(r.keys[0]);
  });
}
const ModelRow& BannerRowScanningOn() {
  return RowWith([](const ModelRow& r) {
    return !r.suffix.empty() && !ModelTable::Builtin().EndsPass(r.keys[0]);
  });
}
const ModelRow& CaseTwinRow() {
  return RowWith([](const ModelRow& r) {
    Text upper(r.keys[1]);
    for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return !r.keys[1].empty() && upper == r.keys[0];
  });
}
std::string Key(std::u16string_view key) { return ToUtf8(key); }

class DetectionPass : public ::testing::Test {
 protected:
  DetectionPass() { view->SetCaption(u"QuorilV1.20181108"); }

  void Pass(const std::vector<Text>& paths) {
    view.Clear();
    ScanAssociations(state, language_flag, view.view(), paths, ModelTable::Builtin());
  }

  RecordedView view;
  DetectionState state;
  std::int16_t language_flag = 0;
};

TEST_F(DetectionPass, RootHubsAndOtherVendorsLeaveTheRecordAsItWas) {
  state.PrinterFound = 1;  // kept from an earlier pass
  Pass({kRootHub, kKeyboard, Device(R"(USB\\ROOT_HUB20\\4&2C71D0E5&0&0)")});
  EXPECT_EQ(state.ScanCounter, 3);
  EXPECT_EQ(state.PrinterFound, 0);  // the keyboard's product id went through the check
  EXPECT_EQ(view->Label1(3), Device(R"(USB\\ROOT_HUB20\\4&2C71D0E5&0&0)"));
  EXPECT_EQ(view->Label1(2), Utf8Literal("正在查询USB打印机，请确认打印机是否处于打开状态:3s"));

  state.PrinterFound = 1;
  Pass({kRootHub, kRootHub});
  EXPECT_EQ(state.PrinterFound, 1);  // no product id examined
}

TEST_F(DetectionPass, EachAssociationShowsProgressRepaintsAndShowsItsPath) {
  Pass({kRootHub, kKeyboard});
  const std::vector<std::string> expected = {
      "Label1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:1s",
      "Refresh",
      "Label1(3)\t" + ToUtf8(kRootHub),
      "Label1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:2s",
      "Refresh",
      "Label1(3)\t" + ToUtf8(kKeyboard),
      "Refresh",  // the acceptance check of the keyboard's product id
  };
  EXPECT_EQ(view.Lines(), expected);
}

TEST_F(DetectionPass, EnglishProgressText) {
  language_flag = 1;
  state.ScanCounter = 6;
  Pass({kRootHub});
  EXPECT_EQ(view->Label1(2), u"Please open the printer power:7s");
}

TEST_F(DetectionPass, AcceptsTablePrinterAndAppendsItsBanner) {
  const ModelRow& row = BannerRowEndingPass();
  Pass({kRootHub, kSerialChip, Usb("1A86", Key(row.keys[0])), kKeyboard});
  EXPECT_EQ(state.PrinterFound, 1);
  EXPECT_EQ(state.ModelName, row.model);
  EXPECT_EQ(view->Caption(), u"QuorilV1.20181108" + Text(row.suffix));
  EXPECT_EQ(state.ScanCounter, 3);  // the pass ended at the printer
  // The acceptance check repaints once the caption names the brand.
  const auto lines = view.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Caption\t" + ToUtf8(view->Caption()));
  EXPECT_EQ(lines.back(), "Refresh");
}

TEST_F(DetectionPass, CounterRunsUpTo99ThenZero) {
  state.ScanCounter = 97;
  Pass({kRootHub, kRootHub, kRootHub, kRootHub});  // 98, 99, 0, 1
  EXPECT_EQ(state.ScanCounter, 1);
  const auto lines = view.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Label1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:99s"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Label1(2)\t正在查询USB打印机，请确认打印机是否处于打开状态:0s"),
            lines.end());
  for (const std::string& line : lines) EXPECT_EQ(line.find(":100s"), std::string::npos);
}

TEST_F(DetectionPass, MassStoragePrinterEndsThePassWithItsWarningInEveryLanguage) {
  for (std::int16_t flag : {0, 1}) {
    language_flag = flag;
    state.PrinterFound = 1;
    Pass({kRootHub, Usb("0483", "5720"), Usb("1A86", Key(BannerRowEndingPass().keys[0]))});
    EXPECT_EQ(view->Label1(2), Utf8Literal("目前打印在U盘模式下，请重启打印机"));
    EXPECT_EQ(view->Label1(3), Usb("0483", "5720"));
    EXPECT_EQ(state.PrinterFound, 1);
    EXPECT_TRUE(state.ModelName.empty());  // the printer after it was never examined
  }
}

// The pass flags belong to one device: a vendor id seen on one device never vouches for the
// product id of another.
TEST_F(DetectionPass, MassStorageIdsOnTwoDevicesAreNoMassStoragePrinter) {
  Pass({Usb("0483", "1234"), Usb("046D", "5720")});
  EXPECT_EQ(state.ScanCounter, 2);
  EXPECT_EQ(view.Count("Label1(2)\t目前打印在U盘模式下，请重启打印机"), 0u);
}

TEST_F(DetectionPass, TableIdOfAnotherVendorChangesNothing) {
  const ModelRow& row = BannerRowEndingPass();
  Pass({kSerialChip, Usb("0403", Key(row.keys[0]))});
  EXPECT_EQ(state.PrinterFound, 0);
  EXPECT_TRUE(state.ModelName.empty());
  EXPECT_EQ(view->Caption(), u"QuorilV1.20181108");
}

TEST_F(DetectionPass, LaterIdsNeitherUndoNorInheritAnAcceptance) {
  const ModelRow& first = PlainRowScanningOn();
  const ModelRow& ending = BannerRowEndingPass();
  // An id after the acceptance that is not accepted: the acceptance stands, the pass scans on.
  Pass({Usb("1A86", Key(first.keys[0])), Usb("0403", Key(ending.keys[0])), kKeyboard});
  EXPECT_EQ(state.PrinterFound, 1);
  EXPECT_EQ(state.ModelName, first.model);
  EXPECT_EQ(state.ScanCounter, 3);
  EXPECT_EQ(view->Caption(), u"QuorilV1.20181108");
  // A second accepted printer that ends the pass gives the model.
  Pass({Usb("1A86", Key(first.keys[0])), Usb("1A86", Key(ending.keys[0])), kKeyboard});
  EXPECT_EQ(state.ModelName, ending.model);
  EXPECT_EQ(state.ScanCounter, 5);
}

TEST_F(DetectionPass, CompositePrinterAppendsItsSuffixOnce) {
  const ModelRow& row = BannerRowScanningOn();
  const std::string key = Key(row.keys[0]);
  for (int pass = 0; pass < 2; ++pass) {
    Pass({Usb("1A86", key), Usb("1A86", key + "&MI_00", "6&1C2D3E4F&0&0000")});
    EXPECT_EQ(state.PrinterFound, 1);
    EXPECT_EQ(view->Caption(), u"QuorilV1.20181108" + Text(row.suffix));
  }
}

TEST_F(DetectionPass, IdsAreCaseSensitive) {
  const ModelRow& twins = CaseTwinRow();
  // A lower-case vendor id is no vendor 1A86.
  Pass({Usb("1a86", Key(twins.keys[0]))});
  EXPECT_EQ(state.PrinterFound, 0);
  // The lower-case form matches its row and lets the pass go on; the upper-case form ends it.
  Pass({Usb("1A86", Key(twins.keys[1])), kKeyboard});
  EXPECT_EQ(state.PrinterFound, 1);
  EXPECT_EQ(state.ModelName, twins.model);
  EXPECT_EQ(state.ScanCounter, 3);
  Pass({Usb("1A86", Key(twins.keys[0])), kKeyboard});
  EXPECT_EQ(state.ScanCounter, 4);
}

TEST_F(DetectionPass, EveryKeyEndsOrContinuesThePassAsTheRuleSays) {
  for (const ModelRow& row : ModelTable::Builtin().rows()) {
    for (std::u16string_view key : row.keys) {
      if (key.empty()) continue;
      state = DetectionState{};
      Pass({Usb("1A86", Key(key)), kRootHub});
      const bool ends = ModelTable::Builtin().EndsPass(key);
      EXPECT_EQ(state.ScanCounter, ends ? 1 : 2) << Key(key);
      EXPECT_EQ(state.PrinterFound, 1) << Key(key);
      EXPECT_EQ(state.ModelName, row.model) << Key(key);
    }
  }
}

TEST_F(DetectionPass, OddPathsHaveADefinedResult) {
  Pass({});
  EXPECT_TRUE(view.Lines().empty());
  EXPECT_EQ(state.ScanCounter, 0);

  // Ids cut short by the end of the path.
  state.PrinterFound = 1;
  Pass({u"VID", u"PID", u"USB\\VID_1A86&PID", u"USB\\VID_1A86&PID_A", u"", u"VID_1A"});
  EXPECT_EQ(state.ScanCounter, 6);
  EXPECT_EQ(state.PrinterFound, 0);  // the short product ids went through the check

  // Non-ASCII text, an unpaired surrogate and NULs around a real printer.
  const ModelRow& row = BannerRowEndingPass();
  Text odd = u"打印机\xD800\0VID" + Usb("1A86", Key(row.keys[0]));
  Pass({odd});
  EXPECT_EQ(state.ModelName, row.model);
}

TEST_F(DetectionPass, PathsOfAnyLengthAreScannedToTheEnd) {
  const ModelRow& row = BannerRowEndingPass();
  const Text path = Text(40000, u'x') + Usb("1A86", Key(row.keys[0]));
  Pass({path});
  EXPECT_EQ(state.PrinterFound, 1);
  EXPECT_EQ(state.ModelName, row.model);
}

class FailingWmi : public UsbAssociations {
 public:
  Expected<std::unique_ptr<UsbAssociationCursor>> Query() override {
    return SystemError{u"0x80041010 Invalid class"};
  }
};

TEST_F(DetectionPass, WmiFailureIsReturnedAndNothingIsShown) {
  FailingWmi wmi;
  view.Clear();
  Status status = DetectUsbPrinter(state, 0, view.view(), wmi, ModelTable::Builtin());
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().text, u"0x80041010 Invalid class");
  EXPECT_TRUE(view.Lines().empty());
}

// WMI hands out the associations as the pass reaches them, and its enumeration may fail on the
// way (the machine's fault: it fails after so many objects). A printer accepted before the
// failure stands; a failure before any acceptance in the pass ends the program as always.
TEST_F(DetectionPass, AFailingLaterReadDoesNotUndoAnAcceptance) {
  const ModelRow& row = PlainRowScanningOn();
  sim::Machine machine;
  machine.usb = {{0, "usb.txt", {kRootHub, Usb("1A86", Key(row.keys[0])), kKeyboard, kRootHub}}};
  sim::EventLoop loop(sim::EventLoop::Clock::kVirtual);
  sim::SimUsb wmi(machine, loop);
  const struct {
    std::int64_t fails_after;
    bool error;
    std::int16_t scan_counter;
  } cases[] = {
      {0, true, 0},
      {1, true, 1},   // PrinterFound is still the earlier pass's: it decides nothing here
      {2, false, 2},  // the printer is the last association read
      {3, false, 3},  // the keyboard after it does not undo it
      {4, false, 4},  // no failure: the list ends
  };
  for (const auto& c : cases) {
    machine.wmi_error_after = c.fails_after;
    state = DetectionState{};
    state.PrinterFound = 1;
    view.Clear();
    Status status = DetectUsbPrinter(state, 0, view.view(), wmi, ModelTable::Builtin());
    EXPECT_EQ(!status.ok(), c.error) << c.fails_after;
    if (!status.ok()) {
      EXPECT_EQ(status.error().text, u"WMI enumeration: 0x80041001 Generic failure");
    }
    EXPECT_EQ(state.ScanCounter, c.scan_counter) << c.fails_after;
    EXPECT_EQ(state.PrinterFound, 1) << c.fails_after;
    EXPECT_EQ(state.ModelName, c.error ? Text() : row.model) << c.fails_after;
  }
}

}  // namespace
}  // namespace px
