#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace recibo::batch {

// Exit statuses of recibo-lote.
inline constexpr int kAllRowsComputed = 0;
inline constexpr int kSomeRowFailed = 1;
inline constexpr int kInputUnusable = 2;

// recibo-lote [--locale NAME] [FILE]: computes one receipt per data row of a
// CSV table (FILE, or `in` when FILE is absent or "-") and writes one JSON
// object per row to `out`, in the order of the rows. A table that cannot be
// used is reported in one line on `err` before anything is written to `out`.
// `args` are the arguments after the program name.
int runBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace recibo::batch
