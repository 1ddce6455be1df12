#pragma once

// Reading PDF files back with poppler-utils (pdfinfo, pdftotext, pdfimages,
// pdftoppm), as a person would: its pages, its text, its pictures, and the
// page as an image.

#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
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
        result.err = tool.toUtf8() + " not found: poppler-utils is needed";
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
        found.append({m.captured(5),
                      QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return found;
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
