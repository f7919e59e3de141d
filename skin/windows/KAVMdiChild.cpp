#include "KAVMdiChild.h"

#include "KAVForm.h"
#include "KAVFrameSizer.h"
#include "KAVMDIForm.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVWindowDrag.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

TkavMdiChild::TkavMdiChild(TkavForm *form, QMdiSubWindow *subWindow)
    : QObject(nullptr), m_form(form), m_subWindow(subWindow), m_area(subWindow->mdiArea())
{
    QWidget *frame = form->ownerForm();
    Kav::TkavFrameSizer::Behaviour sizing;
    sizing.sizeable = [this] { return m_form->sizeable(); };
    sizing.start = [this](Qt::Edges edges, const QPoint &global) {
        if (QMdiSubWindow *sub = this->subWindow())
            m_drag = {true, edges, global, sub->geometry()};
    };
    sizing.yields = [this](const QPoint &global) { return parentSizesAt(global); };
    m_sizer = std::make_unique<Kav::TkavFrameSizer>(frame, std::move(sizing));
    // Installed after the sizer's, so seen first: a drag under way, and the title bar's presses,
    // come before sizing.
    qApp->installEventFilter(this);
    form->TitleBar()->setRoundCorner(0); // a sub-window is not shaped
    takeWindowMenu();
    connect(subWindow, &QMdiSubWindow::windowStateChanged, this, [this] { followState(); });
    followState();
}

TkavMdiChild::~TkavMdiChild()
{
    qApp->removeEventFilter(this);
    giveWindowMenuBack();
}

QMdiSubWindow *TkavMdiChild::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(m_subWindow.data());
}

void TkavMdiChild::refreshParent()
{
    postToArea(Kav::MdiRefreshEvent);
}

void TkavMdiChild::formGoing()
{
    postToArea(Kav::MdiRefreshEvent);
    if (m_maximized)
        postToArea(Kav::MdiChildRestoredEvent);
}

void TkavMdiChild::postToArea(QEvent::Type type)
{
    if (!m_area)
        return;
    // Posted: the parent looks at the children once this one has finished changing (or gone).
    QCoreApplication::postEvent(m_area, new Kav::TkavMdiChildEvent(type, subWindow()));
}

// --- state ------------------------------------------------------------------------------------

void TkavMdiChild::followState()
{
    QMdiSubWindow *sub = subWindow();
    if (!sub)
        return;
    QWidget *owner = m_form->ownerForm();
    TkavTitleBar *titleBar = m_form->TitleBar();
    const Qt::WindowStates state = sub->windowState();
    const bool minimized = state.testFlag(Qt::WindowMinimized);
    if (minimized != m_minimized) {
        // The strip and back: the title bar shows restore in place of minimise. The window's
        // minimum size would keep it taller than the strip meanwhile.
        m_minimized = minimized;
        if (minimized) {
            m_minimumBeforeStrip = owner->minimumSize();
            owner->setMinimumSize(0, 0);
        } else {
            owner->setMinimumSize(m_minimumBeforeStrip);
        }
        m_form->layoutInOwner();
        titleBar->ProcessMaxBtn();
    }
    const bool active = state.testFlag(Qt::WindowActive);
    if (active != m_active) {
        m_active = active;
        titleBar->SetActive(active);
        if (active)
            refreshParent();
    }
    // However many resizes arrive, the title bar goes (and the contents move up) once, and comes
    // back once.
    const bool maximized = state.testFlag(Qt::WindowMaximized);
    if (maximized == m_maximized)
        return;
    m_maximized = maximized;
    m_form->layoutInOwner();
    titleBar->ProcessMaxBtn();
    postToArea(maximized ? Kav::MdiChildMaximizedEvent : Kav::MdiChildRestoredEvent);
}

void TkavMdiChild::maximizeOrRestore()
{
    if (QMdiSubWindow *sub = subWindow()) {
        if (sub->isMaximized() || sub->isMinimized())
            sub->showNormal();
        else
            sub->showMaximized();
    }
}

void TkavMdiChild::minimizeOrRestore()
{
    // On the strip of a minimised child the minimise button restores it.
    if (QMdiSubWindow *sub = subWindow()) {
        if (sub->isMinimized())
            sub->showNormal();
        else
            sub->showMinimized();
    }
}

bool TkavMdiChild::parentSizesAt(const QPoint &global) const
{
    QWidget *parent = m_form->ownerForm() ? m_form->ownerForm()->window() : nullptr;
    const auto *mdi = parent ? parent->findChild<TkavMDIForm *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return mdi && mdi->sizingEdgesAt(parent->mapFromGlobal(global));
}

// --- window menu ------------------------------------------------------------------------------

