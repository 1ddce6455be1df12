#pragma once

#include <QAccessibleWidget>

namespace recibo::receipt {

// The receipt window and its frame as screen readers find them: their
// controls without the drawing aids, which are controls of their own but
// say nothing (the frame's ruled lines, and the margin boxes shown only on
// paper); read one by one, they are a dozen blank stops in every review.
class WindowAccessible : public QAccessibleWidget {
public:
    // Installed once, before the window is built: the ReceiptWindow and its
    // ReceiptFrame are read through a WindowAccessible.
    static void installFactory();

    // Marks `control` as a drawing aid, left out of its parent's children.
    static void leaveUnread(QWidget* control);

    WindowAccessible(QWidget* widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> readChildren() const;
};

}  // namespace recibo::receipt
