#pragma once

#include "KAVColor.h"
#include "KAVPictureStore.h"
#include "KAVThemes.h"

#include <QImage>
#include <QPointer>

class TkavFileTheme;

// The theme values of one skinned component, read with one call each: built once from the
// component's UIStyle and FileTheme, it decides between file theme and built-in look
// (UsingFileTheme) and then answers every key from the chosen source. Key kinds are not
// converted: a colour asked of an integer key gives the source's neutral value.
//
// A picture the file theme lacks, or cannot give (an entry refused by the picture budget or
// that cannot be decoded, or one narrower than the key's number of frames), is the built-in
// look's picture of that key (DeepBlue's, the look a file theme falls back to), so that no
// control loses its face, or its size, to a theme file. A usable picture is the file's as it is,
// frames cut from it included.
// Colours, integers and Booleans are the file's as they are: -1 and False where it lacks them.
// Should the file theme be destroyed while this object is alive, its answers become DeepBlue's.
class KavThemeValues {
public:
    KavThemeValues(TkavUIStyle uiStyle, const TkavFileTheme *fileTheme);

    // The built-in look answered from when the file theme is not used.
    TkavUIStyle resolvedStyle() const { return m_style; }
    bool usesFile() const { return m_usesFile; }
    // The ways of the resolved look beyond its values.
    const Kav::TkavLookTraits &traits() const { return Kav::lookTraits(m_style); }

    // The picture of key from the picture store: decoded, cut and masked once, shared with every
    // control that asks for the same. Null only when no look has such a picture.
    Kav::TkavPicture picture(int key, const Kav::PictureRecipe &recipe = {}) const;
    // Where the pictures come from.
    Kav::PictureSource pictureSource() const;

    QImage bitmap(int key) const;
    // Frame subIndex (1-based) of count equal-width frames; count 0 gives the whole picture.
    QImage bitmap(int key, int count, int subIndex) const;
    bool boolean(int key) const;
    TColor color(int key) const;
    int integer(int key) const;

private:
    const TkavFileTheme *fileTheme() const;
    TkavUIStyle builtInStyle() const;

    TkavUIStyle m_style;
    bool m_usesFile;
    QPointer<const TkavFileTheme> m_fileTheme;
};
