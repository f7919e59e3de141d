#pragma once

// Writes a small theme file of hand-made pictures and colours and loads it, for the control
// tests' pixel checks: what a control draws from it is known to the pixel.

#include "KAVColor.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"

#include <QImage>
#include <QList>
#include <QPair>
#include <QTemporaryDir>

#include <memory>

namespace KavTest {

struct FixturePicture {
    int key;
    QImage picture;
    QImage picture2x = {}; // written as the NAME@2x entry when given
};

struct FixtureColour {
    int key;
    TColor colour;
};

// The theme file name.kav in dir with these pictures and colours, loaded; nullptr when it could
// not be written or loaded.
inline std::unique_ptr<TkavFileTheme> writeFixtureTheme(const QTemporaryDir &dir, const QString &name,
                                                        const QList<FixturePicture> &pictures,
                                                        const QList<FixtureColour> &colours)
{
    const QString path = dir.filePath(name + QStringLiteral(".kav"));
    {
        TkavThemeFileWriter writer(path);
        for (const FixturePicture &entry : pictures) {
            const QString file = dir.filePath(name + QLatin1Char('-') + Kav::KavThemeKeyName(entry.key) + QStringLiteral(".bmp"));
            if (!entry.picture.save(file, "BMP"))
                return nullptr;
            writer.AddFile(Kav::KavThemeKeyName(entry.key), file);
            if (!entry.picture2x.isNull()) {
                const QString file2x = dir.filePath(name + QLatin1Char('-') + Kav::KavThemeKeyName(entry.key)
                                                    + QStringLiteral("@2x.bmp"));
                if (!entry.picture2x.save(file2x, "BMP"))
                    return nullptr;
                writer.AddFile(Kav::KavDoubleDensityName(Kav::KavThemeKeyName(entry.key)), file2x);
            }
        }
        for (const FixtureColour &entry : colours)
            writer.AddInteger(Kav::KavThemeKeyName(entry.key), qint32(entry.colour.value));
        if (!writer.Save())
            return nullptr;
    }
    auto theme = std::make_unique<TkavFileTheme>();
    theme->setThemeFile(path);
    if (!theme->CanUse())
        return nullptr;
    return theme;
}

} // namespace KavTest
