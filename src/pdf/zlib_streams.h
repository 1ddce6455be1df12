#pragma once

// Streams' /FlateDecode, both ways, through zlib.

#include <cstddef>
#include <string>
#include <string_view>

namespace recibo::pdf {

// The decoded bytes in `out`; false when `data` is no zlib stream, is cut
// short, or would decode to more than `limit` bytes.
bool inflateStream(std::string_view data, std::string& out, std::size_t limit);

// `data` encoded at `level` (1 fastest, 9 smallest) in `out`.
bool deflateStream(std::string_view data, int level, std::string& out);

}  // namespace recibo::pdf
