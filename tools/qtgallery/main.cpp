// kav-qtgallery: Qt's own widgets drawn by KavStyle, side by side with the skinned controls of
// the library, in any look.
//   kav-qtgallery [--look LOOK]                      shows the window
//   kav-qtgallery [--look LOOK] --screenshot FILE    renders it to a PNG and exits (needs no display)
//   kav-qtgallery --help | --version
#include "KAVApplicationLook.h"
#include "KAVStyle.h"
#include "KavDemoCommandLine.h"
#include "QtGalleryWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    KavDemoCommandLine::renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    KavDemoCommandLine commandLine(
        QStringLiteral("kav-qtgallery"),
        QStringLiteral("Qt's own widgets under KavStyle beside the library's skinned controls, switched live."),
        TkavUIStyle::WinXP);
    if (const std::optional<int> exitCode = commandLine.parse())
        return *exitCode;
    // The style before the first widget, so that no widget is polished twice.
    QApplication::setStyle(new Kav::KavStyle(commandLine.look()));
    QtGalleryWindow window;
    window.showLook(commandLine.look());
    return commandLine.showOrRender(window);
}
