#pragma once

#include <QStylePlugin>

// The style plugin: KavStyle for any Qt Widgets program, also one never built against the
// library ("program -style kavskin-winxp", or QT_STYLE_OVERRIDE=kavskin-winxp).
//
// Keys: kavskin-macos, kavskin-winxp, kavskin-deepblue, kavskin-protein and kavskin-blueglass
// give those looks; kavskin gives the look of the theme file named by KAVSKIN_THEME, or else the
// look named by KAVSKIN_LOOK (MacOS, WinXP, DeepBlue, Protein or BlueGlass, in any case), or
// else DeepBlue. A theme file that cannot be used, or an unknown look, is reported on the
// program's error output (through Qt's warning handler) and the next choice is taken.
class TkavStylePlugin : public QStylePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "kavskinstyle.json")

public:
    QStyle *create(const QString &key) override;
};
