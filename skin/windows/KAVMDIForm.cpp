#include "KAVMDIForm.h"

#include "KAVFrameSizer.h"
#include "KAVFunctions.h"
#include "KAVMainMenu.h"
#include "KAVMenu.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace {

namespace M = Kav::Metrics;
// The frame: one pixel on the left, right and bottom (the title bar is the top).
constexpr int FrameWidth = M::MdiFrameWidth;
// Control buttons: their left edges this far from the menu panel's right edge, 1 pixel down.
constexpr std::array<int, 3> ControlButtonRightOffsets{20, 38, 56};
constexpr int ControlButtonTop = 1;
// Their glyphs: frames of MDI_CONTROL_BUTTON (1 minimise, 2 restore, 3 close).
constexpr std::array<int, 3> ControlButtonFrames{3, 2, 1};
constexpr int ControlButtonFrameCount = 3;

} // namespace

Kav::TkavMdiChildEvent::TkavMdiChildEvent(QEvent::Type type, QMdiSubWindow *child) : QEvent(type), m_child(child)
{
}

QMdiSubWindow *Kav::TkavMdiChildEvent::child() const
{
    return m_child;
}

QString Kav::KavMdiTitleText(const QString &parentCaption, const QString &childCaption, bool hasActiveChild,
                             bool drawChildCaptions)
{
    if (!hasActiveChild || !drawChildCaptions || parentCaption.contains(QLatin1String(" - [")))
        return parentCaption;
    return parentCaption + QLatin1String(" - [") + childCaption + QLatin1Char(']');
}

TkavMdiSubWindow::TkavMdiSubWindow(QWidget *parent) : QMdiSubWindow(parent, Qt::SubWindow | Qt::FramelessWindowHint)
{
}

QSize TkavMdiSubWindow::minimumSizeHint() const
{
    if (isMinimized() && !isShaded() && parentWidget())
        return minimizedSize();
    return QMdiSubWindow::minimumSizeHint();
}

QSize TkavMdiSubWindow::minimizedSize() const
{
    const TkavForm *form = widget() ? widget()->findChild<TkavForm *>() : nullptr;
    const int height = form ? form->minimizedHeight() : Kav::Metrics::MenuBarHeight;
    return {Kav::MdiLayout::MinimizedWidth, height};
}

TkavMDIForm::TkavMDIForm(QWidget *window) : QObject(window), m_window(window)
{
    if (window == nullptr || !window->isWindow())
        throw EKavFormError("Sorry, TkavMDIForm must be placed on a form");
    for (const QObject *child : window->children()) {
        if (child != this && Kav::KavIsFormSkin(child))
            throw EKavFormError("Sorry, You can create only one TkavForm component in one form!");
    }
    setObjectName(QStringLiteral("TkavMDIForm"));
    window->setMinimumSize(window->minimumSize().expandedTo(M::MinimumFormSize));
    if (!(window->windowFlags() & Qt::FramelessWindowHint)) {
        const bool wasVisible = window->isVisible();
        window->setWindowFlag(Qt::FramelessWindowHint);
        if (wasVisible)
            window->show();
    }

    Kav::KavFollowWindowState(window);

    m_area = window->findChild<QMdiArea *>();
    if (!m_area)
        m_area = new QMdiArea(window);
    m_area->setParent(window);
    m_area->show();
    m_areaKey = m_area;

    m_titleBar = new TkavTitleBar(window);
    m_titleBar->setObjectName(QStringLiteral("TitleBar"));
    m_titleBar->setAlign(KavLayout::alNone); // placed with the menu bar and the area
    buildMenuPanel();
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); }, TkavLook::FirstLook::DeepBlue);

    connect(m_area, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenu();
        updateTitle();
        if (QMdiSubWindow *active = activeChild(); active && active->isMaximized())
            ShowControlButtons();
        else
            HideControlButtons();
    });
    window->installEventFilter(this);
    m_area->installEventFilter(this);
    // The keys of every control on the window.
    qApp->installEventFilter(this);
    // The sizing band is answered whatever control lies under the mouse there.
    Kav::TkavFrameSizer::Behaviour sizing;
    sizing.sizeable = [this] { return sizingNow(); };
    m_sizer = std::make_unique<Kav::TkavFrameSizer>(window, std::move(sizing));
    UpdateMenu();
    updateTitle();
    layoutWindow();
}

