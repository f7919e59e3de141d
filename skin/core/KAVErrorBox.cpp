#include "KAVErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace Kav {
namespace {
ErrorBoxHandler &installedHandler()
{
    static ErrorBoxHandler handler;
    return handler;
}
} // namespace

void KavErrorBox(QWidget *parent, const QString &text)
{
    KavErrorBox(parent, text, QString());
}

void KavErrorBox(QWidget *parent, const QString &text, const QString &detail)
{
    if (const ErrorBoxHandler &handler = installedHandler()) {
        handler(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

ErrorBoxHandler KavSetErrorBoxHandler(ErrorBoxHandler handler)
{
    ErrorBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

} // namespace Kav
