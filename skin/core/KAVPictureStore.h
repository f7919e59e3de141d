#pragma once

// The one place where the skin's pictures are decoded, cut into frames and masked. Every control
// asks the store for what it draws and gets a shared, ready picture: a built-in picture is
// decoded once per process, a file theme's once per load, and nothing is decoded or masked while
// a control paints. Identical controls get the same picture (the same id), so the faces composed
// from it are shared too (TkavFaceCache).

#include "KAVThemes.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPointer>
#include <QSize>
#include <QString>

class TkavFileTheme;

namespace Kav {

// Which pixels of a picture are drawn as transparent.
enum class PictureMask : quint8 {
    None,       // every pixel as it is
    Magenta,    // pixels of the skin's key colour FF00FF
    TopLeft,    // pixels of the colour of the picture's top-left pixel
    BottomLeft, // pixels of the colour of the picture's bottom-left pixel
};

// How a picture is asked for: a frame of a strip (frameCount 0 is the whole picture), its mask,
// and whether it is the greyed copy a disabled control shows.
struct PictureRecipe {
    int frameCount = 0;
    int frame = 0;
    PictureMask mask = PictureMask::None;
    bool greyed = false;

    friend bool operator==(const PictureRecipe &, const PictureRecipe &) = default;
};

// One prepared picture. Cheap to copy (the pixels are shared). A masked picture is
// ARGB32_Premultiplied with its masked pixels fully transparent, any other RGB32.
class TkavPicture {
public:
    TkavPicture() = default;

    bool isNull() const { return m_image.isNull(); }
    const QImage &image() const { return m_image; }
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // The picture's identity in the store: equal ids, equal pixels. 0 for a null picture.
    quint64 id() const { return m_id; }

    friend bool operator==(const TkavPicture &a, const TkavPicture &b) { return a.m_id == b.m_id; }

private:
    friend class TkavPictureStore;
    TkavPicture(QImage image, quint64 id) : m_image(std::move(image)), m_id(id) {}

    QImage m_image;
    quint64 m_id = 0;
};

// Where a control's theme pictures come from: a built-in look, or the load of a file theme that
// is current (a theme that loads another file starts a new revision).
struct PictureSource {
    TkavUIStyle style = TkavUIStyle::DeepBlue; // the built-in look when theme is null
    const TkavFileTheme *theme = nullptr;
    quint64 revision = 0;
};

class TkavPictureStore {
public:
    // The store every control shares.
    static TkavPictureStore &instance();

    // The picture of a theme key (frame, mask and grey as asked). A missing picture gives a null
    // picture and one warning per picture.
    TkavPicture themePicture(const PictureSource &source, int key, const PictureRecipe &recipe = {});
    // A built-in picture by resource name (PANEL_BUTTON, MDI_CONTROL_BUTTON, ...).
    TkavPicture resourcePicture(const QString &name, const PictureRecipe &recipe = {});
    // A picture a control was given (a glyph, an image panel's picture), masked or greyed once per
    // picture and kept while there is room (a bounded cache: controls hold the result).
    TkavPicture userPicture(const QImage &image, const PictureRecipe &recipe = {});

    // Forgets every picture of the theme (it loaded another file, or is going away) and retires
    // the faces composed from them.
    void retireTheme(const TkavFileTheme *theme);

    // How much work the store has done, for benchmarks and tests: whole pictures decoded and
    // pictures cut, masked or greyed.
    struct Counters {
        qint64 decodes = 0;
        qint64 preparations = 0;
    };
    Counters counters() const;

    // Forgets everything (tests); pictures handed out stay valid.
    void clear();

    TkavPictureStore();
    ~TkavPictureStore();
    TkavPictureStore(const TkavPictureStore &) = delete;
    TkavPictureStore &operator=(const TkavPictureStore &) = delete;

private:
    struct Entry;
    struct Key;
    TkavPicture prepared(const Key &key, const QImage &whole, const PictureRecipe &recipe);
    QImage builtInWhole(const QString &name);
    QImage themeWhole(const PictureSource &source, int key);
    quint64 nextId();

    mutable QMutex m_mutex;
    struct Tables;
    Tables *m_tables;
    Counters m_counters;
};

// The pixels of a recipe applied to a whole picture: the frame cut, masked and greyed. What the
// store caches; exposed for tests and tools.
QImage KavPreparePicture(const QImage &whole, const PictureRecipe &recipe);

} // namespace Kav
