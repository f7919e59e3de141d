#pragma once

#include "KAVSkinVersion.h"

#include <QString>

namespace Kav {
// Version of the skin library the program runs with, for programs that want to show or check it
// (KAVSKIN_VERSION_STR is the version it was built against).
QString KavSkinVersion();
} // namespace Kav
