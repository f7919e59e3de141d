#include "KAVTitleBarPopupMenu.h"

#include "KAVMgr.h"
#include "KAVStrings.h"
#include "KAVTitleBar.h"
#include "KAVWindowDrag.h"

#include <QAction>
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
        if (m_titleBar)
            m_titleBar->minimizeWindow();
    });
    connect(m_maximize, &QAction::triggered, this, [this] {
        if (m_titleBar)
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
        if (m_titleBar)
            m_titleBar->closeWindow();
    });
}

void TkavTitleBarPopupMenu::prepare()
{
    if (!m_titleBar)
        return;
    const TkavTitleBarButtons *buttons = m_titleBar->Buttons();
    // Hidden buttons count: a window whose close button is hidden can still be closed here.
    m_minimize->setEnabled(buttons->hasType(KavTitleBar::kavMin));
    m_maximize->setEnabled(buttons->hasType(KavTitleBar::kavMax));
    m_close->setEnabled(buttons->hasType(KavTitleBar::kavClose));
    const bool maximized = m_titleBar->formWindow()->isMaximized();
    m_move->setEnabled(!maximized);
    m_size->setEnabled(!maximized);
}

void TkavTitleBarPopupMenu::applyLook(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    setFileTheme(fileTheme);
    setUIStyle(style);
}