TkavMDIForm::~TkavMDIForm()
{
    qApp->removeEventFilter(this);
    m_sizer.reset();
    // The bars are the skin's; the area and the children stay the window's.
    delete m_menuPanel.data();
    delete m_titleBar.data();
}

void TkavMDIForm::buildMenuPanel()
{
    m_menuPanel = new QWidget(m_window);
    m_menuPanel->setObjectName(QStringLiteral("MenuPanel"));
    m_menuPanel->setAutoFillBackground(true);
    m_menuPanel->hide();
    m_menuBar = new QMenuBar(m_menuPanel);
    m_menuBar->setObjectName(QStringLiteral("MenuBar"));
    m_menuBar->setNativeMenuBar(false);
    m_menuBar->setAutoFillBackground(true);
    for (int which = CloseButton; which <= MinimizeButton; ++which) {
        auto *button = new TkavToolBarSpeedButton(m_menuPanel);
        button->setGlyph(Kav::TkavPictureStore::instance()
                             .resourcePicture(QStringLiteral("MDI_CONTROL_BUTTON"),
                                              Kav::PictureRecipe{ControlButtonFrameCount,
                                                                 ControlButtonFrames[std::size_t(which)]})
                             .image());
        button->resize(Kav::Metrics::SpeedButtonSize);
        button->hide();
        connect(button, &QAbstractButton::clicked, this, [this, which] { clickControlButton(ControlButton(which)); });
        m_controlButtons[std::size_t(which)] = button;
    }
    m_controlButtons[CloseButton]->setAccessibleName(QStringLiteral("Close"));
    m_controlButtons[RestoreButton]->setAccessibleName(QStringLiteral("Restore"));
    m_controlButtons[MinimizeButton]->setAccessibleName(QStringLiteral("Minimize"));
}

QMdiSubWindow *TkavMDIForm::addChild(QWidget *widget)
{
    if (!widget || !m_area)
        return nullptr;
    // The child's skinned form draws the frame and the title bar.
    // Made in the area as Qt makes its own: the child's form finds the area when it comes into
    // the sub-window.
    auto *sub = new TkavMdiSubWindow(m_area->viewport());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(widget);
    m_area->addSubWindow(sub);
    sub->show();
    return sub;
}

// --- look -------------------------------------------------------------------------------------

void TkavMDIForm::applyLook(const KavThemeValues &values)
{
    m_borderColor = values.color(KavKey::FormBorderColor);
    if (m_titleBar) {
        m_titleBar->setFileTheme(FileTheme());
        m_titleBar->setUIStyle(UIStyle());
        // The window has square corners: its children sit right under the frame.
        m_titleBar->setRoundCorner(0);
    }
    setMenuBarColor(values.color(KavKey::FormBackgroundColor));
    styleMainMenu();
    layoutWindow();
    if (m_window)
        m_window->update();
}

void TkavMDIForm::styleMainMenu()
{
    // The parent's own skinned menu drops down in the parent's look.
    if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data())) {
        mainMenu->setUIStyle(UIStyle());
        mainMenu->setFileTheme(FileTheme());
    }
}

void TkavMDIForm::setMenuBarColor(TColor color)
{
    m_menuBarColor = color;
    if (m_menuPanel)
        Kav::KavSetPaletteColor(m_menuPanel, QPalette::Window, color);
    if (m_menuBar)
        Kav::KavSetPaletteColor(m_menuBar, QPalette::Window, color);
    applyControlButtonLook();
}

void TkavMDIForm::applyControlButtonLook()
{
    for (TkavToolBarSpeedButton *button : m_controlButtons) {
        if (button)
            button->setColor(m_menuBarColor.resolved());
    }
}

void TkavMDIForm::setBorderColor(TColor color)
{
    m_borderColor = color;
    if (m_window)
        m_window->update();
}

// --- title ------------------------------------------------------------------------------------

QString TkavMDIForm::Caption() const
{
    return m_window ? m_window->windowTitle() : QString();
}

void TkavMDIForm::setCaption(const QString &caption)
{
    if (m_window)
        m_window->setWindowTitle(caption);
    updateTitle();
}

void TkavMDIForm::updateTitle()
{
    if (!m_titleBar)
        return;
    const QMdiSubWindow *active = activeChild();
    QString childCaption;
    if (active)
        childCaption = active->widget() ? active->widget()->windowTitle() : active->windowTitle();
    m_titleBar->setCaption(Kav::KavMdiTitleText(Caption(), childCaption, active != nullptr, m_drawChildCaptions));
}

