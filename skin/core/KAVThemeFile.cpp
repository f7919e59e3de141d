#include "KAVThemeFile.h"

#include "KAVPictureBudget.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QtEndian>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace KavThemeFileFormat;

namespace {

// Field positions inside a record.
constexpr int KindAt = 64;
constexpr int DataOffsetAt = 65;
constexpr int DataSizeAt = 69;
constexpr int NextAt = 73;

// Field positions inside the header.
constexpr int HeaderSizeAt = 12;
constexpr int FirstRecordAt = 20;

constexpr int IntegerSlot = 4;
constexpr int BooleanSlot = 1;

qint32 int32At(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

void putInt32(char *p, qint32 value)
{
    qToLittleEndian<qint32>(value, p);
}

bool hasEightBitForm(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// The text every theme file starts with; the two zero bytes after it are not checked.
constexpr char Magic[] = "Corvane_TB";
constexpr qsizetype MagicSize = sizeof Magic - 1;

QByteArray header()
{
    QByteArray h(HeaderSize, '\0');
    std::memcpy(h.data(), Magic, MagicSize);
    putInt32(h.data() + HeaderSizeAt, HeaderSize);
    putInt32(h.data() + 16, 1);
    putInt32(h.data() + FirstRecordAt, HeaderSize);
    return h;
}

QByteArray record(const QByteArray &name, TkavThemeFileKind kind, qint32 dataOffset, qint32 dataSize,
                  qint32 next)
{
    QByteArray r(RecordSize, '\0');
    // A name of 64 bytes or more fills the field without a terminating zero.
    std::memcpy(r.data(), name.constData(), size_t(qMin<qsizetype>(name.size(), NameSize)));
    r[KindAt] = char(kind);
    putInt32(r.data() + DataOffsetAt, dataOffset);
    putInt32(r.data() + DataSizeAt, dataSize);
    putInt32(r.data() + NextAt, next);
    return r;
}

// Writes records and their data one after another, keeping the position that the offsets need.
class RecordStream {
public:
    explicit RecordStream(QSaveFile &file) : m_file(file) {}

    QString error() const { return m_error; }

    bool writeHeader() { return write(header()); }

    bool writeEntry(const QString &name, TkavThemeFileKind kind, const QByteArray &data)
    {
        return writeRecord(name, kind, data.size()) && write(data);
    }

    bool writeFileEntry(const QString &name, const QString &path)
    {
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read \"%1\" for entry \"%2\": %3")
                            .arg(path, name, source.errorString()));
        if (source.isSequential())
            return fail(QStringLiteral("\"%1\" for entry \"%2\" is not a regular file").arg(path, name));
        const qint64 size = source.size();
        if (!writeRecord(name, TkavThemeFileKind::File, size))
            return false;
        // Copy in pieces: a picture file may be large, and the size fixed in the record must be
        // exactly what follows it.
        QByteArray chunk;
        qint64 left = size;
        while (left > 0) {
            chunk = source.read(qMin<qint64>(left, 1 << 16));
            if (chunk.isEmpty())
                return fail(QStringLiteral("\"%1\" for entry \"%2\" ended before its %3 bytes were read")
                                .arg(path, name).arg(size));
            if (!write(chunk))
                return false;
            left -= chunk.size();
        }
        return true;
    }

    bool writeTerminator() { return write(record({}, TkavThemeFileKind::Boolean, 0, 0, 0)); }

private:
    bool writeRecord(const QString &name, TkavThemeFileKind kind, qint64 dataSize)
    {
        if (!hasEightBitForm(name))
            return fail(QStringLiteral("the entry name \"%1\" has characters without an 8-bit form").arg(name));
        const qint64 dataOffset = m_position + RecordSize;
        const qint64 next = dataOffset + dataSize;
        // Room must stay for the terminating record. The limit also keeps every offset well
        // inside its 32-bit field.
        if (next + RecordSize > MaxFileSize)
            return fail(QStringLiteral("entry \"%1\" would take the file to %2 bytes, beyond the %3 bytes (%4 MB) "
                                       "a theme file may have")
                            .arg(name)
                            .arg(next + RecordSize)
                            .arg(MaxFileSize)
                            .arg(MaxFileSize / (1024 * 1024)));
        return write(record(name.toLatin1(), kind, qint32(dataOffset), qint32(dataSize), qint32(next)));
    }

    bool write(const QByteArray &bytes)
    {
        if (m_file.write(bytes) != bytes.size())
            return fail(QStringLiteral("cannot write \"%1\": %2").arg(m_file.fileName(), m_file.errorString()));
        m_position += bytes.size();
        return true;
    }

    bool fail(const QString &error)
    {
        m_error = error;
        return false;
    }

    QSaveFile &m_file;
    qint64 m_position = 0;
    QString m_error;
};

QByteArray int32Bytes(qint32 value)
{
    QByteArray bytes(IntegerSlot, '\0');
    putInt32(bytes.data(), value);
    return bytes;
}

QString foldedName(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace

// ---------------------------------------------------------------------------------------------

TkavThemeFileWriter::TkavThemeFileWriter(const QString &fileName) : m_fileName(fileName) {}

TkavThemeFileWriter::~TkavThemeFileWriter()
{
    Save();
}

void TkavThemeFileWriter::AddBool(const QString &name, bool value)
{
    m_booleans.append({name, {}, value ? 1 : 0});
}

void TkavThemeFileWriter::addBoolByte(const QString &name, qint32 value)
{
    m_booleans.append({name, {}, value});
}

void TkavThemeFileWriter::AddInteger(const QString &name, qint32 value)
{
    m_integers.append({name, {}, value});
}

void TkavThemeFileWriter::AddStr(const QString &name, const QString &value)
{
    m_strings.append({name, value, 0});
}

void TkavThemeFileWriter::AddFile(const QString &name, const QString &fileName)
{
    m_files.append({name, fileName, 0});
}

bool TkavThemeFileWriter::Save()
{
    m_error.clear();
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write \"%1\": %2").arg(m_fileName, file.errorString());
        return false;
    }

