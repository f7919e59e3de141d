#include "KAVPictureStore.h"

#include "KAVFaceCache.h"
#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVResources.h"
#include "KAVThemeFile.h"

#include <QCache>
#include <QFile>
#include <QMutexLocker>
#include <QSet>
#include <QtDebug>

#include <memory>
#include <optional>

namespace Kav {

namespace {

constexpr QRgb RgbMask = 0xFFFFFF;
constexpr QRgb MagentaKey = 0xFF00FF;
// Pictures that controls were given are kept while they fit in this many bytes.
constexpr qsizetype UserPictureBudget = 8 * 1024 * 1024;

// The colour that a mask makes transparent, or nothing for PictureMask::None.
std::optional<QRgb> maskColour(const QImage &picture, PictureMask mask)
{
    switch (mask) {
    case PictureMask::None:
        return std::nullopt;
    case PictureMask::Magenta:
        return MagentaKey;
    case PictureMask::TopLeft:
        return picture.pixel(0, 0) & RgbMask;
    case PictureMask::BottomLeft:
        return picture.pixel(0, picture.height() - 1) & RgbMask;
    }
    return std::nullopt;
}

// A grey, lightened copy: how a disabled control shows a picture.
void greyOut(QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
}

} // namespace

QImage KavPreparePicture(const QImage &whole, const PictureRecipe &recipe)
{
    QImage picture;
    if (recipe.frameCount == 0)
        picture = whole;
    else
        SpitBitmap(whole, picture, recipe.frameCount, recipe.frame);
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return QImage();
    const std::optional<QRgb> key = maskColour(picture, recipe.mask);
    if (!key && !recipe.greyed)
        return picture.convertToFormat(QImage::Format_RGB32);

    // Masking and greying work on straight alpha; the result is premultiplied so that drawing it
    // is a plain blend. Fully transparent and fully opaque pixels survive that exactly.
    QImage work = picture.convertToFormat(QImage::Format_ARGB32);
    if (key) {
        for (int y = 0; y < work.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(work.scanLine(y));
            for (int x = 0; x < work.width(); ++x)
                if ((line[x] & RgbMask) == *key)
                    line[x] = 0;
        }
    }
    if (recipe.greyed)
        greyOut(work);
    return work.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString KavDoubleDensityName(const QString &name)
{
    return name + QStringLiteral("@2x");
}

namespace {

// A double-density picture is used only when it is exactly twice the picture it stands for;
// anything else (a stale or mistaken entry) would put frames and corners in the wrong places.
QImage acceptedDoubled(QImage doubled, const QImage &single)
{
    if (doubled.isNull() || single.isNull() || doubled.size() != single.size() * 2)
        return QImage();
    doubled.setDevicePixelRatio(2.0);
    return doubled;
}

} // namespace

// What a prepared picture is known by. kind tells the three families apart: built-in pictures by
// resource name, theme pictures by theme, revision and key, user pictures by the image's own
// cache key.
struct TkavPictureStore::Key {
    enum Kind : quint8 { BuiltIn, Theme, User } kind = BuiltIn;
    QString name;
    const void *theme = nullptr;
    quint64 revision = 0;
    qint64 number = 0; // theme key, or the user image's cache key
    PictureRecipe recipe;

    friend bool operator==(const Key &a, const Key &b)
    {
        return a.kind == b.kind && a.name == b.name && a.theme == b.theme && a.revision == b.revision
            && a.number == b.number && a.recipe == b.recipe;
    }
    friend size_t qHash(const Key &k, size_t seed = 0)
    {
        return qHashMulti(seed, int(k.kind), k.name, quintptr(k.theme), k.revision, k.number,
                          k.recipe.frameCount, k.recipe.frame, int(k.recipe.mask), k.recipe.greyed);
    }
};

// A built-in look's picture as controls ask for it: by look and key, without building the
// picture's name (the name keys the shared entry that looks naming one picture share).
struct BuiltInRequest {
    TkavUIStyle style;
    int key;
    PictureRecipe recipe;

    friend bool operator==(const BuiltInRequest &, const BuiltInRequest &) = default;
    friend size_t qHash(const BuiltInRequest &r, size_t seed = 0)
    {
        return qHashMulti(seed, int(r.style), r.key, r.recipe.frameCount, r.recipe.frame, int(r.recipe.mask),
                          r.recipe.greyed);
    }
};

struct TkavPictureStore::Tables {
    // The fast way to the prepared built-in pictures.
    QHash<BuiltInRequest, TkavPicture> builtInRequests;
    // Whole decoded pictures, by resource name and by (theme, revision, key); the double-density
    // ones apart, null where there are none.
    QHash<QString, QImage> builtInWholes;
    QHash<QString, QImage> builtInWholes2x;
    // A file theme's wholes share the pixels its theme owns (implicitly shared QImages, no copies).
    QHash<Key, QImage> themeWholes;
    QHash<Key, QImage> themeWholes2x;
    // Prepared pictures of the built-in looks and of the file themes.
    QHash<Key, TkavPicture> prepared;
    // Pictures controls were given, bounded.
    QCache<Key, TkavPicture> user{UserPictureBudget};
    // Names already reported missing, so that a missing picture is told once.
    QSet<QString> reported;
};

TkavPictureStore::TkavPictureStore() : m_tables(new Tables)
{
    // The built-in pictures are read from the library's resources: this also links them in when
    // a program takes the library's archive without CMake.
    KavInitResources();
}

TkavPictureStore::~TkavPictureStore()
{
    delete m_tables;
}

TkavPictureStore &TkavPictureStore::instance()
{
    static TkavPictureStore store;
    return store;
}

quint64 TkavPictureStore::nextId()
{
    // The top bit tells store ids from QImage cache keys in the face cache.
    static quint64 last = 0;
    return (quint64(1) << 63) | ++last;
}

QImage TkavPictureStore::builtInWhole(const QString &name)
{
    const auto found = m_tables->builtInWholes.constFind(name);
    if (found != m_tables->builtInWholes.cend())
        return *found;
    QImage picture;
    const QString path = QStringLiteral(":/looks/") + name;
    if (!name.isEmpty() && QFile::exists(path))
        picture = QImage(path).convertToFormat(QImage::Format_RGB32);
    ++m_counters.decodes;
    if (picture.isNull() && !m_tables->reported.contains(name)) {
        m_tables->reported.insert(name);
        qWarning("kavskin: the picture resource %s is missing or cannot be read", qPrintable(name));
    }
    m_tables->builtInWholes.insert(name, picture);
    return picture;
}

QImage TkavPictureStore::builtInWhole2x(const QString &name, const QImage &whole)
{
    const auto found = m_tables->builtInWholes2x.constFind(name);
    if (found != m_tables->builtInWholes2x.cend())
        return *found;
    QImage picture;
    const QString path = QStringLiteral(":/looks/") + KavDoubleDensityName(name);
    if (!name.isEmpty() && !whole.isNull() && QFile::exists(path)) {
        picture = acceptedDoubled(QImage(path).convertToFormat(QImage::Format_RGB32), whole);
        ++m_counters.decodes2x;
    }
    m_tables->builtInWholes2x.insert(name, picture);
    return picture;
}

QImage TkavPictureStore::themeWhole2x(const PictureSource &source, int key, const QImage &whole)
{
    Key wholeKey;
    wholeKey.kind = Key::Theme;
    wholeKey.theme = source.theme;
    wholeKey.revision = source.revision;
    wholeKey.number = key;
    const auto found = m_tables->themeWholes2x.constFind(wholeKey);
    if (found != m_tables->themeWholes2x.cend())
        return *found;
    QImage picture;
    if (!whole.isNull()) {
        // The theme owns its decoded pictures; the store shares them rather than reading the file again.
        source.theme->GetBitmap2x(key, &picture);
        picture = acceptedDoubled(picture, whole);
        ++m_counters.decodes2x;
    }
    m_tables->themeWholes2x.insert(wholeKey, picture);
    return picture;
}

QImage TkavPictureStore::themeWhole(const PictureSource &source, int key)
{
    Key wholeKey;
    wholeKey.kind = Key::Theme;
    wholeKey.theme = source.theme;
    wholeKey.revision = source.revision;
    wholeKey.number = key;
    const auto found = m_tables->themeWholes.constFind(wholeKey);
    if (found != m_tables->themeWholes.cend())
        return *found;
    QImage picture;
    source.theme->GetBitmap(key, &picture);
    ++m_counters.decodes;
    m_tables->themeWholes.insert(wholeKey, picture);
    return picture;
}

const QImage &TkavPicture::image2x() const
{
    static const QImage none;
    if (!m_doubled)
        return none;
    QMutexLocker lock(&m_doubled->mutex);
    if (m_doubled->make) {
        m_doubled->image = m_doubled->make();
        m_doubled->make = nullptr;
    }
    return m_doubled->image;
}

TkavPicture TkavPictureStore::prepared(const Key &key, const QImage &whole, std::function<QImage()> whole2x,
                                       const PictureRecipe &recipe)
{
    const QImage pixels = KavPreparePicture(whole, recipe);
    if (recipe.frameCount != 0 || recipe.mask != PictureMask::None || recipe.greyed)
        ++m_counters.preparations;
    // The double-density pixels are decoded and prepared when a control first asks for them. A
    // strip whose width the frame count does not divide cuts differently at twice the size; such
    // a frame keeps only its ordinary pixels.
    auto make2x = [whole2x = std::move(whole2x), recipe, pixels] {
        const QImage doubledWhole = whole2x();
        return doubledWhole.isNull() ? QImage() : acceptedDoubled(KavPreparePicture(doubledWhole, recipe), pixels);
    };
    TkavPicture picture = pixels.isNull() ? TkavPicture() : TkavPicture(pixels, nextId(), make2x);
    m_tables->prepared.insert(key, picture);
    return picture;
}

std::function<QImage()> TkavPictureStore::lazyBuiltInWhole2x(const QString &name, const QImage &whole)
{
    return [this, name, whole] {
        QMutexLocker lock(&m_mutex);
        return builtInWhole2x(name, whole);
    };
}

std::function<QImage()> TkavPictureStore::lazyThemeWhole2x(const PictureSource &source, int key, const QImage &whole)
{
    // The theme may have gone, or loaded another file, by the time the pixels are asked for: then
    // there are none.
    const QPointer<const TkavFileTheme> theme(source.theme);
    return [this, theme, source, key, whole] {
        QMutexLocker lock(&m_mutex);
        if (!theme || theme->revision() != source.revision)
            return QImage();
        return themeWhole2x(source, key, whole);
    };
}

TkavPicture TkavPictureStore::themePicture(const PictureSource &source, int key, const PictureRecipe &recipe)
{
    QMutexLocker lock(&m_mutex);
    if (!source.theme) {
        const BuiltInRequest request{source.style, key, recipe};
        const auto known = m_tables->builtInRequests.constFind(request);
        if (known != m_tables->builtInRequests.cend())
            return *known;
    }
    Key entryKey;
    entryKey.recipe = recipe;
    if (source.theme) {
        entryKey.kind = Key::Theme;
        entryKey.theme = source.theme;
        entryKey.revision = source.revision;
        entryKey.number = key;
    } else {
        // Looks that share a picture (MORE_SCROLLBUTTON) share its prepared frames too.
        entryKey.name = GetInsideThemeStr(source.style, key);
        if (entryKey.name.isEmpty())
            return {};
    }
    const auto found = m_tables->prepared.constFind(entryKey);
    TkavPicture picture;
    if (found != m_tables->prepared.cend())
        picture = *found;
    else if (source.theme) {
        const QImage whole = themeWhole(source, key);
        picture = prepared(entryKey, whole, lazyThemeWhole2x(source, key, whole), recipe);
    } else {
        const QImage whole = builtInWhole(entryKey.name);
        picture = prepared(entryKey, whole, lazyBuiltInWhole2x(entryKey.name, whole), recipe);
    }
    if (!source.theme)
        m_tables->builtInRequests.insert({source.style, key, recipe}, picture);
    return picture;
}

TkavPicture TkavPictureStore::resourcePicture(const QString &name, const PictureRecipe &recipe)
{
    QMutexLocker lock(&m_mutex);
    Key entryKey;
    entryKey.name = name;
    entryKey.recipe = recipe;
    const auto found = m_tables->prepared.constFind(entryKey);
    if (found != m_tables->prepared.cend())
        return *found;
    const QImage whole = builtInWhole(name);
    return prepared(entryKey, whole, lazyBuiltInWhole2x(name, whole), recipe);
}

TkavPicture TkavPictureStore::userPicture(const QImage &image, const PictureRecipe &recipe)
{
    return userPicture(image, QImage(), recipe);
}

TkavPicture TkavPictureStore::userPicture(const QImage &image, const QImage &image2x, const PictureRecipe &recipe)
{
    if (image.isNull())
        return {};
    QMutexLocker lock(&m_mutex);
    Key entryKey;
    entryKey.kind = Key::User;
    entryKey.number = image.cacheKey();
    entryKey.revision = image2x.isNull() ? 0 : image2x.cacheKey();
    entryKey.recipe = recipe;
    if (const TkavPicture *found = m_tables->user.object(entryKey))
        return *found;
    const QImage pixels = KavPreparePicture(image, recipe);
    ++m_counters.preparations;
    if (pixels.isNull())
        return {};
    std::function<QImage()> make2x;
    if (!image2x.isNull()) {
        make2x = [image2x, recipe, pixels] {
            QImage doubled = image2x;
            doubled.setDevicePixelRatio(1.0);
            return acceptedDoubled(KavPreparePicture(doubled, recipe), pixels);
        };
    }
    const TkavPicture picture(pixels, nextId(), make2x);
    m_tables->user.insert(entryKey, new TkavPicture(picture), qMax<qsizetype>(1, pixels.sizeInBytes()));
    return picture;
}

void TkavPictureStore::retireTheme(const TkavFileTheme *theme)
{
    QList<quint64> retired;
    {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_tables->prepared.begin(); it != m_tables->prepared.end();) {
            if (it.key().kind == Key::Theme && it.key().theme == theme) {
                if (it->id() != 0)
                    retired.append(it->id());
                it = m_tables->prepared.erase(it);
            } else {
                ++it;
            }
        }
        for (QHash<Key, QImage> *wholes : {&m_tables->themeWholes, &m_tables->themeWholes2x}) {
            for (auto it = wholes->begin(); it != wholes->end();) {
                if (it.key().theme == theme)
                    it = wholes->erase(it);
                else
                    ++it;
            }
        }
    }
    TkavFaceCache::shared().retirePictures(retired);
}

TkavPictureStore::Counters TkavPictureStore::counters() const
{
    QMutexLocker lock(&m_mutex);
    return m_counters;
}

void TkavPictureStore::clear()
{
    QMutexLocker lock(&m_mutex);
    delete m_tables;
    m_tables = new Tables;
}

} // namespace Kav
