#pragma once

// iButton, the image button, for a Windows program: the button as a child window
// (px::win32::ButtonControl), the handlers it calls (px::iButtonEvents), the settings a saved
// button is loaded from (px::MemoryPropertyStore) and the surface over the parent's client area
// (px::win32::HostWindowSurface).
#include "controls/button/button_events.h"
#include "controls/common/property_store.h"
#include "controls/win32/button_control.h"
#include "controls/win32/control_host_window.h"
