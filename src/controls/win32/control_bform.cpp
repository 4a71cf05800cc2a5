#include "controls/win32/control_bform.h"

namespace px::win32 {

std::unique_ptr<BFormControl> BFormControl::Create(HWND parent, int id, TwipRect bounds,
                                                   FrameSkin skin) {
  std::unique_ptr<ControlSiteWindow> site = ControlSiteWindow::Create(parent, id, bounds);
  if (site == nullptr) return nullptr;
  std::unique_ptr<BFormControl> control(new BFormControl(parent, id, std::move(site)));
  control->frame_ = std::make_unique<BForm>(*control->site_, std::move(skin), *control);
  // Placed on its parent: the first resize draws the bar and places the buttons.
  control->frame_->OnResize();
  return control;
}

BFormControl::BFormControl(HWND parent, int id, std::unique_ptr<ControlSiteWindow> site)
    : parent_(parent), id_(id), site_(std::move(site)) {}

void BFormControl::Notify(UINT code) {
  NMHDR header{hwnd(), static_cast<UINT_PTR>(id_), code};
  SendMessageW(parent_, WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&header));
}

void BFormControl::MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  BFormMouseDown args{{hwnd(), static_cast<UINT_PTR>(id_), kBFormMouseDown}, button, shift, x, y};
  SendMessageW(parent_, WM_NOTIFY, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&args));
  button = args.button;
  shift = args.shift;
  x = args.x;
  y = args.y;
}

}  // namespace px::win32
