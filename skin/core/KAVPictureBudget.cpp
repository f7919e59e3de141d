#include "KAVPictureBudget.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <limits>

namespace Kav {

namespace {

// Qt's own decoder limit, in megabytes, set on every reader as a second guard: the budget in
// bytes rounded up, so that a picture the budget admits is never refused by Qt.
constexpr int decoderLimitMegabytes = int(PictureBudget::MaxPictureBytes / (1024 * 1024)) + 1;

// Qt tells the size of a bitmap stored top row first with its negative height; such a bitmap
// decodes as any other, to a picture of the positive height.
QSize headerSize(QImageReader &reader)
{
    const QSize size = reader.size();
    return size.width() > 0 && size.height() < 0 && size.height() != std::numeric_limits<int>::min()
        ? QSize(size.width(), -size.height())
        : size;
}

} // namespace

QSize KavPictureHeaderSize(const QByteArray &bytes)
{
    QByteArray copy = bytes; // QBuffer needs a non-const array; the copy shares the bytes
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return QSize();
    QImageReader reader(&buffer, "BMP");
    reader.setAllocationLimit(decoderLimitMegabytes);
    return reader.canRead() ? headerSize(reader) : QSize();
}

QString KavPictureHeaderProblem(const QByteArray &bytes)
{
    if (KavPictureHeaderSize(bytes).isValid())
        return QString();
    // The bitmap file header (14 bytes) and the start of the info header that every kind shares.
    constexpr int InfoAt = 14, WidthAt = 18, HeightAt = 22, BitsAt = 28;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return QStringLiteral("not a bitmap file");
    if (bytes.size() < BitsAt + 2)
        return QStringLiteral("the bitmap header is cut short (%1 bytes)").arg(bytes.size());
    const char *data = bytes.constData();
    const quint32 infoSize = qFromLittleEndian<quint32>(data + InfoAt);
    if (infoSize == 12) // the oldest header, with 16-bit sides
        return QStringLiteral("the bitmap header cannot be read (%1 x %2 pixels, %3 bits a pixel)")
            .arg(qFromLittleEndian<qint16>(data + 18))
            .arg(qFromLittleEndian<qint16>(data + 20))
            .arg(qFromLittleEndian<quint16>(data + 24));
    return QStringLiteral("the bitmap header cannot be read (header size %1, %2 x %3 pixels, %4 bits a pixel)")
        .arg(infoSize)
        .arg(qFromLittleEndian<qint32>(data + WidthAt))
        .arg(qFromLittleEndian<qint32>(data + HeightAt))
        .arg(qFromLittleEndian<quint16>(data + BitsAt));
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
    const QSize size = headerSize(reader);
    if (!size.isValid())
        return refuse(KavPictureHeaderProblem(bytes));
    const QString refusal = KavPictureRefusal(size);
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
