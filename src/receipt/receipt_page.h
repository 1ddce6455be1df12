#pragma once

#include <QPointer>
#include <QRectF>

#include "page/sheet.h"
#include "page/sheet_page.h"

class QPainter;
class QWidget;

namespace recibo::receipt {

class ReceiptWindow;

// The receipt window made ready for paper for as long as this object lives:
// the buttons and the two hints hidden, the frame and the window white and
// the eight "AGMER" margin boxes shown. When it ends, however it ends, the
// window returns to its screen look: margin boxes hidden, the frame light
// green, the window dark cyan, the hints and buttons shown again and the
// keyboard focus back where it was.
class PaperLook {
public:
    explicit PaperLook(ReceiptWindow& window);
    ~PaperLook();
    PaperLook(const PaperLook&) = delete;
    PaperLook& operator=(const PaperLook&) = delete;

private:
    ReceiptWindow& window_;
    QPointer<QWidget> focused_;
};

// What the window shows, every control that is not hidden but the scroll
// bar, as a sheet for paper (with what the user typed into its boxes).
Sheet sheetOf(const ReceiptWindow& window);

// The window's page, as "Imprimir" draws it (see drawSheet).
void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target);

}  // namespace recibo::receipt
