#include "settings.h"

#include <QFile>

namespace recibo::app {

namespace {

constexpr const char* kProgram = "recibo";
// The organisation Qt names a settings file after when none is set.
constexpr const char* kUnnamedOrganisation = "Unknown Organization";

}  // namespace

QSettings programSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kProgram, kProgram);
}

void takeOverEarlierSettings()
{
    QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, kUnnamedOrganisation, kProgram);
    const QString earlierFile = earlier.fileName();
    if (!QFile::exists(earlierFile))
        return;
    QSettings current = programSettings();
    for (const QString& key : earlier.allKeys())
        if (!current.contains(key))
            current.setValue(key, earlier.value(key));
    current.sync();
    // Only once the values are safely in the program's file.
    if (current.status() == QSettings::NoError)
        QFile::remove(earlierFile);
}

}  // namespace recibo::app
