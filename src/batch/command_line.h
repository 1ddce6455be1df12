#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "unusable/unusable.h"

namespace recibo::batch {

// The most rows recibo-lote computes at the same time (-j).
inline constexpr unsigned kMaxJobs = 256;

// recibo-lote [--locale NAME] [--escala FILE] [--pdf DIR | --pdf-unico FILE | --svg DIR]
//             [-j N] [FILE]
struct CommandLine {
    bool help = false;
    // --escala-incluida: the built-in scale as a scale file, nothing else.
    bool writeBuiltInScale = false;
    // The scale file the rows are computed under; the built-in scale when absent.
    std::optional<std::string> scaleFile;
    std::optional<std::string> locale;
    // The folder for one PDF receipt per computed row.
    std::optional<std::string> pdfDirectory;
    // The one PDF file with a page per computed row.
    std::optional<std::string> pdfFile;
    // The folder for one SVG page per computed row.
    std::optional<std::string> svgDirectory;
    // How many rows are computed at the same time; absent: one per core.
    std::optional<unsigned> jobs;
    // --explicar: each line and total also carries its explanation.
    bool explain = false;
    // --comparar: the official payslips' lines the receipts are compared with.
    std::optional<std::string> compareFile;
    // Absent or "-": standard input.
    std::optional<std::string> file;
};

// The arguments after the program name, or why they cannot be used (in
// Spanish, one line).
OrUnusable<CommandLine> parseCommandLine(const std::vector<std::string>& args);

}  // namespace recibo::batch
