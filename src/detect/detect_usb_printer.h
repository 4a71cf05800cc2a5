#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "detect/model_table.h"
#include "platform/installer_view.h"
#include "platform/system_error.h"
#include "platform/usb_associations.h"

namespace px {

// What a detection pass reads and leaves behind: fields of the window's state record and the
// program-wide model name.
struct DetectionState {
  std::int16_t ScanCounter = 0;   // kept across passes, 1 ... 99, 0, 1 ...
  std::int16_t PrinterFound = 0;  // not cleared when a pass begins
  Text ModelName;
};

// How one device path was taken by the scan; the pass reports each, for support tools.
struct ScanNote {
  enum Kind {
    kMassStorage,    // vendor 0483 with product 5720: the printer in its mass-storage mode
    kAccepted,       // vendor 1A86 and a product id of the table
    kNotInTable,     // vendor 1A86, but the product id is not in the table
    kOtherVendor,    // no vendor 1A86 before the product id on its path
    kAfterAccepted,  // not accepted, but an earlier acceptance in the pass stands
  };
  Kind kind;
  std::size_t association;  // index in the WMI list
  Text product_id;          // empty for kMassStorage
  bool ends_pass = false;   // kAccepted: the id ends the pass
};

class ScanNotes {
 public:
  virtual ~ScanNotes() = default;
  virtual void Note(const ScanNote& note) = 0;
};

// One detection pass over the USB associations WMI lists, each read when the pass reaches it.
// A failing WMI call ends the pass and is returned (the caller shows it and ends the program),
// unless a printer was accepted earlier in the pass: that acceptance has decided the pass, and
// the record it left stands.
// The window's LanguageFlag chooses the progress text and the form of a two-form model name.
Status DetectUsbPrinter(DetectionState& state, std::int16_t LanguageFlag, InstallerView& view,
                        UsbAssociations& usb, const ModelTable& table, ScanNotes* notes = nullptr);

// The pass over an enumeration already started, as DetectUsbPrinter makes it.
Status ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, InstallerView& view,
                        UsbAssociationCursor& associations, const ModelTable& table,
                        ScanNotes* notes = nullptr);

// The pass over an association list already read.
void ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, InstallerView& view,
                      const std::vector<Text>& paths, const ModelTable& table,
                      ScanNotes* notes = nullptr);

}  // namespace px
