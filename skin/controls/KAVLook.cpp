#include "KAVLook.h"

#include "KAVFunctions.h"

#include <QPainter>
#include <QWidget>

TkavLook::~TkavLook()
{
    QObject::disconnect(m_watch);
}

void TkavLook::setFileTheme(TkavFileTheme *fileTheme, QObject *context,
                            std::function<void()> onRemoved)
{
    if (fileTheme == m_fileTheme)
        return;
    QObject::disconnect(m_watch);
    m_fileTheme = fileTheme;
    if (!fileTheme)
        return;
    m_watch = QObject::connect(fileTheme, &QObject::destroyed, context,
                               [this, onRemoved = std::move(onRemoved)] {
                                   m_fileTheme.clear();
                                   if (onRemoved)
                                       onRemoved();
                               });
}

TColor KavPaletteColor(const QWidget *widget, QPalette::ColorRole role)
{
    return TColor::fromQColor(widget->palette().color(role));
}

void KavSetPaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color.toQColor());
    widget->setPalette(palette);
}

bool KavIsTabSheet(const QWidget *widget)
{
    return widget->inherits("TTabSheet") || widget->inherits("TkavTabSheet");
}

void KavPaintBehind(QPainter &canvas, QWidget *control, bool throughParent)
{
    QWidget *parent = control->parentWidget();
    if (throughParent && parent && parent->parentWidget()) {
        // DoTrans of the parent puts the parent's corner at the origin; the control sits pos()
        // further in.
        canvas.save();
        canvas.translate(-control->pos());
        DoTrans(canvas, parent);
        canvas.restore();
        return;
    }
    DoTrans(canvas, control);
}
