// "Calcular" latency of the desktop program as built: the real windows,
// wired by the real Program, on a real display (run it under Xvfb).
//
// The clock starts just before the click on "Calcular" and stops when the
// receipt window "Haberes" has been painted and the display has carried out
// the drawing (a round trip to the X server after the paint). Every click
// computes the fullest receipt, 26 lines, checked on the window each time.
// Each receipt shown is compared with the calculation of the values the
// windows hold. Two ways of computing again are measured, each with a value
// changed before the click:
//   tras_volver  "Volver", "Cargo" and "Listo" again, then "Calcular": the
//                receipt window is hidden and is shown, mapped and painted;
//   a_la_vista   the receipt window stays open and "Calcular" is clicked in
//                "Ingreso de datos": the window is repainted.
// The very first click (the receipt window shown for the first time) is
// reported on its own. For scale, the same clock is run on the least any
// window costs: a plain window of the receipt window's size holding one
// label, hidden and shown again (minima).
//
//   recibo_calcular_latency [CLICKS]     (default 200 clicks of each kind)
//
// Prints "name value" lines, times in milliseconds.
//
// For profiling only the timed clicks: with RECIBO_LATENCY_PERF=FIFO the
// driver writes "enable" and "disable" to that control FIFO of
// `perf record --control=fifo:FIFO` around each timed click.

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWindow>

#include "app/program.h"
#include "desktop_driver.h"
#include "entry/entry_window.h"
#include "payroll/calculation.h"
#include "regional/regional.h"
#include "selection/selection_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace recibo;

// Notes every paint event of the watched window or of any of its controls.
class WatchingApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && receiver->isWidgetType()
            && static_cast<QWidget*>(receiver)->window()->objectName() == watched) {
            if (paints++ == 0)
                firstPaint = std::chrono::steady_clock::now();
        }
        return QApplication::notify(receiver, event);
    }

    QString watched = QStringLiteral("Haberes");
    int paints = 0;
    std::chrono::steady_clock::time_point firstPaint;
};

WatchingApplication* watching()
{
    return static_cast<WatchingApplication*>(QCoreApplication::instance());
}

// Lets the program handle everything pending (the display's answers
// included) for a while.
void settle(int milliseconds = 30)
{
    QGuiApplication::sync();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void waitUntil(const std::function<bool()>& condition, const char* what)
{
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (Clock::now() > deadline)
            qFatal("timed out waiting for %s", what);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

struct Click {
    double painted;      // click to receipt painted on the display
    double handled;      // click to the click's own handling returned
    double paintStarts;  // click to the first paint event of the receipt window
    double paintEnds;    // click to the paint drawn and handed to the display
    int extraPaints;     // paints of the receipt window after it was painted
};

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// perf's control FIFO, when profiling.
std::ofstream& perfControl()
{
    static std::ofstream fifo = [] {
        const char* path = std::getenv("RECIBO_LATENCY_PERF");
        return path ? std::ofstream(path) : std::ofstream();
    }();
    return fifo;
}

void perfCommand(const char* command)
{
    if (perfControl().is_open())
        perfControl() << command << std::endl;
}

// The receipt the window shows is the one the calculation gives for the
// values the windows hold: 26 lines and the same net pay.
void checkReceipt(app::Program& program)
{
    QWidget* receipt = bench::window("Haberes");
    if (!receipt || !receipt->isVisible() || !receipt->windowHandle()->isExposed())
        qFatal("the receipt window is not on the display after Calcular");
    if (QWidget* notice = bench::window("error"); notice && notice->isVisible())
        qFatal("Calcular showed the notice instead of a receipt");
    if (QApplication::activeModalWidget())
        qFatal("Calcular showed a message instead of a receipt");
    if (const int lines = bench::receiptLinesShown(); lines != 26)
        qFatal("the receipt shows %d lines, not 26", lines);
    const auto expected = payroll::calculate(
        program.entryWindow()->values(), program.selectionDialog()->selection().selected(), regional::systemSettings());
    if (!std::holds_alternative<payroll::Receipt>(expected))
        qFatal("the request does not compute");
    const QString shown = bench::control<QLabel>("Haberes", "liquido")->text();
    if (shown != QString::fromStdString(std::get<payroll::Receipt>(expected).liquido))
        qFatal("the receipt shows a net pay of %s, the calculation gives %s", qPrintable(shown),
               std::get<payroll::Receipt>(expected).liquido.c_str());
}

// One timed action that ends with the watched window painted. A paint is
// carried out and flushed to the display within the handling of one event,
// so the window counts as painted once control comes back from the event
// that painted it.
Click timed(const std::function<void()>& action)
{
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] { timedOut = true; });
    watchdog.start(20000);

    watching()->paints = 0;
    perfCommand("enable");
    const Clock::time_point start = Clock::now();
    action();
    const double handled = millisecondsSince(start);
    while (watching()->paints == 0 && !timedOut)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double paintEnds = millisecondsSince(start);
    QGuiApplication::sync();
    const double painted = millisecondsSince(start);
    perfCommand("disable");
    if (timedOut)
        qFatal("%s was not painted within 20 s", qPrintable(watching()->watched));
    const double paintStarts = std::chrono::duration<double, std::milli>(watching()->firstPaint - start).count();

    const int paintsAtDone = watching()->paints;
    settle();
    return {painted, handled, paintStarts, paintEnds, watching()->paints - paintsAtDone};
}

