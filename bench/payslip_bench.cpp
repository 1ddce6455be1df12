// The likely cause of a payslip's difference for one teacher: every single
// change of the data, the 311 positions included (under 50 ms promised).

#include <variant>
#include <vector>

#include <benchmark/benchmark.h>

#include "payroll/calculation.h"
#include "payslip/likely_causes.h"
#include "scales/scale.h"
#include "table/columns.h"

namespace {

using namespace recibo;

void BM_LikelyCauses(benchmark::State& state)
{
    const std::vector<table::Column> columns = {table::Column::Tipo, table::Column::Codcargo, table::Column::Antiguedad,
                                                table::Column::Zona};
    const auto row = [&](std::string_view seniority) {
        const std::vector<std::string_view> cells = {"cargo", "645", seniority, "1"};
        return std::get<table::RowInput>(table::mapRow(columns, cells));
    };
    const payroll::RegionalSettings settings = payroll::RegionalSettings::commaDecimal();
    const table::RowInput official = row("5");
    const auto receipt = std::get<payroll::Receipt>(payroll::calculate(official.entry, official.position, settings));
    std::vector<payslip::OfficialLine> lines;
    for (const payroll::ReceiptLine& line : receipt.lines)
        lines.push_back({std::string(line.code), payslip::toCents(line.value)});
    const table::RowInput teacher = row("4");
    for (auto _ : state) {
        auto found = payslip::likelyCauses(teacher, lines, scales::builtInScale(), settings);
        if (found.empty() || !found.front().explainsAll())
            state.SkipWithError("the changed seniority was not found");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_LikelyCauses)->Unit(benchmark::kMillisecond);

}  // namespace
