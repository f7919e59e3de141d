#pragma once

#include "KAVColor.h"
#include "KAVComposer.h"
#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVThemes.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

// A container framed by a thin rectangle in the border colour of its look, with its caption set
// into the top line. It passes its look and its enabled state on to the controls inside it:
// disabling the group disables every child, enabling it enables every child again (also one that
// was disabled on its own before).
//
// Children placed by a layout keep clear of the frame (contents margins: 3 left, right and bottom,
// font height + 5 at the top).
class TkavCustomGroupBox : public QWidget, public Kav::KavFaceSource {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TkavCustomGroupBox(QWidget *parent = nullptr);

    void paintOwnFace(QPainter &painter, const QRect &part) const override;

    // A look is applied by UpdateUIStyle: children first, then the frame's colours.
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    // The group's own caption, drawn in the frame (not the window title).
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }

    // The colour of the caption, and of the children's text unless they set their own.
    TColor FontColor() const;
    void setFontColor(TColor color);
    void setFontColor(const QColor &color) { setFontColor(TColor::fromQColor(color)); }

    // The background; by default the parent's (Qt palette inheritance is ParentColor).
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent) { SetTransparent(transparent); }

    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void setTabStop(bool tabStop);

    // QWidget::setEnabled, then every child gets the same value. (A change made through the base
    // class is handed on too, as soon as the group's own state changes.)
    void setEnabled(bool enabled);
    void setDisabled(bool disabled) { setEnabled(!disabled); }

    // A group with a layout is as large as its layout asks; otherwise the default size.
    QSize sizeHint() const override;

    // |font height|: the pixel height the font asks for.
    int fontHeight() const;
    // The area the item buttons of a check group are laid out in.
    QRect GetClient() const;

protected:
    virtual void UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme);
    virtual void SetTransparent(bool transparent);
    // A left button pressed and released on the group itself; nothing here.
    virtual void Click() {}

    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void handOnEnabled(bool enabled);
    void applyMargins();

    TkavLook m_look;
    QString m_caption;
    TColor m_borderColor;
    bool m_transparent = false;
    // Enabled as set on the group itself (not through a disabled ancestor); a change of it is
    // what is handed to the children.
    bool m_ownEnabled = true;
    bool m_leftDown = false;
};

// The group box with its click published.
class TkavGroupBox : public TkavCustomGroupBox {
    Q_OBJECT

public:
    explicit TkavGroupBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void OnClick(QObject *sender);

protected:
    void Click() override;
};
