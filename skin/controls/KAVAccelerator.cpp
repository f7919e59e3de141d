#include "KAVAccelerator.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QList>
#include <QShortcutEvent>
#include <QWidget>

bool Kav::KavBareAccelerator(QWidget *focus, const QKeyEvent *event)
{
    if (focus == nullptr || (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier)
        return false;
    const QString typed = event->text();
    if (typed.size() != 1 || !typed.at(0).isLetterOrNumber())
        return false;
    const QKeySequence wanted = QKeySequence::mnemonic(QStringLiteral("&") + typed);
    if (wanted.isEmpty())
        return false;
    // The buttons of the window in focus order (Qt's own order for ambiguous accelerators),
    // starting after the focused control.
    QList<QAbstractButton *> marked;
    QWidget *window = focus->window();
    for (QWidget *widget = focus->nextInFocusChain(); ; widget = widget->nextInFocusChain()) {
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if (button != nullptr && button->window() == window && button->isVisible() && button->isEnabled()
            && QKeySequence::mnemonic(button->text()) == wanted)
            marked.append(button);
        if (widget == focus)
            break;
    }
    if (marked.isEmpty())
        return false;
    // Delivered as Qt delivers an accelerator, so that each kind of button answers as it does to
    // Alt+letter (a click, or the focus when ambiguous).
    QShortcutEvent shortcut(wanted, 0, marked.size() > 1);
    QCoreApplication::sendEvent(marked.first(), &shortcut);
    return true;
}
