#pragma once

// toml++, compiled into this program the way Debian compiles its shared
// library of it: without the library's internal checks. toml++ 3.3.0 checks
// preconditions that malformed input breaks: after "[[[" or "[&" it
// expects a key to start (marzer/tomlplusplus #294 and #301). The code after
// each such check refuses the input with a parse error, as it should; but
// with assertions on, the check ends the program, and where clang compiles
// it with NDEBUG (the sanitizer and WebAssembly builds), the check becomes
// an assumption the optimiser may build on, which is undefined behaviour.
// Include toml++ only through this header.

#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/impl/preprocessor.h>
#undef TOML_ASSUME
#define TOML_ASSUME(...) static_assert(true)
#include <toml++/toml.h>
