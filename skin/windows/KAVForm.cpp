#include "KAVForm.h"

#include "KAVErrorBox.h"
#include "KAVFunctions.h"
#include "KAVMDIForm.h"
#include "KAVMainMenu.h"
#include "KAVMainWindowFrame.h"
#include "KAVMenu.h"
#include "KAVMetrics.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

// The window keeps at least this much room for the title bar's buttons and a border.
constexpr QSize MinimumOwnerSize{125, 50};
// Width of the band along the window's edges that sizes the window.
constexpr int SizingBand = 5;

// An MDI child leaves this much more border at its right and bottom.
constexpr int MdiChildInset = 3;

bool fixedSize(const QWidget *window)
{
    return window->minimumSize() == window->maximumSize();
}

// The widget a form on parent skins: the widget shown in an MDI sub-window when parent lies in
// one, else parent's window.
QWidget *formOwnerOf(QWidget *parent)
{
    for (QWidget *widget = parent; widget; widget = widget->parentWidget()) {
        if (qobject_cast<QMdiSubWindow *>(widget->parentWidget()) || widget->isWindow())
            return widget;
    }
    return nullptr;
}

} // namespace

TkavForm::TkavForm(QWidget *parent) : TkavPlatformPanel(parent), m_owner(formOwnerOf(parent))
{
    if (m_owner) {
        for (const QObject *child : m_owner->children()) {
            if (child != this && Kav::KavIsFormSkin(child))
                throw EKavFormError("Sorry, You can create only one TkavForm component in one form!");
        }
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_titleBar = new TkavTitleBar(this);
    m_titleBar->setObjectName(QStringLiteral("TitleBar"));
    m_titleBar->setAlign(KavLayout::alNone); // the form places its bars itself
    connect(m_titleBar, &TkavTitleBar::OnCustomBtnsClick, this, &TkavForm::OnTitleBarCustomBtnsClick);
    connect(m_titleBar, &TkavTitleBar::OnHelpBtnClick, this, &TkavForm::OnTitleBarHelpBtnClick);
    m_menuBarColor = Color();
    setUIStyle(TkavUIStyle::DeepBlue);
    adoptOwner();
}

TkavForm::~TkavForm()
{
    qApp->removeEventFilter(this);
    // The parent shows another child's menu and title now (and takes its buttons down).
    if (m_mdiArea) {
        postToMdiArea(Kav::MdiRefreshEvent);
        if (m_mdiMaximized)
            postToMdiArea(Kav::MdiChildRestoredEvent);
    }
    if (m_menu) {
        // The menu bar goes with the form's children, after this destructor: it must not call
        // back into the form then.
        disconnect(m_menu, nullptr, this, nullptr);
        if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data()))
            mainMenu->setForm(nullptr);
    }
    if (m_owner)
        m_owner->update();
}

void TkavForm::adoptOwner()
{
    if (!m_owner)
        return;
    if (!fixedSize(m_owner))
        m_owner->setMinimumSize(m_owner->minimumSize().expandedTo(MinimumOwnerSize));
    const bool wasVisible = m_owner->isVisible();
    if (m_owner->isWindow() && !(m_owner->windowFlags() & Qt::FramelessWindowHint)) {
        m_owner->setWindowFlag(Qt::FramelessWindowHint);
        if (wasVisible)
            m_owner->show();
    }
    m_adopted = m_owner != this;
    if (m_owner->isWindow())
        Kav::KavFollowWindowState(m_owner);
    setCaption(m_owner->windowTitle());
    if (QMenuBar *bar = Kav::KavMainWindowMenuBar(m_owner))
        setMenu(bar);
    // One application filter sees the window's own events and those of every control on it (a
    // control under the mouse at the window's edge gets the mouse, not the window).
    qApp->installEventFilter(this);
    followSubWindow();
    layoutInOwner();
}

// --- look -------------------------------------------------------------------------------------

