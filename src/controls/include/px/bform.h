#pragma once

// BForm, the skinned frame, for a Windows program: the frame as a child window
// (px::win32::BFormControl, whose events reach the parent window as WM_NOTIFY messages), the
// skin it is drawn from (px::DrawFrameSkin) and the surface over the parent's client area that
// the frame draws the window border on (px::win32::HostWindowSurface).
#include "controls/frame/frame_skin.h"
#include "controls/win32/control_bform.h"
#include "controls/win32/control_host_window.h"
