// A second run, or a printer moved to another USB socket: the queue of the model's name is
// there before the installation, and the spooler's own calls put it right instead of a second
// installation.
#include "app/form1.h"
#include "texts/installer_texts.h"

namespace px {

bool Form1::UseRegisteredQueue() {
  PrintSpooler& spooler = backend_.spooler;
  const Text& name = detection.ModelName;
  PrinterQueueInfo queue;
  // No queue of that name (1801), or a spooler that cannot tell: the installation goes ahead,
  // as on a PC that never had the printer.
  if (spooler.GetQueue(name, queue) != 0) return false;

  const auto text = [this](TextId id) { return Text(TextFor(id, LanguageFlag)); };
  const auto fail = [&](const Text& cause) {
    form_.SetLabel1(1, cause);
    ShowMessage(text(TextId::kFailed) + u"\n" + cause);
    End(ExitCode::kNotRegistered);
    return true;
  };
  // The queue serves another maker's driver: it is someone else's, and stays as it is.
  if (queue.driver != name) return fail(text(TextId::kForeignQueue) + queue.driver);

  if (spooler.PrinterExists(name, port.PortName)) {
    form_.SetLabel1(1, text(TextId::kAlreadyRegistered) + port.PortName);
  } else if (port.PortName == kFallbackPortName) {
    // The port search found no USB port: a queue on its port is worth more than "lpt1:".
    return fail(text(TextId::kNoUsbPort) + queue.port);
  } else {
    // Without a serial number the printer gets a new port in each socket; the queue follows it.
    const std::uint32_t error = Told(events_, {u"SetPrinter", name, port.PortName},
                                     spooler.SetQueuePort(name, port.PortName));
    if (error != 0) {
      return fail(text(TextId::kMoveFailed) + port.PortName + u" (" + text(TextId::kErrorWord) +
                  u" " + Decimal(error) + u")");
    }
    form_.SetLabel1(
        1, text(TextId::kMovedHead) + queue.port + text(TextId::kMovedTail) + port.PortName);
  }
  StartClosing();
  return true;
}

}  // namespace px
