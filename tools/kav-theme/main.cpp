// kav-theme: makes, lists, packs and unpacks theme files (.kav). See "kav-theme --help".

#include "Commands.h"
#include "Console.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    Console console;

    if (arguments.isEmpty()) {
        console.error(QStringLiteral("no command given; see kav-theme --help"));
        return Commands::Usage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        console.line(Commands::overviewHelp());
        return Commands::Done;
    }
    if (name == QLatin1String("--version")) {
        console.line(QStringLiteral("kav-theme " KAV_PROJECT_VERSION));
        return Commands::Done;
    }
    const Commands::Command *command = Commands::find(name);
    if (!command) {
        console.error(QStringLiteral("unknown command \"%1\"; see kav-theme --help").arg(name));
        return Commands::Usage;
    }
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        console.line(Commands::commandHelp(*command));
        return Commands::Done;
    }
    if (command->argumentCount >= 0 && arguments.size() != command->argumentCount) {
        console.error(QStringLiteral("%1 takes %2 argument%3, got %4\nUsage: kav-theme %5")
                          .arg(name)
                          .arg(command->argumentCount)
                          .arg(command->argumentCount == 1 ? "" : "s")
                          .arg(arguments.size())
                          .arg(QLatin1String(command->synopsis)));
        return Commands::Usage;
    }
    const int status = command->run(arguments, console);
    console.flush();
    return status;
}
