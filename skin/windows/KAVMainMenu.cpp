#include "KAVMainMenu.h"

#include <QActionEvent>

TkavMainMenu::TkavMainMenu(QWidget *parent) : QMenuBar(parent), m_appearance(this)
{
    // The skinned form shows this bar itself, on every platform.
    setNativeMenuBar(false);
    // A main menu made on a window with a skinned form is that form's menu.
    if (QWidget *window = parent != nullptr ? parent->window() : nullptr) {
        for (QObject *child : window->children()) {
            if (auto *host = dynamic_cast<TkavMenuHost *>(child)) {
                host->setMenu(this);
                break;
            }
        }
    }
}

TkavMainMenu::~TkavMainMenu() = default;

void TkavMainMenu::MenuAdded()
{
    m_appearance.skinner()->hookTree();
    Q_EMIT itemsChanged();
}

void TkavMainMenu::setUseSystemFont(bool use)
{
    m_appearance.setUseSystemFont(use);
    Q_EMIT fontChanged();
}

void TkavMainMenu::actionEvent(QActionEvent *event)
{
    QMenuBar::actionEvent(event);
    // The skinner has hooked a new item's drop-down already (it watches the bar's events).
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
        Q_EMIT itemsChanged();
        break;
    case QEvent::ActionChanged:
        Q_EMIT itemChanged();
        break;
    default:
        break;
    }
}