void TkavForm::setUIStyle(TkavUIStyle style)
{
    // An MDI child keeps its place and size in the parent whatever border the look brings.
    QMdiSubWindow *sub = subWindow();
    const QRect subBounds = sub ? sub->geometry() : QRect();
    m_look.setUIStyle(style);
    const KavThemeValues values = m_look.values();
    setBorderColor(values.color(KavKey::FormBorderColor));
    setBorderWidth(values.integer(KavKey::FormBorderWidthInt));
    setColor(values.color(KavKey::FormBackgroundColor));
    m_menuBarColor = Color();
    const bool patterned = !values.usesFile() && (values.resolvedStyle() == TkavUIStyle::MacOS ||
                                                  values.resolvedStyle() == TkavUIStyle::Protein);
    m_backgroundPattern = patterned ? Kav::TkavPictureStore::instance().resourcePicture(
                                          values.resolvedStyle() == TkavUIStyle::MacOS
                                              ? QStringLiteral("MACOS_FORM_BACKGROUND")
                                              : QStringLiteral("PROTEIN_FORM_BACKGROUND"))
                                    : Kav::TkavPicture();
    m_titleBar->setFileTheme(FileTheme());
    m_titleBar->setUIStyle(style);
    if (subWindow())
        m_titleBar->setRoundCorner(0); // a sub-window is not shaped
    if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data())) {
        mainMenu->setUIStyle(style);
        mainMenu->setFileTheme(FileTheme());
    }
    styleMenuBar();
    if (m_autoUpdateSub)
        ContainerApplyUIStyle(this, style, FileTheme());
    if (sub && !sub->isMaximized() && !sub->isMinimized())
        sub->setGeometry(subBounds);
    layoutInOwner();
    update();
}

void TkavForm::setFileTheme(TkavFileTheme *fileTheme)
{
    if (fileTheme == FileTheme())
        return;
    m_look.setFileTheme(fileTheme, this, [this] { fileThemeRemoved(); });
    setUIStyle(UIStyle());
}

void TkavForm::fileThemeRemoved()
{
    ContainerApplyUIStyle(this, TkavUIStyle::DeepBlue, nullptr);
    setUIStyle(TkavUIStyle::DeepBlue);
}

// --- sizes ------------------------------------------------------------------------------------

void TkavForm::setBorderColor(TColor color)
{
    m_borderColor = color;
    if (m_owner)
        m_owner->update();
}

void TkavForm::setBorderWidth(int width)
{
    width = qMax(0, width);
    if (width == m_borderWidth)
        return;
    // The form's size as its window gives it (its own geometry is stale while the window is
    // hidden and has not laid it out yet).
    QSize keep = size();
    if (m_adopted && m_owner && m_owner != this) {
        const int top = titleBarShown() ? 0 : m_borderWidth;
        const int inset = subWindow() && !subWindow()->isMinimized() ? MdiChildInset : 0;
        keep = QSize(m_owner->width() - 2 * m_borderWidth - inset, m_owner->height() - m_borderWidth - top - inset);
    }
    m_borderWidth = width;
    // The window follows the border, so the form keeps its size (once the form is on its window).
    // A maximised or minimised window keeps the size it was given.
    if (m_adopted && keep.isValid() && !keep.isEmpty() && ownerSizeIsItsOwn()) {
        setWidth(keep.width());
        setHeight(keep.height());
    }
    layoutInOwner();
    if (m_owner)
        m_owner->update();
}

