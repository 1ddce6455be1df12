// The calculation alone, texts included, on a realistic mix of teachers.

#include <variant>
#include <vector>

#include <benchmark/benchmark.h>

#include "payroll/calculation.h"
#include "scales/scale.h"
#include "table/columns.h"
#include "table/csv_table.h"
#include "table/row_input.h"
#include "teacher_mix.h"

namespace {

using namespace recibo;

std::vector<table::RowInput> teacherMix(std::size_t count)
{
    const auto read = table::readCsvTable(bench::teacherTable(count));
    const auto& table = std::get<table::CsvTable>(read);
    const auto columns = std::get<std::vector<table::Column>>(table::resolveHeader(table.header()));
    std::vector<table::RowInput> inputs;
    std::vector<std::string_view> cells(columns.size());
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells[i] = table.cell(row, i);
        inputs.push_back(std::get<table::RowInput>(table::mapRow(columns, cells)));
    }
    return inputs;
}

void engine(benchmark::State& state, payroll::Explain explain)
{
    const std::vector<table::RowInput> inputs = teacherMix(1024);
    const payroll::RegionalSettings settings = payroll::RegionalSettings::pointDecimal();
    // A scale that is not the built-in value itself: as a scale file gives it.
    const scales::Scale scale = scales::builtInScale();
    std::size_t next = 0, failures = 0;
    for (auto _ : state) {
        const table::RowInput& input = inputs[next];
        next = (next + 1) % inputs.size();
        auto result = payroll::calculate(input.entry, input.position, settings, scale.pay, explain);
        failures += result.index();
        benchmark::DoNotOptimize(result);
    }
    if (failures != 0)
        state.SkipWithError("some teacher of the mix did not compute");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["receipts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
void BM_Engine(benchmark::State& state)
{
    engine(state, payroll::Explain::No);
}
BENCHMARK(BM_Engine);

// The same with every line and total explained (above 300,000 receipts/s).
void BM_EngineExplained(benchmark::State& state)
{
    engine(state, payroll::Explain::Yes);
}
BENCHMARK(BM_EngineExplained);

// Reading a complete scale file, its full catalogue included.
void BM_ScaleFile(benchmark::State& state)
{
    const std::string text = scales::scaleFileText(scales::builtInScale());
    for (auto _ : state) {
        auto scale = scales::parseScale(text, "escala.toml");
        if (scale.index() != 0)
            state.SkipWithError("the built-in scale's file was refused");
        benchmark::DoNotOptimize(scale);
    }
}
BENCHMARK(BM_ScaleFile)->Unit(benchmark::kMillisecond);

}  // namespace
