#pragma once

#include <span>

#include "detect/release_package.h"
#include "events/run_events.h"
#include "platform/form_host.h"
#include "platform/message_boxes.h"
#include "platform/print_spooler.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/unattended_lock.h"
#include "platform/usb_associations.h"

namespace px {

// Everything a run of the installer needs from the PC it runs on. Windows fills it with the
// Win32 backend, px-sim and the tests with the simulated PC; a fault or a check added to every
// run is one more field here, never a wrapper around one.
struct Backend {
  UsbAssociations& usb;
  Registry& registry;
  Processes& processes;
  PrintSpooler& spooler;
  SystemInfo& system;
  // Form1's window, its timers and its message loop.
  FormHost& host;
  // The boxes of a run without the window: the usage, a command line not understood, a failure
  // before the window exists, the removal's questions and answers.
  MessageBoxes& boxes;
  // Who runs on which machine, for the log's first line.
  event::Start header;
  // Whether anyone can see a window or a box: a service's window station shows none.
  bool station_visible = true;
  // One unattended run at a time; null where there is no such lock.
  UnattendedLock* lock = nullptr;
  // The driver package the program was released with, which the installation must match;
  // empty in a build for development, whose package is checked by its hold alone.
  std::span<const PackageFile> release_package = {};
  // Whether the driver package this release carries is signed by Microsoft (WHQL): a release
  // says so when it is built (PX_PACKAGE_WHQL_SIGNED), after the package came back signed from
  // the Hardware Dev Center; a package signed by its vendor only leaves it false.
  bool package_whql_signed = false;
};

}  // namespace px
