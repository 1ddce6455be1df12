#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "unusable/unusable.h"

namespace recibo::batch {

// The bytes of the table, read twice: once to check the whole table, once
// to compute it, so that an unusable table is refused before anything is
// written, in memory that does not grow with the table.
//
// A regular file is read again from the disk; if its bytes change in
// between, the second reading says so. Standard input, a pipe or a device is
// kept as it is read the first time: in memory up to kSpoolInMemory, then in
// a temporary file in TMPDIR (or /tmp) that has no name from the start (or
// loses it right after being created), so that nothing is left behind,
// however the program ends.
class TableInput {
public:
    // The pieces handed over are at most this long.
    static constexpr std::size_t kPieceBytes = std::size_t{1} << 16;
    static constexpr std::size_t kSpoolInMemory = std::size_t{8} << 20;

    // Standard input.
    explicit TableInput(std::istream& in);
    // The file at `path`, or why it cannot be opened (in Spanish, one line).
    static OrUnusable<std::unique_ptr<TableInput>> openFile(const std::string& path);
    ~TableInput();
    TableInput(const TableInput&) = delete;
    TableInput& operator=(const TableInput&) = delete;

    // The next piece of the table, empty at its end; or why it could not be
    // read (in Spanish, one line). Valid until the next call.
    OrUnusable<std::string_view> next();
    // Starts the second reading, from the beginning; why it cannot, or nothing.
    Problem rewind();
    // The message for a table found to differ in the second reading from the
    // first (`detail`: how, or empty). Only a file can.
    std::string changed(std::string_view detail) const;

private:
    TableInput(int fd, bool regular, std::string name);

    OrUnusable<std::string_view> readSource();
    Problem spool(std::string_view bytes);
    OrUnusable<std::string_view> readSpool();
    OrUnusable<std::string_view> readFileAgain();

    std::istream* stream_ = nullptr;
    int fd_ = -1;
    bool regular_ = false;
    std::string name_;    // as messages name it
    bool ended_ = false;  // the first reading saw the end
    bool again_ = false;  // in the second reading
    std::unique_ptr<char[]> buffer_;

    // A regular file: its length and checksum as first read.
    std::uint64_t length_ = 0;
    std::uint64_t checksum_ = 0;
    std::uint64_t readAgain_ = 0;
    std::uint64_t checksumAgain_ = 0;

    // Anything else: what was read.
    std::string memory_;
    std::size_t memoryAt_ = 0;
    int spoolFd_ = -1;
    std::string spoolFolder_;
};

}  // namespace recibo::batch
