// kav-classlist: a class list kept in an SQLite file, shown with the data-aware skinned controls.
//   kav-classlist [--look LOOK] [FILE.db]                     shows the window
//   kav-classlist [--look LOOK] [FILE.db] --screenshot FILE   renders it to a PNG and exits
//   kav-classlist --help | --version
// The file is created, with a few sample pupils, when it does not exist or holds no pupils.
#include "ClassListDatabase.h"
#include "ClassListWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImageWriter>
#include <QMetaEnum>
#include <QStandardPaths>
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

QString defaultDatabaseFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("classlist.db"));
}

} // namespace

int main(int argc, char **argv)
{
    renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kav-classlist"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A class list kept in an SQLite file, shown with the data-aware skinned controls.\n"
        "The file is created, with a few sample pupils, when it does not exist or holds no pupils."));
    const QCommandLineOption lookOption(QStringLiteral("look"),
                                        QStringLiteral("Start in LOOK: MacOS (default), WinXP, DeepBlue, "
                                                       "Protein or BlueGlass."),
                                        QStringLiteral("LOOK"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Render the window to FILE.png and exit "
                                                             "(needs no display)."),
                                              QStringLiteral("FILE.png"));
    parser.addOptions({lookOption, screenshotOption});
    parser.addPositionalArgument(QStringLiteral("FILE.db"),
                                 QStringLiteral("The class list (default: classlist.db in the application's "
                                                "data folder)."),
                                 QStringLiteral("[FILE.db]"));
    // Not addHelpOption(): its --help-all would need a branch of its own here.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        err << "kav-classlist: "
            << (parser.errorText().isEmpty() ? QStringLiteral("unexpected argument \"%1\"")
                                                   .arg(parser.positionalArguments().value(1))
                                             : parser.errorText())
            << "\nUsage: kav-classlist [--look LOOK] [FILE.db] [--screenshot FILE.png]\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        QTextStream(stdout) << "kav-classlist " KAV_PROJECT_VERSION "\n";
        return 0;
    }

    TkavUIStyle look = TkavUIStyle::MacOS;
    if (parser.isSet(lookOption)) {
        const QString name = parser.value(lookOption);
        bool known = false;
        const int value = QMetaEnum::fromType<TkavUIStyle>().keyToValue(name.toLatin1().constData(), &known);
        if (!known || value == int(TkavUIStyle::FromThemeFile)) {
            err << "kav-classlist: unknown look \"" << name << "\" (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n";
            return 2;
        }
        look = TkavUIStyle(value);
    }
    const QString screenshot = parser.value(screenshotOption);
    QString file = parser.positionalArguments().value(0);
    if (file.isEmpty())
        file = defaultDatabaseFile();

    ClassListDatabase database(file);
    if (!database.open()) {
        QTextStream(stderr) << "kav-classlist: cannot use \"" << file << "\": " << database.error() << '\n';
        return 1;
    }
    ClassListWindow window(database.database(), look);
    if (!window.isOpen()) {
        QTextStream(stderr) << "kav-classlist: cannot read \"" << file << "\": " << window.error() << '\n';
        return 1;
    }
    window.show();
    if (screenshot.isEmpty())
        return app.exec();
    QApplication::processEvents();
    QImageWriter writer(screenshot, "png");
    if (!writer.write(window.grab().toImage())) {
        QTextStream(stderr) << "kav-classlist: cannot write \"" << screenshot << "\": " << writer.errorString() << '\n';
        return 1;
    }
    return 0;
}
