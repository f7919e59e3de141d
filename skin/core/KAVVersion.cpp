#include "KAVVersion.h"

QString Kav::KavSkinVersion()
{
    // The project's version, as the package and the tools report it.
    return QStringLiteral(KAVSKIN_VERSION_STR);
}
