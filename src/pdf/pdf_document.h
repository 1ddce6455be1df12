#pragma once

// A PDF file as its classic cross-reference table describes it: which
// objects it has, where each one is, and its trailer.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "pdf_syntax.h"

namespace recibo::pdf {

// One object of the file as written, from "7 0 obj" to "endobj".
struct IndirectObject {
    Object value;
    std::string_view stream;  // a stream's data, still encoded; empty for other objects
    std::string_view whole;   // the object's bytes, "endobj" and all
};

class Document {
public:
    // The file's table and trailer; nothing when the file is not one this
    // reads: another kind of table, updates appended, encryption.
    static std::optional<Document> read(std::string_view file);

    std::string_view bytes() const { return file_; }
    const Object& trailer() const { return trailer_; }
    // The numbers 0 to size() - 1 have entries in the table.
    int size() const { return int(offsets_.size()); }
    bool inUse(int number) const { return number > 0 && number < size() && offsets_[number] != kFree; }
    // The object `number`, read at its offset; nothing when it is not there
    // as the table says.
    std::optional<IndirectObject> object(int number) const;
    // `value` itself, or the object it refers to; Kind::None when a
    // reference leads nowhere.
    Object resolved(const Object& value) const;

private:
    static constexpr std::size_t kFree = std::size_t(-1);

    std::string_view file_;
    Object trailer_;
    std::vector<std::size_t> offsets_;
};

}  // namespace recibo::pdf
