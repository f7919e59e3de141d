#pragma once

#include "KAVPictureBudget.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// Theme files (".kav") carry a complete look outside the program: whole bitmap files, integers
// (colours included, as BBGGRR integers), Booleans and strings, each under a theme key name.
//
// Layout, all integers 32-bit little-endian, all offsets absolute:
//   header, 24 bytes:  "Corvane_TB" + two zero bytes | header size 24 | reserved 1 | first record 24
//   record, 77 bytes:  name[64] (zero-padded, cut to 64) | kind (1 byte) | data offset | data size
//                      | next record offset (0 ends the chain)
//   each record is followed by its data; a record of kind Boolean, empty name and all-zero
//   offsets and sizes ends the file.
// Names and strings are 8-bit characters (Latin-1 here, so any stored byte survives a round trip).

enum class TkavThemeFileKind : quint8 { File = 0, Integer = 1, Boolean = 2, String = 3 };

namespace KavThemeFileFormat {
inline constexpr int HeaderSize = 24;
inline constexpr int RecordSize = 77;
inline constexpr int NameSize = 64;
// What a theme file holds besides its pictures' pixels: the header, the records, the integer,
// Boolean and string values, and each picture's own file header and palette. A whole built-in
// look with its double-density pictures takes about 6 KB of it.
inline constexpr qint64 EntriesBound = qint64(1) * 1024 * 1024;
// The largest theme file that is read or written (65 MB): the pictures' budget, which no bitmap
// file's pixel data exceeds (at most 4 bytes a pixel, the decoded size the budget counts), plus
// EntriesBound. A larger file is refused from its size alone, before its bytes are read.
inline constexpr qint64 MaxFileSize = Kav::PictureBudget::MaxThemeBytes + EntriesBound;
}

// Collects named values and writes them as one theme file. Groups are written in a fixed order:
// files, strings, integers, Booleans, each in the order the values were added.
//
// The destructor writes the file (as the original writer did, also after an explicit Save), but a
// destructor cannot report failure; call Save() first and check its result when it matters.
// Writing goes through a temporary file that replaces the target only when everything was
// written, so a failed save leaves any earlier file untouched.
class TkavThemeFileWriter {
public:
    explicit TkavThemeFileWriter(const QString &fileName);
    ~TkavThemeFileWriter();

    TkavThemeFileWriter(const TkavThemeFileWriter &) = delete;
    TkavThemeFileWriter &operator=(const TkavThemeFileWriter &) = delete;

    void AddBool(const QString &name, bool value);
    // Stores only the low byte of value, as the Boolean's data is one byte; 256 reads back False.
    void addBoolByte(const QString &name, qint32 value);
    void AddInteger(const QString &name, qint32 value);
    void AddStr(const QString &name, const QString &value);
    // The file is read only when saving.
    void AddFile(const QString &name, const QString &fileName);

    // Returns false and sets errorString() when the file cannot be written, a file entry's source
    // cannot be read whole, the file would grow beyond KavThemeFileFormat::MaxFileSize, or a name or string holds a
    // character that has no 8-bit form.
    bool Save();
    QString errorString() const { return m_error; }

    QString fileName() const { return m_fileName; }

private:
    struct Item {
        QString name;
        QString text; // file path for file entries, the string for string entries
        qint32 number = 0;
    };

    QString m_fileName;
    QList<Item> m_files;
    QList<Item> m_integers;
    QList<Item> m_booleans;
    QList<Item> m_strings;
    QString m_error;
};

