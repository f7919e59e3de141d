#include "KAVPictureBudget.h"

#include <QBuffer>
#include <QImageReader>

namespace Kav {

namespace {

// Qt's own decoder limit, in megabytes, set on every reader as a second guard: the budget in
// bytes rounded up, so that a picture the budget admits is never refused by Qt.
constexpr int decoderLimitMegabytes = int(PictureBudget::MaxPictureBytes / (1024 * 1024)) + 1;

} // namespace

QSize KavPictureHeaderSize(const QByteArray &bytes)
{
    QByteArray copy = bytes; // QBuffer needs a non-const array; the copy shares the bytes
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return QSize();
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(decoderLimitMegabytes);
    return reader.canRead() ? reader.size() : QSize();
}

QString KavPictureRefusal(const QSize &size)
{
    if (!size.isValid() || size.isEmpty())
        return QStringLiteral("the picture has no readable size");
    if (size.width() > PictureBudget::MaxSide || size.height() > PictureBudget::MaxSide)
        return QStringLiteral("%1 x %2 pixels is larger than the %3 x %3 a theme picture may have")
            .arg(size.width())
            .arg(size.height())
            .arg(PictureBudget::MaxSide);
    const qint64 decoded = qint64(size.width()) * size.height() * 4;
    if (decoded > PictureBudget::MaxPictureBytes)
        return QStringLiteral("%1 x %2 pixels would take %3 MB, more than the %4 MB a theme picture may take")
            .arg(size.width())
            .arg(size.height())
            .arg(double(decoded) / (1024 * 1024), 0, 'f', 2) // two places: just over must not read as equal
            .arg(PictureBudget::MaxPictureBytes / (1024 * 1024));
    return QString();
}

QImage KavDecodeBudgetedPicture(const QByteArray &bytes, QString *why)
{
    auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return QImage();
    };
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("the picture cannot be read"));
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(decoderLimitMegabytes);
    if (!reader.canRead())
        return refuse(QStringLiteral("not a bitmap file"));
    const QString refusal = KavPictureRefusal(reader.size());
    if (!refusal.isEmpty())
        return refuse(refusal);
    QImage picture;
    if (!reader.read(&picture))
        return refuse(QStringLiteral("the bitmap cannot be decoded: %1").arg(reader.errorString()));
    // The header may understate what the decoder produced; never hand on more than the budget.
    const QString decodedRefusal = KavPictureRefusal(picture.size());
    if (!decodedRefusal.isEmpty())
        return refuse(decodedRefusal);
    if (why)
        why->clear();
    return picture;
}

} // namespace Kav
