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
    if (!translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace recibo::regional