bool TkavMDIForm::TitleBarDrawAppIcon() const
{
    return m_titleBar && m_titleBar->DrawAppIcon();
}

void TkavMDIForm::setTitleBarDrawAppIcon(bool draw)
{
    if (m_titleBar)
        m_titleBar->setDrawAppIcon(draw);
}

bool TkavMDIForm::TitleBarCustom() const
{
    return m_titleBar && m_titleBar->Custom();
}

void TkavMDIForm::setTitleBarCustom(bool custom)
{
    if (m_titleBar)
        m_titleBar->setCustom(custom);
}

void TkavMDIForm::setTitleBarVisible(bool visible)
{
    if (visible == m_titleBarVisible)
        return;
    m_titleBarVisible = visible;
    if (m_titleBar)
        m_titleBar->setVisible(visible);
    layoutWindow();
}

TkavTitleBarButtons *TkavMDIForm::TitleBarButtons() const
{
    return m_titleBar ? m_titleBar->Buttons() : nullptr;
}

void TkavMDIForm::setTitleBarButtons(const TkavTitleBarButtons *buttons)
{
    if (m_titleBar && buttons)
        m_titleBar->Buttons()->Assign(buttons);
}

TkavTitleBarSections *TkavMDIForm::TitleBarSections() const
{
    return m_titleBar ? m_titleBar->Sections() : nullptr;
}

void TkavMDIForm::setTitleBarSections(const TkavTitleBarSections *sections)
{
    if (m_titleBar && sections)
        m_titleBar->Sections()->Assign(sections);
}

void TkavMDIForm::setTitleBarDrawChildCaptions(bool draw)
{
    m_drawChildCaptions = draw;
    updateTitle();
}

void TkavMDIForm::setTitleBarDrawChildMenus(bool draw)
{
    m_drawChildMenus = draw;
    UpdateMenu();
}

// --- menu -------------------------------------------------------------------------------------

void TkavMDIForm::setMenu(QMenuBar *menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    if (menu) {
        menu->setNativeMenuBar(false);
        // Its items show in the menu bar; the bar itself stays out of sight.
        if (!menu->parent())
            menu->setParent(m_window);
        menu->hide();
        styleMainMenu();
    }
    UpdateMenu();
}

QMdiSubWindow *TkavMDIForm::activeChild() const
{
    return m_area ? m_area->activeSubWindow() : nullptr;
}

QMenuBar *TkavMDIForm::menuToShow() const
{
    const QMdiSubWindow *active = activeChild();
    if (m_drawChildMenus && m_titleBar && active && active->widget()) {
        QWidget *child = active->widget();
        if (auto *own = child->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly); own && !own->actions().isEmpty())
            return own;
        if (const TkavForm *form = child->findChild<TkavForm *>(); form && form->Menu())
            return form->Menu();
    }
    return m_menu;
}

