#include "KAVStrings.h"

#include "KAVResources.h"

#include <QFile>
#include <QHash>

namespace {

// The table is one UTF-8 text file of "number=text" lines; blank lines and lines starting with
// '#' are skipped. It is read once, on first use.
QHash<int, QString> readStringTable()
{
    QHash<int, QString> table;
    Kav::KavInitResources(); // a program may ask for a string before any skinned control exists
    QFile file(QStringLiteral(":/strings/strings.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        bool isNumber = false;
        const int id = line.first(equals).trimmed().toInt(&isNumber);
        if (isNumber)
            table.insert(id, line.sliced(equals + 1).toString());
    }
    return table;
}

} // namespace

QString Kav::KavLoadString(int id)
{
    static const QHash<int, QString> table = readStringTable();
    return table.value(id);
}
