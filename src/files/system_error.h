#pragma once

#include <cerrno>
#include <string>

namespace recibo::files {

// What a file was being used for when the system refused: the same error
// means another thing to a reader ("the file does not exist") than to a
// writer ("the folder does not exist").
enum class Access { Read, Write };

// Why a file could not be read or written, in Spanish, for the end of a
// message ("no se puede leer el archivo «x»: no hay permiso para leerlo");
// an error this program has no words of its own for is named by its
// number, never in the C library's English.
std::string systemErrorText(int error, Access access);

// The errors systemErrorText words itself, for those who only have the
// system's words for an error and look up the number (see file_errors.h).
inline constexpr int kWordedErrors[] = {
    // clang-format off
    ENOENT, ENOTDIR, EACCES, EPERM, EISDIR, ENOSPC, EDQUOT, EROFS, EFBIG, EIO, EPIPE,
    EBADF, ENAMETOOLONG, ELOOP, EMFILE, ENFILE, ENOMEM, EBUSY, ETXTBSY, ENXIO, ENODEV, EINVAL,
    // clang-format on
};

}  // namespace recibo::files
