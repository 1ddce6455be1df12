#include "replaceable.h"

#include <filesystem>
#include <system_error>

namespace recibo::files {

std::optional<std::string> notReplaceable(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    switch (fs::status(path, error).type()) {
    case fs::file_type::none:  // the status could not be read: the save will say why
    case fs::file_type::not_found:
    case fs::file_type::regular: return std::nullopt;
    case fs::file_type::directory: return "una carpeta";
    case fs::file_type::character:
    case fs::file_type::block: return "un dispositivo";
    case fs::file_type::fifo: return "una tubería (FIFO)";
    case fs::file_type::socket: return "un socket";
    default: return "algo que no es un archivo común";
    }
}

}  // namespace recibo::files