bool TkavForm::ownerSizeIsItsOwn() const
{
    const QWidget *window = subWindow() ? static_cast<QWidget *>(subWindow()) : m_owner.data();
    return window && !(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

void TkavForm::setWidth(int width)
{
    if (!m_owner || m_owner == this)
        return;
    resizeOwner(QSize(width + 2 * m_borderWidth, m_owner->height()));
    layoutInOwner();
}

int TkavForm::Height() const
{
    // On a main window the form is only its title bar's strip; its height is still that of all it
    // frames, down to the bottom border, as on any window.
    if (m_owner && m_owner != this && parentWidget() == m_owner && Kav::KavMainWindowOf(m_owner))
        return m_owner->contentsRect().bottom() + 1 - y();
    return height();
}

void TkavForm::setHeight(int height)
{
    if (!m_owner || m_owner == this)
        return;
    const int top = titleBarShown() ? 0 : m_borderWidth;
    resizeOwner(QSize(m_owner->width(), height + m_borderWidth + top));
    layoutInOwner();
}

void TkavForm::resizeOwner(const QSize &size)
{
    if (subWindow()) {
        // The sub-window has no frame of its own: it is as large as the form's window.
        subWindow()->resize(size);
        return;
    }
    if (fixedSize(m_owner))
        m_owner->setFixedSize(size);
    else
        m_owner->resize(size);
}

// --- title bar --------------------------------------------------------------------------------

QString TkavForm::Caption() const
{
    return m_titleBar->Caption();
}

void TkavForm::setCaption(const QString &caption)
{
    m_titleBar->setCaption(caption);
    if (m_owner && m_owner->windowTitle() != caption)
        m_owner->setWindowTitle(caption);
}

QFont TkavForm::TitleFont() const
{
    return m_titleBar->font();
}

void TkavForm::setTitleFont(const QFont &font)
{
    m_titleBar->setFont(font);
}

void TkavForm::setTitleBarVisible(bool visible)
{
    if (visible == m_titleBarVisible)
        return;
    m_titleBarVisible = visible;
    layoutInOwner();
    if (m_owner)
        m_owner->update();
}

bool TkavForm::TitleBarCustom() const
{
    return m_titleBar->Custom();
}

void TkavForm::setTitleBarCustom(bool custom)
{
    m_titleBar->setCustom(custom);
}

bool TkavForm::TitleBarDrawAppIcon() const
{
    return m_titleBar->DrawAppIcon();
}

void TkavForm::setTitleBarDrawAppIcon(bool draw)
{
    m_titleBar->setDrawAppIcon(draw);
}

int TkavForm::RoundCorner() const
{
    return m_titleBar->RoundCorner();
}

void TkavForm::setRoundCorner(int radius)
{
    if (subWindow())
        return;
    m_titleBar->setRoundCorner(radius);
}

TkavTitleBarButtons *TkavForm::TitleBarButtons() const
{
    return m_titleBar->Buttons();
}

void TkavForm::setTitleBarButtons(const TkavTitleBarButtons *buttons)
{
    if (buttons)
        m_titleBar->Buttons()->Assign(buttons);
}

TkavTitleBarSections *TkavForm::TitleBarSections() const
{
    return m_titleBar->Sections();
}

void TkavForm::setTitleBarSections(const TkavTitleBarSections *sections)
{
    if (sections)
        m_titleBar->Sections()->Assign(sections);
}

// --- menu bar ---------------------------------------------------------------------------------

void TkavForm::setMenu(QMenuBar *menu)
{
    if (menu == m_menu)
        return;
    if (m_menu) {
        disconnect(m_menu, nullptr, this, nullptr);
        if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data()))
            mainMenu->setForm(nullptr);
        if (m_menu->parentWidget() == this)
            m_menu->hide(); // no menu, no menu bar
    }
    m_menu = menu;
    if (menu) {
        menu->setNativeMenuBar(false);
        // A main window lays its menu bar out itself (under the title bar, over its tool bars).
        if (QMainWindow *main = Kav::KavMainWindowOf(m_owner)) {
            if (main->menuWidget() != menu)
                main->setMenuBar(menu);
        } else if (menu->parentWidget() != this) {
            menu->setParent(this);
        }
        connect(menu, &QObject::destroyed, this, [this] {
            m_menu = nullptr; // it is half gone already: never look at it again
            layoutInOwner();
        });
        if (auto *mainMenu = qobject_cast<TkavMainMenu *>(menu)) {
            mainMenu->setForm(this);
            mainMenu->setUIStyle(UIStyle());
            mainMenu->setFileTheme(FileTheme());
        }
        styleMenuBar();
        menu->setVisible(!subWindow());
    }
    layoutInOwner();
    postToMdiArea(Kav::MdiRefreshEvent);
}

