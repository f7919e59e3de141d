#include "KAVPageControl.h"

#include "KAVFunctions.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>

#include <utility>

// --- Accessibility ------------------------------------------------------------------------------

namespace {

// A page tells assistive tools it is not showing unless it is its page control's active page,
// so that a screen reader meets only the controls of the page in front.
class TabSheetAccessible : public QAccessibleWidget {
public:
    explicit TabSheetAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Pane) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (!inFront()) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }
    // The controls of a page behind the active one are left out of the tree altogether: the page
    // before stays visible beneath the active one, and its controls would otherwise be offered as
    // showing (the exam's questions of every page at once).
    int childCount() const override { return inFront() ? QAccessibleWidget::childCount() : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return inFront() ? QAccessibleWidget::child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return inFront() ? QAccessibleWidget::indexOfChild(child) : -1;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString caption = static_cast<const TkavTabSheet *>(widget())->Caption();
            if (!caption.isEmpty())
                return caption;
        }
        return QAccessibleWidget::text(t);
    }

private:
    bool inFront() const
    {
        const auto *sheet = static_cast<const TkavTabSheet *>(widget());
        return sheet->PageControl() == nullptr || sheet->PageControl()->ActivePage() == sheet;
    }
};

QAccessibleInterface *pageAccessibleFactory(const QString &className, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1StringView("TkavTabSheet"))
        return new TabSheetAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

// Tells assistive tools that a page came to the front or went behind another.
void notifyShowing(QWidget *page)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.invisible = true;
    changed.offscreen = true;
    QAccessibleStateChangeEvent event(page, changed);
    QAccessible::updateAccessibility(&event);
    // Its controls joined or left the tree.
    QAccessibleEvent reorder(page, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

} // namespace

