#pragma once

// Finding the program's windows and controls by name and acting on them as
// a user would, for the tests and the screenshot tool.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace gui {

// The top-level window with this name, or nullptr while it does not exist.
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
    return top ? top->findChild<T*>(name) : nullptr;
}

inline QLineEdit* box(const QString& windowName, const QString& name)
{
    return control<QLineEdit>(windowName, name);
}

inline QAbstractButton* button(const QString& windowName, const QString& name)
{
    return control<QAbstractButton>(windowName, name);
}

inline QString caption(const QString& windowName, const QString& name)
{
    const QLabel* label = control<QLabel>(windowName, name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

inline void click(const QString& windowName, const QString& name)
{
    QAbstractButton* target = button(windowName, name);
    if (!target)
        qFatal("no button %s in %s", qPrintable(name), qPrintable(windowName));
    target->click();
}

// Replaces the text of a box as the user would: select all, then type.
inline void type(const QString& windowName, const QString& name, const QString& text)
{
    QLineEdit* target = box(windowName, name);
    if (!target)
        qFatal("no box %s in %s", qPrintable(name), qPrintable(windowName));
    target->selectAll();
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Backspace);
    // Key by key, so that every keystroke is one change of the text.
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

}  // namespace gui

namespace gui {

// The offscreen platform reports every window operation it cannot carry
// out (raise, size hints, keyboard grab); those reports are dropped so that
// the tests' own messages stand out.
inline void quietPlatformWarnings()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
            return;
        previous(type, context, message);
    });
}

}  // namespace gui
