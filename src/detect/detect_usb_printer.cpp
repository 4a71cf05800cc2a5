#include "detect/detect_usb_printer.h"

#include "platform/listed_associations.h"
#include "texts/installer_texts.h"

namespace px {

namespace {

// The text of n characters at 0-based position i, shorter or empty where the path ends.
TextView At(TextView path, std::size_t i, std::size_t n) {
  return i < path.size() ? path.substr(i, n) : TextView();
}

enum class PathEnd { kScanOn, kEndPass };

// What the pass keeps from one path to the next. The vendor and mass-storage flags belong to
// one device path: a vendor id read on one device never vouches for a product id of another.
struct Pass {
  DetectionState& state;
  std::int16_t LanguageFlag;
  FormTexts& form;
  const ModelTable& table;
  bool accepted = false;  // a product id was accepted in this pass

  void Note(const ScanNote& note) { form.events().On(event::Scan{note}); }
};

void AppendSuffixOnce(FormTexts& form, TextView suffix) {
  if (suffix.empty()) return;
  const Text& caption = form.Caption();
  // A composite printer lists its device and its interface, both accepted in one pass: the
  // caption names the brand once.
  if (caption.size() >= suffix.size() && TextView(caption).ends_with(suffix)) return;
  form.SetCaption(caption + Text(suffix));
}

// Scans one device path character by character. The ids are always taken four positions
// after the first letter of VID or PID, the separator between them skipped unexamined.
PathEnd ScanPath(Pass& pass, TextView path, std::size_t association) {
  bool mass_storage_vid = false;
  bool mass_storage_pid = false;
  bool printer_vid = false;
  for (std::size_t p = 0; p < path.size(); ++p) {
    if (path[p] != u'V' && path[p] != u'P') continue;  // neither VID nor PID starts here
    const TextView t = At(path, p, 3);
    const bool vid = t == u"VID";
    const bool pid = !vid && t == u"PID";
    if (vid && At(path, p + 4, 4) == u"0483") mass_storage_vid = true;
    if (pid && At(path, p + 4, 4) == u"5720") mass_storage_pid = true;
    if (mass_storage_vid && mass_storage_pid) {
      pass.form.SetLabel1(2, Text(kMassStorageText));
      pass.Note({ScanNote::kMassStorage, association, {}});
      return PathEnd::kEndPass;
    }
    if (vid) {
      p += 4;
      if (At(path, p, 4) == u"1A86") printer_vid = true;
    } else if (pid) {
      p += 4;
      const TextView product_id = At(path, p, 4);
      const ModelRow* row = printer_vid ? pass.table.Find(product_id) : nullptr;
      if (row) {
        pass.state.ModelName = Text(ModelName(*row, pass.LanguageFlag));
        pass.state.ProductId = Text(product_id);
        AppendSuffixOnce(pass.form, row->suffix);
      }
      // The acceptance check repaints once the model and the caption are set, so the window
      // shows the printer it has just met.
      pass.form.Refresh();
      if (row) {
        pass.state.PrinterFound = 1;
        pass.accepted = true;
        const bool ends = pass.table.EndsPass(product_id);
        pass.Note({ScanNote::kAccepted, association, Text(product_id), ends});
        if (ends) return PathEnd::kEndPass;
        continue;
      }
      const ScanNote::Kind kind = pass.accepted ? ScanNote::kAfterAccepted
                                  : printer_vid ? ScanNote::kNotInTable
                                                : ScanNote::kOtherVendor;
      pass.Note({kind, association, Text(product_id)});
      if (!pass.accepted) pass.state.PrinterFound = 0;
    }
  }
  return PathEnd::kScanOn;
}

// A failure met after an acceptance comes too late to matter: the printer is found.
Status Failed(const Pass& pass, SystemError error) {
  if (pass.accepted) return Ok();
  return error;
}

}  // namespace

Status ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                        UsbAssociationCursor& associations, const ModelTable& table,
                        event::PassEnd& read) {
  Pass pass{state, LanguageFlag, form, table};
  const Text progress(TextFor(TextId::kProgress, LanguageFlag));
  for (std::size_t i = 0;; ++i) {
    Expected<bool> more = associations.Next();
    if (!more) {
      read.failed = true;
      return Failed(pass, more.error());
    }
    if (!more.value()) return Ok();
    state.ScanCounter =
        state.ScanCounter >= 99 ? 0 : static_cast<std::int16_t>(state.ScanCounter + 1);
    Text text = progress;
    text += Decimal(state.ScanCounter);
    text += u's';
    form.SetLabel1(2, text);
    form.Refresh();
    Expected<Text> path = associations.Dependent();
    if (!path) {
      read.failed = true;
      return Failed(pass, path.error());
    }
    read.read.push_back(path.value());
    form.SetLabel1(3, path.value());
    if (ScanPath(pass, path.value(), i) == PathEnd::kEndPass) return Ok();
  }
}

void ScanAssociations(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                      const std::vector<Text>& paths, const ModelTable& table) {
  ListedAssociations associations(paths);
  event::PassEnd read;
  // A list already read cannot fail.
  static_cast<void>(ScanAssociations(state, LanguageFlag, form, associations, table, read));
}

Status DetectUsbPrinter(DetectionState& state, std::int16_t LanguageFlag, FormTexts& form,
                        UsbAssociations& usb, const ModelTable& table) {
  Expected<std::unique_ptr<UsbAssociationCursor>> associations = usb.Query();
  if (!associations) return associations.error();
  form.events().On(event::PassStart{});
  event::PassEnd pass;
  Status status = ScanAssociations(state, LanguageFlag, form, *associations.value(), table, pass);
  // WMI's enumeration is let go before the pass is told as ended.
  associations.value().reset();
  pass.printer_found = state.PrinterFound == 1;
  form.events().On(pass);
  return status;
}

}  // namespace px
