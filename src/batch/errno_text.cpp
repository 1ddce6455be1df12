#include "errno_text.h"

#include <cerrno>
#include <cstring>

namespace recibo::batch {

std::string errnoText(int error)
{
    switch (error) {
    case ENOENT: return "no existe";
    case EACCES: return "no tiene permiso";
    case EISDIR: return "es un directorio";
    case ENOTDIR: return "no es una carpeta";
    case ENOSPC: return "no queda lugar en el disco";
    case EDQUOT: return "se llegó a la cuota de disco";
    case EROFS: return "el disco es de sólo lectura";
    case EIO: return "error de lectura o escritura en el disco";
    case EFBIG: return "el archivo es demasiado grande";
    case EPIPE: return "el programa que recibía la salida ya la cerró";
    default: return std::strerror(error);
    }
}

}  // namespace recibo::batch
