#include "paper_text.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QTextLayout>

#include "font_keyed.h"
#include "remembered.h"
#include "text_width.h"
#include "twip_units.h"

namespace recibo::receipt {

namespace {

constexpr qreal kSizeStep = 0.25;  // points

// `font` at `points`, in twips. The same font object is handed out for the
// same size: a font finds its glyphs and metrics once, and a new object
// would look them up again for every text it measures (see textWidth).
QFont atSize(const QFont& font, qreal points)
{
    thread_local QHash<FontKeyed<qreal>, QFont> sized;
    return remembered(sized, FontKeyed<qreal>{font, points}, 256, [&] {
        QFont atPoints(font);
        atPoints.setPointSizeF(points);
        return twipsFont(atPoints);
    });
}

// A line of text as Qt sets it on one line: its glyphs placed from the
// line's top left, its advance and height. Drawing the glyphs, rather than
// the text, spares shaping the text and finding its font again for each
// page: a book of receipts draws the same labels on every page.
struct ShapedLine {
    QList<QGlyphRun> runs;
    qreal advance = 0;
    qreal height = 0;
    qreal ascent = 0;
};

const ShapedLine& shaped(const QFont& font, const QString& text)
{
    thread_local QHash<FontKeyed<QString>, ShapedLine> lines;
    return remembered(lines, FontKeyed<QString>{font, text}, 4096, [&] {
        QTextLayout layout(text, font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        ShapedLine set;
        if (line.isValid()) {
            set.runs = layout.glyphRuns();
            set.advance = line.horizontalAdvance();
            set.height = line.height();
            set.ascent = line.ascent();
        }
        return set;
    });
}

// The text of each line `text` takes in `width`, a paragraph at a time.
QStringList wrap(const QString& text, const QFont& font, qreal width)
{
    QStringList lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines;
}

}  // namespace

QFont twipsFont(const QFont& font)
{
    QFont sized(font);
    if (font.pointSizeF() > 0)
        sized.setPixelSize(qRound(font.pointSizeF() * 20));
    else
        sized.setPixelSize(font.pixelSize() * kTwipsPerPixel);
    sized.setHintingPreference(QFont::PreferNoHinting);
    return sized;
}

qreal oneLineSize(const QString& text, const QFont& design, const PaperFit& fit)
{
    qreal points = design.pointSizeF();
    if (!fit.shrinks)
        return points;
    const QString oneLine = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    while (points > fit.smallest && textWidth(atSize(design, points), oneLine) > fit.width)
        points = std::max(points - kSizeStep, fit.smallest);
    return points;
}

PaperText setOnPaper(const QString& text, const QFont& font, qreal points, const PaperFit& fit)
{
    PaperText set;
    set.font = atSize(font, points);
    const QFontMetricsF metrics(set.font);
    set.lineHeight = metrics.lineSpacing();
    if (text.isEmpty())
        return set;
    if (!text.contains(QLatin1Char('\n')) && textWidth(set.font, text) <= fit.width) {
        set.lines << text;
        return set;
    }
    set.lines = wrap(text, set.font, fit.width);
    const int most = std::max(fit.mostLines, 1);
    if (set.lines.size() > most) {
        const QString rest = set.lines.mid(most - 1).join(QLatin1Char(' '));
        set.lines.resize(most);
        set.lines.back() = metrics.elidedText(rest, Qt::ElideRight, fit.width);
    }
    return set;
}

PaperText fitOnPaper(const QString& text, const QFont& design, const PaperFit& fit)
{
    return setOnPaper(text, design, oneLineSize(text, design, fit), fit);
}

QList<PlacedLine> placeLines(const PaperText& text, const QRectF& area, Qt::Alignment alignment)
{
    QList<PlacedLine> placed;
    const qreal block = text.height();
    qreal top = area.top();
    if (alignment & Qt::AlignVCenter)
        top += (area.height() - block) / 2;
    else if (alignment & Qt::AlignBottom)
        top = area.bottom() - block;
    for (const QString& line : text.lines) {
        const ShapedLine& shape = shaped(text.font, line);
        qreal left = area.left();
        if (alignment & Qt::AlignRight)
            left += area.width() - shape.advance;
        else if (alignment & Qt::AlignHCenter)
            left += (area.width() - shape.advance) / 2;
        placed.append({line, QPointF(left, top + (text.lineHeight - shape.height) / 2), shape.advance, shape.ascent});
        top += text.lineHeight;
    }
    return placed;
}

void drawPaperText(QPainter& painter, const PaperText& text, const QRectF& area, Qt::Alignment alignment)
{
    for (const PlacedLine& line : placeLines(text, area, alignment))
        for (const QGlyphRun& run : shaped(text.font, line.text).runs)
            painter.drawGlyphRun(line.origin, run);
}

}  // namespace recibo::receipt
