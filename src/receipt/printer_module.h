#pragma once

// The default printer as a module loaded the first time a receipt is
// printed: Qt PrintSupport is then not loaded by every start of the
// program, most of which print nothing.

class QPagedPaintDevice;
class QString;

extern "C" {

// How opening the default printer went.
enum ReciboPrinterOpening { ReciboNoDefaultPrinter, ReciboPrinterUnavailable, ReciboPrinterOpened };

// The system's default printer, for one copy of a document called `title`,
// in grey scale at its own resolution: `printer`, to be deleted by the
// caller, when it could be opened. `name`: how the printer is called.
using ReciboOpenDefaultPrinter = ReciboPrinterOpening (*)(const QString& title, QString& name,
                                                          QPagedPaintDevice*& printer);

// Whether the print system refused or aborted what was sent to `printer`.
using ReciboPrinterFailed = bool (*)(const QPagedPaintDevice* printer);
}

namespace recibo::receipt {
inline constexpr const char* kOpenDefaultPrinterSymbol = "recibo_open_default_printer";
inline constexpr const char* kPrinterFailedSymbol = "recibo_printer_failed";
}  // namespace recibo::receipt
