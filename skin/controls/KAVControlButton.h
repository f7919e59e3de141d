#pragma once

#include "KAVCustomButton.h"

// A button that shows one frame of any theme picture and takes that frame's size: frame PicIndex
// of PicCount of the picture of theme key ThemeID, frame PicIndex + 1 under the mouse (a count of
// 0 means the whole picture). With PicTransparent the frame's top-left colour lets the backdrop
// show. Starts in DeepBlue without a file theme, and outside the tab order.
class TkavControlButton : public TkavCustomButton {
    Q_OBJECT
    Q_PROPERTY(int ThemeID READ ThemeID WRITE setThemeID)
    Q_PROPERTY(int PicIndex READ PicIndex WRITE setPicIndex)
    Q_PROPERTY(int PicCount READ PicCount WRITE setPicCount)

public:
    explicit TkavControlButton(QWidget *parent = nullptr);

    int ThemeID() const { return m_themeId; }
    void setThemeID(int themeId);
    int PicIndex() const { return m_picIndex; }
    void setPicIndex(int picIndex);
    int PicCount() const { return m_picCount; }
    void setPicCount(int picCount);

    QSize sizeHint() const override;

protected:
    FacePictures facePictures() const override;
    // The button takes its picture's size.
    void FacesChanged() override;

private:
    void pictureChanged();

    int m_themeId = 0;
    int m_picIndex = 0;
    int m_picCount = 0;
};
