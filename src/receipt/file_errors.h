#pragma once

// Why a file could not be written, in Spanish. Qt words a file error as its
// qt_error_string() does for the errno: in English for some causes whatever
// the language (its translations do not cover them), in the C library's
// words for the others.

#include <cerrno>

#include <QFileDevice>
#include <QString>

namespace recibo::receipt {

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
    };
    for (const auto& cause : kCauses)
        if (systemWords == qt_error_string(cause.error))
            return QString::fromUtf8(cause.spanish);
    return systemWords;
}

inline QString fileErrorText(const QFileDevice& file)
{
    return systemErrorText(file.errorString());
}

}  // namespace recibo::receipt
