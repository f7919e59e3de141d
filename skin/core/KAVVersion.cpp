#include "KAVVersion.h"

QString KavSkinVersion()
{
    return QStringLiteral("1.2.0");
}
