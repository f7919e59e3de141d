// kav-mdidemo: a skinned MDI parent with skinned children, menus and a pop-up notice.
//   kav-mdidemo [--look LOOK]                     shows the window
//   kav-mdidemo [--look LOOK] --screenshot FILE   renders it to a PNG and exits (needs no display)
//   kav-mdidemo --help | --version
#include "MdiDemoWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImageWriter>
#include <QMetaEnum>
#include <QTextStream>

namespace {

// A screenshot, the help and the version need no display: without one (and without a chosen
// platform) the application starts offscreen.
void renderOffscreenWithoutDisplay(int argc, char **argv)
{
    static const char *const Headless[] = {"--screenshot", "--help", "-h", "--version", "-v"};
    for (int i = 1; i < argc; ++i) {
        for (const char *option : Headless) {
            if (qstrcmp(argv[i], option) == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A skinned MDI parent with skinned children, menus and a pop-up notice."));
    const QCommandLineOption lookOption(QStringLiteral("look"),
                                        QStringLiteral("Start in LOOK: MacOS (default), WinXP, DeepBlue, "
                                                       "Protein or BlueGlass."),
                                        QStringLiteral("LOOK"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Render the window to FILE.png and exit "
                                                             "(needs no display)."),
                                              QStringLiteral("FILE.png"));
    parser.addOptions({lookOption, screenshotOption});
    // Not addHelpOption(): its --help-all would need a branch of its own here.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    if (!parser.parse(QApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        err << "kav-mdidemo: "
            << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument \"%1\"")
                                                   .arg(parser.positionalArguments().value(0))
                                             : parser.errorText())
            << "\nUsage: kav-mdidemo [--look LOOK] [--screenshot FILE.png]\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        QTextStream(stdout) << "kav-mdidemo " KAV_PROJECT_VERSION "\n";
        return 0;
    }

    TkavUIStyle look = TkavUIStyle::MacOS;
    if (parser.isSet(lookOption)) {
        const QString name = parser.value(lookOption);
        bool known = false;
        const int value = QMetaEnum::fromType<TkavUIStyle>().keyToValue(name.toLatin1().constData(), &known);
        if (!known || value == int(TkavUIStyle::FromThemeFile)) {
            err << "kav-mdidemo: unknown look \"" << name << "\" (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n";
            return 2;
        }
        look = TkavUIStyle(value);
    }
    const QString screenshot = parser.value(screenshotOption);
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
