#include "GalleryOptions.h"

#include <QCommandLineParser>
#include <QMetaEnum>

namespace {

const char *const LookOption = "look";
const char *const ThemeOption = "theme";
const char *const ScreenshotOption = "screenshot";

QString lookList()
{
    QStringList names;
    for (TkavUIStyle look : galleryLooks())
        names << galleryLookName(look);
    return names.join(QStringLiteral(", "));
}

GalleryOptions failed(const QString &error)
{
    GalleryOptions options;
    options.action = GalleryOptions::Action::Error;
    options.error = error;
    return options;
}

} // namespace

QList<TkavUIStyle> galleryLooks()
{
    return {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue, TkavUIStyle::Protein,
            TkavUIStyle::BlueGlass};
}

QString galleryLookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}

std::optional<TkavUIStyle> galleryLookByName(QStringView name)
{
    for (TkavUIStyle look : galleryLooks()) {
        if (name.compare(galleryLookName(look), Qt::CaseInsensitive) == 0)
            return look;
    }
    return std::nullopt;
}

QString galleryUsage()
{
    return QStringLiteral(
               "Usage: kav-gallery [--look LOOK | --theme FILE.kav] [--screenshot FILE.png]\n"
               "\n"
               "Shows every skinned control of kavskin in its states and switches the whole "
               "window\n"
               "between the built-in looks and theme files.\n"
               "\n"
               "Options:\n"
               "  --look LOOK           start in a built-in look: %1 (default DeepBlue)\n"
               "  --theme FILE.kav      start with the look of a theme file\n"
               "  --screenshot FILE.png render the gallery to FILE.png and exit instead of showing "
               "it\n"
               "                        (needs no display: renders offscreen when none is set)\n"
               "  --version             print the version and exit\n"
               "  -h, --help            show this help\n")
        .arg(lookList());
}

GalleryOptions parseGalleryOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption look(QLatin1String(LookOption), QString(), QStringLiteral("LOOK"));
    const QCommandLineOption theme(QLatin1String(ThemeOption), QString(), QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QLatin1String(ScreenshotOption), QString(),
                                        QStringLiteral("FILE"));
    parser.addOptions({help, look, theme, screenshot});
    if (!parser.parse(arguments.isEmpty() ? QStringList{QStringLiteral("kav-gallery")} : arguments))
        return failed(parser.errorText());

    GalleryOptions options;
    if (parser.isSet(help)) {
        options.action = GalleryOptions::Action::Help;
        return options;
    }
    if (!parser.positionalArguments().isEmpty())
        return failed(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    for (const QCommandLineOption *single : {&look, &theme, &screenshot}) {
        if (parser.values(*single).size() > 1)
            return failed(QStringLiteral("--%1 given more than once").arg(single->names().first()));
    }
    if (parser.isSet(look) && parser.isSet(theme))
        return failed(QStringLiteral("--look and --theme exclude each other"));

    if (parser.isSet(look)) {
        const QString name = parser.value(look);
        const std::optional<TkavUIStyle> found = galleryLookByName(name);
        if (!found)
            return failed(
                QStringLiteral("unknown look \"%1\" (the looks are %2)").arg(name, lookList()));
        options.look = *found;
    }
    if (parser.isSet(theme)) {
        options.themeFile = parser.value(theme);
        if (options.themeFile.isEmpty())
            return failed(QStringLiteral("--theme needs a file name"));
    }
    if (parser.isSet(screenshot)) {
        options.screenshot = parser.value(screenshot);
        if (options.screenshot.isEmpty())
            return failed(QStringLiteral("--screenshot needs a file name"));
    }
    return options;
}
