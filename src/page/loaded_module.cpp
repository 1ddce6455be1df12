#include "loaded_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace recibo::receipt {

QString loadedModulePath(const char* fromBindir, const char* built)
{
    const QString installed = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(fromBindir));
    return QFileInfo::exists(installed) ? installed : QString::fromUtf8(built);
}

}  // namespace recibo::receipt