    RecordStream out(file);
    bool ok = out.writeHeader();
    for (qsizetype i = 0; ok && i < m_files.size(); ++i)
        ok = out.writeFileEntry(m_files[i].name, m_files[i].text);
    for (qsizetype i = 0; ok && i < m_strings.size(); ++i) {
        const Item &item = m_strings[i];
        if (!hasEightBitForm(item.text)) {
            m_error = QStringLiteral("the string of entry \"%1\" has characters without an 8-bit form")
                          .arg(item.name);
            return false;
        }
        ok = out.writeEntry(item.name, TkavThemeFileKind::String, item.text.toLatin1());
    }
    for (qsizetype i = 0; ok && i < m_integers.size(); ++i)
        ok = out.writeEntry(m_integers[i].name, TkavThemeFileKind::Integer, int32Bytes(m_integers[i].number));
    for (qsizetype i = 0; ok && i < m_booleans.size(); ++i) {
        const char lowByte = char(m_booleans[i].number & 0xFF);
        ok = out.writeEntry(m_booleans[i].name, TkavThemeFileKind::Boolean, QByteArray(1, lowByte));
    }
    ok = ok && out.writeTerminator();

    if (!ok) {
        m_error = out.error();
        return false; // the unfinished temporary file is discarded, the target stays as it was
    }
    if (!file.commit()) {
        m_error = QStringLiteral("cannot write \"%1\": %2").arg(m_fileName, file.errorString());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

TkavThemeFileReader::TkavThemeFileReader(const QString &fileName)
{
    Load(fileName);
}

void TkavThemeFileReader::clear()
{
    m_bytes.clear();
    m_entries.clear();
    m_refused.clear();
    for (auto &names : m_firstOfName)
        names.clear();
    m_damaged = false;
    m_foreign = false;
    m_error.clear();
}

namespace {

// Opens a theme file for reading if it is a regular file. Anything else (a folder, a FIFO, a
// device, a socket) is refused before a byte is read: a FIFO or a device may never end, and
// opening a FIFO without a writer would wait for one. The test is made on the opened file itself,
// so that nothing swapped in between a look and the opening slips through. Files in Qt's resources
// are regular by nature.
bool openRegularFile(QFile &file, const QString &fileName, QString &error)
{
    if (fileName.startsWith(u':')) {
        file.setFileName(fileName);
        if (file.open(QIODevice::ReadOnly))
            return true;
        error = QStringLiteral("cannot open \"%1\": %2").arg(fileName, file.errorString());
        return false;
    }
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = QStringLiteral("cannot open \"%1\": %2").arg(fileName, qt_error_string(errno));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int failure = errno;
        ::close(fd);
        error = QStringLiteral("cannot open \"%1\": %2").arg(fileName, qt_error_string(failure));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        error = QStringLiteral("\"%1\" is not a regular file (a folder, pipe or device); theme files are read "
                               "from regular files only")
                    .arg(fileName);
        return false;
    }
    // Reads of a regular file never block, O_NONBLOCK or not.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = QStringLiteral("cannot open \"%1\": %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

bool startsLikeThemeFile(const char *bytes, qint64 size)
{
    return std::memcmp(bytes, Magic, size_t(qMin<qint64>(size, MagicSize))) == 0;
}

QString tooLarge(qint64 size)
{
    return QStringLiteral("the file has %1 bytes, more than the %2 bytes (%3 MB) a theme file may have")
        .arg(size)
        .arg(MaxFileSize)
        .arg(MaxFileSize / (1024 * 1024));
}

} // namespace

bool TkavThemeFileReader::Load(const QString &fileName)
{
    clear();
    QFile file;
    if (!openRegularFile(file, fileName, m_error))
        return false;
    const auto readFailed = [&] {
        m_error = QStringLiteral("cannot read \"%1\": %2").arg(fileName, file.errorString());
        return false;
    };

    // The header first: a file that is no theme file is told as such whatever its size, and one
    // over the limit is refused from its size alone, so that no file can make us read or allocate
    // more than the limit.
    const qint64 size = file.size();
    QByteArray head = file.read(qMin<qint64>(size, HeaderSize));
    if (head.size() < qMin<qint64>(size, HeaderSize))
        return readFailed();
    if (!startsLikeThemeFile(head.constData(), head.size()) || size < HeaderSize) {
        m_bytes = head;
        return walk(); // reports the foreign or cut-short file
    }
    if (size > MaxFileSize)
        return damage(tooLarge(size));

    QByteArray bytes(size, Qt::Uninitialized);
    std::memcpy(bytes.data(), head.constData(), size_t(head.size()));
    qint64 got = head.size();
    while (got < size) {
        const qint64 read = file.read(bytes.data() + got, size - got);
        if (read <= 0)
            break;
        got += read;
    }
    // A file cut short while it was read is walked as far as it goes, like one cut short on disk.
    if (got < size && file.error() != QFileDevice::NoError)
        return readFailed();
    bytes.truncate(got);
    m_bytes = bytes;
    const bool whole = walk();
    probePictures();
    return whole;
}

bool TkavThemeFileReader::loadData(const QByteArray &bytes)
{
    clear();
    if (bytes.size() > MaxFileSize && startsLikeThemeFile(bytes.constData(), bytes.size()))
        return damage(tooLarge(bytes.size()));
    m_bytes = bytes;
    const bool whole = walk();
    probePictures();
    return whole;
}

bool TkavThemeFileReader::damage(const QString &what)
{
    m_damaged = true;
    m_error = what;
    return false;
}

bool TkavThemeFileReader::walk()
{
    const qint64 size = m_bytes.size();
    const char *bytes = m_bytes.constData();
    if (size == 0)
        return damage(QStringLiteral("the file is empty"));
    // Anything else (a picture, a text, random bytes) would otherwise be walked as records and
    // reported with offsets that mean nothing to whoever picked the wrong file. A file cut short
    // inside the header text still starts like a theme file and is reported as cut short.
    if (!startsLikeThemeFile(bytes, size)) {
        m_foreign = true;
        return damage(QStringLiteral("not a theme file: it does not start with the theme file header"));
    }
    if (size < HeaderSize)
        return damage(QStringLiteral("the header at offset 0 is cut short: the file has only %1 bytes").arg(size));
    // The header is always read as its 24 bytes; a larger stored size only means unused bytes,
    // a smaller one would leave the first-record field unread.
    const qint32 headerSize = int32At(bytes + HeaderSizeAt);
    if (headerSize < HeaderSize)
        return damage(QStringLiteral("the header size at offset %1 is %2, less than %3")
                          .arg(HeaderSizeAt)
                          .arg(headerSize)
                          .arg(HeaderSize));

    // Distinct records do not overlap, so a file cannot hold more of them than this; a chain that
    // claims more is going in circles or through overlapping records.
    const qint64 maxRecords = size / RecordSize;
    QSet<qint32> visited;
    qint64 pointerAt = FirstRecordAt;
    qint32 at = int32At(bytes + FirstRecordAt);
    for (;;) {
        if (at < 0 || qint64(at) + RecordSize > size)
            return damage(QStringLiteral("the record at offset %1 (named at offset %2) does not lie whole "
                                         "inside the file of %3 bytes")
                              .arg(at)
                              .arg(pointerAt)
                              .arg(size));
        if (visited.contains(at))
            return damage(QStringLiteral("the chain loops back to the record at offset %1 (named at offset %2)")
                              .arg(at)
                              .arg(pointerAt));
        if (visited.size() >= maxRecords)
            return damage(QStringLiteral("the chain names more records than a file of %1 bytes can hold "
                                         "(the record at offset %2 overlaps others)")
                              .arg(size)
                              .arg(at));
        visited.insert(at);

        const char *rec = bytes + at;
        const qint32 next = int32At(rec + NextAt);
        if (next == 0)
            return true; // the terminating record, never interpreted

        const quint8 kindByte = quint8(rec[KindAt]);
        if (kindByte <= quint8(TkavThemeFileKind::String)) {
            const auto kind = TkavThemeFileKind(kindByte);
            const qint32 dataOffset = int32At(rec + DataOffsetAt);
            const qint32 dataSize = int32At(rec + DataSizeAt);
            if (dataOffset < 0)
                return damage(QStringLiteral("the record at offset %1 has a negative data offset (%2)")
                                  .arg(at)
                                  .arg(dataOffset));
            if (dataSize < 0)
                return damage(QStringLiteral("the record at offset %1 has a negative data size (%2)")
                                  .arg(at)
                                  .arg(dataSize));
            if (qint64(dataOffset) + dataSize > size)
                return damage(QStringLiteral("the data of the record at offset %1 (%2 bytes at offset %3) does "
                                             "not lie whole inside the file of %4 bytes")
                                  .arg(at)
                                  .arg(dataSize)
                                  .arg(dataOffset)
                                  .arg(size));
            const int slot = kind == TkavThemeFileKind::Integer   ? IntegerSlot
                             : kind == TkavThemeFileKind::Boolean ? BooleanSlot
                                                                  : 0;
            if (dataSize < slot)
                return damage(QStringLiteral("the record at offset %1 has %2 data bytes, too few for its value")
                                  .arg(at)
                                  .arg(dataSize));

            Entry entry;
            entry.name = QString::fromLatin1(rec, qsizetype(qstrnlen(rec, NameSize)));
            entry.kind = kind;
            entry.recordOffset = at;
            entry.dataOffset = dataOffset;
            entry.dataSize = dataSize;
            if (kind == TkavThemeFileKind::Integer)
                entry.number = int32At(bytes + dataOffset);
            else if (kind == TkavThemeFileKind::Boolean)
                entry.number = quint8(bytes[dataOffset]);

            // Look-ups answer with the first entry of a name.
            auto &firsts = m_firstOfName[kindByte];
            const QString key = foldedName(entry.name);
            if (!firsts.contains(key))
                firsts.insert(key, m_entries.size());
            m_entries.append(entry);
        }
        // Unknown kinds are skipped: their data is not ours to interpret.

        pointerAt = qint64(at) + NextAt;
        at = next;
    }
}

const TkavThemeFileReader::Entry *TkavThemeFileReader::find(TkavThemeFileKind kind, const QString &name) const
{
    const auto &firsts = m_firstOfName[int(kind)];
    const auto it = firsts.constFind(foldedName(name));
    return it == firsts.cend() ? nullptr : &m_entries[*it];
}

std::optional<QByteArray> TkavThemeFileReader::GetFile(const QString &name) const
{
    const Entry *entry = find(TkavThemeFileKind::File, name);
    if (!entry)
        return std::nullopt;
    return m_bytes.mid(entry->dataOffset, entry->dataSize);
}

void TkavThemeFileReader::probePictures()
{
    // Headers only: a hostile file's pictures are measured before any pixel is decoded.
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.kind != TkavThemeFileKind::File)
            continue;
        const QSize size = Kav::KavPictureHeaderSize(QByteArray::fromRawData(m_bytes.constData() + entry.dataOffset,
                                                                             entry.dataSize));
        // Entries that are no bitmap at all are not pictures to refuse; picture() gives null for them.
        if (!size.isValid())
            continue;
        const QString reason = Kav::KavPictureRefusal(size);
        if (!reason.isEmpty())
            m_refused.append({entry.name, reason});
    }
}

QImage TkavThemeFileReader::picture(const QString &name, QString *why) const
{
    if (why)
        why->clear();
    const Entry *entry = find(TkavThemeFileKind::File, name);
    if (!entry)
        return QImage();
    return Kav::KavDecodeBudgetedPicture(
        QByteArray::fromRawData(m_bytes.constData() + entry->dataOffset, entry->dataSize), why);
}

std::optional<QByteArrayView> TkavThemeFileReader::fileData(const QString &name) const
{
    const Entry *entry = find(TkavThemeFileKind::File, name);
    if (!entry)
        return std::nullopt;
    return data(*entry);
}

qint32 TkavThemeFileReader::GetInteger(const QString &name) const
{
    const Entry *entry = find(TkavThemeFileKind::Integer, name);
    return entry ? entry->number : -1;
}

bool TkavThemeFileReader::GetBool(const QString &name) const
{
    const Entry *entry = find(TkavThemeFileKind::Boolean, name);
    return entry && entry->number != 0;
}

QString TkavThemeFileReader::GetStr(const QString &name) const
{
    const Entry *entry = find(TkavThemeFileKind::String, name);
    return entry ? QString::fromLatin1(m_bytes.constData() + entry->dataOffset, entry->dataSize) : QString();
}
