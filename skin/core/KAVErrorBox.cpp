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
    if (const ErrorBoxHandler &handler = installedHandler()) {
        handler(parent, text);
        return;
    }
    QMessageBox::warning(parent, QApplication::applicationName(), text, QMessageBox::Ok);
}

ErrorBoxHandler KavSetErrorBoxHandler(ErrorBoxHandler handler)
{
    ErrorBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

} // namespace Kav
