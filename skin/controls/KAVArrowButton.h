#pragma once

#include "KAVCustomButton.h"
#include "KAVMetrics.h"

// A small button of the look's ButtonImage with a black triangle pointing up or down and never a
// caption; the spin buttons are made of two.
class TKavArrowButton : public TkavCustomButton {
    Q_OBJECT
    Q_PROPERTY(TkavArrowButtonType Arrow READ Arrow WRITE setArrow)

public:
    enum TkavArrowButtonType { kavUp, kavDown };
    Q_ENUM(TkavArrowButtonType)

    explicit TKavArrowButton(QWidget *parent = nullptr);

    TkavArrowButtonType Arrow() const { return m_arrow; }
    void setArrow(TkavArrowButtonType arrow);

    QSize sizeHint() const override { return Kav::Metrics::ArrowButtonSize; }

protected:
    FacePictures facePictures() const override;
    void UIStyleChanged() override;
    void drawFace(QImage &face) const override;
    // Describes the face of the button's current state.
    void initArrowOption(Kav::ArrowButtonOption &option) const;

private:
    TkavArrowButtonType m_arrow = kavUp;
};

using TkavArrowButtonType = TKavArrowButton::TkavArrowButtonType;
