#pragma once

#include "KAVLook.h"
#include "KAVPictureStore.h"
#include "KAVPlatformPanel.h"
#include "KAVTitleBarLayout.h"

#include <QImage>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class TkavTitleBar;
class TkavTitleBarPopupMenu;
class TkavTitleBarSections;

namespace KavTitleBar {
Q_NAMESPACE

enum TkavTitleBarBtnType : quint8 { kavMax = 0, kavMin, kavClose, kavHelp, kavControlBox, kavCustom };
Q_ENUM_NS(TkavTitleBarBtnType)

enum TkavTitleBarAlign : quint8 { kavLeft = 0, kavRight, kavClient };
Q_ENUM_NS(TkavTitleBarAlign)
} // namespace KavTitleBar

using KavTitleBar::TkavTitleBarAlign;
using KavTitleBar::TkavTitleBarBtnType;

// ---- Buttons ------------------------------------------------------------------------------------

// One picture button of the title bar. Its three pictures (normal, under the mouse, pressed) come
// from its look unless it is a kavCustom button, which shows the pictures it is given.
class TkavTitleBarButton : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(KavTitleBar::TkavTitleBarBtnType ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int Top READ Top WRITE setTop)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QImage PicNormal READ PicNormal WRITE setPicNormal)
    Q_PROPERTY(QImage PicMouseOn READ PicMouseOn WRITE setPicMouseOn)
    Q_PROPERTY(QImage PicMouseDown READ PicMouseDown WRITE setPicMouseDown)
    Q_PROPERTY(QMenu *ControlBoxMenu READ ControlBoxMenu WRITE setControlBoxMenu)

public:
    enum Face : quint8 { Normal = 0, MouseOn, MouseDown };

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    TkavTitleBarBtnType ButtonType() const { return m_type; }
    // A second kavControlBox in the collection is refused with an error box.
    void setButtonType(TkavTitleBarBtnType type);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    int Top() const { return m_top; }
    void setTop(int top);
    TkavUIStyle UIStyle() const { return m_uiStyle; }
    void setUIStyle(TkavUIStyle style);
    QImage PicNormal() const { return m_pictures[Normal].image(); }
    void setPicNormal(const QImage &picture) { setPicture(Normal, picture); }
    QImage PicMouseOn() const { return m_pictures[MouseOn].image(); }
    void setPicMouseOn(const QImage &picture) { setPicture(MouseOn, picture); }
    QImage PicMouseDown() const { return m_pictures[MouseDown].image(); }
    void setPicMouseDown(const QImage &picture) { setPicture(MouseDown, picture); }
    QMenu *ControlBoxMenu() const { return m_controlBoxMenu; }
    void setControlBoxMenu(QMenu *menu);

    // Copies Visible, ButtonType, Transparent, Top, UIStyle, the pictures and ControlBoxMenu.
    void Assign(const TkavTitleBarButton *source);

    // What the button does when clicked: maximise or restore, minimise, close, or open its
    // control-box menu. Help and custom buttons only raise the title bar's events.
    void DoClick();
    // A kavMax button shows restore pictures while the window is maximised, maximise ones else.
    void ProcessMaxBtn();

    // The picture drawn for a face, masked when Transparent.
    const Kav::TkavPicture &drawn(Face face) const { return m_drawn[face]; }
    int index() const;
    TkavTitleBar *titleBar() const;

Q_SIGNALS:
    void changed();

private:
    friend class TkavTitleBarButtons;
    explicit TkavTitleBarButton(QObject *collection);

    void setPicture(Face face, const QImage &picture);
    // Takes the pictures of the button's type from its look (nothing for kavCustom).
    void applyLook();
    void takeLookFrames(int firstFrame);
    void updateDrawn();

    bool m_visible = true;
    TkavTitleBarBtnType m_type = KavTitleBar::kavCustom;
    bool m_transparent = false;
    int m_top;
    TkavUIStyle m_uiStyle = TkavUIStyle::DeepBlue;
    std::array<Kav::TkavPicture, 3> m_pictures;
    std::array<Kav::TkavPicture, 3> m_drawn;
    QPointer<QMenu> m_controlBoxMenu;
};

