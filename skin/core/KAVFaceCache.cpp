#include "KAVFaceCache.h"

#include <QGuiApplication>
#include <QMutexLocker>
#include <QSet>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace {
// Bookkeeping of one entry besides its pixels, so that a flood of tiny faces is bounded too.
constexpr qsizetype EntryOverheadBytes = 256;
} // namespace

TkavFaceCache::TkavFaceCache(qsizetype budgetBytes, bool followShownWindows)
    : faces_(budgetBytes), floorBytes_(budgetBytes), followShownWindows_(followShownWindows)
{
}

TkavFaceCache &TkavFaceCache::shared()
{
    static TkavFaceCache cache(DefaultBudgetBytes, true);
    return cache;
}

qsizetype TkavFaceCache::shownWindowBytes()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()) || QThread::currentThread() != qApp->thread())
        return 0;
    qint64 bytes = 0;
    for (const QWindow *window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible())
            continue;
        const qreal ratio = window->devicePixelRatio();
        bytes += qint64(window->width() * ratio) * qint64(window->height() * ratio) * 4;
    }
    return qsizetype(std::min<qint64>(2 * bytes, MaximumBudgetBytes));
}

qsizetype TkavFaceCache::costOf(const QImage &face)
{
    return face.sizeInBytes() + EntryOverheadBytes;
}

QImage TkavFaceCache::find(const Key &key)
{
    QMutexLocker lock(&mutex_);
    const QImage *face = faces_.object(key);
    return face ? *face : QImage();
}

void TkavFaceCache::insert(const Key &key, const QImage &face)
{
    if (face.isNull())
        return;
    const qsizetype cost = costOf(face);
    const bool full = [&] {
        QMutexLocker lock(&mutex_);
        // The windows change far less often than faces are made: looked at every 100 ms at most.
        if (!followShownWindows_ || faces_.totalCost() + cost <= faces_.maxCost()
            || (budgetChecked_.isValid() && budgetChecked_.elapsed() < 100))
            return false;
        budgetChecked_.start();
        return true;
    }();
    // Asked outside the lock: the shown windows are the GUI thread's to read.
    const qsizetype shown = full ? shownWindowBytes() : 0;
    QMutexLocker lock(&mutex_);
    if (full)
        faces_.setMaxCost(std::max(floorBytes_, shown));
    if (cost > faces_.maxCost() / 4)
        return;
    faces_.insert(key, new QImage(face), cost);
}

void TkavFaceCache::retirePicture(quint64 picture)
{
    retirePictures({picture});
}

void TkavFaceCache::retirePictures(const QList<quint64> &pictures)
{
    if (pictures.isEmpty())
        return;
    const QSet<quint64> retired(pictures.cbegin(), pictures.cend());
    QMutexLocker lock(&mutex_);
    const QList<Key> keys = faces_.keys();
    for (const Key &key : keys) {
        if (retired.contains(key.picture))
            faces_.remove(key);
    }
}

TkavFaceCache::Counters TkavFaceCache::counters() const
{
    QMutexLocker lock(&mutex_);
    return counters_;
}

void TkavFaceCache::countLookup(bool hit)
{
    QMutexLocker lock(&mutex_);
    ++(hit ? counters_.hits : counters_.composed);
}

void TkavFaceCache::clear()
{
    QMutexLocker lock(&mutex_);
    faces_.clear();
}

void TkavFaceCache::setBudgetBytes(qsizetype bytes)
{
    QMutexLocker lock(&mutex_);
    floorBytes_ = bytes;
    faces_.setMaxCost(bytes);
}

qsizetype TkavFaceCache::budgetBytes() const
{
    QMutexLocker lock(&mutex_);
    return faces_.maxCost();
}

qsizetype TkavFaceCache::count() const
{
    QMutexLocker lock(&mutex_);
    return faces_.count();
}

qsizetype TkavFaceCache::usedBytes() const
{
    QMutexLocker lock(&mutex_);
    return faces_.totalCost();
}