Click timedCalcular(app::Program& program)
{
    const Click click = timed([] { bench::click("ingreso", "Command1"); });
    checkReceipt(program);
    return click;
}

// The plain window hidden and shown again, as "Calcular" shows the receipt
// window after "Volver": shown, raised and made the active window.
std::vector<Click> plainWindowShown(const QSize& size, int times)
{
    QWidget plain;
    plain.setObjectName("minima");
    plain.resize(size);
    new QLabel(QStringLiteral("Haberes"), &plain);
    plain.show();
    settle(100);
    watching()->watched = plain.objectName();
    std::vector<Click> shown;
    for (int i = 0; i < times; ++i) {
        plain.hide();
        settle();
        shown.push_back(timed([&plain] {
            plain.show();
            plain.raise();
            plain.activateWindow();
        }));
    }
    watching()->watched = QStringLiteral("Haberes");
    return shown;
}

// Milliseconds with three decimals and a decimal point in any locale: the
// application takes the C library's locale from the environment, and under
// es_AR printf would write a decimal comma, which medir.sh reads as a whole
// number ("1,302" as 1).
std::string ms(double milliseconds)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, milliseconds, std::chars_format::fixed, 3);
    return std::string(text, written.ptr);
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void report(const char* name, const std::vector<Click>& clicks)
{
    std::vector<double> painted, handled, paintStarts, paintEnds;
    int extraPaints = 0;
    for (const Click& click : clicks) {
        painted.push_back(click.painted);
        handled.push_back(click.handled);
        paintStarts.push_back(click.paintStarts);
        paintEnds.push_back(click.paintEnds);
        extraPaints += click.extraPaints;
    }
    std::printf("%s_clics %zu\n", name, clicks.size());
    std::printf("%s_mediana_ms %s\n", name, ms(percentile(painted, 0.5)).c_str());
    std::printf("%s_p90_ms %s\n", name, ms(percentile(painted, 0.9)).c_str());
    std::printf("%s_min_ms %s\n", name, ms(percentile(painted, 0.0)).c_str());
    std::printf("%s_max_ms %s\n", name, ms(percentile(painted, 1.0)).c_str());
    // Where the time goes, click to: the click handled (calculation, receipt
    // written, window shown), the first paint event, the paint handed to
    // the display.
    std::printf("%s_manejo_mediana_ms %s\n", name, ms(percentile(handled, 0.5)).c_str());
    std::printf("%s_inicio_pintura_mediana_ms %s\n", name, ms(percentile(paintStarts, 0.5)).c_str());
    std::printf("%s_fin_pintura_mediana_ms %s\n", name, ms(percentile(paintEnds, 0.5)).c_str());
    std::printf("%s_repintados_posteriores %d\n", name, extraPaints);
}

}  // namespace

int main(int argc, char* argv[])
{
    WatchingApplication application(argc, argv);
    application.setApplicationName("recibo");
    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    app::Program program;
    program.start();
    waitUntil(
        [] {
            return bench::window("ingreso")->windowHandle() && bench::window("ingreso")->windowHandle()->isExposed();
        },
        "the entry window");
    settle(200);

    bench::fullReceiptRequest();
    settle(100);
    const Click first = timedCalcular(program);
    std::printf("primer_clic_ms %s\n", ms(first.painted).c_str());

    // The receipt window open: a value changed in the entry window, then
    // "Calcular" again.
    std::vector<Click> inView;
    for (int i = 0; i < clicks; ++i) {
        bench::type("ingreso", "cantkm", i % 2 ? "100" : "120");
        settle();
        inView.push_back(timedCalcular(program));
    }

    // Back to the entry window each time, as after reading a receipt.
    std::vector<Click> afterVolver;
    for (int i = 0; i < clicks; ++i) {
        bench::click("Haberes", "Volver");
        bench::choosePosition();
        bench::type("ingreso", "cantkm", i % 2 ? "100" : "120");
        settle();
        afterVolver.push_back(timedCalcular(program));
    }

    const std::vector<Click> plain = plainWindowShown(bench::window("Haberes")->size(), clicks);

    report("tras_volver", afterVolver);
    report("a_la_vista", inView);
    report("minima", plain);
    return 0;
}
