#pragma once

#include <QWidget>

namespace recibo::entry {

// The notice "Error de selección": shown when "Calcular" is pressed with no
// kind of employment chosen; "Aceptar", Enter or Escape hides it.
class NoticeWindow : public QWidget {
    Q_OBJECT
public:
    explicit NoticeWindow(QWidget* parent = nullptr);

    // Shows the notice, modeless, in front of the window it is about.
    void showOver(QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace recibo::entry
