#include "KAVStylePlugin.h"

#include "KAVMgr.h"
#include "KAVStyle.h"

#include <QFileInfo>
#include <QMetaEnum>

#include <optional>

namespace {

// The built-in look of a name (MacOS, WinXP, DeepBlue, Protein, BlueGlass), in any case.
std::optional<TkavUIStyle> lookNamed(QStringView name)
{
    const QMetaEnum looks = QMetaEnum::fromType<TkavUIStyle>();
    for (int i = 0; i < looks.keyCount(); ++i) {
        const auto look = TkavUIStyle(looks.value(i));
        if (look != TkavUIStyle::FromThemeFile && name.compare(QLatin1StringView(looks.key(i)), Qt::CaseInsensitive) == 0)
            return look;
    }
    return std::nullopt;
}

// kavskin: KAVSKIN_THEME, else KAVSKIN_LOOK, else DeepBlue.
QStyle *styleFromEnvironment()
{
    const QString themeFile = qEnvironmentVariable("KAVSKIN_THEME");
    if (!themeFile.isEmpty()) {
        auto *theme = new TkavFileTheme;
        theme->setThemeFile(themeFile);
        if (theme->CanUse()) {
            auto *style = new Kav::KavStyle(theme);
            theme->setParent(style); // the style keeps its theme
            return style;
        }
        const QString why = !QFileInfo::exists(themeFile) ? QStringLiteral("there is no such file") : theme->errorString();
        qWarning("kavskin: cannot use the theme file \"%s\" (KAVSKIN_THEME): %s", qPrintable(themeFile), qPrintable(why));
        delete theme;
    }
    const QString lookName = qEnvironmentVariable("KAVSKIN_LOOK");
    TkavUIStyle look = TkavUIStyle::DeepBlue;
    if (!lookName.isEmpty()) {
        if (const std::optional<TkavUIStyle> named = lookNamed(lookName))
            look = *named;
        else
            qWarning("kavskin: unknown look \"%s\" (KAVSKIN_LOOK); the looks are MacOS, WinXP, DeepBlue, Protein "
                     "and BlueGlass. Using DeepBlue.",
                     qPrintable(lookName));
    }
    return new Kav::KavStyle(look);
}

} // namespace

QStyle *TkavStylePlugin::create(const QString &key)
{
    const QString name = key.toLower();
    if (name == QLatin1String("kavskin"))
        return styleFromEnvironment();
    static const QLatin1StringView prefix("kavskin-");
    if (name.startsWith(prefix)) {
        if (const std::optional<TkavUIStyle> look = lookNamed(QStringView(name).mid(prefix.size())))
            return new Kav::KavStyle(*look);
    }
    return nullptr;
}
