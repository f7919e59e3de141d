#include "KAVForm.h"

#include "KAVErrorBox.h"
#include "KAVFrameSizer.h"
#include "KAVFunctions.h"
#include "KAVMainMenu.h"
#include "KAVMdiChild.h"
#include "KAVMenu.h"
#include "KAVThemeValues.h"
#include "KAVTitleBar.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>

namespace {

namespace M = Kav::Metrics;

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
    // A lost file theme turns the direct children DeepBlue too.
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); }, TkavLook::FirstLook::DeepBlue,
                  TkavLook::FallBack::Children);
    adoptOwner();
}

TkavForm::~TkavForm()
{
    qApp->removeEventFilter(this);
    if (m_mdiChild) {
        m_mdiChild->formGoing();
        m_mdiChild.reset();
    }
    m_sizer.reset();
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
        m_owner->setMinimumSize(m_owner->minimumSize().expandedTo(M::MinimumFormSize));
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
    // One application filter sees the window's own events and the keys of every control on it.
    qApp->installEventFilter(this);
    followSubWindow();
    layoutInOwner();
}

// --- look -------------------------------------------------------------------------------------

void TkavForm::applyLook(const KavThemeValues &values)
{
    // An MDI child keeps its place and size in the parent whatever border the look brings.
    QMdiSubWindow *sub = subWindow();
    const QRect subBounds = sub ? sub->geometry() : QRect();
    setBorderColor(values.color(KavKey::FormBorderColor));
    setBorderWidth(values.integer(KavKey::FormBorderWidthInt));
    setColor(values.color(KavKey::FormBackgroundColor));
    m_menuBarColor = Color();
    const char *pattern = values.traits().formBackgroundPicture;
    m_backgroundPattern = pattern ? Kav::TkavPictureStore::instance().resourcePicture(QLatin1String(pattern))
                                  : Kav::TkavPicture();
    m_titleBar->setFileTheme(FileTheme());
    m_titleBar->setUIStyle(UIStyle());
    if (subWindow())
        m_titleBar->setRoundCorner(0); // a sub-window is not shaped
    if (auto *mainMenu = qobject_cast<TkavMainMenu *>(m_menu.data())) {
        mainMenu->setUIStyle(UIStyle());
        mainMenu->setFileTheme(FileTheme());
    }
    styleMenuBar();
    if (m_autoUpdateSub)
        ContainerApplyUIStyle(this, UIStyle(), FileTheme());
    if (sub && !sub->isMaximized() && !sub->isMinimized())
        sub->setGeometry(subBounds);
    layoutInOwner();
    update();
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
        const int inset = subWindow() && !subWindow()->isMinimized() ? M::MdiChildInset : 0;
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
        if (menu->parentWidget() != this)
            menu->setParent(this);
        connect(menu, &QObject::destroyed, this, [this] {
            m_menu = nullptr; // it is half gone already: never look at it again
            layoutInOwner();
        });
        if (auto *mainMenu = qobject_cast<TkavMainMenu *>(menu)) {
            mainMenu->setForm(this);
            connect(mainMenu, &TkavMainMenu::itemsChanged, this, &TkavForm::UpdateMenu);
            connect(mainMenu, &TkavMainMenu::itemChanged, this, &TkavForm::UpdateTopMenu);
            connect(mainMenu, &TkavMainMenu::fontChanged, this, &TkavForm::RepaintMenuBar);
            mainMenu->setUIStyle(UIStyle());
            mainMenu->setFileTheme(FileTheme());
        }
        styleMenuBar();
        menu->setVisible(!subWindow());
    }
    layoutInOwner();
    if (m_mdiChild)
        m_mdiChild->refreshParent();
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
        const int inset = subWindow() && !subWindow()->isMinimized() ? M::MdiChildInset : 0;
        setGeometry(m_borderWidth, top, qMax(0, client.width() - 2 * m_borderWidth - inset),
                    qMax(0, client.height() - m_borderWidth - top - inset));
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
    if (m_menu && !subWindow()) {
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
        painter.fillRect(rect, Color().resolved(palette()));
}

