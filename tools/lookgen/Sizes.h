#pragma once

// The sizes the pictures are drawn at. They come from the library's tables (the picture sizes in
// KAVMetrics.h, the frame counts in the key table), so that the generator, the library and the
// tests cannot disagree about them.

#include <QSize>

#include "KAVThemes.h"

namespace lookgen {

// Whole size of key's picture in a built-in look.
QSize pictureSize(TkavUIStyle look, int key);
// Size of one frame of key's picture: the whole picture cut into the key's frame count.
QSize frameSize(TkavUIStyle look, int key);
// Whole size, and size of one frame, of a picture loaded by its fixed name.
QSize fixedPictureSize(const char *name);
QSize fixedFrameSize(const char *name);
// One of frames equal frames side by side in a picture of the given whole size.
QSize stripFrame(QSize whole, int frames);

} // namespace lookgen
