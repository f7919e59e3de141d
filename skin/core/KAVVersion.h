#pragma once

#include <QString>

namespace Kav {
// Version of the skin library, for programs that want to show or check it.
QString KavSkinVersion();
} // namespace Kav
