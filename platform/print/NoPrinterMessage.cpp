#include "NoPrinterMessage.h"

namespace brp {

QString NoPrinterMessage()
{
    // Printers are the print system's (CUPS) queues.
    return QStringLiteral(
        "No printer is installed.\n\n"
        "Add one in the desktop's printer settings, or in the CUPS web page "
        "http://localhost:631 (Administration, Add Printer), or as root with\n"
        "    lpadmin -p NAME -E -v DEVICE-URI -m everywhere\n"
        "(lpinfo -v lists the devices found). Then try again.");
}

} // namespace brp
