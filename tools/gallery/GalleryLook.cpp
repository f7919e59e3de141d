#include "GalleryLook.h"

#include "KAVFunctions.h"

#include <QPalette>
#include <QWidget>

QImage GalleryLookPicture(const KavThemeValues &values, int key, int count, int index)
{
    try {
        return count == 0 ? values.bitmap(key) : values.bitmap(key, count, index);
    } catch (const EKavResourceNotFound &) {
        return {};
    }
}

void GalleryPaintWindow(QWidget *window, const KavThemeValues &values)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, values.color(KavKey::FormBackgroundColor).resolved());
    palette.setColor(QPalette::WindowText, values.color(KavKey::ControlFontColor).resolved());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}
