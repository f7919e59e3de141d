#include "KAVVersion.h"

QString Kav::KavSkinVersion()
{
    return QStringLiteral("1.2.0");
}
