#pragma once

#include <array>
#include <memory>

#include "base/win32/unique_handle.h"
#include "base/win32/windows_api.h"
#include "platform/installer_view.h"
#include "platform/system_error.h"

namespace px::win32 {

// Form1 on Windows: a fixed-size top-level window, black, with the provider line Label2 and the
// status lines Label1(0..14) as static controls, cyan on the window's own background. The
// window is per monitor DPI aware: its design is in twips, and every size and the font follow
// the DPI of the monitor it is on.
//
// Unloading or closing the window destroys it and ends the message loop (WM_QUIT) with the
// program's exit code: 0, or 1 after the error box.
class FormWindow : public InstallerView {
 public:
  struct Options {
    HINSTANCE instance = nullptr;
    int icon_resource = 0;         // 0: the default application icon
    Text title = u"px-installer";  // the message boxes' title
  };

  // Creates the window hidden, laid out for the DPI of the primary monitor and centred on it.
  static Expected<std::unique_ptr<FormWindow>> Create(const Options& options);
  ~FormWindow() override;

  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  void Show(int show_command);

  // InstallerView
  void SetCaption(const Text& text) override;
  Text Caption() const override;
  void SetLabel2(const Text& text) override;
  void SetLabel1(int index, const Text& text) override;
  Text Label1(int index) const override;
  void Refresh() override;
  void ShowMessage(const Text& text) override;
  void Unload() override;
  void ShowErrorAndEnd(const SystemError& error) override;

  // Null once the window is destroyed.
  HWND window() const { return window_.get(); }
  HWND label2_window() const { return labels_[0]; }
  HWND label1_window(int index) const;
  UINT dpi() const { return dpi_; }
  bool destroyed() const { return !window_; }

  // Fixed size; the labels paint their own background, so the window need not paint under them.
  static constexpr DWORD kStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = 0;

 private:
  explicit FormWindow(const Options& options);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);

  Status CreateControls();
  // Font, label positions and window size for a DPI; the window keeps its top-left corner.
  void ApplyDpi(UINT dpi, POINT top_left);
  SIZE WindowSize(UINT dpi) const;
  void CentreOnPrimaryMonitor();
  void End(int exit_code);

  Options options_;
  UniqueWindow window_;
  // Label2, then Label1(0) ... Label1(14); children, destroyed with the window.
  std::array<HWND, 1 + kLabel1Count> labels_{};
  UniqueGdiObject font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  int exit_code_ = 0;
};

}  // namespace px::win32
