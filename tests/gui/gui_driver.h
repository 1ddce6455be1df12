#pragma once

// Finding the program's windows and controls by name and acting on them as
// a user would, for the tests and the screenshot tool.

#include <optional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

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

// ---- Acting where a person acts ---------------------------------------------
//
// A click goes to a point of the top-level window, through its QWindow, so
// that Qt itself finds the widget under the point; typing goes to whatever
// has the focus after that click; a tooltip comes from resting the pointer
// on a point. Each fails the test when what is under the point is not the
// intended control (covered, hidden, or off the window).

// The point of a control a person aims at: the box and text of a check box
// or option button (the empty room beside them takes no click), the middle
// of anything else.
inline QPoint aimPoint(const QWidget* control)
{
    QStyleOptionButton option;
    option.initFrom(control);
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        option.text = check->text();
        return control->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, control).center();
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(control)) {
        option.text = radio->text();
        return control->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, control).center();
    }
    return control->rect().center();
}

// The widget Qt hands a click at `point` of the top-level window `top`.
inline QWidget* widgetUnder(QWidget* top, const QPoint& point)
{
    QWidget* found = top->childAt(point);
    return found ? found : top;
}

// Whether a click at `point` of `top` reaches `control` (or a part of it,
// such as a list's text box or a text area's viewport).
inline bool reaches(QWidget* top, const QPoint& point, const QWidget* control)
{
    for (const QWidget* under = widgetUnder(top, point); under; under = under->parentWidget())
        if (under == control)
            return true;
    return false;
}

inline QString describe(const QWidget* widget)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
}

