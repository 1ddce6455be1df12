#pragma once

#include <cstdint>
#include <vector>

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QString>

namespace recibo::payroll {
struct Receipt;
struct SelectedPosition;
}  // namespace recibo::payroll

namespace recibo::receipt {

// What a receipt page has written on it, before it is laid out for paper:
// every text with its designed place, font and look, and every line, as
// the receipt window shows them. Paper then sets the sizes, wraps and moves
// things down (PaperLayout). Taken from the window, for what the user sees
// and may have typed, or made from a computed receipt with no window at all.

enum class SheetKind : std::uint8_t { Label, TextBox, CommentBox, Button, Cell };

struct SheetText {
    QString name;  // the control's name ("docente", "cod(3)")
    SheetKind kind = SheetKind::Label;
    QRectF box;  // twips, the frame's for what stands in it
    QString text;
    QFont font;  // as designed: paper chooses the size
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    int indent = 0;  // pixels a label's text keeps off the side it is aligned to
    // A label's fill, a box's inside or a button's face; transparent: none.
    QColor background = Qt::transparent;
    QColor ink = Qt::black;
    bool operator==(const SheetText&) const = default;
};

struct SheetLine {
    QString name;
    QLineF twips;
    QColor colour = Qt::black;
    bool operator==(const SheetLine&) const = default;
};

struct Sheet {
    QColor paper = Qt::white;  // the ground of the whole page
    // The frame "sosten": where it stands across (its height is the page's),
    // its caption and look.
    QRectF frame;
    QString frameCaption;
    QFont frameFont;
    QColor frameGround = Qt::white;
    QColor frameInk = Qt::black;
    // In the frame, in the order they are drawn: the header and the totals,
    // the rules under the written rows, the written cells, the other lines.
    std::vector<SheetText> frameTexts;
    std::vector<SheetLine> gridRules;
    std::vector<SheetText> cells;
    std::vector<SheetLine> frameLines;
    // Beside the frame, and in the margin left of it.
    std::vector<SheetText> panel;
    bool operator==(const Sheet&) const = default;
};

// The sheet of a computed receipt as the receipt window prints it after
// "Listo" and "Calcular": the grid, header and totals; the panel with the
// position's points (for a position), `date` and the scale's `title`; the
// margin boxes; an empty comment unless one is given.
Sheet receiptSheet(const payroll::Receipt& receipt, const payroll::SelectedPosition& position, const QString& date,
                   const QString& title, const QString& comment = {});

}  // namespace recibo::receipt
