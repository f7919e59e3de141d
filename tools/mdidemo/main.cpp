// kav-mdidemo: a skinned MDI parent with skinned children, menus and a pop-up notice.
//   kav-mdidemo [--look LOOK]                     shows the window
//   kav-mdidemo [--look LOOK] --screenshot FILE   renders it to a PNG and exits (needs no display)
//   kav-mdidemo --help | --version
#include "KavDemoCommandLine.h"
#include "MdiDemoWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    KavDemoCommandLine::renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    KavDemoCommandLine commandLine(QStringLiteral("kav-mdidemo"),
                                   QStringLiteral("A skinned MDI parent with skinned children, menus and a pop-up notice."),
                                   TkavUIStyle::MacOS);
    if (const std::optional<int> exitCode = commandLine.parse())
        return *exitCode;
    MdiDemoWindow window(commandLine.look());
    return commandLine.showOrRender(window);
}
