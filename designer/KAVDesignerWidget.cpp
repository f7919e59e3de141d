#include "KAVDesignerWidget.h"

QString TkavDesignerWidget::domXml() const
{
    // The object name Designer gives a new widget: the class name without its prefix, starting
    // in lower case (TkavButton -> kavButton1, kavButton2, ...).
    QString objectName = name().mid(1);
    objectName[0] = objectName[0].toLower();
    return QStringLiteral("<ui language=\"c++\">"
                          "<widget class=\"%1\" name=\"%2\">"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y>"
                          "<width>%3</width><height>%4</height></rect></property>"
                          "</widget></ui>")
        .arg(name(), objectName)
        .arg(m_info.width)
        .arg(m_info.height);
}