// Loads a theme file and answers look-ups by name. Look-ups ignore letter case and return the
// first entry of that name; every kind has its own names (an integer look-up never sees a Boolean).
//
// Damage: the reader walks the record chain and stops at the first thing that cannot be trusted
// (a record or its data not lying whole inside the file, negative offsets or sizes, a chain that
// loops, a bad header). It then keeps the entries read before that point, isDamaged() is true,
// errorString() says what is wrong and at which offset, and the load returns false. A file that
// does not start with the header text is damaged too, but reported as "not a theme file" (no
// offsets) and marked by isForeign(), so that callers can say the user picked the wrong file.
// A file that cannot be opened or read also makes the load return false with errorString() set,
// but is not "damaged". Records of an unknown kind are skipped and the walk goes on, so files from newer
// writers still load. Stored sizes are checked against the file before anything is read or
// allocated; integers and Booleans are read from their 4- and 1-byte slots only.
//
// Size: Load() reads the header first and refuses a file larger than
// KavThemeFileFormat::MaxFileSize (65 MB) from its size alone, as damaged, before reading the
// rest; a file that is not a theme file is told so whatever its size. Only regular files are read:
// a folder, FIFO or device is refused without reading (not as damage), so that no input can make
// the load wait or read without end.
//
// Pictures: every file entry that is a bitmap file has its header probed at load (no pixels are
// decoded) against Kav::PictureBudget. One declaring more than the budget is listed in
// refusedEntries() and picture() answers it with a null image, as for a missing entry. A refused
// picture does not make the file damaged: isDamaged() keeps meaning a broken record chain (the
// load fails), while refusals leave the load successful and the rest of the file usable.
class TkavThemeFileReader {
public:
    struct Entry {
        QString name;
        TkavThemeFileKind kind = TkavThemeFileKind::File;
        qint32 recordOffset = 0;
        qint32 dataOffset = 0;
        qint32 dataSize = 0;
        qint32 number = 0; // the value of integer and Boolean entries
    };
    // A picture entry refused by the budget, and why.
    struct Refusal {
        QString name;
        QString reason;
    };

    TkavThemeFileReader() = default;
    explicit TkavThemeFileReader(const QString &fileName);

    // Both replace whatever was loaded before.
    bool Load(const QString &fileName);
    bool loadData(const QByteArray &bytes);

    // The bytes of a file entry; no value when there is no file entry of that name.
    std::optional<QByteArray> GetFile(const QString &name) const;
    // A file entry decoded as a bitmap file; a null image when absent, not a readable bitmap or
    // refused by the picture budget (see refusedEntries()). For an entry that is there but gives
    // no picture, *why (when given) says why; it is left empty for an absent entry.
    QImage picture(const QString &name, QString *why = nullptr) const;
    // The bytes of the first file entry of that name, without a copy (valid while this reader
    // keeps its load); no value when there is none.
    std::optional<QByteArrayView> fileData(const QString &name) const;
    // -1 when there is no integer entry of that name.
    qint32 GetInteger(const QString &name) const;
    // True when the stored byte is non-zero; false when there is no Boolean entry of that name.
    bool GetBool(const QString &name) const;
    // Empty when there is no string entry of that name.
    QString GetStr(const QString &name) const;

    // Entries of the known kinds, in chain order.
    const QList<Entry> &entries() const { return m_entries; }
    // The bytes an entry of entries() covers by its own offset and size, without a copy (valid while
    // this reader keeps its load). Unlike the look-ups by name, this tells entries of the same name apart.
    QByteArrayView data(const Entry &entry) const
    {
        return QByteArrayView(m_bytes).sliced(entry.dataOffset, entry.dataSize);
    }

    // Picture entries whose header declares more than the picture budget, in chain order.
    const QList<Refusal> &refusedEntries() const { return m_refused; }

    bool isDamaged() const { return m_damaged; }
    // The last load was not of a theme file at all (a damage without any entries).
    bool isForeign() const { return m_foreign; }
    QString errorString() const { return m_error; }

private:
    void clear();
    bool walk();
    void probePictures();
    bool damage(const QString &what);
    const Entry *find(TkavThemeFileKind kind, const QString &name) const;

    QByteArray m_bytes;
    QList<Entry> m_entries;
    QList<Refusal> m_refused;
    // Case-folded name -> index of the first entry of that name, one table per kind.
    QHash<QString, qsizetype> m_firstOfName[4];
    bool m_damaged = false;
    bool m_foreign = false;
    QString m_error;
};
