#include "KAVThemeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Byte builders for hand-made files. They spell the layout out literally so that the tests do not
// share the writer's code.
namespace {

QByteArray le32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes;
}

QByteArray header(qint32 headerSize = 24, qint32 firstRecord = 24)
{
    return QByteArray("Corvane_TB\0\0", 12) + le32(headerSize) + le32(1) + le32(firstRecord);
}

QByteArray rec(const QByteArray &name, int kind, qint32 dataOffset, qint32 dataSize, qint32 next)
{
    QByteArray field = name.left(64);
    field.append(QByteArray(64 - field.size(), '\0'));
    return field + char(kind) + le32(dataOffset) + le32(dataSize) + le32(next);
}

QByteArray terminator()
{
    return rec({}, 2, 0, 0, 0);
}

// Header, integer "A" = 7 at 24 (data 101), integer "B" = 8 at 105 (data 182), terminator at 186.
QByteArray twoIntegers()
{
    return header() + rec("A", 1, 101, 4, 105) + le32(7) + rec("B", 1, 182, 4, 186) + le32(8) + terminator();
}

void put32(QByteArray &bytes, int at, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + at);
}

QByteArray patched(QByteArray bytes, int at, qint32 value)
{
    put32(bytes, at, value);
    return bytes;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entryNames(const TkavThemeFileReader &reader)
{
    QStringList names;
    for (const auto &entry : reader.entries())
        names << entry.name;
    return names;
}

} // namespace

class tst_KAVThemeFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void layout_data();
    void layout();
    void roundTrip_data();
    void roundTrip();
    void picture();
    void lookUpIgnoresCaseAndTakesFirst();
    void kindsKeepSeparateNames();
    void duplicateNamesKeepTheirOwnValues();
    void longNameIsCut_data();
    void longNameIsCut();
    void booleanKeepsLowByte_data();
    void booleanKeepsLowByte();
    void destructorWrites();
    void damage_data();
    void damage();
    void loadReplacesEarlierContent();
    void sizeLimit_data();
    void sizeLimit();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void writerErrors_data();
    void writerErrors();
    void failedSaveKeepsEarlierFile();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_KAVThemeFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// Each row fills a writer and gives the exact bytes it must produce.
using Fill = std::function<void(TkavThemeFileWriter &, const QString &dir)>;
Q_DECLARE_METATYPE(Fill)

void tst_KAVThemeFile::layout_data()
{
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("empty") << Fill([](TkavThemeFileWriter &, const QString &) {}) << header() + terminator();

    QTest::addRow("one string")
        << Fill([](TkavThemeFileWriter &w, const QString &) { w.AddStr("k", "ab"); })
        << header() + rec("k", 3, 101, 2, 103) + "ab" + terminator();

    // Added in the reverse of the file's group order: files, strings, integers, Booleans.
    QTest::addRow("one of each group")
        << Fill([](TkavThemeFileWriter &w, const QString &dir) {
               w.AddBool("Bo", true);
               w.AddInteger("In", 0x01020304);
               w.AddStr("St", "hi");
               w.AddFile("Fi", dir + "/three.bin");
           })
        << header() + rec("Fi", 0, 101, 3, 104) + QByteArray("a\0c", 3) //
               + rec("St", 3, 181, 2, 183) + "hi"                        //
               + rec("In", 1, 260, 4, 264) + QByteArray("\x04\x03\x02\x01", 4) //
               + rec("Bo", 2, 341, 1, 342) + QByteArray(1, '\x01')       //
               + terminator();

    QTest::addRow("negative integer and false")
        << Fill([](TkavThemeFileWriter &w, const QString &) {
               w.AddInteger("n", -2);
               w.AddBool("f", false);
           })
        << header() + rec("n", 1, 101, 4, 105) + QByteArray("\xFE\xFF\xFF\xFF", 4) //
               + rec("f", 2, 182, 1, 183) + QByteArray(1, '\0') + terminator();
}

