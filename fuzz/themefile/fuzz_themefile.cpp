// Feeds arbitrary bytes to the theme file reader and asks every look-up about what it read.
// Any crash, sanitizer report, leak or hang is a finding.

#include "KAVThemeFile.h"

#include <cstddef>
#include <cstdint>

// No decoding limit of our own: Qt's default limit and the picture budget decide what is decoded,
// as in the program, so that a memory problem there shows here.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    TkavThemeFileReader reader;
    const bool loaded = reader.loadData(bytes);
    // A load from memory fails only through damage, and always says why.
    if (loaded != reader.errorString().isEmpty() || loaded == reader.isDamaged())
        __builtin_trap();

    qint64 total = 0;
    for (const TkavThemeFileReader::Entry &entry : reader.entries()) {
        if (entry.dataOffset < 0 || entry.dataSize < 0 || qint64(entry.dataOffset) + entry.dataSize > bytes.size())
            __builtin_trap(); // an entry whose data is not inside the input must never be kept
        for (const QString &name : {entry.name, entry.name.toUpper(), entry.name.toLower()}) {
            if (const auto file = reader.GetFile(name))
                total += file->size();
            total += reader.picture(name).width();
            total += reader.GetInteger(name);
            total += reader.GetBool(name) ? 1 : 0;
            total += reader.GetStr(name).size();
        }
    }
    // Names that are not there.
    total += reader.GetInteger(QString()) + reader.GetStr(QString(QChar(0xFF))).size();
    total += reader.GetFile(QStringLiteral("no such entry")).has_value() ? 1 : 0;
    volatile qint64 sink = total;
    (void)sink;
    return 0;
}
