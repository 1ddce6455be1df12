#pragma once

// Reading PDF files back with poppler-utils (pdfinfo, pdftotext, pdfimages,
// pdftoppm), as a person would: its pages, its text, its pictures, and the
// page as an image; and, with qpdf, the size each text is drawn at.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace pdf {

struct ToolRun {
    bool ran = false;
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun run(const QString& tool, const QStringList& arguments)
{
    ToolRun result;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        result.err = tool.toUtf8() + " not found: poppler-utils and qpdf are needed";
        return result;
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return result;
    result.ran = process.exitStatus() == QProcess::NormalExit;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The number of pages, or -1 when the file is not a PDF that can be read.
inline int pages(const QString& file)
{
    const ToolRun info = run(QStringLiteral("pdfinfo"), {file});
    if (!info.ran || info.status != 0)
        return -1;
    const auto match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
                           .match(QString::fromUtf8(info.out));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// All the text a reader can search, or a null string when it cannot be read.
inline QString text(const QString& file)
{
    const ToolRun extracted =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    if (!extracted.ran || extracted.status != 0)
        return {};
    return QString::fromUtf8(extracted.out);
}

// A word of the first page and where it stands, in points from the page's
// top left corner.
struct Word {
    QString text;
    QRectF box;
};

// The words of a page (the first unless told) with their places, or none
// when it cannot be read.
inline QList<Word> words(const QString& file, int page = 1)
{
    const ToolRun extracted =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
             QString::number(page), QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    QList<Word> found;
    if (!extracted.ran || extracted.status != 0)
        return found;
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto match = word.globalMatch(QString::fromUtf8(extracted.out)); match.hasNext();) {
        const auto m = match.next();
        // pdftotext writes the words as XML: "&amp;" is "&".
        QString text = m.captured(5);
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        found.append({text,
                      QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return found;
}

// Text as a page draws it: where its first glyph's baseline starts, in
// points from the page's top left corner, and the height of its type there
// in points. The size is the font's (Tf) carried through the text matrix
// and the transformation matrix, whatever the letters' own proportions.
struct DrawnText {
    QPointF origin;
    double size = 0;
};

namespace detail {

// An affine matrix as PDF writes it, [a b c d e f]: a point (x, y) goes to
// (a x + c y + e, b x + d y + f).
using Matrix = std::array<double, 6>;
constexpr Matrix kIdentity{1, 0, 0, 1, 0, 0};

// `first` applied, then `then`.
inline Matrix times(const Matrix& first, const Matrix& then)
{
    return {first[0] * then[0] + first[1] * then[2],           first[0] * then[1] + first[1] * then[3],
            first[2] * then[0] + first[3] * then[2],           first[2] * then[1] + first[3] * then[3],
            first[4] * then[0] + first[5] * then[2] + then[4], first[4] * then[1] + first[5] * then[3] + then[5]};
}

inline bool isWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

inline bool isDelimiter(char c)
{
    return isWhite(c) || std::string_view("()<>[]{}/%").find(c) != std::string_view::npos;
}

// The text shown in a content stream, followed operator by operator: the
// numbers before each operator are its operands; strings, names, arrays
// and dictionaries only hold a place. `top` is the page's upper edge.
inline QList<DrawnText> drawnIn(const QByteArray& content, double top)
{
    struct State {
        Matrix ctm = kIdentity;
        double fontSize = 0, leading = 0;
    };
    QList<State> saved;
    State state;
    Matrix line = kIdentity, text = kIdentity;
    QList<double> operands;
    QList<DrawnText> drawn;
    const auto moveLine = [&](double x, double y) { text = line = times({1, 0, 0, 1, x, y}, line); };
    const auto show = [&] {
        const Matrix placed = times(text, state.ctm);
        drawn.append(
            {QPointF(placed[4], top - placed[5]), std::abs(state.fontSize) * std::hypot(placed[2], placed[3])});
    };
    const qsizetype end = content.size();
    for (qsizetype at = 0; at < end;) {
        const char c = content[at];
        if (isWhite(c)) {
            ++at;
        } else if (c == '%') {
            while (at < end && content[at] != '\n' && content[at] != '\r')
                ++at;
        } else if (c == '(') {
            // A literal string: balanced parentheses, backslash escapes.
            int depth = 0;
            for (; at < end; ++at) {
                if (content[at] == '\\')
                    ++at;
                else if (content[at] == '(')
                    ++depth;
                else if (content[at] == ')' && --depth == 0)
                    break;
            }
            ++at;
            operands.append(0);
        } else if (c == '<' && content.mid(at, 2) != "<<") {
            // A hex string.
            at = content.indexOf('>', at);
            if (at < 0)
                break;
            ++at;
            operands.append(0);
        } else if (std::string_view("<>[]{}").find(c) != std::string_view::npos) {
            // The bounds of an array or a dictionary.
            at += content.mid(at, 2) == "<<" || content.mid(at, 2) == ">>" ? 2 : 1;
            operands.append(0);
        } else {
            qsizetype after = at + 1;
            while (after < end && !isDelimiter(content[after]))
                ++after;
            const QByteArray word = content.mid(at, after - at);
            at = after;
            bool number = false;
            const double value = word.toDouble(&number);
            if (number) {
                operands.append(value);
                continue;
            }
            if (c == '/' || word == "true" || word == "false" || word == "null") {
                operands.append(0);
                continue;
            }
            const auto operand = [&](qsizetype fromEnd) {
                return operands.size() >= fromEnd ? operands[operands.size() - fromEnd] : 0.0;
            };
            if (word == "q") {
                saved.append(state);
            } else if (word == "Q") {
                if (!saved.isEmpty())
                    state = saved.takeLast();
            } else if (word == "cm") {
                state.ctm = times({operand(6), operand(5), operand(4), operand(3), operand(2), operand(1)}, state.ctm);
            } else if (word == "BT") {
                text = line = kIdentity;
            } else if (word == "Tf") {
                state.fontSize = operand(1);
            } else if (word == "TL") {
                state.leading = operand(1);
            } else if (word == "Tm") {
                text = line = {operand(6), operand(5), operand(4), operand(3), operand(2), operand(1)};
            } else if (word == "Td" || word == "TD") {
                if (word == "TD")
                    state.leading = -operand(1);
                moveLine(operand(2), operand(1));
            } else if (word == "T*") {
                moveLine(0, -state.leading);
            } else if (word == "Tj" || word == "TJ") {
                show();
            } else if (word == "'" || word == "\"") {
                moveLine(0, -state.leading);
                show();
            } else if (word == "ID") {
                // An inline image's bytes, up to an "EI" standing alone.
                qsizetype image = at;
                while ((image = content.indexOf("EI", image + 1)) >= 0
                       && !(isWhite(content[image - 1]) && (image + 2 == end || isDelimiter(content[image + 2])))) {}
                at = image < 0 ? end : image + 2;
            }
            operands.clear();
        }
    }
    return drawn;
}

}  // namespace detail

// The texts a page (the first unless told) draws, read with qpdf from its
// content streams; none when the file cannot be read.
inline QList<DrawnText> drawnText(const QString& file, int page = 1)
{
    const ToolRun listed = run(QStringLiteral("qpdf"), {QStringLiteral("--show-pages"), file});
    if (!listed.ran || listed.status != 0)
        return {};
    // "page N: P 0 R", then "  content:" and one "    C 0 R" per stream.
    const QStringList lines = QString::fromUtf8(listed.out).split(QLatin1Char('\n'));
    static const QRegularExpression reference(QStringLiteral("^\\s*(\\d+) (\\d+) R$"));
    QString pageObject;
    QStringList contents;
    bool inPage = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("page "))) {
            inPage = line.section(QLatin1Char(':'), 0, 0) == QStringLiteral("page %1").arg(page);
            if (inPage)
                pageObject = line.section(QLatin1String(": "), 1).section(QLatin1Char(' '), 0, 1).replace(' ', ',');
        } else if (const auto match = reference.match(line); inPage && match.hasMatch()) {
            contents << match.captured(1) + QLatin1Char(',') + match.captured(2);
        }
    }
    if (pageObject.isEmpty())
        return {};
    const ToolRun dictionary = run(QStringLiteral("qpdf"), {QStringLiteral("--show-object=") + pageObject, file});
    static const QRegularExpression mediaBox(QStringLiteral(R"(/MediaBox\s*\[\s*(\S+)\s+(\S+)\s+(\S+)\s+(\S+)\s*\])"));
    const auto box = mediaBox.match(QString::fromLatin1(dictionary.out));
    if (!dictionary.ran || dictionary.status != 0 || !box.hasMatch())
        return {};
    QByteArray content;
    for (const QString& stream : contents) {
        const ToolRun data =
            run(QStringLiteral("qpdf"),
                {file, QStringLiteral("--show-object=") + stream, QStringLiteral("--filtered-stream-data")});
        if (!data.ran || data.status != 0)
            return {};
        content += data.out + '\n';
    }
    return detail::drawnIn(content, box.captured(4).toDouble());
}

// How many pages of the file begin by drawing a form that another page
// begins with too (what they have in common, written once and drawn
// beneath them); -1 when the file cannot be read.
inline int pagesOverASharedForm(const QString& file)
{
    // qpdf's QDF form: contents inflated, each after "%% Contents for page N".
    QTemporaryDir folder;
    const QString qdf = folder.filePath(QStringLiteral("qdf.pdf"));
    const ToolRun written =
        run(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), file, qdf});
    QFile read(qdf);
    if (!written.ran || written.status != 0 || !read.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression firstDrawn(QStringLiteral(
        R"(%% Contents for page (\d+)\n(?:%%[^\n]*\n)*\d+ \d+ obj\n<<(?:[^>]|>(?!>))*>>\nstream\nq (/\S+) Do Q\n)"));
    QHash<QString, QSet<QString>> pagesOver;
    for (const auto& match : firstDrawn.globalMatch(QString::fromLatin1(read.readAll())))
        pagesOver[match.captured(2)].insert(match.captured(1));
    QSet<QString> sharing;
    for (const QSet<QString>& pages : std::as_const(pagesOver))
        if (pages.size() > 1)
            sharing.unite(pages);
    return int(sharing.size());
}

// The number of raster images in the file, or -1 when it cannot be read.
inline int images(const QString& file)
{
    const ToolRun listed = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file});
    if (!listed.ran || listed.status != 0)
        return -1;
    // Two heading lines, then one line per image.
    const QStringList lines = QString::fromUtf8(listed.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return std::max(0, int(lines.size()) - 2);
}