void tst_KAVThemeFile::layout()
{
    QFETCH(Fill, fill);
    QFETCH(QByteArray, expected);
    QVERIFY(writeAll(path("three.bin"), QByteArray("a\0c", 3)));

    TkavThemeFileWriter writer(path("out.kav"));
    fill(writer, m_dir->path());
    QVERIFY2(writer.Save(), qPrintable(writer.errorString()));

    const QByteArray written = readAll(path("out.kav"));
    QCOMPARE(written.size(), expected.size());
    QCOMPARE(written.toHex(' '), expected.toHex(' '));

    TkavThemeFileReader reader(path("out.kav"));
    QVERIFY2(!reader.isDamaged() && reader.errorString().isEmpty(), qPrintable(reader.errorString()));
}

void tst_KAVThemeFile::roundTrip_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");

    const int file = int(TkavThemeFileKind::File);
    const int integer = int(TkavThemeFileKind::Integer);
    const int boolean = int(TkavThemeFileKind::Boolean);
    const int string = int(TkavThemeFileKind::String);

    QTest::addRow("integer zero") << integer << QVariant(0);
    QTest::addRow("integer -1") << integer << QVariant(-1);
    QTest::addRow("integer min") << integer << QVariant(std::numeric_limits<qint32>::min());
    QTest::addRow("integer max") << integer << QVariant(std::numeric_limits<qint32>::max());
    QTest::addRow("colour") << integer << QVariant(0xFF00FF);
    QTest::addRow("bool true") << boolean << QVariant(true);
    QTest::addRow("bool false") << boolean << QVariant(false);
    QTest::addRow("string empty") << string << QVariant(QString());
    QTest::addRow("string ascii") << string << QVariant(QStringLiteral("MACOS_BUTTON"));
    QTest::addRow("string 8-bit") << string << QVariant(QStringLiteral("\u00e4\u00f6\u00fc\u00ff"));
    QTest::addRow("file empty") << file << QVariant(QByteArray());
    QTest::addRow("file binary") << file << QVariant(QByteArray("BM\0\xff\0\x01", 6));
    QTest::addRow("file larger than a copy piece") << file << QVariant(QByteArray(200000, '\x5a'));
}

void tst_KAVThemeFile::roundTrip()
{
    QFETCH(int, kind);
    QFETCH(QVariant, value);

    {
        TkavThemeFileWriter writer(path("t.kav"));
        // A neighbour on each side checks that offsets past the entry stay right.
        writer.AddInteger("before", 11);
        switch (TkavThemeFileKind(kind)) {
        case TkavThemeFileKind::File:
            QVERIFY(writeAll(path("src.bin"), value.toByteArray()));
            writer.AddFile("Entry", path("src.bin"));
            break;
        case TkavThemeFileKind::Integer: writer.AddInteger("Entry", value.toInt()); break;
        case TkavThemeFileKind::Boolean: writer.AddBool("Entry", value.toBool()); break;
        case TkavThemeFileKind::String: writer.AddStr("Entry", value.toString()); break;
        }
        writer.AddBool("after", true);
        QVERIFY2(writer.Save(), qPrintable(writer.errorString()));
    }

    TkavThemeFileReader reader(path("t.kav"));
    QVERIFY2(!reader.isDamaged() && reader.errorString().isEmpty(), qPrintable(reader.errorString()));
    QCOMPARE(reader.entries().size(), 3);
    QCOMPARE(reader.GetInteger("before"), 11);
    QCOMPARE(reader.GetBool("after"), true);
    switch (TkavThemeFileKind(kind)) {
    case TkavThemeFileKind::File: {
        const auto bytes = reader.GetFile("Entry");
        QVERIFY(bytes.has_value());
        QCOMPARE(*bytes, value.toByteArray());
        break;
    }
    case TkavThemeFileKind::Integer: QCOMPARE(reader.GetInteger("Entry"), value.toInt()); break;
    case TkavThemeFileKind::Boolean: QCOMPARE(reader.GetBool("Entry"), value.toBool()); break;
    case TkavThemeFileKind::String: QCOMPARE(reader.GetStr("Entry"), value.toString()); break;
    }

    // The same bytes read from memory give the same entries.
    TkavThemeFileReader fromMemory;
    QVERIFY(fromMemory.loadData(readAll(path("t.kav"))));
    QCOMPARE(entryNames(fromMemory), entryNames(reader));
}

