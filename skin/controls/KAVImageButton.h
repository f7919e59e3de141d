#pragma once

#include "KAVCustomButton.h"

// A button drawn from four pictures of its own, one per state; a missing state picture falls
// back to PicNormal, and nothing is drawn when PicNormal is empty too. With PicTransparent a
// picture's top-left colour lets the backdrop show. It never uses a look: its UIStyle always
// reads FromThemeFile.
class TkavImageButton : public TkavCustomButton {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QImage PicNormal READ PicNormal WRITE setPicNormal)
    Q_PROPERTY(QImage PicMouseOn READ PicMouseOn WRITE setPicMouseOn)
    Q_PROPERTY(QImage PicMouseDown READ PicMouseDown WRITE setPicMouseDown)
    Q_PROPERTY(QImage PicDisabled READ PicDisabled WRITE setPicDisabled)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool DrawFocused READ DrawFocused WRITE setDrawFocused)

public:
    explicit TkavImageButton(QWidget *parent = nullptr);

    TkavUIStyle UIStyle() const { return TkavUIStyle::FromThemeFile; }
    using TkavCustomButton::setUIStyle;

    QImage PicNormal() const { return m_picNormal; }
    void setPicNormal(const QImage &picture);
    QImage PicMouseOn() const { return m_picMouseOn; }
    void setPicMouseOn(const QImage &picture);
    QImage PicMouseDown() const { return m_picMouseDown; }
    void setPicMouseDown(const QImage &picture);
    QImage PicDisabled() const { return m_picDisabled; }
    void setPicDisabled(const QImage &picture);

    // The state pictures drawn again at twice the density (each exactly twice the size of its
    // picture, else left out), drawn instead on a screen of ratio above 1; null for none. Setting
    // a state picture drops its double-density copy. The scroll bar gives its arrows' this way.
    void setPictures2x(const QImage &normal, const QImage &mouseOn, const QImage &mouseDown,
                       const QImage &disabled = QImage());

    // Whether the picture is stretched over the whole button.
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    // Whether the focused button shows a focus rectangle.
    bool DrawFocused() const { return m_drawFocused; }
    void setDrawFocused(bool drawFocused);

    QSize sizeHint() const override;

protected:
    FacePictures facePictures() const override;
    void AutoSizeChanged() override;
    void initOption(Kav::PictureButtonOption &option) const override;

private:
    void setPicture(QImage &slot, QImage &slot2x, const QImage &picture);

    QImage m_picNormal;
    QImage m_picNormal2x;
    QImage m_picMouseOn2x;
    QImage m_picMouseDown2x;
    QImage m_picDisabled2x;
    QImage m_picMouseOn;
    QImage m_picMouseDown;
    QImage m_picDisabled;
    bool m_stretch = false;
    bool m_drawFocused = false;
};
