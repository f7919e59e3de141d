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

TColor Kav::KavPaletteColor(const QWidget *widget, QPalette::ColorRole role)
{
    return TColor::fromQColor(widget->palette().color(role));
}

void Kav::KavSetPaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color.resolved(widget->palette()));
    widget->setPalette(palette);
}
