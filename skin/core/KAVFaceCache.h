#pragma once

#include <QCache>
#include <QElapsedTimer>
#include <QList>
#include <QImage>
#include <QMutex>
#include <QSize>

// Composed control faces (a picture stretched to a control's size), kept so that a control that
// repaints at an unchanged size does not compose its face again, and so that identical controls
// share one face. Entries are looked up by everything that determines their pixels: the
// picture's identity (the picture store's id, or QImage::cacheKey() for a picture from elsewhere,
// which changes whenever the picture changes), the size and a few drawing flags. A file theme
// that loads another file retires exactly the faces of its old pictures; least recently used
// faces are retired once the byte budget is spent. Safe to use from several threads.
//
// The shared cache's budget follows what the windows show: when it is spent it grows to twice
// the pixels of the shown windows (never below the default, never above MaximumBudgetBytes), so
// that a window of many large controls keeps all of its faces.
class TkavFaceCache
{
public:
    struct Key {
        quint64 picture = 0;
        QSize size;
        quint32 flags = 0;

        friend bool operator==(const Key &a, const Key &b)
        {
            return a.picture == b.picture && a.size == b.size && a.flags == b.flags;
        }
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.picture, key.size.width(), key.size.height(), key.flags);
        }
    };

    static constexpr qsizetype DefaultBudgetBytes = 16 * 1024 * 1024;
    static constexpr qsizetype MaximumBudgetBytes = 256 * 1024 * 1024;

    // A cache of a fixed budget; followShownWindows lets the budget grow with the shown windows.
    explicit TkavFaceCache(qsizetype budgetBytes = DefaultBudgetBytes, bool followShownWindows = false);

    // The cache the drawing helpers share.
    static TkavFaceCache &shared();

    // The face stored under key, or a null image.
    QImage find(const Key &key);
    // Stores face under key. Faces larger than a quarter of the budget are not kept, so one
    // huge face cannot push out all the small ones.
    void insert(const Key &key, const QImage &face);

    // Retires every face made from the picture with this identity, or from any of these.
    void retirePicture(quint64 picture);
    void retirePictures(const QList<quint64> &pictures);
    void clear();

    void setBudgetBytes(qsizetype bytes);
    qsizetype budgetBytes() const;
    qsizetype count() const;
    qsizetype usedBytes() const;

    // Faces made and faces found since the start (benchmarks and tests).
    struct Counters {
        qint64 composed = 0;
        qint64 hits = 0;
    };
    Counters counters() const;
    // Counts a look-up that composed a new face or found one.
    void countLookup(bool hit);

private:
    static qsizetype costOf(const QImage &face);
    // Twice the bytes of the shown windows' pixels; 0 off the GUI thread.
    static qsizetype shownWindowBytes();

    mutable QMutex mutex_;
    Counters counters_;
    QCache<Key, QImage> faces_;
    qsizetype floorBytes_;
    bool followShownWindows_;
    QElapsedTimer budgetChecked_; // when the shown windows were last looked at
};
