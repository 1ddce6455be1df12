#pragma once

#include <functional>
#include <string_view>

namespace recibo::receipt {

// How compacting a book went, as pdf::Compaction says it.
enum class CompactionResult { Written, Unchanged, WriteFailed };

// The compaction of pdf/pdf_compaction.h, from the module pdf/pdf_module.h,
// loaded the first time it is asked for, on whatever thread. Without the
// module: Unchanged, nothing written.
CompactionResult compactBook(std::string_view file, const std::function<bool(std::string_view)>& write);

}  // namespace recibo::receipt
