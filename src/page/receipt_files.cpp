#include "receipt_files.h"

namespace recibo::receipt {

namespace {

constexpr qsizetype kLongestWord = 60;

bool keeps(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::category(c) == QChar::Mark_NonSpacing
        || QChar::category(c) == QChar::Mark_SpacingCombining;
}

}  // namespace

QString fileNameWord(const QString& text)
{
    QStringList words(1);
    for (const char32_t c : text.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (keeps(c))
            words.last() += QString::fromUcs4(&c, 1);
        else if (!words.last().isEmpty())
            words.append(QString());
    }
    words.removeAll(QString());
    // Whole words while they fit; a first word longer than the whole is cut.
    QString joined;
    for (const QString& word : words) {
        const qsizetype length = joined.isEmpty() ? word.size() : joined.size() + 1 + word.size();
        if (length > kLongestWord) {
            if (joined.isEmpty())
                joined = word.left(kLongestWord);
            break;
        }
        if (!joined.isEmpty())
            joined += QLatin1Char('-');
        joined += word;
    }
    return joined;
}

QString suggestedPdfName(const QString& docente, const QDate& date)
{
    const QString name = fileNameWord(docente);
    const QString day = date.toString(Qt::ISODate);
    return name.isEmpty() ? QStringLiteral("recibo-%1.pdf").arg(day)
                          : QStringLiteral("recibo-%1-%2.pdf").arg(name, day);
}

}  // namespace recibo::receipt
