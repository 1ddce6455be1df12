#pragma once

// Why a file could not be written, in Spanish. Qt words a file error as its
// qt_error_string() does for the errno: in English for some causes whatever
// the language (its translations do not cover them), in the C library's
// words for the others.

#include <cerrno>

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace recibo::regional {

// The cause in Spanish where the system's words tell it (no permission, disk
// full, folder missing, read-only disk); the system's own words otherwise.
inline QString systemErrorText(const QString& systemWords)
{
    static const struct {
        int error;
        const char* spanish;
    } kCauses[] = {
        {EACCES, "no hay permiso para escribir en esa carpeta"},
        {EPERM, "no hay permiso para escribir en esa carpeta"},
        {ENOSPC, "el disco está lleno"},
        {EDQUOT, "se acabó el espacio de disco permitido"},
        {ENOENT, "la carpeta no existe"},
        {ENOTDIR, "la carpeta no existe"},
        {EROFS, "el disco es de sólo lectura"},
        {EFBIG, "el archivo es más grande de lo que el disco admite"},
    };
    for (const auto& cause : kCauses)
        if (systemWords == qt_error_string(cause.error))
            return QString::fromUtf8(cause.spanish);
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

inline QString fileErrorText(const QFileDevice& file)
{
    return systemErrorText(file.errorString());
}

}  // namespace recibo::regional
