#pragma once

#include "base/text.h"
#include "platform/system_error.h"

namespace px {

// The installer's one window, Form1: a caption, the provider line Label2 and the status lines
// Label1(0) ... Label1(14), cyan on black. Every label is transparent and one line high.
class InstallerView {
 public:
  static constexpr int kLabel1Count = 15;

  virtual ~InstallerView() = default;

  virtual void SetCaption(const Text& text) = 0;
  virtual Text Caption() const = 0;
  virtual void SetLabel2(const Text& text) = 0;
  // index 0 ... 14; every setting counts, even of an unchanged text.
  virtual void SetLabel1(int index, const Text& text) = 0;
  virtual Text Label1(int index) const = 0;

  // Paints the window now, before long blocking work, so that new texts are seen.
  virtual void Refresh() = 0;

  // A modal box with one OK button and no icon, titled with the program's title; returns when
  // the user has confirmed it.
  virtual void ShowMessage(const Text& text) = 0;

  // Unloads the window; the program ends once the current tick returns.
  virtual void Unload() = 0;

  // The generic error box naming the error, then the end of the program.
  virtual void ShowErrorAndEnd(const SystemError& error) = 0;
};

}  // namespace px
