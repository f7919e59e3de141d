#include "KAVDesignerWidget.h"

#include "KAVDesignerPages.h"

#include <QMetaObject>
#include <QMetaProperty>

namespace {

// A class with a caption of its own starts with one when dropped, as Designer's own buttons do:
// its object name.
bool hasCaption(const QMetaObject *meta)
{
    const int index = meta ? meta->indexOfProperty("Caption") : -1;
    if (index < 0)
        return false;
    const QMetaProperty caption = meta->property(index);
    return caption.isWritable() && caption.isDesignable() && caption.metaType() == QMetaType::fromType<QString>();
}

} // namespace

void TkavDesignerWidget::initialize(QDesignerFormEditorInterface *formEditor)
{
    m_initialized = true;
    m_designing = formEditor != nullptr;
    // Page controls get their pages' menu and container in Designer (QUiLoader has no editor).
    TkavPageControlExtensionFactory::registerWith(formEditor);
}

QIcon TkavDesignerWidget::icon() const
{
    if (m_icon.isNull())
        m_icon = Kav::designerIcon(name());
    return m_icon;
}

QString TkavDesignerWidget::domXml() const
{
    // The object name Designer gives a new widget: the class name without its prefix, starting
    // in lower case (TkavButton -> kavButton, kavButton_2, ...).
    QString objectName = name().mid(1);
    objectName[0] = objectName[0].toLower();
    const QString caption = hasCaption(m_info.meta)
                                ? QStringLiteral("<property name=\"Caption\"><string>%1</string></property>").arg(objectName)
                                : QString();
    return QStringLiteral("<ui language=\"c++\">"
                          "<widget class=\"%1\" name=\"%2\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                          "<width>%3</width><height>%4</height></rect></property>"
                          "%5"
                          "</widget></ui>")
        .arg(name(), objectName)
        .arg(m_info.width)
        .arg(m_info.height)
        .arg(caption);
}
