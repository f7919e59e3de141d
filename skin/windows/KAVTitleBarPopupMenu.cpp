#include "KAVTitleBarPopupMenu.h"

#include "KAVMgr.h"
#include "KAVStrings.h"
#include "KAVTitleBar.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QVariant>

TkavTitleBarPopupMenu::TkavTitleBarPopupMenu(TkavTitleBar *titleBar) : TkavPopupMenu(titleBar), m_titleBar(titleBar)
{
    // The accelerators are part of the strings; Qt must not add its own.
    m_minimize = addAction(Kav::KavLoadString(KavString::TitleMenuItemMinimize));
    m_maximize = addAction(Kav::KavLoadString(KavString::TitleMenuItemMaximize));
    m_move = addAction(QStringLiteral("&Move"));
    m_size = addAction(QStringLiteral("&Size"));
    addSeparator();
    m_close = addAction(Kav::KavLoadString(KavString::TitleMenuItemClose));

    connect(m_minimize, &QAction::triggered, this, [this] {
        if (actsOnWindow())
            m_titleBar->minimizeWindow();
    });
    connect(m_maximize, &QAction::triggered, this, [this] {
        if (actsOnWindow())
            m_titleBar->maximizeOrRestore();
    });
    connect(m_move, &QAction::triggered, this, [this] {
        if (m_titleBar)
            Kav::KavStartKeyboardMove(m_titleBar->window());
    });
    connect(m_size, &QAction::triggered, this, [this] {
        if (m_titleBar)
            Kav::KavStartKeyboardResize(m_titleBar->window());
    });
    connect(m_close, &QAction::triggered, this, [this] {
        if (actsOnWindow())
            m_titleBar->closeWindow();
    });
}

void TkavTitleBarPopupMenu::prepare()
{
    if (!m_titleBar)
        return;
    const TkavTitleBarButtons *buttons = m_titleBar->Buttons();
    // Hidden buttons count: a window whose close button is hidden can still be closed here.
    const QWidget *window = m_titleBar->formWindow();
    m_minimize->setEnabled(buttons->hasType(KavTitleBar::kavMin) && !window->isMinimized());
    m_maximize->setEnabled(buttons->hasType(KavTitleBar::kavMax));
    m_close->setEnabled(buttons->hasType(KavTitleBar::kavClose));
    const bool maximized = window->isMaximized();
    // Only the window manager places a window on Wayland; the keyboard can still size it, unless
    // its size is fixed.
    m_move->setEnabled(!maximized && Kav::KavWindowsPlaceThemselves());
    m_size->setEnabled(!maximized && window->minimumSize() != window->maximumSize());
}

void TkavTitleBarPopupMenu::applyLook(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    setFileTheme(fileTheme);
    setUIStyle(style);
}

void TkavTitleBarPopupMenu::popupFromControlBox(const QPoint &at)
{
    prepare();
    popup(at);
    m_sinceControlBoxClick.start();
}

void TkavTitleBarPopupMenu::mousePressEvent(QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    const bool secondClick = m_titleBar && event->button() == Qt::LeftButton && m_sinceControlBoxClick.isValid() &&
        m_sinceControlBoxClick.elapsed() <= QApplication::doubleClickInterval() && !rect().contains(event->position().toPoint());
    m_sinceControlBoxClick.invalidate();
    if (secondClick) {
        const QPoint onBar = m_titleBar->mapFromGlobal(global);
        const Kav::TitleBarLayout::Result layout = m_titleBar->currentLayout();
        if (layout.controlBox >= 0 && layout.buttons.at(layout.controlBox).contains(onBar)) {
            hide();
            // Posted: the window (and this menu with it) may go, once the menu's press is over.
            QCoreApplication::postEvent(m_titleBar, new QMouseEvent(QEvent::MouseButtonDblClick, onBar, onBar, global,
                                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            return;
        }
    }
    TkavPopupMenu::mousePressEvent(event);
}
