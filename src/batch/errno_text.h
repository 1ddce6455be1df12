#pragma once

#include <string>

namespace recibo::batch {

// What a system error number means, in Spanish, for the end of a message
// ("no se puede leer el archivo \"x\": no existe").
std::string errnoText(int error);

}  // namespace recibo::batch
