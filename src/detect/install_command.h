#pragma once

#include "base/text.h"

namespace px {

// The driver package's folder: <program folder>\PX.
Text PackageFolder(TextView program_folder);

// The driver package's INF file: <program folder>\PX\PX.inf. A drive root keeps its own
// separator, which gives C:\\PX\PX.inf; Windows reads that as C:\PX\PX.inf.
Text InfPath(TextView program_folder);

// The command line that registers a printer on a port with a driver model of the INF file:
//   rundll32 printui.dll,PrintUIEntry /if /b "PRINTER" /f INF /r PORT /m "DRIVER"
// Names are inserted as they are. The INF path is quoted only when it holds a blank, so that a
// folder such as "C:\Program Files (x86)\..." stays one argument. quiet adds /q: PrintUIEntry
// then shows no error box, which in a run nobody sees would wait for a click that never comes.
Text PrintUiCommandLine(TextView printer_name, TextView inf_path, TextView port,
                        TextView driver_name, bool quiet = false);

}  // namespace px
