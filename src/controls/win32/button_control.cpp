#include "controls/win32/button_control.h"

namespace px::win32 {

std::unique_ptr<ButtonControl> ButtonControl::Create(HWND parent, int id, TwipRect bounds,
                                                     iButtonEvents& events) {
  MemoryPropertyStore none;
  return Create(parent, id, bounds, events, none, nullptr);
}

std::unique_ptr<ButtonControl> ButtonControl::Create(HWND parent, int id, TwipRect bounds,
                                                     iButtonEvents& events, PropertyStore& settings,
                                                     ControlStatus* loaded) {
  std::unique_ptr<ButtonControl> control(new ButtonControl());
  control->window_ = ButtonWindow::Create(parent, id, bounds, control->api_);
  if (control->window_ == nullptr) return nullptr;
  control->button_ = std::make_unique<iButton>(*control->window_, events);
  if (loaded != nullptr) *loaded = control->button_->OnReadProperties(settings);
  control->button_->OnResize();
  control->button_->OnShow();
  return control;
}

}  // namespace px::win32
