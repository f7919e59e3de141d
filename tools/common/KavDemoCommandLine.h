#pragma once

#include "KAVThemes.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// The command line every demonstration tool takes: --look LOOK, --screenshot FILE.png, --help
// and --version, plus positional arguments of its own.
class KavDemoCommandLine {
public:
    KavDemoCommandLine(QString tool, const QString &description, TkavUIStyle defaultLook);

    // A positional argument (shown in the help); at most maxPositional are accepted.
    void addPositional(const QString &name, const QString &description, const QString &syntax);

    // Reads the application's arguments. An exit code when the program is to stop here: 0 after
    // the help or the version, 2 (with a message and the usage on stderr) for a bad command line.
    std::optional<int> parse(int maxPositional = 0);

    TkavUIStyle look() const { return m_look; }
    QString screenshot() const { return m_parser.value(m_screenshot); }
    QStringList positional() const { return m_parser.positionalArguments(); }

    // A screenshot, the help and the version need no display: without one (and without a chosen
    // platform) the application is to start offscreen. Call before the application is made.
    static void renderOffscreenWithoutDisplay(int argc, char **argv);

    // Runs the window, or renders it to the screenshot file and returns (1 when it cannot be
    // written).
    int showOrRender(QWidget &window) const;

private:
    QString usage() const;

    QString m_tool;
    QStringList m_positionalSyntax;
    QCommandLineParser m_parser;
    QCommandLineOption m_lookOption;
    QCommandLineOption m_screenshot;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    TkavUIStyle m_look;
};