void TkavForm::setMenuBarColor(TColor color)
{
    m_menuBarColor = color;
    styleMenuBar();
}

void TkavForm::setMenuBarHeight(int height)
{
    m_menuBarHeight = qMax(0, height);
    styleMenuBar();
    layoutInOwner();
}

void TkavForm::styleMenuBar()
{
    if (!m_menu)
        return;
    if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data())) {
        mainMenu->setMenuBarColor(m_menuBarColor);
        mainMenu->setBarHeight(m_menuBarHeight);
    } else {
        Kav::KavSetPaletteColor(m_menu, QPalette::Window, m_menuBarColor);
        m_menu->setAutoFillBackground(true);
    }
    m_menu->setFixedHeight(m_menuBarHeight);
}

void TkavForm::UpdateMenu()
{
    layoutInOwner();
    if (m_menu)
        m_menu->update();
}

void TkavForm::UpdateTopMenu()
{
    if (m_menu)
        m_menu->update();
}

void TkavForm::RepaintMenuBar()
{
    if (!m_menu)
        return;
    m_menu->updateGeometry();
    m_menu->update();
}

// --- form panel -------------------------------------------------------------------------------

void TkavForm::setFormPanel(QWidget *panel)
{
    if (panel == this) {
        Kav::KavErrorBox(this, QStringLiteral("Sorry, you can't select the Form assign to FormPanel property"));
        return;
    }
    m_formPanel = panel;
    if (panel) {
        if (panel->parentWidget() != this)
            panel->setParent(this);
        if (auto *frame = qobject_cast<QFrame *>(panel))
            frame->setFrameShape(QFrame::NoFrame);
        if (IsHasProperty(panel, QStringLiteral("Caption")))
            panel->setProperty("Caption", QString());
        panel->show();
    }
    layoutInOwner();
}

// --- layout -----------------------------------------------------------------------------------

void TkavForm::layoutInOwner()
{
    if (m_owner && m_owner != this && parentWidget() == m_owner) {
        const QSize client = m_owner->size();
        const int top = titleBarShown() ? 0 : m_borderWidth;
        // A minimised MDI child is a strip: its title bar over the bottom border.
        const int inset = subWindow() && !subWindow()->isMinimized() ? MdiChildInset : 0;
        QRect inner(m_borderWidth, top, qMax(0, client.width() - 2 * m_borderWidth - inset),
                    qMax(0, client.height() - m_borderWidth - top - inset));
        if (QMainWindow *main = Kav::KavMainWindowOf(m_owner))
            inner = Kav::KavFitMainWindowInFrame(main, inner, titleBarShown() ? m_titleBar->height() : 0);
        setGeometry(inner);
    }
    layoutBars();
}

void TkavForm::layoutBars()
{
    int top = 0;
    m_titleBar->setVisible(titleBarShown());
    if (titleBarShown()) {
        m_titleBar->setGeometry(0, 0, width(), m_titleBar->height());
        top = m_titleBar->height();
    }
    // An MDI child's menu shows in the parent's menu bar.
    if (m_menu && m_menu->parentWidget() == this)
        m_menu->setVisible(!subWindow());
    if (m_menu && m_menu->parentWidget() == this && !subWindow()) {
        m_menu->setGeometry(0, top, width(), m_menuBarHeight);
        top += m_menuBarHeight;
    }
    if (contentsMargins().top() != top)
        setContentsMargins(0, top, 0, 0);
    if (m_formPanel)
        m_formPanel->setGeometry(contentsRect());
    m_titleBar->OnFormReSize();
}