void tst_KAVThemeFile::picture()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(2, 1, qRgb(10, 20, 30));
    QVERIFY(image.save(path("pic.bmp"), "BMP"));
    QVERIFY(writeAll(path("text.txt"), "not a picture"));
    {
        TkavThemeFileWriter writer(path("p.kav"));
        writer.AddFile("ButtonImage", path("pic.bmp"));
        writer.AddFile("Notes", path("text.txt"));
    }

    TkavThemeFileReader reader(path("p.kav"));
    QCOMPARE(*reader.GetFile("ButtonImage"), readAll(path("pic.bmp")));
    const QImage read = reader.picture("buttonimage");
    QCOMPARE(read.size(), QSize(3, 2));
    QCOMPARE(read.pixel(0, 0), qRgb(255, 0, 255));
    QCOMPARE(read.pixel(1, 0), qRgb(255, 255, 255));
    QCOMPARE(read.pixel(2, 1), qRgb(10, 20, 30));
    QVERIFY(reader.picture("Notes").isNull());
    QVERIFY(reader.picture("Missing").isNull());
}

void tst_KAVThemeFile::lookUpIgnoresCaseAndTakesFirst()
{
    {
        TkavThemeFileWriter writer(path("c.kav"));
        writer.AddInteger("FormColor", 1);
        writer.AddInteger("FORMCOLOR", 2);
        writer.AddInteger("formcolor", 3);
        writer.AddStr("Caption", "first");
        writer.AddStr("CAPTION", "second");
    }
    TkavThemeFileReader reader(path("c.kav"));
    QCOMPARE(reader.entries().size(), 5);
    QCOMPARE(reader.GetInteger("formColor"), 1);
    QCOMPARE(reader.GetInteger("FORMCOLOR"), 1);
    QCOMPARE(reader.GetStr("caption"), QStringLiteral("first"));
}

void tst_KAVThemeFile::kindsKeepSeparateNames()
{
    {
        TkavThemeFileWriter writer(path("k.kav"));
        writer.AddBool("Shared", true);
        writer.AddInteger("Number", 5);
    }
    TkavThemeFileReader reader(path("k.kav"));
    QCOMPARE(reader.GetBool("Shared"), true);
    QCOMPARE(reader.GetInteger("Shared"), -1);
    QCOMPARE(reader.GetStr("Shared"), QString());
    QVERIFY(!reader.GetFile("Shared").has_value());
    QCOMPARE(reader.GetBool("Number"), false);
    QCOMPARE(reader.GetInteger("Missing"), -1);
}

void tst_KAVThemeFile::duplicateNamesKeepTheirOwnValues()
{
    {
        TkavThemeFileWriter writer(path("d.kav"));
        writer.AddInteger("Size", 1);
        writer.AddInteger("size", 2);
    }
    TkavThemeFileReader reader(path("d.kav"));
    QCOMPARE(reader.entries().size(), 2);
    QCOMPARE(reader.entries().at(0).number, 1);
    QCOMPARE(reader.entries().at(1).number, 2);
}

void tst_KAVThemeFile::longNameIsCut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    const QString seventy = QStringLiteral("N").repeated(60) + QStringLiteral("0123456789");
    QTest::addRow("63 characters") << QString(63, 'x') << QString(63, 'x');
    QTest::addRow("64 characters") << QString(64, 'y') << QString(64, 'y');
    QTest::addRow("70 characters") << seventy << seventy.left(64);
}

void tst_KAVThemeFile::longNameIsCut()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    {
        TkavThemeFileWriter writer(path("n.kav"));
        writer.AddInteger(name, 42);
    }
    const QByteArray bytes = readAll(path("n.kav"));
    QCOMPARE(bytes.size(), 24 + 77 + 4 + 77);
    QCOMPARE(bytes.mid(24, 64), stored.toLatin1() + QByteArray(64 - stored.size(), '\0'));
    QCOMPARE(bytes.at(24 + 64), '\x01'); // the kind follows the name field directly

    TkavThemeFileReader reader(path("n.kav"));
    QCOMPARE(entryNames(reader), QStringList{stored});
    QCOMPARE(reader.GetInteger(stored), 42);
}

void tst_KAVThemeFile::booleanKeepsLowByte_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<char>("storedByte");
    QTest::addColumn<bool>("readBack");

    QTest::addRow("1") << 1 << '\x01' << true;
    QTest::addRow("0") << 0 << '\x00' << false;
    QTest::addRow("256") << 256 << '\x00' << false;
    QTest::addRow("257") << 257 << '\x01' << true;
    QTest::addRow("-1") << -1 << '\xFF' << true;
    QTest::addRow("2") << 2 << '\x02' << true;
}

