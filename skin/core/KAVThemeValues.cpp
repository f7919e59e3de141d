#include "KAVThemeValues.h"

#include "KAVMgr.h"

#include <algorithm>

KavThemeValues::KavThemeValues(TkavUIStyle uiStyle, const TkavFileTheme *fileTheme)
    : m_style(uiStyle), m_usesFile(UsingFileTheme(fileTheme, uiStyle, m_style)), m_fileTheme(fileTheme)
{
}

const TkavFileTheme *KavThemeValues::fileTheme() const
{
    return m_usesFile ? m_fileTheme.data() : nullptr;
}

TkavUIStyle KavThemeValues::builtInStyle() const
{
    // Only reached with a file theme that has gone away since: fall back as components do.
    return m_usesFile ? TkavUIStyle::DeepBlue : m_style;
}

QImage KavThemeValues::bitmap(int key) const
{
    return bitmap(key, 0, 0);
}

namespace {

// Whether a file theme's picture of key can stand for the look's: it is there, and wide enough
// for each of the key's frames to have a column. Anything else would leave the control without
// a face (a picture the file lacks, or refused or undecodable, reads as null).
bool usablePicture(QSize whole, int key)
{
    return !whole.isEmpty() && whole.width() >= std::max(1, Kav::KavThemeKeyFrameCount(key));
}

} // namespace

QImage KavThemeValues::bitmap(int key, int count, int subIndex) const
{
    QImage picture;
    const TkavFileTheme *theme = fileTheme();
    if (theme) {
        QImage whole;
        theme->GetBitmap(key, &whole);
        if (usablePicture(whole.size(), key)) {
            theme->GetBitmap(key, &picture, count, subIndex);
            return picture;
        }
    }
    GetInsideThemeBitmap(builtInStyle(), key, &picture, count, subIndex);
    return picture;
}

bool KavThemeValues::boolean(int key) const
{
    const TkavFileTheme *theme = fileTheme();
    return theme ? theme->GetBool(key) : GetInsideThemeBool(builtInStyle(), key);
}

TColor KavThemeValues::color(int key) const
{
    const TkavFileTheme *theme = fileTheme();
    return theme ? theme->GetColor(key) : GetInsideThemeColor(builtInStyle(), key);
}

int KavThemeValues::integer(int key) const
{
    const TkavFileTheme *theme = fileTheme();
    return theme ? theme->GetInt(key) : GetInsideThemeInt(builtInStyle(), key);
}

Kav::PictureSource KavThemeValues::pictureSource() const
{
    if (const TkavFileTheme *theme = fileTheme())
        return {m_style, theme, theme->revision()};
    return {builtInStyle(), nullptr, 0};
}

Kav::TkavPicture KavThemeValues::picture(int key, const Kav::PictureRecipe &recipe) const
{
    Kav::TkavPictureStore &store = Kav::TkavPictureStore::instance();
    const Kav::PictureSource source = pictureSource();
    // No control vanishes because of a theme file: a picture the file lacks, or whose entry could
    // not be decoded or was refused, or that is too narrow for the key's frames, is the built-in
    // look's picture of that key.
    if (source.theme && !usablePicture(store.themePicture(source, key).size(), key))
        return store.themePicture({builtInStyle(), nullptr, 0}, key, recipe);
    return store.themePicture(source, key, recipe);
}
