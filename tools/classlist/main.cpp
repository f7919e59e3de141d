// kav-classlist: a class list kept in an SQLite file, shown with the data-aware skinned controls.
//   kav-classlist [--look LOOK] [FILE.db]                     shows the window
//   kav-classlist [--look LOOK] [FILE.db] --screenshot FILE   renders it to a PNG and exits
// The file is created, with a few sample pupils, when it does not exist or holds no pupils.
#include "ClassListDatabase.h"
#include "ClassListWindow.h"

#include <QApplication>
#include <QDir>
#include <QImageWriter>
#include <QMetaEnum>
#include <QStandardPaths>
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
    const QStringList arguments = QApplication::arguments();
    TkavUIStyle look = TkavUIStyle::MacOS;
    QString screenshot;
    QString file;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--look") && i + 1 < arguments.size()) {
            bool known = false;
            const int value = QMetaEnum::fromType<TkavUIStyle>().keyToValue(arguments[++i].toLatin1().constData(), &known);
            if (!known || value == int(TkavUIStyle::FromThemeFile)) {
                QTextStream(stderr) << "kav-classlist: unknown look \"" << arguments[i]
                                    << "\" (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n";
                return 2;
            }
            look = TkavUIStyle(value);
        } else if (arguments[i] == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            screenshot = arguments[++i];
        } else if (!arguments[i].startsWith(QLatin1Char('-')) && file.isEmpty()) {
            file = arguments[i];
        } else {
            QTextStream(stderr) << "Usage: kav-classlist [--look LOOK] [FILE.db] [--screenshot FILE.png]\n";
            return arguments[i] == QLatin1String("--help") ? 0 : 2;
        }
    }
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
