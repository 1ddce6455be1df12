// Peak resident memory of an unchanged desktop program, read from inside it:
// a small library loaded into the program with LD_PRELOAD, which starts with
// the program's QApplication, works the windows as a user would and reads
// the process's own /proc/self/status.
//
//   RECIBO_SONDA=recibo RECIBO_SONDA_SALIDA=FILE LD_PRELOAD=librecibo_memory_probe.so recibo
//       once "Ingreso de datos" is on the display: its memory; then the
//       fullest receipt (26 lines) asked for and "Calcular" clicked; once
//       "Haberes" is on the display and painted: the memory again;
//   RECIBO_SONDA=ventana ... PROGRAM
//       once the program's window is on the display and painted: its memory.
//
// Writes "name value" lines to FILE (kilobytes; VmHWM is the peak resident
// set) and ends the program through its own event loop. With
// RECIBO_SONDA_SMAPS=FILE2 it also copies /proc/self/smaps there at the end:
// where the memory is, mapping by mapping, to compare two programs.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

#include "desktop_driver.h"

namespace {

using namespace recibo;

// The peak and the current resident set, in kB, read together from
// /proc/self/status.
struct Memory {
    long peakKilobytes = -1;      // VmHWM
    long residentKilobytes = -1;  // VmRSS
};

Memory memory()
{
    std::ifstream status("/proc/self/status");
    Memory read;
    std::string name;
    while (status >> name) {
        if (name == "VmHWM:")
            status >> read.peakKilobytes;
        else if (name == "VmRSS:")
            status >> read.residentKilobytes;
        status.ignore(1 << 16, '\n');
    }
    return read;
}

// Labels, boxes, buttons, lists and frames of a window (the box inside an
// editable list counted with its list).
int controlsOf(const QWidget* window)
{
    int count = 0;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (qobject_cast<const QLineEdit*>(widget) && qobject_cast<const QComboBox*>(widget->parentWidget()))
            continue;
        if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QLineEdit*>(widget)
            || qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget)
            || qobject_cast<const QGroupBox*>(widget))
            ++count;
    }
    return count;
}

bool onDisplay(const QWidget* window)
{
    return window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

class Probe {
public:
    Probe(std::string mode, std::string output) : mode_(std::move(mode)), output_(std::move(output)) {}

    void start()
    {
        if (mode_ == "recibo")
            whenOnDisplay([] { return bench::window("ingreso"); }, [this] { onEntryShown(); });
        else
            whenOnDisplay([] { return firstWindow(); }, [this] { finish(firstWindow()); });
    }

private:
    static QWidget* firstWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                return widget;
        return nullptr;
    }

    // Runs `then` once the window is on the display and has had time to
    // paint.
    void whenOnDisplay(std::function<QWidget*()> window, std::function<void()> then)
    {
        if (onDisplay(window())) {
            QTimer::singleShot(kPaintTimeMs, qApp, then);
            return;
        }
        QTimer::singleShot(kPollMs, qApp, [this, window, then] { whenOnDisplay(window, then); });
    }

    void onEntryShown()
    {
        const Memory atStart = memory();
        lines_ += "al_abrir_VmHWM_kB " + std::to_string(atStart.peakKilobytes) + "\n";
        lines_ += "al_abrir_VmRSS_kB " + std::to_string(atStart.residentKilobytes) + "\n";
        lines_ += "controles_ingreso " + std::to_string(controlsOf(bench::window("ingreso"))) + "\n";
        bench::fullReceiptRequest();
        bench::click("ingreso", "Command1");
        whenOnDisplay([] { return bench::window("Haberes"); },
                      [this] {
                          lines_ += "lineas_recibo " + std::to_string(bench::receiptLinesShown()) + "\n";
                          finish(bench::window("Haberes"));
                      });
    }

    void finish(QWidget* window)
    {
        const Memory now = memory();
        lines_ += "VmHWM_kB " + std::to_string(now.peakKilobytes) + "\n";
        lines_ += "VmRSS_kB " + std::to_string(now.residentKilobytes) + "\n";
        if (mode_ != "recibo")
            lines_ += "controles " + std::to_string(controlsOf(window)) + "\n";
        std::ofstream(output_) << lines_;
        if (const char* smaps = std::getenv("RECIBO_SONDA_SMAPS")) {
            std::ifstream in("/proc/self/smaps");
            std::ofstream(smaps) << in.rdbuf();
        }
        QCoreApplication::exit(0);
    }

    static constexpr int kPollMs = 10;
    static constexpr int kPaintTimeMs = 300;

    std::string mode_;
    std::string output_;
    std::string lines_;
};

void startProbe()
{
    const char* mode = std::getenv("RECIBO_SONDA");
    const char* output = std::getenv("RECIBO_SONDA_SALIDA");
    if (!mode || !output || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    static Probe probe(mode, output);
    // Once the program's own start-up has run and its event loop turns.
    QTimer::singleShot(0, qApp, [] { probe.start(); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