class TkavTitleBarButtons : public QObject {
    Q_OBJECT

public:
    explicit TkavTitleBarButtons(TkavTitleBar *titleBar);

    TkavTitleBarButton *add();
    int count() const { return int(m_items.size()); }
    TkavTitleBarButton *item(int index) const { return m_items.value(index); }
    int indexOf(const TkavTitleBarButton *button) const;
    void clear();
    // Becomes a copy of source's buttons.
    void Assign(const TkavTitleBarButtons *source);
    // Whether any button has that type (visible or not); except is left out.
    bool hasType(TkavTitleBarBtnType type, const TkavTitleBarButton *except = nullptr) const;
    TkavTitleBar *titleBar() const { return m_titleBar; }

Q_SIGNALS:
    void changed();

private:
    TkavTitleBar *m_titleBar;
    QList<TkavTitleBarButton *> m_items;
};

// ---- Sections -----------------------------------------------------------------------------------

// One background picture of the title bar, at the left, at the right, or stretched over the
// middle (kavClient, at most one per bar).
class TkavTitleBarSection : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(KavTitleBar::TkavTitleBarAlign Align READ Align WRITE setAlign)
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)

public:
    int Width() const { return m_width; }
    void setWidth(int width);
    TkavTitleBarAlign Align() const { return m_align; }
    // A second kavClient section is refused with an error box; kavClient always stretches.
    void setAlign(TkavTitleBarAlign align);
    QImage Picture() const { return m_picture.image(); }
    void setPicture(const QImage &picture);
    // A picture from the store (the look's sections): shared, not copied.
    void setPicture(const Kav::TkavPicture &picture);
    bool Stretch() const { return m_stretch; }
    // A kavClient section cannot stop stretching.
    void setStretch(bool stretch);
    bool AutoSize() const { return m_autoSize; }
    // With AutoSize the width follows the picture's.
    void setAutoSize(bool autoSize);

    // Copies Width, Align, Picture, Stretch and AutoSize.
    void Assign(const TkavTitleBarSection *source);

    const Kav::TkavPicture &picture() const { return m_picture; }

Q_SIGNALS:
    void changed();

private:
    friend class TkavTitleBarSections;
    explicit TkavTitleBarSection(QObject *collection);
    TkavTitleBarSections *collection() const;

    int m_width;
    TkavTitleBarAlign m_align = KavTitleBar::kavLeft;
    Kav::TkavPicture m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

class TkavTitleBarSections : public QObject {
    Q_OBJECT

public:
    explicit TkavTitleBarSections(TkavTitleBar *titleBar);

    TkavTitleBarSection *add();
    int count() const { return int(m_items.size()); }
    TkavTitleBarSection *item(int index) const { return m_items.value(index); }
    void clear();
    void Assign(const TkavTitleBarSections *source);
    bool hasClient(const TkavTitleBarSection *except = nullptr) const;
    TkavTitleBar *titleBar() const { return m_titleBar; }

Q_SIGNALS:
    void changed();

private:
    TkavTitleBar *m_titleBar;
    QList<TkavTitleBarSection *> m_items;
};

// ---- Painting -----------------------------------------------------------------------------------

namespace Kav {

// Everything the title bar's face is drawn from; filled from the bar's state by paintEvent.
struct TitleBarOption {
    struct Section {
        TkavPicture picture;
        TitleBarLayout::SectionPiece piece;
    };
    struct Button {
        TkavPicture picture;
        QRect rect; // clipped to the normal picture's size
    };
    QSize size;
    QList<Section> sections;
    QList<Button> buttons;
    QImage appIcon;
    QPoint appIconAt;
    QString caption; // already shortened to its room
    QPoint captionAt; // top-left of the text
    QFont font;
    QColor captionColour;
    bool outline = false;
    QColor outlineColour;
    int roundCorner = 0;
    // The shaped window the outline follows, and where the bar lies in it (the bar's own
    // rectangle when empty).
    QSize windowSize;
    QPoint barInWindow;
};

// Sections, then buttons, the caption and the rounded outline, onto face.
void paintTitleBar(QImage &face, const TitleBarOption &option);

} // namespace Kav

// ---- The title bar ------------------------------------------------------------------------------

