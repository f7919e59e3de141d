#include "KAVApplicationLook.h"

#include "KAVStyle.h"
#include "KAVWindowLook.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

// Has Qt work out the application's palette again from the style (QStyle::polish(QPalette &))
// while keeping every role the program set itself: the palette in use, handed back as a palette
// of its own so that Qt does not take it for the one it has.
void refreshApplicationPalette()
{
    QPalette palette = QApplication::palette();
    const auto ownRoles = palette.resolveMask();
    palette.setBrush(QPalette::Window, palette.brush(QPalette::Window)); // detaches
    palette.setResolveMask(ownRoles);
    QApplication::setPalette(palette);
}

} // namespace

void Kav::KavSetApplicationLook(TkavUIStyle look, TkavFileTheme *fileTheme)
{
    if (!qApp)
        return;
    TkavFileTheme *theme = look == TkavUIStyle::FromThemeFile ? fileTheme : nullptr;
    // Guarded: a widget's answer to the change may destroy another widget or window.
    const auto guarded = [](const QList<QWidget *> &widgets) {
        return QList<QPointer<QWidget>>(widgets.cbegin(), widgets.cend());
    };
    const QList<QPointer<QWidget>> windows = guarded(QApplication::topLevelWidgets());
    std::vector<std::unique_ptr<KavQuietUpdates>> quiet;
    quiet.reserve(std::size_t(windows.size()));
    for (QWidget *window : windows)
        quiet.push_back(std::make_unique<KavQuietUpdates>(window));

    auto *style = qobject_cast<KavStyle *>(QApplication::style());
    if (!style) {
        QApplication::setStyle(theme ? new KavStyle(theme) : new KavStyle(look));
    } else {
        const bool relayout = style->setLook(look, theme);
        refreshApplicationPalette();
        // Qt hands the palette on to the widgets through posted events: delivered now, while no
        // window paints, rather than after.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
        if (relayout) {
            // Widgets keep sizes their style gave them (size hints, tab sizes, scroll bar
            // extents); a style change is what makes them drop those.
            for (const QPointer<QWidget> &widget : guarded(QApplication::allWidgets())) {
                if (widget && widget->windowType() != Qt::Desktop) {
                    QEvent changed(QEvent::StyleChange);
                    QCoreApplication::sendEvent(widget, &changed);
                }
            }
        }
    }
    // The library's controls take the look through their own properties.
    for (QWidget *window : windows)
        KavApplyWindowLook(window, look, theme); // nothing for a window gone since
}
