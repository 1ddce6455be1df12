#include "reading_progress.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include "widgets/window_helpers.h"

namespace recibo::app {

OpenedPlanilla openShowingProgress(QWidget* parent, const QString& path, int patienceMs, const PlanillaOpening& open)
{
    constexpr int kSteps = 1000;
    std::atomic<std::size_t> done{0}, total{1};
    std::atomic<bool> stop{false};
    std::optional<OpenedPlanilla> opened;
    QEventLoop loop;
    std::thread reader([&] {
        opened.emplace(open(path, [&](std::size_t now, std::size_t of) {
            done = now;
            total = of;
            return !stop;
        }));
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // The dialog is made only once the reading has taken its time.
    std::unique_ptr<QProgressDialog> progress;
    QTimer patience;
    patience.setSingleShot(true);
    QObject::connect(&patience, &QTimer::timeout, [&] {
        progress =
            std::make_unique<QProgressDialog>(QStringLiteral("Leyendo la planilla %1…").arg(QFileInfo(path).fileName()),
                                              QStringLiteral("Cancelar"), 0, kSteps, parent);
        progress->setObjectName(QStringLiteral("leyendoplanilla"));
        progress->setWindowTitle(QStringLiteral("Abrir planilla"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        QObject::connect(progress.get(), &QProgressDialog::canceled, [&] { stop = true; });
        widgets::showOver(progress.get(), parent->window());
    });
    patience.start(patienceMs);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (progress && !stop)
            progress->setValue(static_cast<int>(done * kSteps / std::max<std::size_t>(total, 1)));
    });
    tick.start(50);

    loop.exec();
    reader.join();
    return std::move(*opened);
}

}  // namespace recibo::app