// --- painting ---------------------------------------------------------------------------------

void TkavForm::paintEvent(QPaintEvent *event)
{
    // The form is large and mostly covered: fill just what is asked, straight onto the window's
    // back buffer.
    QPainter painter(this);
    paintBackground(painter, event->rect());
}

void TkavForm::paintPanel(QImage &canvas) const
{
    QPainter painter(&canvas);
    paintBackground(painter, canvas.rect());
}

void TkavForm::paintBackground(QPainter &painter, const QRect &rect) const
{
    if (!m_backgroundPattern.isNull())
        painter.fillRect(rect, QBrush(m_backgroundPattern.image()));
    else
        painter.fillRect(rect, Color().toQColor());
}

void TkavForm::paintOwnerBorder()
{
    // The form covers the window but for the border, so filling what lies outside the form draws
    // it; a hidden title bar leaves a top border as wide as the others.
    QPainter painter(m_owner);
    QRegion border(m_owner->rect());
    border -= geometry();
    // A main window's widgets lie on the window itself: the background goes under them.
    if (Kav::KavMainWindowOf(m_owner)) {
        const QRect inside = m_owner->contentsRect();
        border -= inside;
        paintBackground(painter, inside);
    }
    painter.setClipRegion(border);
    painter.fillRect(m_owner->rect(), m_borderColor.toQColor());
}

// --- events -----------------------------------------------------------------------------------

bool TkavForm::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) {
        const bool handled = TkavPlatformPanel::event(event);
        layoutBars();
        return handled;
    }
    return TkavPlatformPanel::event(event);
}

bool TkavForm::eventFilter(QObject *watched, QEvent *event)
{
    if (subWindow() && m_subDrag.active && mdiDragEvent(event))
        return true;
    if (subWindow() && watched == m_titleBar && mdiTitleBarEvent(event))
        return true;
    if (watched == m_owner) {
        if (ownerEvent(event))
            return true;
    } else if (watched->isWidgetType() && applicationEvent(watched, event)) {
        return true;
    }
    return TkavPlatformPanel::eventFilter(watched, event);
}

bool TkavForm::ownerEvent(QEvent *event)
{
    if (event->type() == Kav::KavWindowDragEndedEvent && !subWindow()) {
        m_titleBar->SetActive(m_owner->isActiveWindow());
        return false;
    }
    switch (event->type()) {
    case QEvent::Paint:
        paintOwnerBorder();
        return false;
    case QEvent::Resize:
        // Not the sub-window's state: Qt clears its maximised flag while it resizes a maximised
        // sub-window and sets it again after; its windowStateChanged tells the real changes.
        layoutInOwner();
        return false;
    case QEvent::ParentChange:
        followSubWindow();
        layoutInOwner();
        return false;
    case QEvent::WindowTitleChange:
        m_titleBar->setCaption(m_owner->windowTitle());
        if (m_mdiActive)
            postToMdiArea(Kav::MdiRefreshEvent);
        return false;
    case QEvent::ActivationChange:
        // The window manager takes the keyboard while it moves or sizes the window, which Qt
        // reports as a deactivation: the caption stays active meanwhile.
        if (!subWindow())
            m_titleBar->SetActive(m_owner->isActiveWindow() || Kav::KavSystemDragActive(m_owner));
        return false;
    case QEvent::WindowStateChange:
        // The window manager places a maximised window; the form shows the state it reports. (A
        // sub-window's state is followed through the sub-window.)
        if (!subWindow())
            m_titleBar->ProcessMaxBtn();
        return false;
    case QEvent::Leave:
        showSizingCursor(nullptr, {});
        return false;
    case QEvent::ChildPolished:
        // A main window makes its menu bar when first asked for it: the form takes it on then.
        if (QMenuBar *bar = Kav::KavMainWindowMenuBar(m_owner);
            bar && bar != m_menu && static_cast<QChildEvent *>(event)->child() == bar)
            setMenu(bar);
        return false;
    default:
        return applicationEvent(m_owner, event);
    }
}

