#include "KAVDesignerPlugin.h"

#include "KAVColor.h"
#include "KAVDesignerWidget.h"

#include <QColor>
#include <QMetaType>

namespace {

// Form files store colours as QColor; the controls' colour properties keep the theme files'
// BBGGRR value. Converters let a colour written in a form reach such a property.
void registerColourConverters()
{
    if (!QMetaType::hasRegisteredConverterFunction<QColor, TColor>())
        QMetaType::registerConverter<QColor, TColor>(&TColor::fromQColor);
    if (!QMetaType::hasRegisteredConverterFunction<TColor, QColor>())
        QMetaType::registerConverter<TColor, QColor>(&TColor::toQColor);
}

} // namespace

TkavDesignerPlugin::TkavDesignerPlugin(QObject *parent) : QObject(parent)
{
    int count = 0;
    const Kav::DesignerWidgetInfo *infos = Kav::designerWidgets(&count);
    registerColourConverters();
    m_widgets.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        m_widgets.push_back(std::make_unique<TkavDesignerWidget>(infos[i]));
}

TkavDesignerPlugin::~TkavDesignerPlugin() = default;

QList<QDesignerCustomWidgetInterface *> TkavDesignerPlugin::customWidgets() const
{
    QList<QDesignerCustomWidgetInterface *> widgets;
    widgets.reserve(qsizetype(m_widgets.size()));
    for (const auto &widget : m_widgets)
        widgets.append(widget.get());
    return widgets;
}