void TkavMDIForm::UpdateMenu()
{
    if (!m_menuBar)
        return;
    QMenuBar *menu = menuToShow();
    if (m_shownMenu != menu) {
        if (m_shownMenu)
            m_shownMenu->removeEventFilter(this);
        m_shownMenu = menu;
        m_shownMenuKey = menu;
        if (menu) {
            menu->installEventFilter(this);
            // Queued: a widget says it is destroyed while it is only half gone, and pointers
            // to it are cleared only later.
            connect(menu, &QObject::destroyed, this, &TkavMDIForm::UpdateMenu,
                    Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
        }
    }
    // The bar shares the menu's top-level actions: their menus, shortcuts and states stay the
    // menu's own, and an action that goes leaves the bar by itself.
    const QList<QAction *> shownActions = m_menuBar->actions();
    for (QAction *action : shownActions)
        m_menuBar->removeAction(action);
    if (menu)
        m_menuBar->addActions(menu->actions());
    layoutWindow();
}

void TkavMDIForm::ShowMenuBar()
{
    if (m_menuPanel)
        m_menuPanel->show();
    layoutWindow();
}

void TkavMDIForm::HideMenuBar()
{
    if (m_menuPanel)
        m_menuPanel->hide();
    layoutWindow();
}

void TkavMDIForm::ShowControlButtons()
{
    const QMdiSubWindow *active = activeChild();
    const TkavForm *form = active && active->widget() ? active->widget()->findChild<TkavForm *>() : nullptr;
    if (!form || !active->isMaximized()) {
        HideControlButtons();
        return;
    }
    const TkavTitleBarButtons *buttons = form->TitleBarButtons();
    auto shows = [buttons](TkavTitleBarBtnType type) {
        for (int i = 0; i < buttons->count(); ++i) {
            if (buttons->item(i)->ButtonType() == type && buttons->item(i)->Visible())
                return true;
        }
        return false;
    };
    m_controlButtons[CloseButton]->setVisible(shows(KavTitleBar::kavClose));
    m_controlButtons[RestoreButton]->setVisible(shows(KavTitleBar::kavMax));
    m_controlButtons[MinimizeButton]->setVisible(shows(KavTitleBar::kavMin));
    m_controlButtonsShown = true;
    layoutWindow();
}

void TkavMDIForm::HideControlButtons()
{
    for (TkavToolBarSpeedButton *button : m_controlButtons)
        button->hide();
    m_controlButtonsShown = false;
    layoutWindow();
}

void TkavMDIForm::clickControlButton(ControlButton which)
{
    QMdiSubWindow *active = activeChild();
    if (!active)
        return;
    switch (which) {
    case CloseButton:
        active->close();
        break;
    case RestoreButton:
        active->showNormal();
        break;
    case MinimizeButton:
        active->showMinimized();
        break;
    }
}

// --- layout -----------------------------------------------------------------------------------

int TkavMDIForm::GetTitleBarHeight() const
{
    int height = 0;
    if (m_titleBar && m_titleBarVisible)
        height += m_titleBar->height();
    if (m_menuPanel && !m_menuPanel->isHidden())
        height += m_menuPanel->height();
    return height;
}

void TkavMDIForm::layoutWindow()
{
    if (!m_window || !m_titleBar || !m_menuPanel || !m_area)
        return;
    const QSize size = m_window->size();
    int top = 0;
    if (m_titleBarVisible) {
        m_titleBar->setGeometry(0, 0, size.width(), m_titleBar->height());
        top = m_titleBar->height();
    }
    // A maximised child without its own title bar still needs a way back: its buttons keep the
    // bar up even when there is no menu.
    const bool panelShown = m_shownMenu || m_controlButtonsShown;
    m_menuPanel->setVisible(panelShown);
    const int innerWidth = qMax(0, size.width() - 2 * FrameWidth);
    if (panelShown) {
        const int height = Kav::Metrics::MenuBarHeight;
        m_menuPanel->setGeometry(FrameWidth, top, innerWidth, height);
        const int buttonsWidth = m_controlButtonsShown ? ControlButtonRightOffsets.back() : 0;
        m_menuBar->setGeometry(0, 0, qMax(0, innerWidth - buttonsWidth), height);
        m_menuBar->setVisible(m_shownMenu != nullptr);
        for (std::size_t i = 0; i < m_controlButtons.size(); ++i) {
            m_controlButtons[i]->move(innerWidth - ControlButtonRightOffsets[i], ControlButtonTop);
            m_controlButtons[i]->raise();
        }
        top += height;
    }
    m_area->setGeometry(FrameWidth, top, innerWidth, qMax(0, size.height() - top - FrameWidth));
}

Kav::MdiLayout::Frame TkavMDIForm::layoutFrame() const
{
    Kav::MdiLayout::Frame frame;
    frame.client = m_window ? m_window->size() : QSize();
    frame.titleBarHeight = m_titleBar && m_titleBarVisible ? m_titleBar->height() : 0;
    frame.menuBarHeight = m_menuPanel && !m_menuPanel->isHidden() ? m_menuPanel->height() : 0;
    // The strips of minimised children stay visible under the tiles.
    int strip = 0;
    if (m_area) {
        for (const QMdiSubWindow *child : m_area->subWindowList()) {
            if (child->isMinimized())
                strip = std::max(strip, child->height());
        }
    }
    if (strip > 0)
        frame.minimizedHeight = strip;
    return frame;
}

QList<QMdiSubWindow *> TkavMDIForm::stackedChildren(QList<bool> *minimized) const
{
    QList<QMdiSubWindow *> children = m_area ? m_area->subWindowList(QMdiArea::StackingOrder) : QList<QMdiSubWindow *>();
    minimized->clear();
    for (const QMdiSubWindow *child : children)
        minimized->append(child->isMinimized());
    return children;
}

void TkavMDIForm::Tile(Kav::MdiLayout::TileMode mode)
{
    QList<bool> minimized;
    const QList<QMdiSubWindow *> children = stackedChildren(&minimized);
    placeChildren(children, minimized, Kav::MdiLayout::tile(layoutFrame(), minimized, mode));
}

void TkavMDIForm::Cascade()
{
    QList<bool> minimized;
    const QList<QMdiSubWindow *> children = stackedChildren(&minimized);
    placeChildren(children, minimized, Kav::MdiLayout::cascade(layoutFrame(), minimized));
}

void TkavMDIForm::placeChildren(const QList<QMdiSubWindow *> &children, const QList<bool> &minimized,
                                const QList<QRect> &bounds)
{
    // Minimised children stay where they are; a maximised one is restored before it is placed.
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (minimized.at(i))
            continue;
        if (children.at(i)->isMaximized())
            children.at(i)->showNormal();
        children.at(i)->setGeometry(bounds.at(i));
    }
}