Qt::Edges TkavForm::sizingEdgesAt(const QPoint &windowPos) const
{
    if (!m_owner || !sizeable() || m_owner->isMaximized() || m_owner->isFullScreen())
        return {};
    const int width = m_owner->width();
    const int height = m_owner->height();
    Qt::Edges edges;
    if (windowPos.x() < SizingBand)
        edges |= Qt::LeftEdge;
    else if (windowPos.x() > width - SizingBand)
        edges |= Qt::RightEdge;
    if (windowPos.y() < SizingBand)
        edges |= Qt::TopEdge;
    else if (windowPos.y() > height - SizingBand)
        edges |= Qt::BottomEdge;
    return edges;
}

bool TkavForm::sizeable() const
{
    if (subWindow())
        return !fixedSize(subWindow()) && !subWindow()->isMaximized() && !subWindow()->isMinimized();
    return m_owner && m_owner->isWindow() && !fixedSize(m_owner);
}

int TkavForm::minimizedHeight() const
{
    return (titleBarShown() ? m_titleBar->height() : 0) + m_borderWidth;
}

void TkavForm::showSizingCursor(QWidget *under, Qt::Edges edges)
{
    // An MDI child's cursor is its parent window's while the mouse is over the child's edges.
    QWindow *handle = m_owner ? m_owner->window()->windowHandle() : nullptr;
    if (!handle)
        return;
    if (edges) {
        handle->setCursor(Kav::KavResizeCursor(edges));
        m_sizingCursorShown = true;
    } else if (m_sizingCursorShown) {
        // Give the window back the cursor of the control under the mouse.
        handle->setCursor(under ? under->cursor() : QCursor(Qt::ArrowCursor));
        m_sizingCursorShown = false;
    }
}

bool TkavForm::applicationEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!m_owner || !m_owner->isActiveWindow())
            return false;
        // Alt+Space opens the window menu under the main window's title bar (in an MDI parent the
        // parent's); Alt+Minus that of the active MDI child, under its own title bar.
        const bool windowMenuKey = key->modifiers() == Qt::AltModifier &&
            (subWindow() ? key->key() == Qt::Key_Minus && m_mdiActive : key->key() == Qt::Key_Space);
        if (windowMenuKey && titleBarShown()) {
            const QPoint at = m_owner->mapToGlobal(QPoint(0, m_titleBar->height()));
            m_titleBar->Popup(at.x(), at.y());
            return true;
        }
        // F10 opens the menu bar, as Alt alone does.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier && !subWindow() &&
            static_cast<QWidget *>(watched)->window() == m_owner)
            return Kav::KavOpenMenuBar(m_menu);
        return false;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress: {
        auto *widget = static_cast<QWidget *>(watched);
        if (subWindow()) {
            if (widget != m_owner && !m_owner->isAncestorOf(widget))
                return false;
        } else if (!m_owner || widget->window() != m_owner) {
            return false;
        }
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        Qt::Edges edges = Kav::KavWindowDragActive(m_owner) ? Qt::Edges() : sizingEdgesAt(m_owner->mapFromGlobal(global));
        if (edges && subWindow() && parentWindowSizesAt(global))
            edges = {}; // where the parent's edge and a child's meet, the parent is sized
        if (event->type() == QEvent::MouseMove) {
            if (mouse->buttons() == Qt::NoButton)
                showSizingCursor(widget, edges);
            return false;
        }
        if (!edges || mouse->button() != Qt::LeftButton)
            return false;
        if (subWindow()) {
            m_subDrag = {true, edges, global, subWindow()->geometry()};
            return true;
        }
        Kav::KavStartWindowResize(m_owner, edges, global);
        return true;
    }
    default:
        return false;
    }
}

// --- MDI child --------------------------------------------------------------------------------