void tst_KAVThemeFile::booleanKeepsLowByte()
{
    QFETCH(qint32, value);
    QFETCH(char, storedByte);
    QFETCH(bool, readBack);
    {
        TkavThemeFileWriter writer(path("b.kav"));
        writer.addBoolByte("Flag", value);
    }
    const QByteArray bytes = readAll(path("b.kav"));
    QCOMPARE(bytes.size(), 24 + 77 + 1 + 77);
    QCOMPARE(bytes.at(101), storedByte);
    QCOMPARE(TkavThemeFileReader(path("b.kav")).GetBool("Flag"), readBack);
}

void tst_KAVThemeFile::destructorWrites()
{
    auto writer = std::make_unique<TkavThemeFileWriter>(path("w.kav"));
    writer->AddInteger("x", 5);
    QVERIFY(!QFile::exists(path("w.kav")));
    QVERIFY(writer->Save());
    QVERIFY(QFile::remove(path("w.kav")));
    writer.reset(); // writes again, also after an explicit save
    QCOMPARE(TkavThemeFileReader(path("w.kav")).GetInteger("x"), 5);
}

void tst_KAVThemeFile::damage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("errorMentions");

    const QByteArray two = twoIntegers();
    const QStringList both{"A", "B"};
    const QStringList onlyA{"A"};
    // Offsets in twoIntegers(): A's record 24 (next field at 97), B's record 105 (kind at 169,
    // data offset at 170, size at 174, next at 178), terminator at 186, size 263.

    QTest::addRow("valid") << two << true << both << QString();
    QTest::addRow("loop") << patched(two, 178, 24) << false << both << "loops back to the record at offset 24";
    QTest::addRow("self loop") << patched(two, 97, 24) << false << onlyA << "offset 24";
    QTest::addRow("past end") << patched(two, 178, 5000) << false << both << "offset 5000";
    QTest::addRow("record over the end") << patched(two, 178, 263 - 76) << false << both << "offset 187";
    QTest::addRow("truncated record") << two.left(262) << false << both << "offset 186";
    QTest::addRow("truncated data") << two.left(184) << false << onlyA << "offset 182";
    QTest::addRow("oversize data") << patched(two, 174, 0x7FFFFFF0) << false << onlyA << "offset 105";
    QTest::addRow("data past end") << patched(two, 170, 262) << false << onlyA << "offset 262";
    QTest::addRow("negative data size") << patched(two, 174, -4) << false << onlyA << "offset 105";
    QTest::addRow("negative data offset") << patched(two, 170, -1) << false << onlyA << "offset 105";
    QTest::addRow("negative next") << patched(two, 178, -77) << false << both << "offset -77";
    QTest::addRow("integer data too short") << patched(two, 174, 3) << false << onlyA << "offset 105";
    QTest::addRow("larger integer size reads the slot")
        << patched(two, 174, 8) << true << both << QString();
    {
        QByteArray badKind = two;
        badKind[169] = char(7);
        QTest::addRow("bad kind is skipped") << badKind << true << onlyA << QString();
    }
    QTest::addRow("bad header size") << patched(two, 12, 4) << false << QStringList() << "offset 12";
    QTest::addRow("larger header size") << patched(two, 12, 1000) << true << both << QString();
    QTest::addRow("negative first offset") << patched(two, 20, -24) << false << QStringList() << "offset -24";
    QTest::addRow("first offset past end") << patched(two, 20, 263) << false << QStringList() << "offset 263";
    QTest::addRow("truncated header") << two.left(23) << false << QStringList() << "offset 0";
    QTest::addRow("header only") << two.left(24) << false << QStringList() << "offset 24";
    QTest::addRow("empty file") << QByteArray("") << false << QStringList() << "empty";
    {
        // Records at 24, 30 and 40 overlap; a 200-byte file has no room for three.
        QByteArray overlapping(200, '\0');
        overlapping.replace(0, 24, header());
        put32(overlapping, 24 + 73, 30);
        put32(overlapping, 30 + 73, 40);
        overlapping[24 + 64] = char(9);
        overlapping[30 + 64] = char(9);
        QTest::addRow("overlapping records") << overlapping << false << QStringList() << "offset 40";
    }
    {
        // Other files must not be walked as records: their bytes make nonsense offsets.
        QByteArray wrongText = two;
        wrongText[0] = 'X';
        QTest::addRow("wrong header text") << wrongText << false << QStringList() << "not a theme file";
        QByteArray picture("\x89PNG\r\n\x1a\n", 8);
        picture += QByteArray(12, '\0') + QByteArray("\x96\x1c\x63\x95", 4) + QByteArray(200, 'q');
        QTest::addRow("other file") << picture << false << QStringList() << "not a theme file";
        QTest::addRow("short text") << QByteArray("hello\n") << false << QStringList() << "not a theme file";
    }
    QTest::addRow("cut inside the header text") << two.left(5) << false << QStringList() << "offset 0";
    QTest::addRow("missing file") << QByteArray() << false << QStringList() << "missing.kav";
}

