#include "platform/win32/message_boxes_win32.h"

#include "base/win32/windows_api.h"

namespace px::win32 {

void Win32MessageBoxes::ShowMessage(const Text& text) {
  MessageBoxW(nullptr, Wide(text), Wide(title_), MB_OK | MB_SETFOREGROUND);
}

bool Win32MessageBoxes::AskYesNo(const Text& text) {
  return MessageBoxW(nullptr, Wide(text), Wide(title_),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_SETFOREGROUND) == IDYES;
}

}  // namespace px::win32
