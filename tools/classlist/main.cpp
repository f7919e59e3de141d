// kav-classlist: a class list kept in an SQLite file, shown with the data-aware skinned controls.
//   kav-classlist [--look LOOK] [FILE.db]                     shows the window
//   kav-classlist [--look LOOK] [FILE.db] --screenshot FILE   renders it to a PNG and exits
//   kav-classlist --help | --version
// The file is created, with a few sample pupils, when it does not exist or holds no pupils. A file
// another program holds locked still opens the window, which says so and offers to try again.
#include "ClassListDatabase.h"
#include "ClassListWindow.h"
#include "KavDemoCommandLine.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString defaultDatabaseFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("classlist.db"));
}

} // namespace

int main(int argc, char **argv)
{
    KavDemoCommandLine::renderOffscreenWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kav-classlist"));
    KavDemoCommandLine commandLine(
        QStringLiteral("kav-classlist"),
        QStringLiteral("A class list kept in an SQLite file, shown with the data-aware skinned controls.\n"
                       "The file is created, with a few sample pupils, when it does not exist or holds no pupils."),
        TkavUIStyle::MacOS);
    commandLine.addPositional(QStringLiteral("FILE.db"),
                              QStringLiteral("The class list (default: classlist.db in the application's data folder)."),
                              QStringLiteral("[FILE.db]"));
    if (const std::optional<int> exitCode = commandLine.parse(1))
        return *exitCode;
    QString file = commandLine.positional().value(0);
    if (file.isEmpty())
        file = defaultDatabaseFile();

    ClassListDatabase database(file);
    if (!database.open() && !database.isLocked()) {
        QTextStream(stderr) << "kav-classlist: cannot use \"" << file << "\": " << database.error() << '\n';
        return 1;
    }
    ClassListWindow window(database, commandLine.look());
    return commandLine.showOrRender(window);
}