void tst_KAVThemeFile::damage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(QStringList, entries);
    QFETCH(QString, errorMentions);

    const QString file = path(bytes.isNull() ? "missing.kav" : "damaged.kav");
    if (!bytes.isNull())
        QVERIFY(writeAll(file, bytes));

    TkavThemeFileReader reader;
    QCOMPARE(reader.Load(file), loads);
    QCOMPARE(entryNames(reader), entries);
    QCOMPARE(reader.errorString().isEmpty(), loads);
    QVERIFY2(reader.errorString().contains(errorMentions), qPrintable(reader.errorString()));
    // A file that cannot be opened is an error but not damage.
    QCOMPARE(reader.isDamaged(), !loads && !bytes.isNull());
    QCOMPARE(reader.isForeign(), errorMentions == QLatin1String("not a theme file"));

    if (!bytes.isNull()) {
        TkavThemeFileReader fromMemory;
        QCOMPARE(fromMemory.loadData(bytes), loads);
        QCOMPARE(entryNames(fromMemory), entries);
        QCOMPARE(fromMemory.errorString(), reader.errorString());
        QCOMPARE(fromMemory.isDamaged(), reader.isDamaged());
        QCOMPARE(fromMemory.isForeign(), reader.isForeign());
    }
}

void tst_KAVThemeFile::loadReplacesEarlierContent()
{
    TkavThemeFileReader reader;
    QVERIFY(reader.loadData(twoIntegers()));
    QVERIFY(!reader.loadData(QByteArray(5, 'x')));
    QVERIFY(reader.isDamaged());
    QVERIFY(reader.isForeign());
    QVERIFY(reader.entries().isEmpty());
    QCOMPARE(reader.GetInteger("A"), -1);
    QVERIFY(reader.loadData(header() + terminator()));
    QVERIFY(!reader.isDamaged());
    QVERIFY(!reader.isForeign());
    QVERIFY(reader.errorString().isEmpty());
}

// A theme file is refused from its size before its bytes are read: the header alone is read, so
// a file of any size costs no more than a small one. The files are sparse.
void tst_KAVThemeFile::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("loads");
    QTest::addRow("at the limit") << KavThemeFileFormat::MaxFileSize << true;
    QTest::addRow("one byte over") << KavThemeFileFormat::MaxFileSize + 1 << false;
    QTest::addRow("1 GB") << (qint64(1) << 30) << false;
    QTest::addRow("8 GB, beyond 32-bit offsets") << (qint64(8) << 30) << false;
}

void tst_KAVThemeFile::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, loads);
    static_assert(KavThemeFileFormat::MaxFileSize == qint64(65) * 1024 * 1024);

    const QString file = path("sized.kav");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(twoIntegers()), qint64(twoIntegers().size()));
        QVERIFY(out.resize(size)); // zeros after the terminator, never read by the chain
    }
    TkavThemeFileReader reader;
    QCOMPARE(reader.Load(file), loads);
    QCOMPARE(reader.isDamaged(), !loads);
    QVERIFY(!reader.isForeign());
    if (loads) {
        QCOMPARE(entryNames(reader), QStringList({"A", "B"}));
    } else {
        QVERIFY(reader.entries().isEmpty());
        const QString expected = QStringLiteral("the file has %1 bytes, more than the 68157440 bytes (65 MB) a theme "
                                                "file may have")
                                     .arg(size);
        QCOMPARE(reader.errorString(), expected);
    }
    QFile::remove(file);
}

