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

#include <functional>
#include <memory>

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
//
// A picture may also carry the same design drawn at twice the density (a built-in NAME@2x, or a
// theme file's NAME@2x entry): exactly twice the size, prepared with the same recipe, and marked
// with device pixel ratio 2 so that QPainter draws it into the same logical rectangle. Sizes
// reported here are always those of the ordinary picture (logical pixels). The double-density
// pixels are decoded and prepared when first asked for (image2x, has2x, imageFor above ratio 1):
// on a screen of ratio 1 they never are.
class TkavPicture {
public:
    TkavPicture() = default;

    bool isNull() const { return m_image.isNull(); }
    const QImage &image() const { return m_image; }
    // The double-density pixels, or a null image when the picture has none.
    const QImage &image2x() const;
    bool has2x() const { return !image2x().isNull(); }
    // What to draw on a device of this pixel ratio: above 1 the double-density pixels when there
    // are any (scaled down by Qt at fractional ratios), otherwise the ordinary ones.
    const QImage &imageFor(qreal devicePixelRatio) const
    {
        return devicePixelRatio > 1.0 && has2x() ? image2x() : m_image;
    }
    QSize size() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // The picture's identity in the store: equal ids, equal pixels. 0 for a null picture.
    quint64 id() const { return m_id; }

    friend bool operator==(const TkavPicture &a, const TkavPicture &b) { return a.m_id == b.m_id; }

private:
    friend class TkavPictureStore;
    // The double-density pixels, made once by make when first asked for; shared by the copies.
    struct Doubled {
        QMutex mutex;
        std::function<QImage()> make;
        QImage image;
    };
    TkavPicture(QImage image, quint64 id, std::function<QImage()> make2x = {})
        : m_image(std::move(image)),
          m_doubled(make2x ? std::make_shared<Doubled>() : nullptr), m_id(id)
    {
        if (m_doubled)
            m_doubled->make = std::move(make2x);
    }

    QImage m_image;
    std::shared_ptr<Doubled> m_doubled;
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

    // The picture of a theme key (frame, mask and grey as asked), with its double-density pixels
    // when the look or theme file has them. A missing picture gives a null picture and one warning
    // per picture; a missing or ill-sized NAME@2x quietly leaves the picture without them.
    TkavPicture themePicture(const PictureSource &source, int key, const PictureRecipe &recipe = {});
    // A built-in picture by resource name (PANEL_BUTTON, MDI_CONTROL_BUTTON, ...).
    TkavPicture resourcePicture(const QString &name, const PictureRecipe &recipe = {});
    // A picture a control was given (a glyph, an image panel's picture), masked or greyed once per
    // picture and kept while there is room (a bounded cache: controls hold the result).
    TkavPicture userPicture(const QImage &image, const PictureRecipe &recipe = {});
    // The same with the picture's double-density pixels (exactly twice its size, else left out),
    // which controls that build pictures from the look's (turned, composed) pass along.
    TkavPicture userPicture(const QImage &image, const QImage &image2x, const PictureRecipe &recipe = {});

    // Forgets every picture of the theme (it loaded another file, or is going away) and retires
    // the faces composed from them.
    void retireTheme(const TkavFileTheme *theme);

    // How much work the store has done, for benchmarks and tests: whole pictures decoded and
    // pictures cut, masked or greyed (a picture's double-density pixels are prepared with it), and
    // double-density pictures decoded.
    struct Counters {
        qint64 decodes = 0;
        qint64 preparations = 0;
        qint64 decodes2x = 0;
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
    TkavPicture prepared(const Key &key, const QImage &whole, std::function<QImage()> whole2x,
                         const PictureRecipe &recipe);
    QImage builtInWhole(const QString &name);
    QImage builtInWhole2x(const QString &name, const QImage &whole);
    // What decodes a picture's double-density whole when it is first asked for.
    std::function<QImage()> lazyBuiltInWhole2x(const QString &name, const QImage &whole);
    std::function<QImage()> lazyThemeWhole2x(const PictureSource &source, int key, const QImage &whole);
    QImage themeWhole(const PictureSource &source, int key);
    QImage themeWhole2x(const PictureSource &source, int key, const QImage &whole);
    quint64 nextId();

    mutable QMutex m_mutex;
    struct Tables;
    Tables *m_tables;
    Counters m_counters;
};

// The pixels of a recipe applied to a whole picture: the frame cut, masked and greyed. What the
// store caches; exposed for tests and tools.
QImage KavPreparePicture(const QImage &whole, const PictureRecipe &recipe);

// The name under which the double-density copy of a picture is stored: NAME@2x.
QString KavDoubleDensityName(const QString &name);

} // namespace Kav
