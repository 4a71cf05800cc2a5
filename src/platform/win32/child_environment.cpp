#include "platform/win32/child_environment.h"

namespace px::win32 {

Text ChildEnvironment(const SystemFolders& folders) {
  const Text& windows = folders.windows;
  // "C:\Windows" -> "C:"; a Windows folder on a share has no drive letter to give.
  const Text drive = windows.size() >= 2 && windows[1] == u':' ? windows.substr(0, 2) : Text();
  const Text system32 = windows + u"\\System32";
  const Text variables[] = {
      u"ALLUSERSPROFILE=" + drive + u"\\ProgramData",
      u"ComSpec=" + system32 + u"\\cmd.exe",
      u"OS=Windows_NT",
      u"PATH=" + system32 + u";" + windows + u";" + system32 + u"\\Wbem",
      u"PATHEXT=.COM;.EXE;.BAT;.CMD",
      u"ProgramData=" + drive + u"\\ProgramData",
      u"SystemDrive=" + drive,
      u"SystemRoot=" + windows,
      u"TEMP=" + windows + u"\\Temp",
      u"TMP=" + windows + u"\\Temp",
      u"windir=" + windows,
  };
  Text block;
  for (const Text& variable : variables) {
    block += variable;
    block += u'\0';
  }
  block += u'\0';
  return block;
}

}  // namespace px::win32