void TkavMdiChild::takeWindowMenu()
{
    TkavTitleBarPopupMenu *menu = m_form->TitleBar()->windowMenu();
    // Moving and sizing from the keyboard are for top-level windows only.
    menu->moveAction()->setVisible(false);
    menu->sizeAction()->setVisible(false);
    menu->handOverWindowActions(this);
    connect(menu->minimizeAction(), &QAction::triggered, this, [this] {
        if (QMdiSubWindow *sub = subWindow())
            sub->showMinimized(); // disabled while it is minimised
    });
    connect(menu->maximizeAction(), &QAction::triggered, this, [this] { maximizeOrRestore(); });
    connect(menu->closeAction(), &QAction::triggered, this, [this] {
        if (QMdiSubWindow *sub = subWindow())
            sub->close();
    });
}

void TkavMdiChild::giveWindowMenuBack()
{
    // A form taken out of its sub-window acts on its window as before.
    TkavTitleBar *titleBar = m_form->TitleBar();
    if (!titleBar)
        return;
    TkavTitleBarPopupMenu *menu = titleBar->windowMenu();
    menu->moveAction()->setVisible(true);
    menu->sizeAction()->setVisible(true);
    menu->handOverWindowActions(nullptr);
}

// --- events -----------------------------------------------------------------------------------

bool TkavMdiChild::eventFilter(QObject *watched, QEvent *event)
{
    if (!subWindow())
        return false;
    if (m_drag.active && dragEvent(event))
        return true;
    if (watched == m_form->TitleBar() && titleBarEvent(event))
        return true;
    return windowMenuKey(event);
}

bool TkavMdiChild::windowMenuKey(QEvent *event)
{
    // Alt+Minus opens the window menu of the active child, under its own title bar (Alt+Space
    // is the parent's).
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    QWidget *owner = m_form->ownerForm();
    if (!owner || !owner->isActiveWindow() || !m_active || !m_form->titleBarShown() ||
        key->modifiers() != Qt::AltModifier || key->key() != Qt::Key_Minus)
        return false;
    const QPoint at = owner->mapToGlobal(QPoint(0, m_form->TitleBar()->height()));
    m_form->TitleBar()->Popup(at.x(), at.y());
    return true;
}

bool TkavMdiChild::titleBarEvent(QEvent *event)
{
    // The title bar acts on its top-level window; the child takes the presses that would move,
    // maximise, minimise or close and does them on the sub-window.
    const auto type = event->type();
    if (m_resettingTitleBar || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
                                type != QEvent::MouseButtonDblClick))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    QMdiSubWindow *sub = subWindow();
    TkavTitleBar *titleBar = m_form->TitleBar();
    const int hot = Kav::TitleBarLayout::buttonAt(titleBar->currentLayout(), mouse->position().toPoint());
    const TkavTitleBarButton *button = titleBar->Buttons()->item(hot);
    const TkavTitleBarBtnType buttonType = button ? button->ButtonType() : KavTitleBar::kavCustom;
    const bool windowButton = buttonType == KavTitleBar::kavMax || buttonType == KavTitleBar::kavMin ||
        buttonType == KavTitleBar::kavClose;
    if (QMdiArea *area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    if (type == QEvent::MouseButtonPress) {
        m_pressedButton = hot;
        if (hot >= 0 || sub->isMaximized())
            return false; // the bar shows the button pressed
        m_drag = {true, {}, mouse->globalPosition().toPoint(), sub->geometry()};
        return true;
    }
    if (type == QEvent::MouseButtonDblClick) {
        if (hot < 0) {
            if (titleBar->Buttons()->hasType(KavTitleBar::kavMax))
                maximizeOrRestore();
            return true;
        }
        if (buttonType == KavTitleBar::kavControlBox) {
            sub->close();
            return true;
        }
        return false;
    }
    // Release: a click on a window button is the child's; the bar only forgets its press.
    const bool click = windowButton && hot == m_pressedButton;
    m_pressedButton = -1;
    if (!click)
        return false;
    m_resettingTitleBar = true;
    QMouseEvent away(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1), mouse->globalPosition(),
                     Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(titleBar, &away);
    m_resettingTitleBar = false;
    switch (buttonType) {
    case KavTitleBar::kavMax:
        maximizeOrRestore();
        break;
    case KavTitleBar::kavMin:
        minimizeOrRestore();
        break;
    default:
        sub->close();
        break;
    }
    return true;
}

bool TkavMdiChild::dragEvent(QEvent *event)
{
    QMdiSubWindow *sub = subWindow();
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            // The button went up where the child did not see it: the drag is over.
            m_drag.active = false;
            return false;
        }
        const QPoint delta = mouse->globalPosition().toPoint() - m_drag.startGlobal;
        if (!m_drag.edges)
            sub->move(m_drag.startGeometry.topLeft() + delta);
        else
            sub->setGeometry(Kav::KavResizedGeometry(m_drag.startGeometry, m_drag.edges, delta, sub->minimumSize(),
                                                     sub->maximumSize()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_drag.active = false;
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            return false;
        sub->setGeometry(m_drag.startGeometry);
        m_drag.active = false;
        return true;
    default:
        return false;
    }
}
