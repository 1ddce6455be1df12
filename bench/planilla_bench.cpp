// The planilla in the desktop program, with its real windows on Qt's
// offscreen platform: opening a school's planilla and a big one (read,
// checked, every teacher listed, and the first slice of the rows that cannot
// be computed marked) and choosing a teacher while the rest are being marked
// (every control of the entry window and the dialog set through their
// handlers). Wall-clock times:
//
//   build/release/bench/recibo_planilla_bench

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "app/planilla_session.h"
#include "app/program.h"
#include "teacher_mix.h"

namespace {

QString writeTable(const QTemporaryDir& folder, std::size_t rows)
{
    const QString path = folder.filePath(QStringLiteral("planilla.csv"));
    QFile file(path);
    const std::string table = recibo::bench::teacherTable(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(table.data(), qint64(table.size())) != qint64(table.size()))
        qFatal("could not write the planilla");
    return path;
}

void BM_OpenPlanilla(benchmark::State& state)
{
    const QTemporaryDir folder;
    const QString path = writeTable(folder, std::size_t(state.range(0)));
    recibo::app::Program program;
    program.start();
    for (auto _ : state) {
        if (!program.planilla().open(path))
            state.SkipWithError("the planilla was refused");
        QApplication::processEvents();
    }
    state.counters["filas"] = double(state.range(0));
}
BENCHMARK(BM_OpenPlanilla)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChooseTeacher(benchmark::State& state)
{
    const QTemporaryDir folder;
    const auto rows = std::size_t(state.range(0));
    const QString path = writeTable(folder, rows);
    recibo::app::Program program;
    program.start();
    if (!program.planilla().open(path))
        qFatal("the planilla was refused");
    std::size_t row = 0;
    for (auto _ : state) {
        program.planilla().chooseTeacher(row);
        QApplication::processEvents();  // with a slice of the rows still being marked
        row = (row + 997) % rows;       // all over the list, positions and hours alike
    }
}
BENCHMARK(BM_ChooseTeacher)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform cannot raise windows, and says so every time.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtWarningMsg && type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QStandardPaths::setTestModeEnabled(true);  // the user's remembered planillas left alone
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
