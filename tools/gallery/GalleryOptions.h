#pragma once

#include "KAVThemes.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// What the command line asks of kav-gallery.
struct GalleryOptions {
    enum class Action { Show, Help, Error };

    Action action = Action::Show;
    // The built-in look to show; ignored when themeFile is set.
    TkavUIStyle look = TkavUIStyle::DeepBlue;
    // A theme file (.kav) to show instead of a built-in look.
    QString themeFile;
    // Where to write the screenshot; empty: show the window.
    QString screenshot;
    // What was wrong with the command line (Action::Error).
    QString error;
};

// Reads the arguments (program name first). Never exits and needs no application object, so
// that --help and mistakes are answered without a display.
GalleryOptions parseGalleryOptions(const QStringList &arguments);

// The --help text.
QString galleryUsage();

// The five built-in looks in the order the gallery offers them.
QList<TkavUIStyle> galleryLooks();
// "MacOS" ... "BlueGlass".
QString galleryLookName(TkavUIStyle look);
// The built-in look of that name, compared without regard to case.
std::optional<TkavUIStyle> galleryLookByName(QStringView name);
