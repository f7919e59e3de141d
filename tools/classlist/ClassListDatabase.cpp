#include "ClassListDatabase.h"

#include "KAVDataErrors.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A friendly face for a sample pupil: a coloured disc with the pupil's initial.
QByteArray drawnPhoto(const QString &name, const QColor &colour)
{
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(QColor(246, 244, 238));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.lighter(150));
    p.drawEllipse(QRectF(18, 58, 60, 60)); // shoulders
    p.setBrush(colour);
    p.drawEllipse(QRectF(26, 12, 44, 44)); // head
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(26, 12, 44, 44), Qt::AlignCenter, name.left(1));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

ClassListDatabase::ClassListDatabase(const QString &fileName)
    : m_fileName(fileName)
    , m_connection(QStringLiteral("classlist"))
{
}

ClassListDatabase::~ClassListDatabase()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase ClassListDatabase::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool ClassListDatabase::exec(const QString &statement)
{
    QSqlQuery query(database());
    if (query.exec(statement))
        return true;
    m_error = query.lastError();
    return false;
}

bool ClassListDatabase::isLocked() const
{
    return m_error.isValid() && Kav::KavDataErrorKind(m_error) == Kav::DataErrorKind::Locked;
}

bool ClassListDatabase::open()
{
    m_error = QSqlError();
    if (!m_connected) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(StartLockTimeout));
        if (!db.open()) {
            m_error = db.lastError();
            return false;
        }
        m_connected = true;
    }
    QSqlDatabase db = database();
    // Reading the schema is the first thing that fails on a file that is no database, or that
    // another program holds locked.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
        m_error = probe.lastError();
        return false;
    }
    probe.finish();
    if (!createTables())
        return false;
    QSqlQuery count(db);
    if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM pupils")) || !count.next()) {
        m_error = count.lastError();
        return false;
    }
    const bool empty = count.value(0).toInt() == 0;
    count.finish();
    m_ready = !empty || addSampleRows();
    return m_ready;
}

bool ClassListDatabase::createTables()
{
    return exec(QStringLiteral("CREATE TABLE IF NOT EXISTS classes (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)"))
        && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS pupils (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " name TEXT NOT NULL, class_id INTEGER REFERENCES classes(id), photo BLOB,"
                               " last_score INTEGER CHECK (last_score IS NULL OR last_score BETWEEN 0 AND 100),"
                               " passed BOOLEAN, seat TEXT, favourite TEXT, notes TEXT)"));
}

bool ClassListDatabase::addSampleRows()
{
    QSqlDatabase db = database();
    if (!db.transaction()) {
        m_error = db.lastError();
        return false;
    }
    bool ok = exec(QStringLiteral("INSERT OR IGNORE INTO classes (id, name) VALUES"
                                  " (1, 'Class 1 Robins'), (2, 'Class 2 Owls'), (3, 'Class 3 Foxes')"));
    struct Pupil {
        const char *name;
        int classId;
        int score;
        const char *seat;
        const char *favourite;
        const char *notes;
        QColor colour;
    };
    const Pupil pupils[] = {
        {"Amy Lin", 1, 92, "F", "Addition", "Quick with number bonds to 20.", QColor(214, 92, 92)},
        {"Ben Okafor", 1, 58, "M", "Subtraction", "Practise taking away across ten.", QColor(70, 130, 200)},
        {"Chen Wei", 2, 81, "B", "Multiplication", "Knows the 2, 5 and 10 times tables.", QColor(90, 160, 90)},
        {"Dana Ruiz", 2, 100, "F", "Division", "Full marks on the last test!", QColor(200, 150, 50)},
        {"Elif Kaya", 3, 67, "M", "Mixed", "Checks answers carefully; a little slow.", QColor(150, 100, 190)},
        {"Finn Murphy", 3, 45, "B", "Addition", "Needs more time on word problems.", QColor(60, 170, 170)},
    };
    for (const Pupil &pupil : pupils) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO pupils (name, class_id, photo, last_score, passed, seat, favourite, notes)"
                                      " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        const QString name = QString::fromUtf8(pupil.name);
        insert.addBindValue(name);
        insert.addBindValue(pupil.classId);
        insert.addBindValue(drawnPhoto(name, pupil.colour));
        insert.addBindValue(pupil.score);
        insert.addBindValue(pupil.score >= 60);
        insert.addBindValue(QString::fromUtf8(pupil.seat));
        insert.addBindValue(QString::fromUtf8(pupil.favourite));
        insert.addBindValue(QString::fromUtf8(pupil.notes));
        if (!insert.exec()) {
            m_error = insert.lastError();
            ok = false;
            break;
        }
    }
    if (ok && db.commit())
        return true;
    if (ok)
        m_error = db.lastError();
    db.rollback();
    return false;
}
