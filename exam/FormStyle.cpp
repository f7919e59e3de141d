#include "FormStyle.h"

#include <QVariant>
#include <QWidget>

namespace {

void applyTo(QWidget *widget)
{
    const QVariant pixels = widget->property("kavFontPixelSize");
    if (pixels.isValid()) {
        QFont font = widget->font();
        font.setPixelSize(pixels.toInt());
        widget->setFont(font);
    }
    const QVariant fontColor = widget->property("kavFontColor");
    if (fontColor.isValid()) {
        QPalette palette = widget->palette();
        const QColor color(fontColor.toString());
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
        widget->setPalette(palette);
    }
    const QVariant background = widget->property("kavColor");
    if (background.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, QColor(background.toString()));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
}

} // namespace

void applyFormStyle(QWidget *root)
{
    // Parents first, so that a child's own setting wins over what it inherits.
    applyTo(root);
    for (QWidget *child : root->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        applyFormStyle(child);
}
