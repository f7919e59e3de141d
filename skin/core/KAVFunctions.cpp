#include "KAVFunctions.h"

void SpitBitmap(const QImage &source, QImage &destination, int frameCount, int frameNumber)
{
    if (frameCount < 1 || frameNumber < 1 || frameNumber > frameCount || source.isNull()) {
        destination = QImage();
        return;
    }
    const int frameWidth = source.width() / frameCount;
    if (frameWidth == 0) {
        destination = QImage();
        return;
    }
    // copy() makes a new image, so source and destination may be the same object.
    destination = source.copy((frameNumber - 1) * frameWidth, 0, frameWidth, source.height());
}
