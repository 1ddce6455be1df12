#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace recibo::receipt {

// A text set for paper: the font it is drawn in, at its size in twips (a
// point is 20 twips), and its lines, each drawn as it stands. A text that
// could not be shown whole ends its last line with "…": what the page's
// text layer holds is what the page shows.
struct PaperText {
    QFont font;
    QStringList lines;
    qreal lineHeight = 0;

    qreal height() const { return lines.size() * lineHeight; }
    bool operator==(const PaperText&) const = default;
};

// How a text may be set in its box on paper.
struct PaperFit {
    qreal width = 0;      // room across, in twips
    qreal smallest = 0;   // the smallest size it may be shrunk to, in points
    int mostLines = 1;    // the lines it may take before the rest is cut with "…"
    bool shrinks = true;  // false: it keeps its size and wraps at once
};

// A font at its size in twips, unhinted, so that its text keeps the
// proportions it has on screen at any scale.
QFont twipsFont(const QFont& font);

// The largest size, from `design` down to `fit.smallest` in quarter points,
// at which `text` takes one line of `fit.width`; `fit.smallest` when none does.
qreal oneLineSize(const QString& text, const QFont& design, const PaperFit& fit);

// `text` set in `font` at `points`: on one line when it fits, else wrapped
// at word boundaries (inside a word only when a word alone is too wide) in
// at most `fit.mostLines` lines.
PaperText setOnPaper(const QString& text, const QFont& font, qreal points, const PaperFit& fit);

// `text` at the largest size down to `fit.smallest` at which it fits on one
// line, and wrapped at that smallest size when it does not.
PaperText fitOnPaper(const QString& text, const QFont& design, const PaperFit& fit);

// One line of a text placed in its area: where it starts (its top left),
// how far it runs and where its baseline is below that top.
struct PlacedLine {
    QString text;
    QPointF origin;
    qreal advance = 0;
    qreal ascent = 0;
};

// The lines placed inside `area` with the alignment given (top or
// vertically centred as a block; left, right or centred each line).
QList<PlacedLine> placeLines(const PaperText& text, const QRectF& area, Qt::Alignment alignment);

// Draws the lines where placeLines places them.
void drawPaperText(QPainter& painter, const PaperText& text, const QRectF& area, Qt::Alignment alignment);

}  // namespace recibo::receipt
