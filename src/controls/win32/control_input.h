#pragma once

#include <cstdint>

#include "base/win32/windows_api.h"

namespace px::win32 {

// What the controls' child windows report of the mouse and the keyboard, in the Button and
// Shift arguments of their events.

// The Shift argument of a mouse message: Shift and Ctrl from its flags, Alt from the keyboard.
std::int16_t ShiftState(WPARAM w);
// The Shift argument of a key message.
std::int16_t KeyShiftState();
// The buttons held during a mouse move.
std::int16_t HeldButtons(WPARAM w);
// The button a press, release or double-click message is about.
std::int16_t MessageButton(UINT message);

// Registers a child-window class that receives double-clicks; its window procedure is set per
// window once the object behind it exists. True when the class is there.
bool RegisterChildClass(HINSTANCE instance, const wchar_t* class_name);

}  // namespace px::win32
