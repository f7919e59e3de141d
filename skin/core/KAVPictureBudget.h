#pragma once

// What a theme file may make the program hold. A theme file is the one input that comes from
// outside, so every picture in it is measured from its header before a single pixel is decoded,
// and a picture outside these limits is refused like a damaged entry: it reads as missing and the
// rest of the theme is used.
//
// The largest built-in picture is 882 x 232 at double density (about 0.8 MB decoded); the limits
// leave room for twenty times that while keeping a hostile file far from the machine's memory.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>

namespace Kav {

struct PictureBudget {
    // Neither side of a picture may exceed this many pixels.
    static constexpr int MaxSide = 4096;
    // Decoded at 32 bits per pixel (width x height x 4), one picture may take at most this much.
    static constexpr qint64 MaxPictureBytes = qint64(16) * 1024 * 1024;
    // All pictures decoded from one loaded theme file together (32 bits per pixel, double-density
    // entries included). Pictures asked for once this is spent are refused, so that a file of
    // many pictures just inside the limit above cannot add up to a large amount either.
    static constexpr qint64 MaxThemeBytes = qint64(64) * 1024 * 1024;
};

// The size a bitmap file declares in its header, read without decoding the pixels (a bitmap stored
// top row first, with a negative height, has its height as a positive number); an invalid size
// when the bytes are not a bitmap file whose header can be read.
QSize KavPictureHeaderSize(const QByteArray &bytes);

// Why the bytes are no bitmap file whose header can be read ("not a bitmap file", or which header
// fields make no bitmap: a width or height of 0 or less, a bit depth no bitmap has, a header size
// that cannot be), or an empty string when the header gives a size. Reads the header only.
QString KavPictureHeaderProblem(const QByteArray &bytes);

// Why a picture of this declared size is refused ("5000 x 5000 pixels is larger than the
// 4096 x 4096 a theme picture may have"), or an empty string when it fits the budget.
QString KavPictureRefusal(const QSize &size);

// Decodes a bitmap file if its header fits the budget. Otherwise, or when the bytes cannot be
// decoded, returns a null image and says why in *why (when given).
QImage KavDecodeBudgetedPicture(const QByteArray &bytes, QString *why = nullptr);

} // namespace Kav
