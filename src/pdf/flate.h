#pragma once

// Deflate, through qpdf's zlib pipeline, into and out of strings; safe to
// call from several threads at once.

#include <cstddef>
#include <string>
#include <string_view>

namespace recibo::pdf {

// At the level Pl_Flate::setCompressionLevel last set.
void deflate(std::string_view data, std::string& out);

// False when the data is damaged or decodes to more than `largest` bytes.
bool inflate(std::string_view data, std::string& out, std::size_t largest);

}  // namespace recibo::pdf
