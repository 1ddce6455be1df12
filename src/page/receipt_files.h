#pragma once

#include <QDate>
#include <QString>

namespace recibo::receipt {

// A text made fit for a file name on any file system: its letters and digits
// (accents and "ñ" kept) in words joined by "-", every other character a
// separator; at most 60 characters. Empty when the text has no letter or digit.
QString fileNameWord(const QString& text);

// The name offered when a receipt is saved as a PDF file:
// "recibo-Pérez-María-Laura-2024-05-14.pdf".
QString suggestedPdfName(const QString& docente, const QDate& date);

}  // namespace recibo::receipt
