#include "KavDemoCommandLine.h"

#include <QApplication>
#include <QImageWriter>
#include <QMetaEnum>
#include <QTextStream>
#include <QWidget>

KavDemoCommandLine::KavDemoCommandLine(QString tool, const QString &description, TkavUIStyle defaultLook)
    : m_tool(std::move(tool))
    , m_lookOption(QStringLiteral("look"),
                   QStringLiteral("Start in LOOK: MacOS, WinXP, DeepBlue, Protein or BlueGlass (default %1).")
                       .arg(QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(defaultLook)))),
                   QStringLiteral("LOOK"))
    , m_screenshot(QStringLiteral("screenshot"), QStringLiteral("Render the window to FILE.png and exit (needs no display)."),
                   QStringLiteral("FILE.png"))
    // Not addHelpOption(): its --help-all would need a branch of its own.
    , m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version."))
    , m_look(defaultLook)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOptions({m_lookOption, m_screenshot, m_help, m_version});
}

void KavDemoCommandLine::addPositional(const QString &name, const QString &description, const QString &syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
    m_positionalSyntax.append(syntax);
}

QString KavDemoCommandLine::usage() const
{
    QString line = QStringLiteral("Usage: %1 [--look LOOK]").arg(m_tool);
    for (const QString &syntax : m_positionalSyntax)
        line += QLatin1Char(' ') + syntax;
    return line + QStringLiteral(" [--screenshot FILE.png]\n");
}

std::optional<int> KavDemoCommandLine::parse(int maxPositional)
{
    QTextStream err(stderr);
    if (!m_parser.parse(QApplication::arguments()) || m_parser.positionalArguments().size() > maxPositional) {
        const QString problem = m_parser.errorText().isEmpty()
                                    ? QStringLiteral("unexpected argument \"%1\"").arg(m_parser.positionalArguments().value(maxPositional))
                                    : m_parser.errorText();
        err << m_tool << ": " << problem << '\n' << usage();
        return 2;
    }
    if (m_parser.isSet(m_help)) {
        QTextStream(stdout) << m_parser.helpText();
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        QTextStream(stdout) << m_tool << " " KAV_PROJECT_VERSION "\n";
        return 0;
    }
    if (m_parser.isSet(m_lookOption)) {
        const QString name = m_parser.value(m_lookOption);
        bool known = false;
        const int value = QMetaEnum::fromType<TkavUIStyle>().keyToValue(name.toLatin1().constData(), &known);
        if (!known || value == int(TkavUIStyle::FromThemeFile)) {
            err << m_tool << ": unknown look \"" << name << "\" (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n";
            return 2;
        }
        m_look = TkavUIStyle(value);
    }
    return std::nullopt;
}

void KavDemoCommandLine::renderOffscreenWithoutDisplay(int argc, char **argv)
{
    static const char *const Headless[] = {"--screenshot", "--help", "-h", "--version", "-v"};
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i) {
        for (const char *option : Headless) {
            if (qstrcmp(argv[i], option) == 0)
                qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
}

int KavDemoCommandLine::showOrRender(QWidget &window) const
{
    window.show();
    const QString file = screenshot();
    if (file.isEmpty())
        return QApplication::exec();
    QApplication::processEvents();
    QImageWriter writer(file, "png");
    if (!writer.write(window.grab().toImage())) {
        QTextStream(stderr) << m_tool << ": cannot write \"" << file << "\": " << writer.errorString() << '\n';
        return 1;
    }
    return 0;
}
