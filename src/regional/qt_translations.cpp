#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace recibo::regional {

bool installQtTranslations()
{
    auto* application = QCoreApplication::instance();
    if (!application)
        return false;
    auto* translator = new QTranslator(application);
    // Spanish whatever the system's language: the program's own texts are
    // Spanish, and Qt's buttons and file dialog stand beside them. Numbers
    // and dates keep following the system's regional settings.
    if (!translator->load(QLocale(QLocale::Spanish, QLocale::Argentina), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace recibo::regional
