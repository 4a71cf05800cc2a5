#include "detect/install_command.h"

namespace px {

Text PackageFolder(TextView program_folder) { return Text(program_folder) + u"\\PX"; }

Text InfPath(TextView program_folder) { return PackageFolder(program_folder) + u"\\PX.inf"; }

Text PrintUiCommandLine(TextView printer_name, TextView inf_path, TextView port,
                        TextView driver_name, bool quiet) {
  const bool quote_inf = inf_path.find(u' ') != TextView::npos;
  Text line = u"rundll32 printui.dll,PrintUIEntry /if /b \"";
  line += printer_name;
  line += u"\" /f ";
  if (quote_inf) line += u'"';
  line += inf_path;
  if (quote_inf) line += u'"';
  line += u" /r ";
  line += port;
  line += u" /m \"";
  line += driver_name;
  line += u'"';
  if (quiet) line += u" /q";
  return line;
}

}  // namespace px
