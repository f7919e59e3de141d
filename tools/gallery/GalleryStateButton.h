#pragma once

#include "KAVButton.h"

// A push button that shows the face of a mouse state at rest, so that the gallery can show the
// mouse-over and pressed faces side by side with the others. It uses the face hooks of the button
// family: its normal face is the chosen state's face. Under the mouse it behaves as any button.
class GalleryStateButton : public TkavButton {
    Q_OBJECT

public:
    enum class Face { MouseOver, Pressed };

    GalleryStateButton(Face face, QWidget *parent = nullptr);

protected:
    void PaintButtonNormal(QImage &picture) override;

private:
    Face m_face;
};
