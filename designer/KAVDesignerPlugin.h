#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <QList>
#include <QObject>

#include <memory>
#include <vector>

class TkavDesignerWidget;

// The plugin Designer and QUiLoader load: it offers every skinned control and window class in
// the widget box group "KavSkin".
class TkavDesignerPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TkavDesignerPlugin(QObject *parent = nullptr);
    ~TkavDesignerPlugin() override;

    QList<QDesignerCustomWidgetInterface *> customWidgets() const override;

private:
    std::vector<std::unique_ptr<TkavDesignerWidget>> m_widgets;
};
