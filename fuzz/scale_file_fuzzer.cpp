// The scale file reader on arbitrary text. Whatever comes out must be one of
//   - a scale that, written back as a file, reads as the same scale;
//   - a refusal that is one short, valid UTF-8 line naming the file, saying
//     where (line and column, from 1) and what.
// Seeded with the built-in scale's file, so that mutations stay near a file
// that reads.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz_input.h"
#include "scales/scale.h"
#include "text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace recibo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const OrUnusable<scales::Scale> read = scales::parseScale(text, "escala.toml");
    if (const auto* scale = std::get_if<scales::Scale>(&read)) {
        const OrUnusable<scales::Scale> again = scales::parseScale(scales::scaleFileText(*scale), "escala.toml");
        const auto* same = std::get_if<scales::Scale>(&again);
        FUZZ_CHECK(same != nullptr && *same == *scale, "a scale read does not read back as itself");
        return 0;
    }
    const std::string& message = std::get<Unusable>(read).message;
    constexpr std::string_view kStart = "El archivo de escala «escala.toml» no se puede usar: ";
    FUZZ_CHECK(message.starts_with(kStart), "a refusal does not name the file");
    FUZZ_CHECK(message.find("línea ") == kStart.size() || message.find("línea ") == std::string::npos,
               "a refusal names no line first");
    FUZZ_CHECK(message.size() < 600 && message.ends_with("."), "a refusal is not one short sentence");
    FUZZ_CHECK(message.find('\n') == std::string::npos, "a refusal runs over one line");
    FUZZ_CHECK(!text::firstInvalidUtf8(message), "a refusal is not UTF-8");
    return 0;
}
