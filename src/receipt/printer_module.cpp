#include "printer_module.h"

#include <QPrinter>
#include <QPrinterInfo>

#define RECIBO_EXPORT extern "C" __attribute__((visibility("default")))

RECIBO_EXPORT ReciboPrinterOpening recibo_open_default_printer(const QString& title, QString& name,
                                                               QPagedPaintDevice*& printer)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return ReciboNoDefaultPrinter;
    name = info.description().isEmpty() ? info.printerName() : info.description();
    auto* opened = new QPrinter(info, QPrinter::HighResolution);
    if (!opened->isValid()) {
        delete opened;
        return ReciboPrinterUnavailable;
    }
    opened->setColorMode(QPrinter::GrayScale);
    opened->setCopyCount(1);
    opened->setDocName(title);
    printer = opened;
    return ReciboPrinterOpened;
}

RECIBO_EXPORT bool recibo_printer_failed(const QPagedPaintDevice* printer)
{
    const auto state = static_cast<const QPrinter*>(printer)->printerState();
    return state == QPrinter::Error || state == QPrinter::Aborted;
}
