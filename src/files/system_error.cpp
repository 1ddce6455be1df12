#include "system_error.h"

#include <cstring>

namespace recibo::files {

std::string systemErrorText(int error, Access access)
{
    const bool reading = access == Access::Read;
    switch (error) {
    case ENOENT: return reading ? "el archivo no existe" : "la carpeta no existe";
    case ENOTDIR: return "la carpeta no existe";
    case EACCES:
    case EPERM: return reading ? "no hay permiso para leerlo" : "no hay permiso para escribir en esa carpeta";
    case EISDIR: return "es una carpeta, no un archivo";
    case ENOSPC: return "el disco está lleno";
    case EDQUOT: return "se acabó el espacio de disco permitido";
    case EROFS: return "el disco es de sólo lectura";
    case EFBIG: return "el archivo es más grande de lo que el disco admite";
    case EIO: return "error de lectura o escritura en el disco";
    case EPIPE: return "el programa que recibía la salida ya la cerró";
    default: return std::strerror(error);
    }
}

}  // namespace recibo::files
