#include "platform/win32/message_boxes_win32.h"

#include "base/win32/windows_api.h"
#include "platform/win32/system_error_win32.h"

namespace px::win32 {

void Win32MessageBoxes::ShowMessage(const Text& text) {
  MessageBoxW(nullptr, Wide(text), Wide(title_), MB_OK | MB_SETFOREGROUND);
}

Expected<bool> Win32MessageBoxes::AskYesNo(const Text& text) {
  const int answer = MessageBoxW(nullptr, Wide(text), Wide(title_),
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_SETFOREGROUND);
  if (answer == 0) return LastError(L"MessageBoxW");
  return answer == IDYES;
}

void Win32MessageBoxes::ShowUsage(const Text& text) {
  MessageBoxW(nullptr, Wide(text), Wide(title_), MB_OK | MB_ICONINFORMATION);
}

void Win32MessageBoxes::ShowError(const Text& text) {
  MessageBoxW(nullptr, Wide(text), Wide(title_), MB_OK | MB_ICONERROR);
}

}  // namespace px::win32
