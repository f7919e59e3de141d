#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QString>

class QWidget;
struct QMetaObject;

namespace Kav {

// What the widget box needs to know about one skinned class. The table of all of them lives in
// KAVDesignerWidgets.cpp, so that a class cannot be offered without its header or its size.
struct DesignerWidgetInfo {
    const char *className;
    const char *includeFile;
    const char *toolTip;
    int width;
    int height;
    bool container;
    const QMetaObject *meta;
    // designing: the widget is made inside Designer's form editor, not in the running program.
    QWidget *(*create)(QWidget *parent, bool designing);
};

// Every skinned class that Designer and QUiLoader can place on a form.
const DesignerWidgetInfo *designerWidgets(int *count);

// The class's picture in the widget box, taken from the looks' own pictures; null for a class
// that has none.
QIcon designerIcon(const QString &className);

} // namespace Kav

// One entry in Designer's widget box. Not a QObject: Designer and QUiLoader only call the
// interface, and one small class driven by a table keeps the entries from drifting apart.
class TkavDesignerWidget : public QDesignerCustomWidgetInterface {
public:
    explicit TkavDesignerWidget(const Kav::DesignerWidgetInfo &info) : m_info(info) {}

    QString name() const override { return QString::fromLatin1(m_info.className); }
    QString group() const override { return QStringLiteral("KavSkin"); }
    QString toolTip() const override { return QString::fromUtf8(m_info.toolTip); }
    QString whatsThis() const override { return toolTip(); }
    QString includeFile() const override { return QString::fromLatin1(m_info.includeFile); }
    QIcon icon() const override;
    bool isContainer() const override { return m_info.container; }
    QString domXml() const override;
    QWidget *createWidget(QWidget *parent) override { return m_info.create(parent, m_designing); }
    bool isInitialized() const override { return m_initialized; }
    // Designer hands over its form editor; a program loading forms through QUiLoader does not.
    void initialize(QDesignerFormEditorInterface *formEditor) override;

private:
    Kav::DesignerWidgetInfo m_info;
    bool m_initialized = false;
    bool m_designing = false;
    mutable QIcon m_icon; // made on first use
};
