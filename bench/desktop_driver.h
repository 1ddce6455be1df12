#pragma once

// Driving the desktop program's windows by name as a user would, with Qt
// Widgets alone (no Qt Test), so that the same steps can run inside the
// real `recibo` process: for the latency driver and the memory probe.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace recibo::bench {

// The top-level window with this object name, or nullptr.
inline QWidget* window(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name)
            return widget;
    return nullptr;
}

template <typename T = QWidget>
T* control(const QString& windowName, const QString& name)
{
    QWidget* top = window(windowName);
    T* found = top ? top->findChild<T*>(name) : nullptr;
    if (!found)
        qFatal("no control %s in window %s", qPrintable(name), qPrintable(windowName));
    return found;
}

inline void click(const QString& windowName, const QString& name)
{
    control<QAbstractButton>(windowName, name)->click();
}

// Replaces a box's text as a user does: everything selected, then typed key
// by key, so that every keystroke is one edit of the text.
inline void type(const QString& windowName, const QString& name, const QString& text)
{
    auto* box = control<QLineEdit>(windowName, name);
    box->selectAll();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(box, &release);
    }
    if (box->text() != text)
        qFatal("box %s in %s holds \"%s\" after typing \"%s\"", qPrintable(name), qPrintable(windowName),
               qPrintable(box->text()), qPrintable(text));
}

// The position typed by its code in "Selección de cargo", with the four
// editable point boxes filled. The base points come from the catalogue (the
// dialog does not let them be typed): 628, "Maestro Tecnológico Y
// Especialidades", 980 points, is the position nearest to 1000 points whose
// receipt, with the values of fullReceiptRequest(), fills all 26 lines.
inline void choosePosition()
{
    click("ingreso", "cargo");
    type("advertencia", "codcargo", "628");
    for (const char* box : {"compbas", "proljor", "jorcom", "tardif"})
        type("advertencia", box, "1");
    click("advertencia", "Command1");  // "Listo"
}

// The fullest receipt the entry window can ask for: every earning, every
// family allowance and all seven deductions, 26 lines.
inline void fullReceiptRequest()
{
    type("ingreso", "docente", QStringLiteral("Pérez, María Laura"));
    choosePosition();
    click("ingreso", "Option2");
    control<QComboBox>("ingreso", "zona")->setCurrentIndex(1);
    click("ingreso", "transporte");
    type("ingreso", "cantkm", "100");
    click("ingreso", "hijos");
    type("ingreso", "cantidadhijos", "2");
    click("ingreso", "hijosdisc");
    type("ingreso", "cantidadhijosdisc", "1");
    click("ingreso", "conyuge");
    click("ingreso", "inasist");
    type("ingreso", "dinasist", "1");
    for (const char* deduction : {"Iosper", "Osplad", "APORTEJUB", "Ley4035", "AGMER", "cajacomp", "Seguro3011"})
        click("ingreso", deduction);
}

// How many lines the receipt window "Haberes" shows (its visible codes).
inline int receiptLinesShown()
{
    QWidget* receipt = window("Haberes");
    if (!receipt)
        return 0;
    int shown = 0;
    for (int row = 0; row < 27; ++row) {
        // The grid's cells are not widgets: they are read through their properties.
        const auto* code = receipt->findChild<QObject*>(QStringLiteral("cod(%1)").arg(row));
        if (code && !code->property("hidden").toBool() && !code->property("text").toString().isEmpty())
            ++shown;
    }
    return shown;
}

}  // namespace recibo::bench
