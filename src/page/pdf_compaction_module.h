#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace recibo::receipt {

// How compacting a book went, as pdf::Compaction says it.
enum class CompactionResult { Written, Unchanged, WriteFailed };

// A page of the book: its part, its page there and the page of the same
// part drawn beneath it, if any (pdf::PartPage).
struct PagePlace {
    std::size_t part = 0;
    std::size_t page = 0;
    std::optional<std::size_t> under;
};

// joinParts() of pdf/pdf_compaction.h, from the module pdf/pdf_module.h,
// loaded the first time it is asked for, on whatever thread: the pages of
// `order` from the files `parts`, as one book; `read` is told when a part
// has been read (pdf::PartRead). Without the module: Unchanged, nothing
// written.
CompactionResult joinBook(const std::vector<std::string_view>& parts, const std::vector<PagePlace>& order,
                          const std::function<bool(std::string_view)>& write,
                          const std::function<void(std::size_t)>& read);

}  // namespace recibo::receipt
