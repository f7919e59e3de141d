#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QByteArray>
#include <QComboBox>
#include <QFont>
#include <QList>
#include <QRect>
#include <QStyle>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

namespace Kav {

// Where the parts of a skinned combo box lie in its rectangle; what is drawn there and where the
// mouse hits come from these alike.
struct ComboBoxRects {
    QRect frame;  // the whole box: outer line in the border colour, inner line in Color
    QRect field;  // the text (and the line edit of an editable box)
    QRect button; // the drop-down button
    QPoint arrow; // top-left corner of the drawn arrow
};
ComboBoxRects KavComboBoxRects(const QRect &whole);
// The rectangle of one of Qt's combo-box sub-controls (frame, pop-up, field, arrow), or a null
// rectangle for one the skinned box does not place.
QRect KavComboBoxSubControlRect(const QRect &whole, QStyle::SubControl part);

// Everything the painter needs to know about one combo box; filled from the box at each paint.
struct ComboBoxFace {
    QRect rect;
    QColor border;
    QColor inner;
    QColor button;
    QColor arrow;
    TkavPicture buttonPicture; // stretched over the button when not null
    bool drawArrow = true;     // a picture that carries its own arrow needs none drawn
    bool enabled = true;
};
// Draws the frame and the button over whatever Qt painted; reads only face.
void KavPaintComboBoxFrame(QPainter &painter, const ComboBoxFace &face);
// The arrow: a filled triangle pointing down, origin at its top-left corner, in colour; disabled,
// a white copy one pixel down and right under a grey one.
void KavPaintComboBoxArrow(QPainter &painter, QPoint origin, const QColor &colour, bool enabled);

} // namespace Kav

// A combo box with the skin's flat frame and drop-down button. Qt keeps the list, the editing and
// the drop-down; the box paints its text itself and draws over the rest: a one-pixel border in
// BorderColor with a line in Color inside it, and a button that is the look's picture (MacOS,
// WinXP) or a flat ButtonColor face with a separator in BorderColor, with a small arrow in
// ArrowColor on it (the WinXP picture has its own). A disabled box shows an embossed grey arrow.
//
// Setting UIStyle (or FileTheme, which applies the current UIStyle again) sets ArrowColor to black,
// BorderColor to the look's ControlBorderColor and ButtonColor to its FormBackgroundColor;
// colours set afterwards stay until the next look change. A destroyed file theme turns the box
// DeepBlue. The open list has a one-pixel border in BorderColor.
//
// A box whose Style is csSimple is left to Qt entirely (Qt has no simple combo box: it is an
// editable one).
class TkavCustomComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor ArrowColor READ ArrowColor WRITE setArrowColor)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE setButtonColor)

public:
    // csDropDown: an editable box; csSimple: likewise, drawn by Qt; csDropDownList and the
    // owner-drawn kinds: a box that only chooses.
    enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
    Q_ENUM(TComboBoxStyle)

    explicit TkavCustomComboBox(QWidget *parent = nullptr);

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    TColor ArrowColor() const { return m_arrowColor; }
    void setArrowColor(TColor color);
    void setArrowColor(const QColor &color) { setArrowColor(TColor::fromQColor(color)); }
    TColor ButtonColor() const { return m_buttonColor; }
    void setButtonColor(TColor color);
    void setButtonColor(const QColor &color) { setButtonColor(TColor::fromQColor(color)); }

    // Whether the box draws its skin (every Style but csSimple).
    bool isSkinned() const { return m_style != csSimple; }

    // The frame and button as they are drawn now (for tests and the gallery).
    Kav::ComboBoxFace face() const;

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    void OnChange(QObject *sender);
    void OnSelect(QObject *sender);
    void OnDropDown(QObject *sender);
    void OnCloseUp(QObject *sender);

protected:
    // The text changed (by typing or by a new choice): raises OnChange.
    virtual void Change();

    TComboBoxStyle comboStyle() const { return m_style; }
    void setComboStyle(TComboBoxStyle style);


    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyLook(const KavThemeValues &values);
    void nameTheEdit();

    TkavLook m_look;
    TColor m_borderColor;
    TColor m_arrowColor;
    TColor m_buttonColor;
    Kav::TkavPicture m_buttonPicture;
    bool m_buttonArrow = true; // the look draws the arrow over the button
    TComboBoxStyle m_style = csDropDown;
};

