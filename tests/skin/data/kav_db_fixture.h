#pragma once

// A small school database in a real SQLite file in a temporary folder: the tables the data-aware
// tests bind to, a connection to read back what was stored, and another program working on the
// same file through a connection of its own.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>
#include <QtTest>

namespace KavTest {

class SchoolDatabase {
public:
    SchoolDatabase()
        : m_connection(newConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path());
        // A locked file is reported after a short wait instead of the driver's five seconds.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
        if (!db.open())
            qFatal("cannot open %s: %s", qPrintable(path()), qPrintable(db.lastError().text()));
        for (const char *statement : {
                 "CREATE TABLE classes (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)",
                 "CREATE TABLE pupils (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL,"
                 " class_id INTEGER REFERENCES classes(id),"
                 " score INTEGER CHECK (score IS NULL OR score BETWEEN 0 AND 100),"
                 " passed BOOLEAN, colour TEXT, photo BLOB, notes TEXT)",
                 "INSERT INTO classes (id, name) VALUES (1, 'Class 1A'), (2, 'Class 2B'), (3, 'Class 3C')",
                 "INSERT INTO pupils (name, class_id, score, passed, colour, notes) VALUES"
                 " ('Anna', 1, 95, 1, 'Yes', 'Reads well'),"
                 " ('Ben', 2, 40, 0, 'no', NULL),"
                 " ('Chloe', 3, 78, 1, 'R', 'Likes sums'),"
                 " ('Dev', 1, NULL, NULL, NULL, NULL)"}) {
            QSqlQuery query(db);
            if (!query.exec(QString::fromLatin1(statement)))
                qFatal("%s: %s", statement, qPrintable(query.lastError().text()));
        }
    }

    ~SchoolDatabase()
    {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }

    SchoolDatabase(const SchoolDatabase &) = delete;
    SchoolDatabase &operator=(const SchoolDatabase &) = delete;

    QString path() const { return m_dir.filePath(QStringLiteral("school.db")); }
    QString connectionName() const { return m_connection; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_connection); }

    // The first column of the first row of sql, read through a fresh connection to the file: what
    // is really stored, not what a model caches.
    QVariant readBack(const QString &sql) const
    {
        const QString name = newConnectionName();
        QVariant value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path());
            if (db.open()) {
                QSqlQuery query(db);
                if (query.exec(sql) && query.next())
                    value = query.value(0);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return value;
    }

    static QString newConnectionName()
    {
        return QStringLiteral("kavtest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }

private:
    QTemporaryDir m_dir;
    QString m_connection;
};

// Another program on the same database file: its own connection, which changes records under a
// data set and takes the file's write lock.
class OtherProgram {
public:
    explicit OtherProgram(const QString &path)
        : m_connection(SchoolDatabase::newConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
        if (!db.open())
            qFatal("the other program cannot open %s", qPrintable(path));
    }
    ~OtherProgram()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            if (m_locked)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    // Runs sql; false (with a warning naming the error) when it is refused.
    bool exec(const QString &sql)
    {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        if (query.exec(sql))
            return true;
        qWarning("the other program's %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return false;
    }
    // Holds the file locked, for reading and writing, until unlock().
    bool lock() { return m_locked = exec(QStringLiteral("BEGIN EXCLUSIVE")); }
    bool unlock()
    {
        m_locked = false;
        return exec(QStringLiteral("ROLLBACK"));
    }

private:
    QString m_connection;
    bool m_locked = false;
};

} // namespace KavTest
