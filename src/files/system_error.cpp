#include "system_error.h"

#include <string>

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
    case EBADF: return reading ? "la entrada no está abierta para leer" : "la salida no está abierta para escribir";
    case ENAMETOOLONG: return "el nombre del archivo o de su carpeta es demasiado largo";
    case ELOOP: return "hay enlaces simbólicos que se señalan en círculo";
    case EMFILE:
    case ENFILE: return "hay demasiados archivos abiertos";
    case ENOMEM: return "no hay memoria suficiente";
    case EBUSY:
    case ETXTBSY: return "el archivo está en uso";
    case ENXIO:
    case ENODEV: return "el dispositivo no existe o no está conectado";
    case EINVAL: return reading ? "el sistema no permite leerlo así" : "el sistema no permite escribirlo así";
    default: return "el sistema dio el error número " + std::to_string(error);
    }
}

}  // namespace recibo::files
