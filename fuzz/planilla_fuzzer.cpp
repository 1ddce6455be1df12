// The desktop program's planilla against recibo-lote on arbitrary tables:
// the same rows and cells (or the same refusal), the same bytes given back
// when nothing changed, and one teacher renamed changing that row alone.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/planilla_equivalence.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string problem = recibo::table::planillaDisagreement(text);
    if (!problem.empty())
        std::fprintf(stderr, "%s\n", problem.c_str());
    FUZZ_CHECK(problem.empty(), "the planilla and recibo-lote disagree");
    return 0;
}
