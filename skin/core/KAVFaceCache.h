#pragma once

#include <QCache>
#include <QImage>
#include <QMutex>
#include <QSize>

// Composed control faces (a picture stretched to a control's size), kept so that a control that
// repaints at an unchanged size does not compose its face again. Entries are looked up by
// everything that determines their pixels: the picture's QImage::cacheKey() (which changes
// whenever the picture changes, so a new look never meets the old look's faces), the size and
// a few drawing flags. Least recently used faces are retired once the byte budget is spent.
// Safe to use from several threads.
class TkavFaceCache
{
public:
    struct Key {
        qint64 picture = 0;
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

    explicit TkavFaceCache(qsizetype budgetBytes = DefaultBudgetBytes);

    // The cache the drawing helpers share.
    static TkavFaceCache &shared();

    // The face stored under key, or a null image.
    QImage find(const Key &key);
    // Stores face under key. Faces larger than a quarter of the budget are not kept, so one
    // huge face cannot push out all the small ones.
    void insert(const Key &key, const QImage &face);

    // Retires every face made from the picture with this cache key.
    void retirePicture(qint64 pictureKey);
    void clear();

    void setBudgetBytes(qsizetype bytes);
    qsizetype budgetBytes() const;
    qsizetype count() const;
    qsizetype usedBytes() const;

private:
    static qsizetype costOf(const QImage &face);

    mutable QMutex mutex_;
    QCache<Key, QImage> faces_;
};
