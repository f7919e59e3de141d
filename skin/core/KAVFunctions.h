#pragma once

#include <QImage>

// Drawing helpers shared by every skinned control. Pictures are QImage (Format_RGB32), magenta
// (qRgb(255, 0, 255)) marks pixels that are not drawn.

// Copies frame frameNumber (1-based) of a strip of frameCount equal frames into destination,
// which becomes exactly one frame (frame width = source width / frameCount; the remainder columns
// at the right are never used). A frame count below 1, or a frame number outside the strip, leaves
// destination empty instead of dividing by zero or reading outside the source. source and
// destination may be the same image.
void SpitBitmap(const QImage &source, QImage &destination, int frameCount, int frameNumber);
