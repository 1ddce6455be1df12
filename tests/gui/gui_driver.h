#pragma once

// Finding the program's windows and controls by name and acting on them as
// a user would, for the tests and the screenshot tool.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
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

// What a window draws without a widget of its own (the receipt grid's cells
// and rules) is an object of that name carrying a label's "text" and
// "hidden" as properties.
inline const QObject* drawnPart(const QString& windowName, const QString& name)
{
    QWidget* top = window(windowName);
    if (!top)
        return nullptr;
    for (const QObject* part : top->findChildren<QObject*>(name))
        if (!part->isWidgetType())
            return part;
    return nullptr;
}

inline QString caption(const QString& windowName, const QString& name)
{
    if (const QLabel* label = control<QLabel>(windowName, name))
        return label->text();
    if (const QObject* part = drawnPart(windowName, name))
        return part->property("text").toString();
    return QStringLiteral("<no %1>").arg(name);
}

// Whether the control, or the drawn part, is hidden.
inline bool isHidden(const QString& windowName, const QString& name)
{
    if (const QWidget* widget = control(windowName, name))
        return widget->isHidden();
    if (const QObject* part = drawnPart(windowName, name))
        return part->property("hidden").toBool();
    qFatal("no control %s in %s", qPrintable(name), qPrintable(windowName));
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

// Types into the box as a keyboard does, over what it holds: one keystroke
// per character, a character outside the Basic Multilingual Plane (an emoji)
// included, so that no handler ever sees half of one.
inline void typeCharacters(QLineEdit* target, const QString& text)
{
    target->selectAll();
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Backspace);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Pastes over what the box holds, as Ctrl+V does: one change of the text,
// cut to the box's longest text, and nothing at all in a read-only box.
inline void paste(QLineEdit* target, const QString& text)
{
    QApplication::clipboard()->setText(text);
    target->selectAll();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace gui

namespace gui {

// The offscreen platform reports every window operation it cannot carry
// out (raise, size hints, keyboard grab); those reports are dropped so that
// the tests' own messages stand out.
// Also keeps the tests off the user's own settings (the scale and the
// planillas remembered), and each test program off the others' that run at
// the same time: settings in a folder of the process's own.
inline void quietPlatformWarnings()
{
    QStandardPaths::setTestModeEnabled(true);
    static const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
            return;
        previous(type, context, message);
    });
}

}  // namespace gui
