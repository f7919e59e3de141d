#include "ExamPictures.h"

#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QPixmap blank(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QFont sized(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

namespace ExamPictures {

QPixmap welcomeIllustration(const QSize &size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));

    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x8E, 0xC9, 0xF5));
    sky.setColorAt(0.7, QColor(0xE3, 0xF3, 0xFF));
    p.fillRect(r, sky);

    // Sun
    QRadialGradient sun(QPointF(r.width() * 0.78, 58), 34);
    sun.setColorAt(0, QColor(0xFF, 0xF3, 0x9A));
    sun.setColorAt(1, QColor(0xFF, 0xC8, 0x3A));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(r.width() * 0.78, 58), 30, 30);

    // Hills
    QPainterPath hills;
    hills.moveTo(0, r.height() * 0.72);
    hills.cubicTo(r.width() * 0.3, r.height() * 0.58, r.width() * 0.55, r.height() * 0.8,
                  r.width(), r.height() * 0.66);
    hills.lineTo(r.width(), r.height());
    hills.lineTo(0, r.height());
    hills.closeSubpath();
    p.setBrush(QColor(0x6D, 0xBE, 0x5B));
    p.drawPath(hills);

    // A slate with a sum on it
    const QRectF slate(34, 92, 190, 118);
    p.setBrush(QColor(0x8B, 0x5A, 0x2B));
    p.drawRoundedRect(slate.adjusted(-8, -8, 8, 8), 8, 8);
    p.setBrush(QColor(0x2F, 0x4F, 0x3A));
    p.drawRoundedRect(slate, 4, 4);
    p.setPen(QColor(0xF4, 0xF4, 0xEC));
    p.setFont(sized(QStringLiteral("DejaVu Sans"), 34, true));
    p.drawText(slate, Qt::AlignCenter, QStringLiteral("7 + 5 = 12"));

    // Floating digits
    p.setFont(sized(QStringLiteral("DejaVu Sans"), 22, true));
    const struct { qreal x, y; const char *text; QColor color; } digits[] = {
        {30, 40, "3", QColor(0xE8, 0x4A, 0x5F)}, {110, 30, "×", QColor(0x2A, 0x7A, 0xE2)},
        {180, 50, "8", QColor(0xF5, 0x8F, 0x29)}, {250, 250, "÷", QColor(0x8E, 0x44, 0xAD)},
        {40, 260, "9", QColor(0x2A, 0x7A, 0xE2)}, {140, 290, "−", QColor(0xE8, 0x4A, 0x5F)},
    };
    for (const auto &d : digits) {
        p.setPen(d.color);
        p.drawText(QPointF(d.x, d.y), QString::fromUtf8(d.text));
    }
    return pixmap;
}

QPixmap titleBanner(const QSize &size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(0x3A, 0x8E, 0xE6));
    shade.setColorAt(1, QColor(0x1C, 0x5C, 0xB0));
    p.setPen(QColor(0x15, 0x48, 0x8C));
    p.setBrush(shade);
    p.drawRoundedRect(r, 10, 10);
    p.setPen(Qt::white);
    p.setFont(sized(QStringLiteral("宋体"), 26, true));
    p.drawText(r.adjusted(14, 0, 0, -14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("小学生口算考场"));
    p.setFont(sized(QStringLiteral("DejaVu Sans"), 13, false));
    p.setPen(QColor(0xDD, 0xEB, 0xFF));
    p.drawText(r.adjusted(16, 30, -12, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tallisk 1.2"));
    return pixmap;
}

QPixmap siteLogo(int site, const QSize &size)
{
    static const QColor colours[] = {QColor(0xE8, 0x4A, 0x5F), QColor(0x2A, 0x9D, 0x5C),
                                     QColor(0xF5, 0x8F, 0x29)};
    static const char *const names[] = {"Velmora", "下载中心", "学习园地"};
    const int index = qBound(0, site, 2);
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2, 6, -2, -6);
    p.setPen(colours[index].darker(130));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 8, 8);
    const QRectF badge(r.left() + 8, r.center().y() - 14, 28, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[index]);
    p.drawEllipse(badge);
    p.setPen(Qt::white);
    p.setFont(sized(QStringLiteral("DejaVu Sans"), 16, true));
    p.drawText(badge, Qt::AlignCenter, QStringLiteral("VTA").mid(index, 1));
    p.setPen(colours[index].darker(140));
    p.setFont(sized(QStringLiteral("宋体"), 15, true));
    p.drawText(r.adjusted(42, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(names[index]));
    return pixmap;
}

QPixmap stopwatch(const QSize &size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = qMin(size.width(), size.height());
    const QPointF centre(s / 2, s / 2 + s * 0.06);
    const qreal radius = s * 0.40;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawRoundedRect(QRectF(s / 2 - s * 0.08, 0, s * 0.16, s * 0.16), 2, 2);
    p.drawRect(QRectF(s * 0.76, s * 0.12, s * 0.12, s * 0.10));
    p.setPen(QPen(QColor(0x3C, 0x3C, 0x3C), s * 0.07));
    QRadialGradient face(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xD8, 0xD8, 0xD8));
    p.setBrush(face);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(0xD0, 0x20, 0x20), s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.7));
    p.setPen(QPen(Qt::black, s * 0.05, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(radius * 0.45, radius * 0.15));
    return pixmap;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int side : {16, 32, 48})
        icon.addPixmap(stopwatch(QSize(side, side)));
    return icon;
}

} // namespace ExamPictures

void ExamPictures::placeOn(QWidget *window)
{
    const auto setPicture = [window](const char *name, const QPixmap &pixmap) {
        if (auto *label = window->findChild<QLabel *>(QLatin1String(name)))
            label->setPixmap(pixmap);
    };
    setPicture("Image1", welcomeIllustration(QSize(300, 325)));
    setPicture("Image2", titleBanner(QSize(300, 68)));
    setPicture("Image3", siteLogo(0, QSize(120, 60)));
    setPicture("Image4", siteLogo(1, QSize(150, 54)));
    setPicture("Image5", siteLogo(2, QSize(150, 60)));
    setPicture("image_time", stopwatch(QSize(32, 32)));
}
