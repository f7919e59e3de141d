#pragma once

#include "KAVTabControl.h"

#include <QList>
#include <QPointer>
#include <QString>

class TkavPageControl;

// One page of a page control: a panel that fills the page control's body and holds controls.
// A sheet joins the page control it is made a child of (also when made by a Designer form) and
// leaves it when it gets another parent or is destroyed.
//
// Transparent controls on a page show what lies behind the page, not the page itself.
class TkavTabSheet : public TkavPlatformPanel {
    Q_OBJECT
    Q_CLASSINFO("KavSeeThrough", "true")
    Q_PROPERTY(int PageIndex READ PageIndex WRITE setPageIndex)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool TabVisible READ TabVisible WRITE setTabVisible)
    Q_PROPERTY(TkavPageControl *PageControl READ PageControl)

public:
    explicit TkavTabSheet(QWidget *parent = nullptr);
    ~TkavTabSheet() override;

    TkavPageControl *PageControl() const { return m_pageControl; }
    // The position among the page control's pages, -1 outside one. Setting it moves the page
    // (a target out of range keeps the current place) and activates it.
    int PageIndex() const { return m_pageIndex; }
    void setPageIndex(int index);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // Whether the page's tab is drawn; hiding the active page's tab activates a neighbour.
    bool TabVisible() const;
    void setTabVisible(bool visible);
    TColor BorderColor() const { return m_borderColor; }

Q_SIGNALS:
    void OnShow(QObject *sender);
    void OnHide(QObject *sender);

protected:
    void paintPanel(QImage &canvas) const override;
    void changeEvent(QEvent *event) override;

private:
    friend class TkavPageControl;
    void joinParent();

    QPointer<TkavPageControl> m_pageControl;
    int m_pageIndex = -1;
    QString m_caption;
    TColor m_borderColor;
    bool m_tabVisible = true;
};

// The tab strip of a page control.
class TkavPageControlTopPanel : public TkavTabControlTopPanel {
    Q_OBJECT
public:
    using TkavTabControlTopPanel::TkavTabControlTopPanel;
};

// A tab control whose tabs belong to child pages: selecting a tab brings its page to the front.
// Exactly the active page is enabled and on top; a page active before stays visible beneath it,
// disabled, so that it takes no input (and assistive tools are told it is not showing).
class TkavPageControl : public TkavTab {
    Q_OBJECT
    Q_PROPERTY(TkavTabSheet *ActivePage READ ActivePage WRITE setActivePage)
    Q_PROPERTY(int ActivePageIndex READ ActivePageIndex WRITE setActivePageIndex)
    Q_PROPERTY(int PageCount READ PageCount)

public:
    explicit TkavPageControl(QWidget *parent = nullptr);
    ~TkavPageControl() override;

    TkavTabSheet *ActivePage() const { return m_activePage; }
    void setActivePage(TkavTabSheet *page);
    // The active page's index, 0 without one; indexes out of range are ignored.
    int ActivePageIndex() const { return m_activePage ? m_activePage->PageIndex() : 0; }
    void setActivePageIndex(int index);
    int PageCount() const { return int(m_pages.size()); }
    // The page at index, nullptr out of range.
    TkavTabSheet *GetPage(int index) const { return m_pages.value(index); }

    // Activates page index; out of range leaves no page active.
    void ActivatePage(int index);
    // The next (or previous) page with a shown tab, wrapping, never index itself; -1 if none.
    int FindNextVisiblePage(int index) const;
    int FindPrevVisiblePage(int index) const;
    TkavTabSheet *FindNextPage(TkavTabSheet *page, bool forward) const;
    void SelectNextPage(bool forward);
    // Moves page from its place to index (clamped to the current place when out of range).
    void MovePage(TkavTabSheet *page, int index);

    void TabActive(int index) override;

protected:
    TkavTabControlTopPanel *CreateTopPanel() override;
    void UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme) override;
    void BorderColorChanged() override;

private:
    friend class TkavTabSheet;
    void InsertPage(TkavTabSheet *page);
    void RemovePage(TkavTabSheet *page);
    void UpdatePageIndex();
    void UpdateCaptions();
    void ActivateNextVisiblePage(int index);
    void syncTabs();
    void deactivate(TkavTabSheet *except);
    void bringForward(TkavTabSheet *page);
    // After a page switch that began with the focus in this control: keeps it here.
    void keepFocus(TkavTabSheet *page);

    QList<TkavTabSheet *> m_pages;
    QPointer<TkavTabSheet> m_activePage;
    // ActivePageIndex asked for before that page existed (a form sets it before adding its
    // pages): that page becomes and stays active as pages join, until another is chosen.
    int m_wantedPageIndex = -1;
};

namespace Kav {
void KavInstallPageAccessibility();
} // namespace Kav