// A page (the first unless told) as an image at `dpi` dots per inch; null
// when it cannot be made.
inline QImage picture(const QString& file, int dpi, int page = 1)
{
    QTemporaryDir folder;
    const QString prefix = QDir(folder.path()).filePath(QStringLiteral("page"));
    const ToolRun rendered = run(QStringLiteral("pdftoppm"),
                                 {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                  QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                  QString::number(page), QStringLiteral("-singlefile"), file, prefix});
    if (!rendered.ran || rendered.status != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

// Whether two pictures of a page look the same: text placed a hundredth of
// a point apart may be shaded differently at a glyph's edges (poppler
// places glyphs to a fraction of a pixel), by a quarter of full ink or so
// and on few pixels; a glyph missing or a line moved is more.
inline bool lookAlike(const QImage& a, const QImage& b)
{
    if (a.isNull() || a.size() != b.size())
        return false;
    const QImage first = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage second = b.convertToFormat(QImage::Format_Grayscale8);
    qsizetype differing = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const int difference = std::abs(int(first.constScanLine(y)[x]) - int(second.constScanLine(y)[x]));
            if (difference > 96)
                return false;
            differing += difference > 0;
        }
    return differing <= qsizetype(first.width()) * first.height() / 500;
}

}  // namespace pdf