// The combo box with the properties of a form's combo box published under their names.
class TkavComboBox : public TkavCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(TComboBoxStyle Style READ Style WRITE setStyle)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE setCurrentIndex)
    Q_PROPERTY(QString Text READ currentText WRITE setText)
    Q_PROPERTY(int DropDownCount READ maxVisibleItems WRITE setMaxVisibleItems)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
    Q_PROPERTY(bool Sorted READ Sorted WRITE setSorted)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
    Q_PROPERTY(bool AutoComplete READ AutoComplete WRITE setAutoComplete)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TkavComboBox(QWidget *parent = nullptr);

    TComboBoxStyle Style() const { return comboStyle(); }
    void setStyle(TComboBoxStyle style);
    using QWidget::setStyle;

    QStringList Items() const;
    // Replaces the items (sorted when Sorted) and chooses none; the text of an editable box stays.
    void setItems(const QStringList &items);

    // Chooses the item of exactly this text; an editable box without one shows the text as it is.
    void setText(const QString &text);

    // The height of a row of the open list; 0 leaves it to the font.
    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);

    // Keeps the items in alphabetical order.
    bool Sorted() const { return m_sorted; }
    void setSorted(bool sorted);

    // Longest text the user can type; 0 for no limit.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);

    // Completes typed text from the items.
    bool AutoComplete() const { return m_autoComplete; }
    void setAutoComplete(bool autoComplete);

    // The background of the text: the palette's Base.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool Visible() const { return !isHidden(); }
    bool TabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }
    void setTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

private:
    void applyEditSettings();

    int m_itemHeight = 0;
    bool m_sorted = false;
    int m_maxLength = 0;
    bool m_autoComplete = true;
};

// A mounted volume as the drive combo box lists it.
struct TkavVolume {
    QString rootPath;
    QString name; // the volume's label; may be empty
    QByteArray fileSystemType;
};

namespace Kav {
// Whether a mounted file system is what a user calls a drive: the root file system and real
// volumes, not the kernel's and the system's pseudo file systems (proc, sysfs, cgroups, tmpfs
// and the like, anything under /proc, /sys, /dev, /run other than /run/media, and snaps).
bool KavIsUserVolume(const QString &rootPath, const QByteArray &fileSystemType);
// The mounted volumes that are drives, by root path (QStorageInfo).
QList<TkavVolume> KavMountedVolumes();
} // namespace Kav

// A combo box that lists the mounted volumes and chooses one (Drive, its root path). The list is
// read again each time it drops down and on Refresh(). A volume that has gone away since it was
// listed cannot be chosen: Drive stays the drive chosen before, and the list is read again as
// soon as the choosing is over (keeping that drive, or taking the first volume when it is gone
// too). So Drive always names a volume that was there when it was chosen. OnChange and
// DriveChanged follow real changes of Drive only.
class TkavDriveComboBox : public TkavCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Drive READ Drive WRITE setDrive NOTIFY DriveChanged)
    Q_PROPERTY(bool DroppedDown READ DroppedDown WRITE setDroppedDown)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)

public:
    using VolumeSource = std::function<QList<TkavVolume>()>;

    explicit TkavDriveComboBox(QWidget *parent = nullptr);

    // Where the volumes come from (tests give their own); an empty source restores the mounted
    // volumes. Reads the list at once.
    void setVolumeSource(VolumeSource source);

    // Root path of the chosen volume; empty when there is none.
    QString Drive() const;
    // Chooses the volume with this root path; nothing happens when no such volume is mounted.
    void setDrive(const QString &rootPath);

    // Whether the list is open; setting opens or closes it.
    bool DroppedDown() const;
    void setDroppedDown(bool droppedDown);

    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }
    bool Visible() const { return !isHidden(); }

    void showPopup() override;

public Q_SLOTS:
    // Reads the volumes again, keeping the chosen one when it is still there.
    void Refresh();

Q_SIGNALS:
    void DriveChanged(const QString &rootPath);

protected:
    // Qt's text changes here are the list being read; OnChange follows Drive instead.
    void Change() override {}

private:
    void indexChosen(int index);
    void confirm(const QString &rootPath);

    VolumeSource m_source;
    QString m_drive; // the volume last confirmed as chosen
    bool m_filling = false;
};
