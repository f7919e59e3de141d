#pragma once
// The five built-in looks as the rows of a data-driven test, each named after its look.

#include "KAVThemes.h"

#include <QTest>

inline void kavAddLookRows(const char *column)
{
    QTest::addColumn<TkavUIStyle>(column);
    QTest::newRow("MacOS") << TkavUIStyle::MacOS;
    QTest::newRow("WinXP") << TkavUIStyle::WinXP;
    QTest::newRow("DeepBlue") << TkavUIStyle::DeepBlue;
    QTest::newRow("Protein") << TkavUIStyle::Protein;
    QTest::newRow("BlueGlass") << TkavUIStyle::BlueGlass;
}
