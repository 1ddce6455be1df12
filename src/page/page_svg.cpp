#include "page_svg.h"

#include <QFontInfo>
#include <QString>

namespace recibo::receipt {
namespace {

QString number(qreal value)
{
    return QString::number(value, 'g', 10);
}

// Text fit for XML: its markup characters escaped, and the characters XML
// cannot hold at all (control characters a table's cell may carry) shown as
// the replacement character.
QString escaped(const QString& text)
{
    QString fit = text.toHtmlEscaped();
    for (QChar& c : fit)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            c = QChar::ReplacementCharacter;
    return fit;
}

QString rectAttributes(const QRectF& box)
{
    return QStringLiteral("x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
        .arg(number(box.x()), number(box.y()), number(box.width()), number(box.height()));
}

class SvgWriter {
public:
    explicit SvgWriter(QString& out) : out_(out) {}

    void write(const PageFill& fill)
    {
        out_ += QStringLiteral("<rect %1 fill=\"%2\"/>\n").arg(rectAttributes(fill.box), fill.grey.name());
    }

    void write(const PageOutline& outline)
    {
        out_ += QStringLiteral(
                    "<rect %1 rx=\"%2\" fill=\"%3\" stroke=\"%4\" stroke-width=\"%5\" "
                    "stroke-linejoin=\"%6\"/>\n")
                    .arg(rectAttributes(outline.box), number(outline.radius),
                         outline.fill.alpha() == 0 ? QStringLiteral("none") : outline.fill.name(), outline.grey.name(),
                         number(outline.width),
                         outline.join == Qt::MiterJoin ? QStringLiteral("miter") : QStringLiteral("bevel"));
    }

    void write(const PageLine& line)
    {
        out_ += QStringLiteral(
                    "<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
                    "stroke-linecap=\"square\"/>\n")
                    .arg(number(line.line.x1()), number(line.line.y1()), number(line.line.x2()), number(line.line.y2()),
                         line.grey.name(), number(line.width));
    }

    void write(const PageText& text)
    {
        const QFont& font = text.text.font;
        const QString look =
            QStringLiteral("font-family=\"%1\" font-size=\"%2\" font-weight=\"%3\" fill=\"%4\"")
                .arg(escaped(QFontInfo(font).family()), number(font.pixelSize()),
                     font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"), text.grey.name());
        for (const PlacedLine& line : placeLines(text.text, text.area, text.alignment))
            out_ += QStringLiteral(
                        "<text x=\"%1\" y=\"%2\" textLength=\"%3\" lengthAdjust=\"spacingAndGlyphs\" "
                        "xml:space=\"preserve\" %4>%5</text>\n")
                        .arg(number(line.origin.x()), number(line.origin.y() + line.ascent), number(line.advance), look,
                             escaped(line.text));
    }

private:
    QString& out_;
};

}  // namespace

QByteArray pageSvg(const PlacedPage& placed, int dpi)
{
    const Page& page = placed.page;
    const qreal pointsPerTwip = dpi > 0 ? placed.scale * 72 / dpi : 1.0 / 20;
    QString out = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1pt\" height=\"%2pt\" "
                      "viewBox=\"0 0 %3 %4\">\n"
                      "<title>Recibo de haberes</title>\n")
                      .arg(number(page.size.width() * pointsPerTwip), number(page.size.height() * pointsPerTwip),
                           number(page.size.width()), number(page.size.height()));
    SvgWriter writer(out);
    int clips = 0;
    for (const PageRun& run : runsOf(page)) {
        if (!run.plain()) {
            const QString id = QStringLiteral("recorte%1").arg(++clips);
            out += run.clip.isEmpty()
                ? QStringLiteral("<g>")
                : QStringLiteral("<clipPath id=\"%1\"><rect %2/></clipPath>\n<g clip-path=\"url(#%1)\">")
                      .arg(id, rectAttributes(run.clip));
            out += QStringLiteral("<g transform=\"translate(%1 %2)\">\n")
                       .arg(number(run.origin.x()), number(run.origin.y()));
        }
        for (const PagePart& part : run.parts)
            std::visit([&](const auto& shape) { writer.write(shape); }, part.shape);
        if (!run.plain())
            out += QStringLiteral("</g></g>\n");
    }
    out += QStringLiteral("</svg>\n");
    return out.toUtf8();
}

}  // namespace recibo::receipt
