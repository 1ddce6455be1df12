#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include "scales/scale.h"

class QMenu;
class QWidget;

namespace recibo::app {

// The pay scale the desktop program computes with, chosen in the entry
// window's "Escala" menu: the built-in scale, "Abrir escala…" or one of the
// scale files opened before. The choice is remembered between runs; a file
// that is refused changes nothing, and a remembered file that is gone or no
// longer sound gives way to the built-in scale, with a message.
class ScaleChoice : public QObject {
    Q_OBJECT
public:
    // Fills `menu`; messages open over `window`.
    ScaleChoice(QMenu* menu, QWidget* window);

    const scales::Scale& current() const { return *current_; }
    // The same, for what outlives a change of scale.
    std::shared_ptr<const scales::Scale> shared() const { return current_; }

    // The scales the user knows besides the chosen one: the built-in scale
    // and the files opened before that can still be read; for telling
    // whether a payslip was computed with another scale.
    std::vector<std::shared_ptr<const scales::Scale>> otherScales() const;

    // The choice remembered from the last run.
    void restore();
    // The scale file at `path` (the built-in scale for an empty path) as the
    // chosen scale; false, with the reason shown, when it cannot be used.
    bool choose(const QString& path);

signals:
    // After the chosen scale changed; the previous one lives until the
    // handlers have returned.
    void changed();

private:
    void openFile();
    void fillMenu();
    void remember() const;
    void warn(const QString& text) const;

    QMenu* menu_;
    QWidget* window_;
    std::shared_ptr<const scales::Scale> current_;
    QString currentPath_;  // empty for the built-in scale
    QStringList recent_;   // scale files opened before, the latest first
    // The scale files of otherScales() as last read, and when they were changed.
    struct Known {
        std::shared_ptr<const scales::Scale> scale;
        QDateTime modified;
    };
    mutable std::map<QString, Known> known_;
};

}  // namespace recibo::app
