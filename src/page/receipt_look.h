#pragma once

#include <QFont>
#include <QStringList>

#include "receipt_layout.h"

namespace recibo::receipt {

// The receipt's plain sans-serif font, of the narrow Arial or Helvetica cut
// where one is installed, in the given size.
QFont receiptFont(qreal points);
// The size of the window's texts, and the smaller one of the grid's codes,
// quantities and descriptions.
QFont windowFont();
QFont gridFont();

// The font a control of the tables is designed in, before any text is fitted.
QFont designFont(unsigned look);
// Labels hold their text at the top, as the receipt's layout expects; the
// grid's cells hold it in the middle of the row.
Qt::Alignment alignmentOf(unsigned look);
// How far, in pixels, a label's text keeps off the side it is aligned to.
int indentOf(unsigned look);

}  // namespace recibo::receipt
