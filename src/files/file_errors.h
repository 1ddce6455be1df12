#pragma once

// Files through Qt: why one could not be read or written, in Spanish, and a
// write that notices a disk that took only part of it.

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QString>

#include "files/system_error.h"

namespace recibo::files {

// Qt words a file error as its qt_error_string() does for the errno (in
// English for some causes whatever the language, its translations not
// covering them): the errno is found again from those words, and worded as
// systemErrorText words it. Words of no known errno are shown as they are.
// A folder opened as a file Qt refuses in words of its own.
inline QString fileErrorText(const QFileDevice& file, Access access)
{
    if (const auto* named = qobject_cast<const QFile*>(&file); named && QFileInfo(named->fileName()).isDir())
        return QString::fromStdString(systemErrorText(EISDIR, access));
    const QString systemWords = file.errorString();
    for (const int error : kWordedErrors)
        if (systemWords == qt_error_string(error))
            return QString::fromStdString(systemErrorText(error, access));
    return systemWords;
}

// Writes all of `bytes` to `file`, which must be open Unbuffered. False when
// the disk did not take them all. Qt 6.4 takes a write the disk cut short (a
// full disk, a file-size limit) for a whole one and commits the cut file
// with QSaveFile::commit(); written without its buffer, a short write shows,
// and the write of the rest fails with the cause.
inline bool writeWhole(QFileDevice& file, const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace recibo::files
