// kav-theme dump on hand-built files: each entry described by its own bytes, pictures outside the
// picture budget named with the reason, and files whose entries all cover the whole file listed
// without copying or probing the whole file once per entry.

#include "KAVPictureBudget.h"
#include "KAVThemeFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

void appendLe32(QByteArray &bytes, qint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((quint32(value) >> shift) & 0xFF));
}

void appendLe16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8));
}

// The header of a 1-bit bitmap file of the given size: file header, info header and a two-colour
// palette. Only the header: dump must not need the pixels.
QByteArray bitmapHeader(int width, int height)
{
    const qint64 rowBytes = ((qint64(width) + 31) / 32) * 4;
    const qint64 fileSize = 62 + rowBytes * height;
    QByteArray bytes("BM");
    appendLe32(bytes, qint32(qMin<qint64>(fileSize, 0x7FFFFFFF)));
    appendLe32(bytes, 0);
    appendLe32(bytes, 62);
    appendLe32(bytes, 40);
    appendLe32(bytes, width);
    appendLe32(bytes, height);
    appendLe16(bytes, 1);
    appendLe16(bytes, 1);
    appendLe32(bytes, 0); // no compression
    appendLe32(bytes, 0);
    appendLe32(bytes, 2835);
    appendLe32(bytes, 2835);
    appendLe32(bytes, 2);
    appendLe32(bytes, 2);
    appendLe32(bytes, 0x00000000);
    appendLe32(bytes, 0x00FFFFFF);
    return bytes;
}

// A theme file assembled record by record, so that data ranges may be anything.
class RawThemeFile {
public:
    RawThemeFile()
    {
        m_bytes.append("Corvane_TB", 10);
        m_bytes.append(2, '\0');
        appendLe32(m_bytes, KavThemeFileFormat::HeaderSize);
        appendLe32(m_bytes, 1);
        appendLe32(m_bytes, KavThemeFileFormat::HeaderSize);
    }

    // A record whose data follows it.
    void addFile(const QByteArray &name, const QByteArray &data)
    {
        const qint32 dataAt = qint32(m_bytes.size()) + KavThemeFileFormat::RecordSize;
        appendRecord(name, TkavThemeFileKind::File, dataAt, qint32(data.size()), dataAt + qint32(data.size()));
        m_bytes.append(data);
    }

    // A record whose data is elsewhere in the file.
    void addFileAt(const QByteArray &name, qint32 dataOffset, qint32 dataSize)
    {
        const qint32 nextAt = qint32(m_bytes.size()) + KavThemeFileFormat::RecordSize;
        appendRecord(name, TkavThemeFileKind::File, dataOffset, dataSize, nextAt);
    }

    void end() { appendRecord(QByteArray(), TkavThemeFileKind::Boolean, 0, 0, 0); }
    QByteArray &bytes() { return m_bytes; }

private:
    void appendRecord(const QByteArray &name, TkavThemeFileKind kind, qint32 dataOffset, qint32 dataSize, qint32 next)
    {
        QByteArray field = name.left(KavThemeFileFormat::NameSize);
        field.append(KavThemeFileFormat::NameSize - field.size(), '\0');
        m_bytes.append(field);
        m_bytes.append(char(kind));
        appendLe32(m_bytes, dataOffset);
        appendLe32(m_bytes, dataSize);
        appendLe32(m_bytes, next);
    }

    QByteArray m_bytes;
};

struct DumpResult {
    bool finished = false;
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

DumpResult runDump(const QString &file, int timeoutMs)
{
    QProcess tool;
    tool.start(QDir(qEnvironmentVariable("KAV_BINARY_DIR")).filePath(QStringLiteral("tools/kav-theme/kav-theme")),
               {QStringLiteral("dump"), file});
    DumpResult result;
    result.finished = tool.waitForFinished(timeoutMs);
    if (!result.finished) {
        tool.kill();
        tool.waitForFinished();
        return result;
    }
    result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    result.lines = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    result.errors = QString::fromUtf8(tool.readAllStandardError());
    return result;
}

// The part of a dump line after the kind and the name.
QString description(const QString &line)
{
    static const QRegularExpression kindAndName(QStringLiteral("^\\S+ +\\S+ +"));
    return QString(line).remove(kindAndName);
}

} // namespace

