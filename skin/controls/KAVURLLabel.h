#pragma once

#include "KAVColor.h"

#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QString>

// A text label that behaves as a web link: underlined, in a link colour that turns to the hover
// colour while the mouse is over it, with a hand cursor; a click asks the desktop to open URL
// (QDesktopServices::openUrl). It draws nothing of the skin's looks.
class TkavURLLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString URL READ URL WRITE setURL)
    Q_PROPERTY(QColor FontHoverColor READ FontHoverColor WRITE setFontHoverColor)
    Q_PROPERTY(QColor FontLinkColor READ FontLinkColor WRITE setFontLinkColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QCursor Cursor READ cursor WRITE setCursor)

public:
    // The address a new label opens.
    static const char *const DefaultURL;

    explicit TkavURLLabel(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    // Sets the text; with AutoSize the label then takes the text's size (QLabel::setText alone
    // leaves the size as it is).
    void setCaption(const QString &caption);

    QString URL() const { return m_url; }
    void setURL(const QString &url);

    // Takes effect at the next mouse entry.
    TColor FontHoverColor() const { return m_fontHoverColor; }
    void setFontHoverColor(TColor color) { m_fontHoverColor = color; }
    void setFontHoverColor(const QColor &color) { setFontHoverColor(TColor::fromQColor(color)); }

    // The text takes the link colour at once.
    TColor FontLinkColor() const { return m_fontLinkColor; }
    void setFontLinkColor(TColor color);
    void setFontLinkColor(const QColor &color) { setFontLinkColor(TColor::fromQColor(color)); }

    // The colour the text is drawn in now.
    TColor FontColor() const;

    // The background colour, drawn unless Transparent. Until a colour is set the label takes its
    // parent's, i.e. lets the parent's background show.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);

    // QLabel's size with room for the underline: in some fonts (the Song-style CJK ones at small
    // sizes) it runs below the line's descent, where a label of the text's height would cut it off.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // Opens URL when it holds more than blanks, then raises OnClick.
    void Click();

Q_SIGNALS:
    void OnClick(QObject *sender);
    void OnMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y);
    void OnMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                   int y);

protected:
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setFontColor(TColor color);
    void fitToText();
    void updateBackground();

    QString m_url;
    TColor m_fontHoverColor;
    TColor m_fontLinkColor;
    TColor m_color;
    bool m_parentColor = true;
    bool m_autoSize = true;
    bool m_transparent = false;
    bool m_pressed = false;
};