// The point of `control` in its top-level window, checked to reach it; the
// test fails (and nullopt) when another widget would take the click.
inline std::optional<QPoint> reachablePoint(const QWidget* control, const QPoint& inControl)
{
    QWidget* top = control->window();
    if (!top->isVisible() || !control->isVisible()) {
        QTest::qFail(qPrintable(QStringLiteral("%1 is not on the screen").arg(describe(control))), __FILE__, __LINE__);
        return std::nullopt;
    }
    const QPoint point = control->mapTo(top, inControl);
    if (!reaches(top, point, control)) {
        QTest::qFail(qPrintable(QStringLiteral("a click at (%1, %2) meant for %3 reaches %4")
                                    .arg(point.x())
                                    .arg(point.y())
                                    .arg(describe(control), describe(widgetUnder(top, point)))),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    return point;
}

// A click on a point of the control, as the mouse gives it.
inline bool clickAt(const QWidget* control, const QPoint& inControl)
{
    const std::optional<QPoint> point = reachablePoint(control, inControl);
    if (!point)
        return false;
    QTest::mouseClick(control->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier, *point);
    return true;
}

inline bool clickOn(const QWidget* control)
{
    return clickAt(control, aimPoint(control));
}

inline void click(const QString& windowName, const QString& name)
{
    const QWidget* target = control(windowName, name);
    if (!target)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(windowName));
    clickOn(target);
}

// A key as the keyboard sends it: to the window, and so to its focused widget.
inline void press(const QWidget* inWindow, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(inWindow->window()->windowHandle(), key, modifiers);
}

// Types `text` into whatever has the focus in the window: one keystroke per
// character, one outside the Basic Multilingual Plane (an emoji) included,
// so that no handler ever sees half of one.
inline void typeKeys(const QWidget* inWindow, const QString& text)
{
    QWindow* handle = inWindow->window()->windowHandle();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, handle, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Replaces the text of a box as a person does: a click into it, all of it
// selected, then typed over (Backspace for nothing).
inline void typeCharacters(QLineEdit* target, const QString& text)
{
    if (!clickOn(target))
        return;
    // A list's text box has the list take the focus for it.
    const QWidget* focused = target->window()->focusWidget();
    if (focused != target && focused != target->parentWidget()) {
        QTest::qFail(qPrintable(QStringLiteral("a click on %1 did not give it the focus").arg(describe(target))),
                     __FILE__, __LINE__);
        return;
    }
    press(target, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        press(target, Qt::Key_Backspace);
    typeKeys(target, text);
}

inline void type(const QString& windowName, const QString& name, const QString& text)
{
    QLineEdit* target = box(windowName, name);
    if (!target)
        qFatal("no box %s in %s", qPrintable(name), qPrintable(windowName));
    typeCharacters(target, text);
}

// Tab, as often as it takes, until `control` has the focus; false (and the
// test fails) when Tab never reaches it.
inline bool tabTo(const QWidget* control)
{
    QWidget* window = control->window();
    for (int tab = 0; tab < 64 && window->focusWidget() != control; ++tab)
        press(window, Qt::Key_Tab);
    if (window->focusWidget() != control) {
        QTest::qFail(qPrintable(QStringLiteral("Tab never reaches %1").arg(describe(control))), __FILE__, __LINE__);
        return false;
    }
    return true;
}

// Presses a button from the keyboard, as a person does when the window is
// too small to show it: Tab until it has the focus, then Space.
inline bool pressByKeyboard(const QAbstractButton* button)
{
    if (!tabTo(button))
        return false;
    press(button, Qt::Key_Space);
    return true;
}

// The title bar's close button: the window system asks the window to close.
inline void closeFromTitleBar(QWidget* window)
{
    window->windowHandle()->close();
}

// Picks an item of a list as the keyboard does: a click into the list,
// then the arrow keys from the item it shows to the one wanted.
inline void choose(QComboBox* list, int index)
{
    if (!clickOn(list))
        return;
    for (int at = list->currentIndex(); at != index; at += at < index ? 1 : -1)
        press(list, at < index ? Qt::Key_Down : Qt::Key_Up);
}

// Picks an item of a list with the mouse: a click on its arrow opens it,
// the item is brought into view, and a click on it picks it.
inline bool pickFromList(QComboBox* list, int index)
{
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const QRect arrow = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
    if (!clickAt(list, arrow.center()))
        return false;
    QAbstractItemView* items = list->view();
    if (!QTest::qWaitFor([items] { return items->isVisible(); }, 3000)) {
        QTest::qFail("the list did not open", __FILE__, __LINE__);
        return false;
    }
    const QModelIndex item = list->model()->index(index, list->modelColumn());
    items->scrollTo(item);
    return clickAt(items->viewport(), items->visualRect(item).center());
}

// A click on a row of a list of items, brought into view first as a person
// scrolls to it.
inline bool clickRow(QAbstractItemView* list, int row)
{
    const QModelIndex item = list->model()->index(row, 0);
    list->scrollTo(item);
    return clickAt(list->viewport(), list->visualRect(item).center());
}

// Pastes over what the box holds, as Ctrl+V does: one change of the text,
// cut to the box's longest text, and nothing at all in a read-only box.
inline void paste(QLineEdit* target, const QString& text)
{
    QApplication::clipboard()->setText(text);
    if (!clickOn(target))
        return;
    press(target, Qt::Key_A, Qt::ControlModifier);
    press(target, Qt::Key_V, Qt::ControlModifier);
}

// The tooltip that shows once the pointer rests on a point of a control,
// or an empty text when none shows.
inline QString hoverText(const QWidget* control, const QPoint& inControl)
{
    const std::optional<QPoint> point = reachablePoint(control, inControl);
    if (!point)
        return {};
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000)) {
        QTest::qFail("the tooltip shown before does not go away", __FILE__, __LINE__);
        return {};
    }
    QWindow* handle = control->window()->windowHandle();
    // From beside the point, so that resting there is a move.
    QTest::mouseMove(handle, *point + QPoint(2, 0));
    QTest::mouseMove(handle, *point);
    return QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000) ? QToolTip::text() : QString();
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
