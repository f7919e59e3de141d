#include "GalleryLook.h"

#include "KAVFunctions.h"

#include <QPalette>
#include <QPointer>
#include <QWidget>

void GalleryApplyLook(QWidget *root, TkavUIStyle style, TkavFileTheme *fileTheme)
{
    // Containers hand their look on to their children while they take it, and a check group
    // rebuilds nothing but may restyle its items; guard against widgets going away meanwhile.
    QList<QPointer<QWidget>> controls;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        if (IsHasProperty(widget, QStringLiteral("UIStyle")) &&
            IsHasProperty(widget, QStringLiteral("FileTheme")))
            controls.append(widget);
    }
    for (const QPointer<QWidget> &control : controls) {
        if (!control)
            continue;
        Kav::KavWriteFileTheme(control, fileTheme);
        Kav::KavWriteUIStyle(control, style);
    }
}

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
    palette.setColor(QPalette::Window, values.color(KavKey::FormBackgroundColor).toQColor());
    palette.setColor(QPalette::WindowText, values.color(KavKey::ControlFontColor).toQColor());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}
