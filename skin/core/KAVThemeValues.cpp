#include "KAVThemeValues.h"

#include "KAVMgr.h"

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
    QImage picture;
    if (const TkavFileTheme *theme = fileTheme())
        theme->GetBitmap(key, &picture);
    else
        GetInsideThemeBitmap(builtInStyle(), key, &picture, 0, 0);
    return picture;
}

QImage KavThemeValues::bitmap(int key, int count, int subIndex) const
{
    QImage picture;
    if (const TkavFileTheme *theme = fileTheme())
        theme->GetBitmap(key, &picture, count, subIndex);
    else
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
    return Kav::TkavPictureStore::instance().themePicture(pictureSource(), key, recipe);
}
