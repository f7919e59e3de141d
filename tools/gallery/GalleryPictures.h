#pragma once

#include <QImage>

// The pictures the gallery gives its controls, drawn here so that the gallery needs no files.
// Pictures with a transparent key colour have it in the corner the control takes the key from.
namespace GalleryPictures {

// A 16 x 16 glyph: a green disc with a white tick, on magenta (top-left pixel = key).
QImage tickGlyph();
// A 32 x 16 glyph of two images side by side, enabled (a gold star) and disabled (a grey one),
// on magenta.
QImage twoImageStarGlyph();

// One state of the gallery's picture button: a 72 x 24 rounded "Play" pill on magenta
// (top-left pixel = key).
enum class PlayState { Normal, MouseOn, MouseDown, Disabled };
QImage playButton(PlayState state);

// A backdrop of coloured diagonal stripes to tile under see-through controls.
QImage stripedBackdrop();

// Frame index (1-based) of the library's MDI_CONTROL_BUTTON strip (minimise, restore, close);
// an empty picture when the resource is missing.
QImage mdiControlGlyph(int index);

} // namespace GalleryPictures
