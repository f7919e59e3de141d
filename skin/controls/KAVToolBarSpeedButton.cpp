#include "KAVToolBarSpeedButton.h"

#include "KAVAccessible.h"
#include "KAVButtonPainter.h"
#include "KAVComposer.h"
#include "KAVMetrics.h"

TkavToolBarSpeedButton::TkavToolBarSpeedButton(QWidget *parent) : QAbstractButton(parent)
{
    Kav::KavInstallAccessibility();
    setFocusPolicy(Qt::NoFocus);
    resize(Kav::Metrics::SpeedButtonSize);
    connect(this, &QAbstractButton::clicked, this, [this] { Q_EMIT OnClick(this); });
}

QSize TkavToolBarSpeedButton::sizeHint() const
{
    return Kav::Metrics::SpeedButtonSize;
}

void TkavToolBarSpeedButton::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    m_glyphPicture = Kav::TkavPictureStore::instance().userPicture(glyph, {0, 0, Kav::PictureMask::BottomLeft});
}

QColor TkavToolBarSpeedButton::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Button);
}

void TkavToolBarSpeedButton::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TkavToolBarSpeedButton::enterEvent(QEnterEvent *)
{
    m_mouseOver = true;
    update();
}

void TkavToolBarSpeedButton::leaveEvent(QEvent *)
{
    m_mouseOver = false;
    update();
}

void TkavToolBarSpeedButton::initOption(Kav::SpeedButtonOption &option) const
{
    option.rect = rect();
    option.glyph = m_glyphPicture;
    option.framed = m_mouseOver;
}

void TkavToolBarSpeedButton::resizeEvent(QResizeEvent *e)
{
    QAbstractButton::resizeEvent(e);
    Kav::KavUpdateOpaquePaint(this);
}

void TkavToolBarSpeedButton::paintEvent(QPaintEvent *)
{
    Kav::SpeedButtonOption option;
    initOption(option);
    Kav::KavPaintFace(this, Kav::Backdrop::filled(Color()),
                      [&option](QImage &face) { Kav::KavPaintSpeedButton(face, option); }, QRegion(),
                      Kav::FaceDensity::Device);
}
