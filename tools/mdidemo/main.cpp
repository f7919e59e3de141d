// kav-mdidemo: a skinned MDI parent with skinned children, menus and a pop-up notice.
//   kav-mdidemo [--look LOOK]                     shows the window
//   kav-mdidemo [--look LOOK] --screenshot FILE   renders it to a PNG and exits (needs no display)
#include "MdiDemoWindow.h"

#include <QApplication>
#include <QImageWriter>
#include <QMetaEnum>
#include <QTextStream>

namespace {

void renderOffscreenWithoutDisplay(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--screenshot") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace

int main(int argc, char **argv)
{
    renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    TkavUIStyle look = TkavUIStyle::MacOS;
    QString screenshot;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--look") && i + 1 < arguments.size()) {
            bool known = false;
            const int value = QMetaEnum::fromType<TkavUIStyle>().keyToValue(arguments[++i].toLatin1().constData(), &known);
            if (!known || value == int(TkavUIStyle::FromThemeFile)) {
                QTextStream(stderr) << "kav-mdidemo: unknown look \"" << arguments[i]
                                    << "\" (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n";
                return 2;
            }
            look = TkavUIStyle(value);
        } else if (arguments[i] == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else {
            QTextStream(stderr) << "Usage: kav-mdidemo [--look LOOK] [--screenshot FILE.png]\n";
            return arguments[i] == QLatin1String("--help") ? 0 : 2;
        }
    }
    MdiDemoWindow window(look);
    window.show();
    if (screenshot.isEmpty())
        return app.exec();
    QApplication::processEvents();
    QImageWriter writer(screenshot, "png");
    if (!writer.write(window.grab().toImage())) {
        QTextStream(stderr) << "kav-mdidemo: cannot write \"" << screenshot << "\": " << writer.errorString() << '\n';
        return 1;
    }
    return 0;
}
