#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The class list's database file: opened, or created with its two tables (classes, pupils) and a
// few sample pupils with drawn photos when it is new or empty.
class ClassListDatabase {
public:
    explicit ClassListDatabase(const QString &fileName);
    ~ClassListDatabase();
    ClassListDatabase(const ClassListDatabase &) = delete;
    ClassListDatabase &operator=(const ClassListDatabase &) = delete;

    // Opens the file, creating what is missing; false with error() when it is no database or
    // cannot be opened or written. May be called again after a failure (a lock gone, say).
    bool open();
    bool isReady() const { return m_ready; }
    QString error() const { return m_error.text(); }
    QSqlError sqlError() const { return m_error; }
    // Whether the last failure was another program holding the file locked: that passes.
    bool isLocked() const;
    QString fileName() const { return m_fileName; }
    QSqlDatabase database() const;

    // How long opening waits for another program's lock before it says so (the window then
    // offers to try again).
    static constexpr int StartLockTimeout = 300;

private:
    bool createTables();
    bool addSampleRows();
    bool exec(const QString &statement);

    QString m_fileName;
    QString m_connection;
    QSqlError m_error;
    bool m_connected = false;
    bool m_ready = false;
};
