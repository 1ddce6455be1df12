#include "regional.h"

#include <QString>
#include <QStringList>

namespace recibo::regional {

payroll::RegionalSettings settingsOf(const QLocale& locale)
{
    payroll::RegionalSettings settings;
    settings.decimalSeparator = locale.decimalPoint().toStdString();
    settings.groupSeparator = locale.groupSeparator().toStdString();
    return settings;
}

payroll::RegionalSettings systemSettings()
{
    return settingsOf(QLocale::system());
}

namespace {

bool isAsciiLetters(const QString& s)
{
    for (QChar c : s)
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    return !s.isEmpty();
}

bool isAsciiDigits(const QString& s)
{
    for (QChar c : s)
        if (!(c >= u'0' && c <= u'9'))
            return false;
    return !s.isEmpty();
}

}  // namespace

std::optional<QLocale> localeNamed(std::string_view name)
{
    const QString full = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (full == u"C" || full == u"POSIX")
        return QLocale::c();

    // language[_Script][_TERRITORY][.codeset][@modifier]
    QString base = full;
    if (const qsizetype at = base.indexOf(u'@'); at >= 0)
        base.truncate(at);
    if (const qsizetype dot = base.indexOf(u'.'); dot >= 0)
        base.truncate(dot);
    base.replace(u'-', u'_');
    const QStringList parts = base.split(u'_');
    if (parts.isEmpty() || parts.size() > 3 || !isAsciiLetters(parts.front()))
        return std::nullopt;
    if (QLocale::codeToLanguage(parts.front()) == QLocale::AnyLanguage)
        return std::nullopt;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const bool isScript = part.size() == 4 && isAsciiLetters(part);
        const bool isTerritory =
            (part.size() == 2 && isAsciiLetters(part)) || (part.size() == 3 && isAsciiDigits(part));
        if (isScript) {
            if (i != 1 || QLocale::codeToScript(part) == QLocale::AnyScript)
                return std::nullopt;
        } else if (isTerritory) {
            if (i != parts.size() - 1 || QLocale::codeToTerritory(part) == QLocale::AnyTerritory)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }

    QLocale locale(full);
    if (locale.language() == QLocale::C)
        return std::nullopt;
    return locale;
}

}  // namespace recibo::regional
