#include "KAVDesignerPlugin.h"

#include "KAVDesignerWidget.h"

TkavDesignerPlugin::TkavDesignerPlugin(QObject *parent) : QObject(parent)
{
    int count = 0;
    const Kav::DesignerWidgetInfo *infos = Kav::designerWidgets(&count);
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
