#include "scale_choice.h"

#include "settings.h"

#include <variant>

#include <QActionGroup>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace recibo::app {

namespace {

constexpr int kRecentFiles = 5;
constexpr const char* kCurrentKey = "escala/archivo";
constexpr const char* kRecentKey = "escala/recientes";

// The built-in scale lives as long as the program: it is shared, not copied.
std::shared_ptr<const scales::Scale> builtIn()
{
    return std::shared_ptr<const scales::Scale>(std::shared_ptr<const scales::Scale>(), &scales::builtInScale());
}

}  // namespace

ScaleChoice::ScaleChoice(QMenu* menu, QWidget* window) : menu_(menu), window_(window), current_(builtIn())
{
    fillMenu();
}

void ScaleChoice::restore()
{
    QSettings stored = programSettings();
    recent_ = stored.value(kRecentKey).toStringList().mid(0, kRecentFiles);
    const QString path = stored.value(kCurrentKey).toString();
    if (path.isEmpty()) {
        fillMenu();
        return;
    }
    auto read = scales::readScaleFile(path.toStdString());
    if (const auto* problem = std::get_if<Unusable>(&read)) {
        currentPath_.clear();
        remember();
        fillMenu();
        warn("No se pudo usar la escala elegida la última vez. " + QString::fromStdString(problem->message)
             + " Se calcula con la escala incluida, «" + QString::fromStdString(current_->name)
             + "»; para volver a esa escala, corregí el archivo y elegilo en el menú «Escala».");
        return;
    }
    const auto previous = std::move(current_);
    current_ = std::make_shared<const scales::Scale>(std::move(std::get<scales::Scale>(read)));
    currentPath_ = path;
    fillMenu();
    emit changed();
}

bool ScaleChoice::choose(const QString& path)
{
    std::shared_ptr<const scales::Scale> next;
    if (path.isEmpty()) {
        next = builtIn();
    } else {
        auto read = scales::readScaleFile(path.toStdString());
        if (const auto* problem = std::get_if<Unusable>(&read)) {
            fillMenu();  // the check marks back on the scale in use
            warn(QString::fromStdString(problem->message) + " Se sigue calculando con «"
                 + QString::fromStdString(current_->name) + "».");
            return false;
        }
        next = std::make_shared<const scales::Scale>(std::move(std::get<scales::Scale>(read)));
        recent_.removeAll(path);
        recent_.prepend(path);
        while (recent_.size() > kRecentFiles)
            recent_.removeLast();
    }
    const auto previous = std::move(current_);
    current_ = std::move(next);
    currentPath_ = path;
    remember();
    fillMenu();
    emit changed();
    return true;
}

std::vector<std::shared_ptr<const scales::Scale>> ScaleChoice::otherScales() const
{
    std::vector<std::shared_ptr<const scales::Scale>> others;
    if (!currentPath_.isEmpty())
        others.push_back(builtIn());
    for (const QString& path : recent_) {
        if (path == currentPath_)
            continue;
        // Read again only when the file changed: "Calcular" asks each time.
        const QDateTime modified = QFileInfo(path).lastModified();
        Known& known = known_[path];
        if (!known.scale || known.modified != modified) {
            auto read = scales::readScaleFile(path.toStdString());
            auto* scale = std::get_if<scales::Scale>(&read);
            known = {scale ? std::make_shared<const scales::Scale>(std::move(*scale)) : nullptr, modified};
        }
        if (known.scale)
            others.push_back(known.scale);
    }
    return others;
}

void ScaleChoice::openFile()
{
    const QString path = QFileDialog::getOpenFileName(window_, "Abrir escala", QFileInfo(currentPath_).path(),
                                                      "Escalas salariales (*.toml);;Todos los archivos (*)");
    if (!path.isEmpty())
        choose(path);
}

void ScaleChoice::fillMenu()
{
    menu_->clear();
    auto* group = new QActionGroup(menu_);
    const auto add = [&](const QString& text, const QString& path) {
        QAction* action = menu_->addAction(text);
        action->setCheckable(true);
        action->setChecked(path == currentPath_);
        action->setToolTip(path);
        group->addAction(action);
        // Queued: choosing refills the menu, which deletes this action.
        connect(
            action, &QAction::triggered, this,
            [this, path] {
                if (path != currentPath_)
                    choose(path);
            },
            Qt::QueuedConnection);
    };
    add(QString::fromStdString(scales::builtInScale().name) + " (incluida)", {});
    if (!currentPath_.isEmpty() || !recent_.isEmpty())
        menu_->addSeparator();
    for (const QString& path : recent_)
        add(QFileInfo(path).fileName() + (path == currentPath_ ? " — " + QString::fromStdString(current_->name) : ""),
            path);
    menu_->addSeparator();
    QAction* open = menu_->addAction("&Abrir escala…");
    open->setObjectName("abrirEscala");
    connect(open, &QAction::triggered, this, &ScaleChoice::openFile, Qt::QueuedConnection);
}

void ScaleChoice::remember() const
{
    QSettings stored = programSettings();
    stored.setValue(kCurrentKey, currentPath_);
    stored.setValue(kRecentKey, recent_);
}

void ScaleChoice::warn(const QString& text) const
{
    auto* box = new QMessageBox(QMessageBox::Warning, "Escala no válida", text, QMessageBox::Ok, window_);
    box->setObjectName("escalanovalida");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    // Once the event loop runs: at start-up, over the entry window shown by then.
    QTimer::singleShot(0, box, &QWidget::show);
}

}  // namespace recibo::app
