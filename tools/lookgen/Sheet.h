#pragma once

// The contact sheet: every picture magnified and labelled, with a small scene per look that puts
// the pictures together the way the skinned controls do, so a look can be judged as a whole.

#include "Pieces.h"

#include <QImage>
#include <QStringList>

#include "KAVThemes.h"

namespace lookgen {

struct SheetSection {
    QString title;
    TkavUIStyle style = TkavUIStyle::FromThemeFile; // FromThemeFile: no scene
    QStringList names;
};

QImage contactSheet(const Pictures &pictures, const QList<SheetSection> &sections);

// A scene of one look's controls at natural size.
QImage lookScene(const Pictures &pictures, TkavUIStyle style);

} // namespace lookgen
