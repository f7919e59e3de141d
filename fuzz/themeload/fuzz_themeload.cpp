// Feeds arbitrary bytes through the whole theme load path: written to a file, loaded by a file
// theme and by the theme manager below it, every key read as value and picture (whole and as
// frames, through the picture store too, and as a control's value look-up, which must always
// give a picture), and one skinned button painted from the theme into an image. Any crash, sanitizer report, leak, hang or runaway memory is a finding.

#include "KAVButton.h"
#include "KAVFileThemeMgr.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmapCache>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

QApplication *application = nullptr;
QTemporaryDir *folder = nullptr;

bool writeInput(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

qint64 readEveryKey(const TkavFileTheme &theme)
{
    qint64 total = 0;
    const Kav::PictureSource source{TkavUIStyle::FromThemeFile, &theme, theme.revision()};
    // As controls ask: a picture the file cannot give is the built-in look's, never none.
    const KavThemeValues values(TkavUIStyle::FromThemeFile, &theme);
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        total += theme.GetInt(key) + (theme.GetBool(key) ? 1 : 0) + qint64(theme.GetColor(key).value);
        QImage whole;
        theme.GetBitmap(key, &whole);
        total += whole.width();
        const int frames = Kav::KavThemeKeyFrameCount(key);
        for (int frame = 1; frame <= frames; ++frame) {
            QImage part;
            theme.GetBitmap(key, &part, frames, frame);
            total += part.height();
            const Kav::TkavPicture picture = Kav::TkavPictureStore::instance().themePicture(
                source, key, Kav::PictureRecipe{frames, frame, Kav::PictureMask::Magenta, frame == frames});
            total += picture.width();
            const Kav::TkavPicture shown = values.picture(key, Kav::PictureRecipe{frames, frame, Kav::PictureMask::None, false});
            if (shown.isNull())
                __builtin_trap();
            total += shown.height();
        }
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QApplication(*argc, *argv);
    folder = new QTemporaryDir();
    // Faces of controls are cached by Qt too; none should pile up between runs.
    QPixmapCache::setCacheLimit(1024);
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("input.kav"));
    if (!writeInput(path, data, size))
        __builtin_trap();

    {
        // The loader below the theme on its own: a failed load always says why (a load may also
        // explain refused pictures, so a message does not mean failure).
        TkavFileThemeMgr mgr;
        const bool loaded = mgr.LoadFromFile(path);
        if ((!loaded && mgr.errorString().isEmpty()) || loaded != mgr.isLoaded())
            __builtin_trap();
        QImage picture;
        for (int key = 1; key <= KavThemeKeyCount; ++key)
            mgr.GetBitmap(key, &picture);
    }

    // A fresh theme each run: the same file name again would do nothing, and its pictures leave
    // the store when it goes away.
    auto theme = std::make_unique<TkavFileTheme>();
    theme->setThemeFile(path);
    if (!theme->CanUse() && theme->errorString().isEmpty())
        __builtin_trap();
    volatile qint64 sink = readEveryKey(*theme);
    (void)sink;

    {
        TkavButton button;
        button.setText(QStringLiteral("OK"));
        button.setUIStyle(TkavUIStyle::FromThemeFile);
        button.setFileTheme(theme.get());
        button.resize(80, 26);
        QImage face(button.size(), QImage::Format_ARGB32_Premultiplied);
        face.fill(Qt::white);
        button.render(&face);
        button.setEnabled(false);
        button.render(&face);
    }
    theme.reset();
    QPixmapCache::clear();
    return 0;
}
