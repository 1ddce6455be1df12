#pragma once

// A module the programs load the first time they need it (see
// cmake/loaded_modules.cmake): where it is, beside the program as installed
// (or unpacked anywhere), else where this build wrote it.

#include <QString>

namespace recibo::receipt {

// `fromBindir`: its path relative to the program's folder as installed;
// `built`: its path in the build.
QString loadedModulePath(const char* fromBindir, const char* built);

}  // namespace recibo::receipt