// --- painting and events ----------------------------------------------------------------------

void TkavMDIForm::paintFrame()
{
    // Left, bottom and right; the title bar is the top.
    QPainter painter(m_window);
    const QRect r = m_window->rect();
    const QColor colour = m_borderColor.resolved(m_window->palette());
    painter.fillRect(QRect(0, 1, FrameWidth, r.height() - 1), colour);
    painter.fillRect(QRect(0, r.height() - FrameWidth, r.width(), FrameWidth), colour);
    painter.fillRect(QRect(r.width() - FrameWidth, 0, FrameWidth, r.height()), colour);
}

bool TkavMDIForm::sizingNow() const
{
    return m_window && !m_window->isMaximized() && !m_window->isFullScreen() &&
           m_window->minimumSize() != m_window->maximumSize();
}

Qt::Edges TkavMDIForm::sizingEdgesAt(const QPoint &windowPos) const
{
    return sizingNow() ? Kav::sizingEdges(m_window->size(), windowPos, M::SizingBand) : Qt::Edges();
}

bool TkavMDIForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (windowEvent(event))
            return true;
    } else if (watched == m_areaKey) {
        if (areaEvent(event))
            return true;
    } else if (watched == m_shownMenuKey) {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)
            QMetaObject::invokeMethod(this, &TkavMDIForm::UpdateMenu, Qt::QueuedConnection);
        return false;
    }
    if (watched->isWidgetType() && keyOnWindow(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool TkavMDIForm::windowEvent(QEvent *event)
{
    if (event->type() == Kav::KavWindowDragEndedEvent) {
        if (m_titleBar)
            m_titleBar->SetActive(m_window->isActiveWindow());
        return false;
    }
    switch (event->type()) {
    case QEvent::Paint:
        paintFrame();
        return false;
    case QEvent::Resize:
        layoutWindow();
        return false;
    case QEvent::WindowTitleChange:
        updateTitle();
        return false;
    case QEvent::ActivationChange:
        // Not while the window manager moves or sizes the window (it takes the keyboard for it).
        if (m_titleBar)
            m_titleBar->SetActive(m_window->isActiveWindow() || Kav::KavSystemDragActive(m_window));
        return false;
    default:
        return false;
    }
}

bool TkavMDIForm::areaEvent(QEvent *event)
{
    switch (int(event->type())) {
    case Kav::MdiRefreshEvent:
        UpdateMenu();
        updateTitle();
        return true;
    case Kav::MdiChildMaximizedEvent:
    case Kav::MdiChildRestoredEvent:
        // Children restore and maximise in either order as the active one changes: what counts
        // is whether the active child is maximised now.
        ShowControlButtons();
        return true;
    default:
        return false;
    }
}

bool TkavMDIForm::keyOnWindow(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_window || !m_window->isActiveWindow() ||
        static_cast<QWidget *>(watched)->window() != m_window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // Ctrl+F6 and Ctrl+Shift+F6 go through the children, as Ctrl+Tab does.
    if (key->key() == Qt::Key_F6 && (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        if (!m_area)
            return false;
        if (modifiers & Qt::ShiftModifier)
            m_area->activatePreviousSubWindow();
        else
            m_area->activateNextSubWindow();
        return true;
    }
    // Alt+Space: the parent's window menu under its title bar (Alt+Minus opens a child's).
    if (key->key() == Qt::Key_Space && modifiers == Qt::AltModifier && m_titleBar && m_titleBarVisible) {
        const QPoint at = m_window->mapToGlobal(QPoint(0, m_titleBar->height()));
        m_titleBar->Popup(at.x(), at.y());
        return true;
    }
    if (key->key() == Qt::Key_F10 && modifiers == Qt::NoModifier)
        return Kav::KavOpenMenuBar(m_menuBar);
    return false;
}