void Kav::KavInstallPageAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(pageAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

// --- TkavTabSheet ---------------------------------------------------------------------------

TkavTabSheet::TkavTabSheet(QWidget *parent) : TkavPlatformPanel(parent)
{
    Kav::KavInstallPageAccessibility();
    setAlign(KavLayout::alClient);
    joinParent();
}

TkavTabSheet::~TkavTabSheet()
{
    if (m_pageControl)
        m_pageControl->RemovePage(this);
}

void TkavTabSheet::joinParent()
{
    auto *pageControl = qobject_cast<TkavPageControl *>(parentWidget());
    if (pageControl == m_pageControl)
        return;
    if (m_pageControl)
        m_pageControl->RemovePage(this);
    if (pageControl != nullptr)
        pageControl->InsertPage(this);
}

void TkavTabSheet::changeEvent(QEvent *event)
{
    TkavPlatformPanel::changeEvent(event);
    if (event->type() == QEvent::ParentChange)
        joinParent();
}

void TkavTabSheet::paintPanel(QImage &) const
{
    // The backdrop in Color is the whole face; the page's controls draw themselves.
}

void TkavTabSheet::setPageIndex(int index)
{
    if (m_pageControl)
        m_pageControl->MovePage(this, index);
}

void TkavTabSheet::setCaption(const QString &caption)
{
    m_caption = caption;
    if (m_pageControl)
        m_pageControl->UpdateCaptions();
}

bool TkavTabSheet::TabVisible() const
{
    return m_tabVisible;
}

void TkavTabSheet::setTabVisible(bool visible)
{
    const bool hidden = m_tabVisible && !visible;
    m_tabVisible = visible;
    if (!m_pageControl)
        return;
    m_pageControl->syncTabs();
    if (hidden && m_pageControl->ActivePage() == this)
        m_pageControl->ActivateNextVisiblePage(m_pageIndex);
}

// --- TkavPageControl ------------------------------------------------------------------------

TkavPageControl::TkavPageControl(QWidget *parent) : TkavTab(parent)
{
    Kav::KavInstallPageAccessibility();
    installTopPanel();
    topPanel()->setTabs({});
}

TkavPageControl::~TkavPageControl()
{
    for (TkavTabSheet *page : std::as_const(m_pages))
        page->m_pageControl = nullptr;
    m_pages.clear();
}

TkavTabControlTopPanel *TkavPageControl::CreateTopPanel()
{
    return new TkavPageControlTopPanel(this);
}

void TkavPageControl::InsertPage(TkavTabSheet *page)
{
    page->m_pageControl = this;
    page->m_borderColor = BorderColor();
    m_pages.append(page);
    UpdatePageIndex();
    syncTabs();
    const int wanted = m_wantedPageIndex;
    setActivePage(wanted >= 0 && wanted < m_pages.size() ? m_pages.at(wanted) : page);
    m_wantedPageIndex = wanted;
}

void TkavPageControl::RemovePage(TkavTabSheet *page)
{
    const int index = int(m_pages.indexOf(page));
    if (index < 0)
        return;
    m_pages.removeAt(index);
    page->m_pageControl = nullptr;
    page->m_pageIndex = -1;
    if (m_activePage == page)
        m_activePage = nullptr;
    UpdatePageIndex();
    syncTabs();
    // The page before the removed one comes forward; removing the first leaves none active.
    ActivatePage(index - 1);
}

void TkavPageControl::UpdatePageIndex()
{
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages.at(i)->m_pageIndex = i;
}

void TkavPageControl::UpdateCaptions()
{
    syncTabs();
}

void TkavPageControl::syncTabs()
{
    QStringList captions;
    QList<bool> shown;
    for (const TkavTabSheet *page : std::as_const(m_pages)) {
        captions.append(page->Caption());
        shown.append(page->m_tabVisible);
    }
    topPanel()->setShownFlags(shown);
    topPanel()->setTabs(captions);
}

void TkavPageControl::deactivate(TkavTabSheet *except)
{
    TkavTabSheet *previous = m_activePage;
    if (previous == nullptr || previous == except)
        return;
    previous->setEnabled(false);
    notifyShowing(previous);
    Q_EMIT previous->OnHide(previous);
}

void TkavPageControl::bringForward(TkavTabSheet *page)
{
    deactivate(page);
    m_activePage = page;
    if (page == nullptr)
        return;
    page->show();
    page->setEnabled(true);
    page->raise();
    page->update();
    notifyShowing(page);
    Q_EMIT page->OnShow(page);
}

void TkavPageControl::setActivePage(TkavTabSheet *page)
{
    if (page != nullptr && page->m_pageControl != this)
        return;
    m_wantedPageIndex = -1;
    deactivate(page);
    m_activePage = page;
    const int index = page ? page->PageIndex() : -1;
    const int before = topPanel()->TabIndex();
    if (!m_pages.isEmpty())
        topPanel()->setTabIndex(index);
    // A change of tab index has brought the page forward already (TabActive).
    if (before == topPanel()->TabIndex() || before == index)
        bringForward(page);
}

void TkavPageControl::setActivePageIndex(int index)
{
    if (index >= 0 && index < m_pages.size())
        ActivatePage(index);
    else if (index >= m_pages.size())
        m_wantedPageIndex = index;
}

void TkavPageControl::ActivatePage(int index)
{
    setActivePage(m_pages.value(index));
}

void TkavPageControl::TabActive(int index)
{
    m_wantedPageIndex = -1;
    // Where the focus was before the page behind it was disabled (Qt moves it on then).
    QWidget *focused = QApplication::focusWidget();
    const bool focusWasHere = focused != nullptr && (focused == this || isAncestorOf(focused));
    TkavTabSheet *page = m_pages.value(index);
    bringForward(page);
    if (page != nullptr) {
        const auto children = page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        QWidget *first = children.isEmpty() ? nullptr : children.first();
        if (first != nullptr && first->isVisible() && first->isEnabled() && (first->focusPolicy() & Qt::TabFocus))
            first->setFocus();
    }
    if (focusWasHere)
        keepFocus(page);
    TkavTab::TabActive(index);
}

void TkavPageControl::keepFocus(TkavTabSheet *page)
{
    // A page switch from the keyboard (Ctrl+Tab on a control of the page) must not leave the
    // focus on nothing, or on a control of a page behind: it stays in the control, on the new
    // page's first control in Tab order, else on the tab strip.
    QWidget *now = QApplication::focusWidget();
    const auto onPage = [page](const QWidget *widget) {
        return widget != nullptr && page != nullptr && page->isAncestorOf(widget) && widget->isEnabled();
    };
    if (onPage(now) || (now != nullptr && now == topPanel()))
        return;
    if (page != nullptr) {
        for (QWidget *widget = page->nextInFocusChain(); widget != page && page->isAncestorOf(widget);
             widget = widget->nextInFocusChain()) {
            if (widget->isVisibleTo(page) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) {
                widget->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
    if (topPanel()->focusPolicy() != Qt::NoFocus)
        topPanel()->setFocus(Qt::TabFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

int TkavPageControl::FindNextVisiblePage(int index) const
{
    const int count = PageCount();
    for (int i = index + 1; i < count; ++i)
        if (m_pages.at(i)->TabVisible())
            return i;
    for (int i = 0; i < std::min(index, count); ++i)
        if (m_pages.at(i)->TabVisible())
            return i;
    return -1;
}

int TkavPageControl::FindPrevVisiblePage(int index) const
{
    const int count = PageCount();
    for (int i = std::min(index, count) - 1; i >= 0; --i)
        if (m_pages.at(i)->TabVisible())
            return i;
    for (int i = count - 1; i > index; --i)
        if (m_pages.at(i)->TabVisible())
            return i;
    return -1;
}

TkavTabSheet *TkavPageControl::FindNextPage(TkavTabSheet *page, bool forward) const
{
    const int index = page ? page->PageIndex() : -1;
    return m_pages.value(forward ? FindNextVisiblePage(index) : FindPrevVisiblePage(index));
}

void TkavPageControl::SelectNextPage(bool forward)
{
    if (m_activePage)
        setActivePage(FindNextPage(m_activePage, forward));
}

void TkavPageControl::ActivateNextVisiblePage(int index)
{
    for (int i = index - 1; i >= 0; --i)
        if (m_pages.at(i)->TabVisible()) {
            ActivatePage(i);
            return;
        }
    for (int i = index + 1; i < PageCount(); ++i)
        if (m_pages.at(i)->TabVisible()) {
            ActivatePage(i);
            return;
        }
}

void TkavPageControl::MovePage(TkavTabSheet *page, int index)
{
    const int from = int(m_pages.indexOf(page));
    if (from < 0)
        return;
    if (index < 0 || index >= PageCount())
        index = from;
    m_pages.move(from, index);
    UpdatePageIndex();
    syncTabs();
    setActivePage(page);
}

void TkavPageControl::UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    TkavTab::UpdateUIStyle(style, fileTheme);
    for (TkavTabSheet *page : std::as_const(m_pages)) {
        ContainerApplyUIStyle(page, style, fileTheme);
        page->m_borderColor = BorderColor();
    }
}

void TkavPageControl::BorderColorChanged()
{
    for (TkavTabSheet *page : std::as_const(m_pages))
        page->m_borderColor = BorderColor();
    if (m_activePage)
        m_activePage->update();
}