QMdiSubWindow *TkavForm::mdiSubWindow() const
{
    return m_owner && m_owner != this ? qobject_cast<QMdiSubWindow *>(m_owner->parentWidget()) : nullptr;
}

void TkavForm::followSubWindow()
{
    QMdiSubWindow *sub = mdiSubWindow();
    if (sub == m_subWindow.data())
        return;
    if (m_subWindow)
        disconnect(m_subWindow, nullptr, this, nullptr);
    m_subWindow = sub;
    m_mdiArea = sub ? sub->mdiArea() : nullptr;
    m_mdiActive = false;
    m_mdiMaximized = false;
    m_mdiMinimized = false;
    takeOverWindowMenu();
    if (!sub)
        return;
    m_titleBar->setRoundCorner(0);
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this] { followMdiState(); });
    followMdiState();
}

bool TkavForm::parentWindowSizesAt(const QPoint &global) const
{
    QWidget *parent = m_owner ? m_owner->window() : nullptr;
    const auto *mdi = parent ? parent->findChild<TkavMDIForm *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return mdi && mdi->sizingEdgesAt(parent->mapFromGlobal(global));
}

void TkavForm::followMdiState()
{
    if (!subWindow())
        return;
    const Qt::WindowStates state = subWindow()->windowState();
    const bool minimized = state.testFlag(Qt::WindowMinimized);
    if (minimized != m_mdiMinimized) {
        // The strip and back: the title bar shows restore in place of minimise. The window's
        // minimum size would keep it taller than the strip meanwhile.
        m_mdiMinimized = minimized;
        if (minimized) {
            m_minimumBeforeStrip = m_owner->minimumSize();
            m_owner->setMinimumSize(0, 0);
        } else {
            m_owner->setMinimumSize(m_minimumBeforeStrip);
        }
        layoutInOwner();
        m_titleBar->ProcessMaxBtn();
    }
    const bool active = state.testFlag(Qt::WindowActive);
    if (active != m_mdiActive) {
        m_mdiActive = active;
        m_titleBar->SetActive(active);
        if (active)
            postToMdiArea(Kav::MdiRefreshEvent);
    }
    // However many resizes arrive, the title bar goes (and the contents move up) once, and comes
    // back once.
    const bool maximized = state.testFlag(Qt::WindowMaximized);
    if (maximized == m_mdiMaximized)
        return;
    m_mdiMaximized = maximized;
    layoutInOwner();
    m_titleBar->ProcessMaxBtn();
    postToMdiArea(maximized ? Kav::MdiChildMaximizedEvent : Kav::MdiChildRestoredEvent);
}

void TkavForm::postToMdiArea(QEvent::Type type)
{
    if (!m_mdiArea)
        return;
    // Posted: the parent looks at the children once this one has finished changing (or gone).
    QCoreApplication::postEvent(m_mdiArea, new Kav::TkavMdiChildEvent(type, subWindow()));
}

QMdiSubWindow *TkavForm::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(m_subWindow.data());
}

void TkavForm::takeOverWindowMenu()
{
    // The title bar's window menu acts on the top-level window; an MDI child's acts on its
    // sub-window. Its items are, in order: minimise, maximise, move, size, (line), close.
    TkavTitleBarPopupMenu *menu = m_titleBar->windowMenu();
    QList<QAction *> items;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            items.append(action);
    }
    if (items.size() != 5)
        return;
    // Moving and sizing from the keyboard are for top-level windows only.
    items[2]->setVisible(!subWindow());
    items[3]->setVisible(!subWindow());
    if (m_windowMenuTaken)
        return;
    m_windowMenuTaken = true;
    for (QAction *action : {items[0], items[1], items[4]})
        disconnect(action, &QAction::triggered, menu, nullptr);
    // A form taken out of its sub-window again acts on its window as before.
    connect(items[0], &QAction::triggered, this, [this] {
        if (QMdiSubWindow *sub = subWindow())
            sub->showMinimized(); // disabled while it is minimised
        else
            m_titleBar->minimizeWindow();
    });
    connect(items[1], &QAction::triggered, this, [this] {
        if (subWindow())
            mdiMaximizeOrRestore();
        else
            m_titleBar->maximizeOrRestore();
    });
    connect(items[4], &QAction::triggered, this, [this] {
        if (QMdiSubWindow *sub = subWindow())
            sub->close();
        else
            m_titleBar->closeWindow();
    });
}

