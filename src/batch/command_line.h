#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "unusable.h"

namespace recibo::batch {

// recibo-lote [--locale NAME] [--pdf DIR] [FILE]
struct CommandLine {
    bool help = false;
    std::optional<std::string> locale;
    // The folder for one PDF receipt per computed row.
    std::optional<std::string> pdfDirectory;
    // Absent or "-": standard input.
    std::optional<std::string> file;
};

// The arguments after the program name, or why they cannot be used (in
// Spanish, one line).
OrUnusable<CommandLine> parseCommandLine(const std::vector<std::string>& args);

}  // namespace recibo::batch
