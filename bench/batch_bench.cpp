// recibo-lote in the same process on a 100,000-row table held in memory,
// its output thrown away.

#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>

#include <benchmark/benchmark.h>

#include "batch/batch.h"
#include "table/planilla.h"
#include "teacher_mix.h"

namespace {

constexpr std::size_t kRows = 100000;

// Reads a text in place, without copying it into a stream.
class TextBuffer : public std::streambuf {
public:
    explicit TextBuffer(std::string& text) { setg(text.data(), text.data(), text.data() + text.size()); }
};

// Counts what is written and keeps nothing.
class NullBuffer : public std::streambuf {
public:
    std::size_t written = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        written += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override
    {
        ++written;
        return traits_type::not_eof(c);
    }
};

void BM_Batch(benchmark::State& state)
{
    std::string table = recibo::bench::teacherTable(kRows);
    // One thread, as the figure it is compared with: recibo-lote's own
    // default is a thread per core.
    const std::vector<std::string> args = {"--locale", "C", "-j", "1"};
    std::size_t outputBytes = 0;
    for (auto _ : state) {
        TextBuffer input(table);
        std::istream in(&input);
        NullBuffer output;
        std::ostream out(&output);
        std::ostringstream err;
        const int status = recibo::batch::runBatch(args, in, out, err);
        if (status != recibo::batch::kAllRowsComputed) {
            state.SkipWithError(("recibo-lote ended with status " + std::to_string(status) + ": " + err.str()).c_str());
            break;
        }
        outputBytes = output.written;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kRows), benchmark::Counter::kIsRate);
    state.counters["input_MB"] = static_cast<double>(table.size()) / 1e6;
    state.counters["output_MB"] = static_cast<double>(outputBytes) / 1e6;
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

// The desktop program's reading of a planilla: the same reader, the rows'
// places and cells kept.
void BM_ReadPlanilla(benchmark::State& state)
{
    const std::string table = recibo::bench::teacherTable(std::size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(recibo::table::Planilla::read(table));
    state.counters["filas"] = double(state.range(0));
}
BENCHMARK(BM_ReadPlanilla)->Arg(50000)->Unit(benchmark::kMillisecond);
