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
  const auto text = [this](TextId id) { return Text(TextFor(id, LanguageFlag)); };
  const auto fail = [&](const Text& cause, ExitCode code = ExitCode::kNotRegistered) {
    form_.SetLabel1(1, cause);
    ShowMessage(text(TextId::kFailed) + u"\n" + cause);
    End(code);
    return true;
  };
  // No queue of that name (1801): the installation goes ahead, as on a PC that never had the
  // printer. A spooler that cannot tell would have it install a second queue beside the first.
  const std::uint32_t looked = RetriedOnce([&] { return spooler.GetQueue(name, queue); });
  if (looked == kErrorInvalidPrinterName) return false;
  if (looked != 0) {
    Told(events_, {u"GetPrinter", name}, looked);
    return fail(
        u"GetPrinter " + name + u" (" + text(TextId::kErrorWord) + u" " + Decimal(looked) + u")",
        ExitCode::kSystemError);
  }
  // The queue serves another maker's driver: it is someone else's, and stays as it is.
  if (queue.driver != name) return fail(text(TextId::kForeignQueue) + queue.driver);

  if (spooler.PrinterExists(name, port.PortName)) {
    form_.SetLabel1(1, text(TextId::kAlreadyRegistered) + port.PortName);
  } else if (port.PortName == kFallbackPortName) {
    // The port search found no USB port: a queue on its port is worth more than "lpt1:".
    return fail(text(TextId::kNoUsbPort) + queue.port);
  } else {
    // Without a serial number the printer gets a new port in each socket; the queue follows it.
    const std::uint32_t error =
        Told(events_, {u"SetPrinter", name, port.PortName},
             RetriedOnce([&] { return spooler.SetQueuePort(name, port.PortName); }));
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

bool Form1::RegisteredOnPort() {
  PrintSpooler& spooler = backend_.spooler;
  const Text& name = detection.ModelName;
  if (spooler.PrinterExists(name, port.PortName)) return true;
  // PrinterExists cannot say why it found none: the spooler's own answer tells a queue that is
  // not there from a spooler that could not answer, which is asked once more.
  PrinterQueueInfo queue;
  const std::uint32_t error = RetriedOnce([&] { return spooler.GetQueue(name, queue); });
  if (error == 0) return spooler.PrinterExists(name, port.PortName);
  if (error != kErrorInvalidPrinterName) Told(events_, {u"GetPrinter", name}, error);
  return false;
}

}  // namespace px
