#include "KAVMainMenu.h"

#include <QActionEvent>
#include <QMetaObject>
#include <QVariant>

TkavMainMenu::TkavMainMenu(QWidget *parent)
    : QMenuBar(parent), m_appearance(this)
{
    // The skinned form shows this bar itself, on every platform.
    setNativeMenuBar(false);
    // A main menu made on a window with a skinned form is that form's menu (the form knows it by
    // its Menu property; the menus know the form only by its mark).
    if (QWidget *window = parent != nullptr ? parent->window() : nullptr) {
        for (QObject *child : window->children()) {
            if (Kav::KavIsFormSkin(child)) {
                child->setProperty("Menu", QVariant::fromValue(static_cast<QMenuBar *>(this)));
                break;
            }
        }
    }
}

TkavMainMenu::~TkavMainMenu() = default;

void TkavMainMenu::MenuAdded()
{
    m_appearance.skinner()->hookTree();
    tellForm("UpdateMenu");
}

void TkavMainMenu::setUseSystemFont(bool use)
{
    m_appearance.setUseSystemFont(use);
    tellForm("RepaintMenuBar");
}

void TkavMainMenu::actionEvent(QActionEvent *event)
{
    QMenuBar::actionEvent(event);
    // The skinner has hooked a new item's drop-down already (it watches the bar's events).
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
        tellForm("UpdateMenu");
        break;
    case QEvent::ActionChanged:
        tellForm("UpdateTopMenu");
        break;
    default:
        break;
    }
}

void TkavMainMenu::tellForm(const char *method) const
{
    if (m_form.isNull())
        return;
    const QByteArray signature = QByteArray(method) + "()";
    if (m_form->metaObject()->indexOfMethod(signature.constData()) >= 0)
        QMetaObject::invokeMethod(m_form.data(), method, Qt::DirectConnection);
}
