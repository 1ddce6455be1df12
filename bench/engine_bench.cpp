// The calculation alone, texts included, on a realistic mix of teachers.

#include <variant>
#include <vector>

#include <benchmark/benchmark.h>

#include "batch/batch_row.h"
#include "batch/columns.h"
#include "batch/csv_table.h"
#include "payroll/calculation.h"
#include "teacher_mix.h"

namespace {

using namespace recibo;

std::vector<batch::RowInput> teacherMix(std::size_t count)
{
    const auto read = batch::readCsvTable(bench::teacherTable(count));
    const auto& table = std::get<batch::CsvTable>(read);
    const auto columns = std::get<std::vector<batch::Column>>(batch::resolveHeader(table.header()));
    std::vector<batch::RowInput> inputs;
    std::vector<std::string_view> cells(columns.size());
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells[i] = table.cell(row, i);
        inputs.push_back(std::get<batch::RowInput>(batch::mapRow(columns, cells)));
    }
    return inputs;
}

void BM_Engine(benchmark::State& state)
{
    const std::vector<batch::RowInput> inputs = teacherMix(1024);
    const payroll::RegionalSettings settings = payroll::RegionalSettings::pointDecimal();
    std::size_t next = 0, failures = 0;
    for (auto _ : state) {
        const batch::RowInput& input = inputs[next];
        next = (next + 1) % inputs.size();
        auto result = payroll::calculate(input.entry, input.position, settings);
        failures += result.index();
        benchmark::DoNotOptimize(result);
    }
    if (failures != 0)
        state.SkipWithError("some teacher of the mix did not compute");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["receipts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Engine);

}  // namespace
