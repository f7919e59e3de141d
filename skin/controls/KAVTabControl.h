#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMetrics.h"
#include "KAVPictureStore.h"
#include "KAVPlatformPanel.h"
#include "KAVTabLayout.h"
#include "KAVThemes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QStringList>

#include <array>

class TkavTab;

namespace Kav {

// The pictures a tab strip draws, fetched from the store when the look changes.
struct TabStripPictures {
    TkavPicture activeTab;      // frame 1 of the tab picture, drawn in three parts
    TkavPicture inactiveTab;    // frame 2
    TkavPicture bar;            // stretched under the tabs
    std::array<TkavPicture, 4> buttons; // right, right hot, left, left hot
};

// Everything one paint of a tab strip reads.
struct TabStripOption {
    QSize size;
    TabLayout::Result layout;
    TabLayout::Buttons buttons;
    QStringList captions;
    const TabStripPictures *pictures = nullptr;
    QFont font;
    QColor textColour;
    QColor borderColour;
    int hotButton = 0;          // -1 left, 1 right, 0 neither
    int barTop = 0;
    bool focused = false;       // the strip has the focus: a focus frame on the selected tab
};

// Draws tabs, bar and scroll buttons over the backdrop already in face.
void paintTabStrip(QImage &face, const TabStripOption &option);

} // namespace Kav

// The tab strip of a tab or page control: draws the tabs from the look's pictures, scrolls them
// with two buttons when they do not fit, and turns clicks and arrow keys into a selected tab.
class TkavTabControlTopPanel : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(QStringList Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabIndex READ TabIndex WRITE setTabIndex)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE setLeftMargin)

public:
    explicit TkavTabControlTopPanel(TkavTab *owner);

    QStringList Tabs() const { return m_tabs; }
    void setTabs(const QStringList &tabs);
    int TabIndex() const { return m_tabIndex; }
    // Selects a tab by code: no OnChanging. An empty list forces -1; indexes below -1 or past the
    // last tab are ignored.
    void setTabIndex(int index);
    int LeftMargin() const { return m_leftMargin; }
    void setLeftMargin(int margin);

    bool tabShown(int index) const { return index >= 0 && (index >= m_shown.size() || m_shown.at(index)); }
    void setTabShown(int index, bool shown);
    void setShownFlags(const QList<bool> &shown);

    int scrollOffset() const { return m_scrollOffset; }
    bool overflow() const { return currentLayout().overflow; }
    // The tabs as drawn now, and the scroll buttons. The layout is worked out once per change of
    // tabs, captions, shown flags, selection, scrolling, font, look or width and kept: a mouse move
    // or a paint only looks it up.
    const Kav::TabLayout::Result &currentLayout() const;
    // How many times the layout has been worked out (tests).
    int layoutRuns() const { return m_layoutRuns; }
    Kav::TabLayout::Buttons scrollButtons() const;
    QRect tabRect(int index) const;
    int tabAt(const QPoint &point) const;

    // Selects as the user does (click, keys): OnChanging may refuse. True when selected.
    bool selectByUser(int index);
    // The next or previous shown tab after the selected one (past the end only with wrap); -1
    // when there is none.
    int neighbourTab(bool forward, bool wrap) const;

    void setLook(const KavThemeValues &values);
    int tabHeight() const;
    int barHeight() const { return m_pictures.bar.height(); }

protected:
    Kav::Backdrop backdrop() const override;
    void paintPanel(QImage &canvas) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    Kav::TabLayout::Input layoutInput() const;
    // The scroll offset that shows the selected tab uncut at a new size. Until the strip is first
    // shown its width is not yet its own: the offset is then worked out from the start, so that a
    // tab chosen before the control got its size does not leave it scrolled once it has one.
    int offsetForSize() const;
    // The width of each tab from its caption, measured once per change of captions or font.
    const QList<int> &tabWidths() const;
    // Drops the kept widths (captions or font changed) or the kept layout (anything else it reads).
    void captionsChanged();
    void layoutChanged() { m_layoutKept = false; }
    int hotButton() const;
    void showSelected();
    void changed();

    TkavTab *m_owner;
    QStringList m_tabs{QStringLiteral("Tab1")};
    QList<bool> m_shown;
    int m_tabIndex = 0;
    int m_leftMargin = Kav::Metrics::TabLeftMargin;
    int m_scrollOffset = 0;
    bool m_shownOnce = false;
    QPoint m_pointer{-1, -1};
    Kav::TabStripPictures m_pictures;
    // Kept from the last time they were worked out; see currentLayout().
    mutable QList<int> m_widths;
    mutable bool m_widthsKept = false;
    mutable Kav::TabLayout::Input m_keptInput;
    mutable Kav::TabLayout::Result m_keptLayout;
    mutable bool m_layoutKept = false;
    mutable int m_layoutRuns = 0;
};

// The base of the tab and page controls: a tab strip across the top and a bordered body below
// it for child controls. Derived classes make the strip (CreateTopPanel) and call
// installTopPanel() from their constructor.
class TkavTab : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE setLeftMargin)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)

public:
    ~TkavTab() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    int LeftMargin() const;
    void setLeftMargin(int margin);
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }

    TkavTabControlTopPanel *topPanel() const { return m_strip; }
    // The strip's height: tab picture and bar picture.
    int stripHeight() const;

    // Called by the strip once its TabIndex has changed: OnTabActive, then OnChange.
    virtual void TabActive(int index);
    // Asks OnChanging whether the user may leave the selected tab.
    bool allowChange();

Q_SIGNALS:
    void OnTabActive(QObject *sender, int index);
    void OnChange(QObject *sender);
    // A handler clears allowChange to keep the selected tab.
    void OnChanging(QObject *sender, bool &allowChange);

protected:
    explicit TkavTab(QWidget *parent);
    virtual TkavTabControlTopPanel *CreateTopPanel() = 0;
    void installTopPanel();
    virtual void BorderColorChanged() {}
    // Hands the look to the skinned controls inside.
    virtual void UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme);

    Kav::Backdrop backdrop() const override;
    void paintPanel(QImage &canvas) const override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void placeStrip();

private:
    void applyLook(const KavThemeValues &values);

    TkavLook m_look;
    TColor m_borderColor;
    TkavTabControlTopPanel *m_strip = nullptr;
};

// A tab strip with a body: selecting a tab changes the index and raises the events; the
// application swaps what the body shows.
class TkavTabControl : public TkavTab {
    Q_OBJECT
    Q_PROPERTY(QStringList Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabIndex READ TabIndex WRITE setTabIndex)

public:
    explicit TkavTabControl(QWidget *parent = nullptr);

    QStringList Tabs() const { return topPanel()->Tabs(); }
    void setTabs(const QStringList &tabs) { topPanel()->setTabs(tabs); }
    int TabIndex() const { return topPanel()->TabIndex(); }
    virtual void setTabIndex(int index) { topPanel()->setTabIndex(index); }

protected:
    TkavTabControlTopPanel *CreateTopPanel() override;
};

namespace Kav {
// Registers the accessible descriptions of tab strips and pages; the constructors call it.
void KavInstallTabAccessibility();
} // namespace Kav
