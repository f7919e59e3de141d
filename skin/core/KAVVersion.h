#pragma once

#include <QString>

// Version of the skin library, for programs that want to show or check it.
QString KavSkinVersion();