void TkavForm::mdiMaximizeOrRestore()
{
    if (!subWindow())
        return;
    if (subWindow()->isMaximized() || subWindow()->isMinimized())
        subWindow()->showNormal();
    else
        subWindow()->showMaximized();
}

bool TkavForm::mdiTitleBarEvent(QEvent *event)
{
    // The title bar acts on its top-level window; for an MDI child the form takes the presses
    // that would move, maximise, minimise or close and does them on the sub-window.
    const auto type = event->type();
    if (m_resettingTitleBar || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
                                type != QEvent::MouseButtonDblClick))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const int hot = Kav::TitleBarLayout::buttonAt(m_titleBar->currentLayout(), mouse->position().toPoint());
    const TkavTitleBarButton *button = m_titleBar->Buttons()->item(hot);
    const TkavTitleBarBtnType buttonType = button ? button->ButtonType() : KavTitleBar::kavCustom;
    const bool windowButton = buttonType == KavTitleBar::kavMax || buttonType == KavTitleBar::kavMin ||
        buttonType == KavTitleBar::kavClose;
    if (QMdiArea *area = subWindow()->mdiArea())
        area->setActiveSubWindow(subWindow());
    if (type == QEvent::MouseButtonPress) {
        m_titleBarPressedButton = hot;
        if (hot >= 0 || subWindow()->isMaximized())
            return false; // the bar shows the button pressed
        m_subDrag = {true, {}, mouse->globalPosition().toPoint(), subWindow()->geometry()};
        return true;
    }
    if (type == QEvent::MouseButtonDblClick) {
        if (hot < 0) {
            if (m_titleBar->Buttons()->hasType(KavTitleBar::kavMax))
                mdiMaximizeOrRestore();
            return true;
        }
        if (buttonType == KavTitleBar::kavControlBox) {
            subWindow()->close();
            return true;
        }
        return false;
    }
    // Release: a click on a window button is the form's; the bar only forgets its press.
    const bool click = windowButton && hot == m_titleBarPressedButton;
    m_titleBarPressedButton = -1;
    if (!click)
        return false;
    m_resettingTitleBar = true;
    QMouseEvent away(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1), mouse->globalPosition(),
                     Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_titleBar, &away);
    m_resettingTitleBar = false;
    switch (buttonType) {
    case KavTitleBar::kavMax:
        mdiMaximizeOrRestore();
        break;
    case KavTitleBar::kavMin:
        // On the strip of a minimised child the minimise button restores it.
        if (subWindow()->isMinimized())
            subWindow()->showNormal();
        else
            subWindow()->showMinimized();
        break;
    default:
        subWindow()->close();
        break;
    }
    return true;
}

bool TkavForm::mdiDragEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            // The button went up where the form did not see it: the drag is over.
            m_subDrag.active = false;
            return false;
        }
        const QPoint delta = mouse->globalPosition().toPoint() - m_subDrag.startGlobal;
        if (!m_subDrag.edges)
            subWindow()->move(m_subDrag.startGeometry.topLeft() + delta);
        else
            subWindow()->setGeometry(Kav::KavResizedGeometry(m_subDrag.startGeometry, m_subDrag.edges, delta,
                                                             subWindow()->minimumSize(), subWindow()->maximumSize()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_subDrag.active = false;
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            return false;
        subWindow()->setGeometry(m_subDrag.startGeometry);
        m_subDrag.active = false;
        return true;
    default:
        return false;
    }
}
