#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "detect/model_table.h"
#include "events/form_texts.h"
#include "platform/system_error.h"
#include "platform/usb_associations.h"

namespace px {

// What a detection pass reads and leaves behind: fields of the window's state record and the
// program-wide model name.
struct DetectionState {
  std::int16_t ScanCounter = 0;   // kept across passes, 1 ... 99, 0, 1 ...
  std::int16_t PrinterFound = 0;  // not cleared when a pass begins
  Text ModelName;
  Text ProductId;  // the USB product id of the printer accepted last ("A798")
};

// One detection pass over the USB associations WMI lists, each read when the pass reaches it.
// A failing WMI call ends the pass and is returned (the caller shows it and ends the program),
// unless a printer was accepted earlier in the pass: that acceptance has decided the pass, and
// the record it left stands.
// The window's LanguageFlag chooses the progress text and the form of a two-form model name.
// The pass writes its progress into the window's texts and tells the run's events where it
// begins and ends (with what it read) and why it took or left each product id.
Status DetectUsbPrinter(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                        UsbAssociations& usb, const ModelTable& table);

// The pass over an enumeration already started, as DetectUsbPrinter makes it; pass collects
// what it read.
Status ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                        UsbAssociationCursor& associations, const ModelTable& table,
                        event::PassEnd& pass);

// The pass over an association list already read.
void ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                      const std::vector<Text>& paths, const ModelTable& table);

}  // namespace px