void TkavForm::paintOwnerBorder()
{
    // The form covers the window but for the border, so filling what lies outside the form draws
    // it; a hidden title bar leaves a top border as wide as the others.
    QPainter painter(m_owner);
    QRegion border(m_owner->rect());
    border -= geometry();
    painter.setClipRegion(border);
    painter.fillRect(m_owner->rect(), m_borderColor.resolved(palette()));
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
    if (watched == m_owner) {
        if (ownerEvent(event))
            return true;
    } else if (watched->isWidgetType() && keyEvent(watched, event)) {
        return true;
    }
    return TkavPlatformPanel::eventFilter(watched, event);
}

bool TkavForm::ownerEvent(QEvent *event)
{
    if (event->type() == Kav::KavWindowDragEndedEvent && !m_mdiChild) {
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
        if (m_mdiChild && m_mdiChild->isActive())
            m_mdiChild->refreshParent();
        return false;
    case QEvent::ActivationChange:
        // The window manager takes the keyboard while it moves or sizes the window, which Qt
        // reports as a deactivation: the caption stays active meanwhile.
        if (!m_mdiChild)
            m_titleBar->SetActive(m_owner->isActiveWindow() || Kav::KavSystemDragActive(m_owner));
        return false;
    case QEvent::WindowStateChange:
        // The window manager places a maximised window; the form shows the state it reports. (A
        // sub-window's state is the MDI child's to follow.)
        if (!m_mdiChild)
            m_titleBar->ProcessMaxBtn();
        return false;
    default:
        return keyEvent(m_owner, event);
    }
}

bool TkavForm::keyEvent(QObject *watched, QEvent *event)
{
    // An MDI child's window menu key is its own (TkavMdiChild); its menu is shown by the parent.
    if (event->type() != QEvent::KeyPress || m_mdiChild || !m_owner || !m_owner->isActiveWindow())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Alt+Space opens the window menu under the title bar.
    if (key->modifiers() == Qt::AltModifier && key->key() == Qt::Key_Space && titleBarShown()) {
        const QPoint at = m_owner->mapToGlobal(QPoint(0, m_titleBar->height()));
        m_titleBar->Popup(at.x(), at.y());
        return true;
    }
    // F10 opens the menu bar, as Alt alone does.
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier &&
        static_cast<QWidget *>(watched)->window() == m_owner)
        return Kav::KavOpenMenuBar(m_menu);
    return false;
}

// --- sizing -----------------------------------------------------------------------------------

bool TkavForm::sizingNow() const
{
    return m_owner && sizeable() && !m_owner->isMaximized() && !m_owner->isFullScreen();
}

Qt::Edges TkavForm::sizingEdgesAt(const QPoint &windowPos) const
{
    return sizingNow() ? Kav::sizingEdges(m_owner->size(), windowPos, M::SizingBand) : Qt::Edges();
}

bool TkavForm::sizeable() const
{
    if (QMdiSubWindow *sub = subWindow())
        return !fixedSize(sub) && !sub->isMaximized() && !sub->isMinimized();
    return m_owner && m_owner->isWindow() && !fixedSize(m_owner);
}

int TkavForm::minimizedHeight() const
{
    return (titleBarShown() ? m_titleBar->height() : 0) + m_borderWidth;
}

bool TkavForm::titleBarShown() const
{
    return m_titleBarVisible && !(m_mdiChild && m_mdiChild->isMaximized());
}

// --- MDI child --------------------------------------------------------------------------------

QMdiSubWindow *TkavForm::mdiSubWindow() const
{
    return m_owner && m_owner != this ? qobject_cast<QMdiSubWindow *>(m_owner->parentWidget()) : nullptr;
}

QMdiSubWindow *TkavForm::subWindow() const
{
    return m_mdiChild ? m_mdiChild->subWindow() : nullptr;
}

void TkavForm::followSubWindow()
{
    QMdiSubWindow *sub = mdiSubWindow();
    if (m_mdiChild && sub == m_mdiChild->subWindow())
        return;
    if (!m_mdiChild && !sub && m_sizer)
        return;
    m_mdiChild.reset();
    m_sizer.reset();
    if (sub) {
        m_mdiChild = std::make_unique<TkavMdiChild>(this, sub);
        return;
    }
    // A top-level window is sized from its edges by the window manager where it will.
    Kav::TkavFrameSizer::Behaviour sizing;
    sizing.sizeable = [this] { return sizingNow(); };
    m_sizer = std::make_unique<Kav::TkavFrameSizer>(m_owner, std::move(sizing));
}