// Folders, FIFOs and devices are refused without a byte read: a FIFO could keep the load waiting
// for a writer, and a FIFO or device may never end. A guard ends the FIFO's wait should the load
// ever block on it again, so that this test fails instead of hanging.
void tst_KAVThemeFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addRow("FIFO") << "pipe.kav";
    QTest::addRow("folder") << "folder.kav";
    QTest::addRow("device") << "/dev/zero";
}

void tst_KAVThemeFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, file);
    const QString target = file.startsWith(u'/') ? file : path(file);
    if (file == "pipe.kav")
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    if (file == "folder.kav")
        QVERIFY(QDir().mkpath(target));

    std::atomic<bool> loaded = false;
    std::atomic<bool> rescued = false;
    std::thread guard([&] {
        for (int i = 0; i < 200 && !loaded; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (loaded || file != "pipe.kav")
            return;
        // The load waits on the FIFO: open its other end so that the wait ends.
        rescued = true;
        const int fd = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    TkavThemeFileReader reader;
    const bool result = reader.Load(target);
    loaded = true;
    guard.join();

    QVERIFY(!rescued);
    QVERIFY(!result);
    QVERIFY(!reader.isDamaged());
    QCOMPARE(reader.errorString(), QStringLiteral("\"%1\" is not a regular file (a folder, pipe or device); theme "
                                                  "files are read from regular files only")
                                       .arg(target));
}

void tst_KAVThemeFile::writerErrors_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<QString>("errorMentions");

    const Fill nothing = [](TkavThemeFileWriter &, const QString &) {};
    QTest::addRow("missing folder") << "no/such/folder/x.kav" << nothing << "x.kav";
    QTest::addRow("target is a folder") << "." << nothing << "";
    QTest::addRow("missing source file")
        << "x.kav" << Fill([](TkavThemeFileWriter &w, const QString &dir) { w.AddFile("Pic", dir + "/none.bmp"); })
        << "none.bmp";
    QTest::addRow("name without 8-bit form")
        << "x.kav" << Fill([](TkavThemeFileWriter &w, const QString &) { w.AddInteger(QStringLiteral("\u989c\u8272"), 1); })
        << "name";
    QTest::addRow("string without 8-bit form")
        << "x.kav" << Fill([](TkavThemeFileWriter &w, const QString &) { w.AddStr("Caption", QStringLiteral("\u8003\u8bd5")); })
        << "Caption";
    QTest::addRow("file beyond the size limit")
        << "x.kav" << Fill([](TkavThemeFileWriter &w, const QString &dir) {
               // Sparse: only the size matters, it is refused before any byte is copied. The
               // file alone fits, not with its record and the terminator.
               QFile big(dir + "/big.bin");
               if (big.open(QIODevice::WriteOnly))
                   big.resize(KavThemeFileFormat::MaxFileSize - 100);
               w.AddFile("Huge", dir + "/big.bin");
           })
        << "a theme file may have";
}

void tst_KAVThemeFile::writerErrors()
{
    QFETCH(QString, target);
    QFETCH(Fill, fill);
    QFETCH(QString, errorMentions);

    auto writer = std::make_unique<TkavThemeFileWriter>(path(target));
    fill(*writer, m_dir->path());
    QVERIFY(!writer->Save());
    QVERIFY(!writer->errorString().isEmpty());
    QVERIFY2(writer->errorString().contains(errorMentions), qPrintable(writer->errorString()));
    writer.reset(); // the destructor's save fails quietly
    if (target == "x.kav")
        QVERIFY(!QFile::exists(path(target)));
}

void tst_KAVThemeFile::failedSaveKeepsEarlierFile()
{
    {
        TkavThemeFileWriter writer(path("keep.kav"));
        writer.AddInteger("Good", 1);
    }
    const QByteArray before = readAll(path("keep.kav"));
    QVERIFY(!before.isEmpty());

    TkavThemeFileWriter writer(path("keep.kav"));
    writer.AddInteger("Other", 2);
    writer.AddFile("Pic", path("none.bmp"));
    QVERIFY(!writer.Save());
    QCOMPARE(readAll(path("keep.kav")), before);
}

QTEST_GUILESS_MAIN(tst_KAVThemeFile)
#include "tst_kavthemefile.moc"
