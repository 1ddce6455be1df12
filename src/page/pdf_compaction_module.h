#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace recibo::receipt {

// How compacting a book went, as pdf::Compaction says it.
enum class CompactionResult { Written, Unchanged, WriteFailed };

// joinParts() of pdf/pdf_compaction.h, from the module pdf/pdf_module.h,
// loaded the first time it is asked for, on whatever thread: the pages of
// `order` (each its part and its page there) from the files `parts`, as
// one book. Without the module: Unchanged, nothing written.
CompactionResult joinBook(const std::vector<std::string_view>& parts,
                          const std::vector<std::pair<std::size_t, std::size_t>>& order,
                          const std::function<bool(std::string_view)>& write);

}  // namespace recibo::receipt
