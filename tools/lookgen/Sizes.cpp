#include "Sizes.h"

#include "KAVMetrics.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lookgen {

namespace {

// A size the tables do not hold is a mistake in the generator: drawing a picture of no size
// would only be reported later, far from its cause.
[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "kav-lookgen: %s\n", qPrintable(message));
    std::exit(1);
}

QSize known(QSize size, const char *what)
{
    if (size.isEmpty())
        fail(QStringLiteral("no picture size known for %1").arg(QLatin1String(what)));
    return size;
}

const Kav::Metrics::FixedPicture &fixedPicture(const char *name)
{
    for (const Kav::Metrics::FixedPicture &fixed : Kav::Metrics::FixedPictures)
        if (std::strcmp(fixed.name, name) == 0)
            return fixed;
    fail(QStringLiteral("%1 is no picture loaded by a fixed name").arg(QLatin1String(name)));
}

} // namespace

QSize pictureSize(TkavUIStyle look, int key)
{
    return known(Kav::Metrics::keyPictureSize(look, key), qPrintable(Kav::KavThemeKeyName(key)));
}

QSize frameSize(TkavUIStyle look, int key)
{
    return stripFrame(pictureSize(look, key), Kav::KavThemeKeyFrameCount(key));
}

QSize fixedPictureSize(const char *name)
{
    return known(fixedPicture(name).size, name);
}

QSize fixedFrameSize(const char *name)
{
    const Kav::Metrics::FixedPicture &fixed = fixedPicture(name);
    return stripFrame(known(fixed.size, name), fixed.frames);
}

QSize stripFrame(QSize whole, int frames)
{
    if (frames < 1 || whole.width() % frames != 0)
        fail(QStringLiteral("a %1x%2 picture cannot hold %3 equal frames")
                 .arg(whole.width())
                 .arg(whole.height())
                 .arg(frames));
    return QSize(whole.width() / frames, whole.height());
}

} // namespace lookgen
