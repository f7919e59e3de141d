#pragma once

// The pictures of each built-in look, and those loaded by fixed name, keyed by resource name.

#include "Pieces.h"
#include "Sizes.h"

namespace lookgen {

void addMacOSLook(Pictures &out);
void addWinXPLook(Pictures &out);
void addDeepBlueLook(Pictures &out);
void addProteinLook(Pictures &out);
void addBlueGlassLook(Pictures &out);
// MORE_SCROLLBUTTON and the fixed-name pictures that belong to no single look.
void addSharedPictures(Pictures &out);

} // namespace lookgen
