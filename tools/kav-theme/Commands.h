#pragma once

#include <QString>
#include <QStringList>

class Console;

// The tool's commands. Each takes its own arguments (without the command name) and returns the
// exit status: 0 done, 1 failed (the error is on standard error), 2 called wrongly.
namespace Commands {

inline constexpr int Done = 0;
inline constexpr int Failed = 1;
inline constexpr int Usage = 2;

struct Command {
    const char *name;
    const char *synopsis;
    const char *summary;
    const char *details;
    int argumentCount;
    int (*run)(const QStringList &arguments, Console &console);
};

// All commands, in the order the help lists them.
const QList<Command> &all();
const Command *find(const QString &name);

QString overviewHelp();
QString commandHelp(const Command &command);

} // namespace Commands