class TestKavThemeDump : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    // Two entries of one name are two entries: each is described by its own bytes.
    void sameNameDescribedByOwnData()
    {
        RawThemeFile theme;
        theme.addFile("ButtonImage", bitmapHeader(2, 1) + QByteArray(8, '\0'));
        theme.addFile("ButtonImage", bitmapHeader(3, 4) + QByteArray(16, '\0'));
        theme.addFile("buttonimage", QByteArray("plain text"));
        theme.end();
        const DumpResult dump = runDump(write(QStringLiteral("same.kav"), theme.bytes()), 60000);
        QVERIFY(dump.finished);
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(dump.lines.size(), 3);
        QCOMPARE(description(dump.lines[0]), QStringLiteral("70 bytes, bitmap 2x1"));
        QCOMPARE(description(dump.lines[1]), QStringLiteral("78 bytes, bitmap 3x4"));
        QCOMPARE(description(dump.lines[2]), QStringLiteral("10 bytes, not a bitmap"));
    }

    // Pictures at the budget's edges: inside it they are plain bitmaps, one pixel over they are
    // named as refused with the budget's reason. Only headers are stored: dump decodes nothing.
    void pictureBudgetEdges_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("refused");
        const int side = Kav::PictureBudget::MaxSide;
        const int squareSide = 2048; // 2048 x 2048 x 4 bytes is exactly the decoded budget
        static_assert(qint64(2048) * 2048 * 4 == Kav::PictureBudget::MaxPictureBytes);
        QTest::newRow("widest allowed") << side << 1 << false;
        QTest::newRow("one column too wide") << side + 1 << 1 << true;
        QTest::newRow("one row too high") << 1 << side + 1 << true;
        QTest::newRow("exactly the decoded budget") << squareSide << squareSide << false;
        QTest::newRow("one row over the decoded budget") << squareSide << squareSide + 1 << true;
        QTest::newRow("5000 x 5000") << 5000 << 5000 << true;
    }

    void pictureBudgetEdges()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, refused);
        RawThemeFile theme;
        theme.addFile("ButtonImage", bitmapHeader(width, height) + QByteArray(64, '\0'));
        theme.end();
        const DumpResult dump = runDump(write(QStringLiteral("edge.kav"), theme.bytes()), 60000);
        QVERIFY(dump.finished);
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(dump.lines.size(), 1);
        const QString size = QStringLiteral("bitmap %1x%2").arg(width).arg(height);
        const QString expected = refused ? QStringLiteral("%1 \u2014 refused: %2").arg(size, Kav::KavPictureRefusal(QSize(width, height)))
                                         : size;
        QCOMPARE(description(dump.lines[0]), QStringLiteral("126 bytes, ") + expected);
        QVERIFY(dump.lines[0].startsWith(QStringLiteral("file    ButtonImage ")));
    }

    // Each of about 100,000 entries covers nearly the whole 8 MB file (ranges may overlap). Copying or
    // probing the covered bytes once per entry would take many minutes; describing each entry from
    // its header takes well under a second. The timeout is a hang guard, not a timing goal.
    void entriesCoveringTheWholeFileListedInLinearTime()
    {
        const qint32 fileSize = 8 * 1024 * 1024;
        const QByteArray picture = bitmapHeader(5000, 5000);
        const int entries = (fileSize - int(picture.size())) / KavThemeFileFormat::RecordSize - 2;
        const qint32 pictureAt = KavThemeFileFormat::HeaderSize + (entries + 1) * KavThemeFileFormat::RecordSize;
        RawThemeFile theme;
        for (int i = 0; i < entries - 1; ++i)
            theme.addFileAt("ButtonImage", 1, fileSize - 1); // not all of it: a whole-array copy is free
        theme.addFileAt("ButtonImage", pictureAt, fileSize - pictureAt);
        theme.end();
        QByteArray &bytes = theme.bytes();
        QCOMPARE(bytes.size(), pictureAt);
        bytes.append(picture);
        bytes.append(fileSize - bytes.size(), '\0');
        QCOMPARE(bytes.size(), fileSize);

        const DumpResult dump = runDump(write(QStringLiteral("overlapping.kav"), bytes), 20000);
        QVERIFY2(dump.finished, "dump of 8 MB of overlapping entries did not finish in 20 s");
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(dump.lines.size(), entries);
        QVERIFY2(dump.lines.first().endsWith(QStringLiteral("8388607 bytes, not a bitmap")), qPrintable(dump.lines.first()));
        QVERIFY2(dump.lines.last().contains(QStringLiteral("bitmap 5000x5000 \u2014 refused: ")), qPrintable(dump.lines.last()));
        QFile::remove(m_folder.filePath(QStringLiteral("overlapping.kav")));
    }
};

QTEST_GUILESS_MAIN(TestKavThemeDump)
#include "tst_kavthemedump.moc"