// A window caption drawn from pictures: background sections, the control box (or the
// application icon) at the left, the caption, and a row of picture buttons at the right. Placed
// at the top of a skinned form (TkavForm) or of any window; dragging it moves the window, a
// double click maximises and restores it, the control box opens the window menu.
class TkavTitleBar : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(bool Custom READ Custom WRITE setCustom)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE setButtonInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool FormActive READ FormActive WRITE SetActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE setLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE setRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE setDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE setRoundCorner)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)

public:
    explicit TkavTitleBar(QWidget *parent = nullptr);
    ~TkavTitleBar() override;

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    bool Custom() const { return m_custom; }
    void setCustom(bool custom);
    int ButtonInterval() const { return m_buttonInterval; }
    void setButtonInterval(int interval);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool FormActive() const { return m_formActive; }
    void SetActive(bool active);
    int LeftBtnXOffset() const { return m_leftBtnXOffset; }
    void setLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return m_rightBtnXOffset; }
    void setRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return m_drawAppIcon; }
    void setDrawAppIcon(bool draw);
    int RoundCorner() const { return m_roundCorner; }
    // Stores the radius and reshapes the window (inside a skinned form).
    void setRoundCorner(int radius);
    bool AutoSize() const { return m_autoSize; }
    // With AutoSize the bar is as high as its first section's picture.
    void setAutoSize(bool autoSize);

    TkavTitleBarButtons *Buttons() const { return m_buttons; }
    TkavTitleBarSections *Sections() const { return m_sections; }
    TkavTitleBarPopupMenu *windowMenu() const { return m_windowMenu; }

    // Whether the bar sits on a skinned form, which has given the window up to it.
    bool InForm() const;
    // The window the bar's buttons act on: the MDI sub-window the bar sits in, else its window.
    QWidget *formWindow() const;
    // Re-applies the window shape (only InForm); the form calls it when it is resized.
    void OnFormReSize();
    // Every kavMax button shows restore or maximise pictures as the window is.
    void ProcessMaxBtn();
    // Opens the window menu at screen point (x, y).
    void Popup(int x, int y);

    // The window menu's and the buttons' actions on the window.
    void maximizeOrRestore();
    void minimizeWindow();
    void closeWindow();
    // What a click on button index does (the control box without its own menu opens the window
    // menu), then OnCustomBtnsClick or OnHelpBtnClick.
    void clickButton(int index);

    // Where the buttons are and where the caption goes, as painted.
    Kav::TitleBarLayout::Result currentLayout() const;
    // The button under the mouse, -1 for none.
    int hotButton() const;
    // The outline colour of the rounded top corners (the look's form border colour).
    TColor outlineColor() const { return m_outlineColor; }

Q_SIGNALS:
    void OnCustomBtnsClick(QObject *sender, int index);
    void OnHelpBtnClick(QObject *sender, int index);

protected:
    void paintPanel(QImage &canvas) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TkavTitleBarButton;
    void applyLook(const KavThemeValues &values);
    void applyWindowShape();
    void followMouse(const std::optional<QPoint> &at);
    // Watches the window the bar is on for maximising and restoring.
    void watchWindow();
    KavThemeValues lookValues(TkavUIStyle style) const;
    Kav::TitleBarOption paintOption() const;

    TkavLook m_look;
    TkavTitleBarButtons *m_buttons;
    TkavTitleBarSections *m_sections;
    TkavTitleBarPopupMenu *m_windowMenu;
    bool m_custom = false;
    int m_buttonInterval = 0;
    QString m_caption;
    bool m_formActive = true;
    int m_leftBtnXOffset = 0;
    int m_rightBtnXOffset = 0;
    bool m_drawAppIcon = false;
    int m_roundCorner = 0;
    bool m_autoSize = false;
    TColor m_outlineColor;
    bool m_outline = true; // the look outlines the rounded corners
    int m_captionBoxHeight = 0;
    int m_captionTop = 0;
    // Where the mouse is over the bar (none once it left) and which button it pressed.
    std::optional<QPoint> m_mouseAt;
    bool m_mouseDown = false;
    int m_pressedButton = -1;
    // Where the press that will move the window was, until the mouse moves with it held.
    std::optional<QPoint> m_movePressAt;
    QPointer<QWidget> m_watchedWindow;
};
