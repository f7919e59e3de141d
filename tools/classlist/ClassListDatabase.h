#pragma once

#include <QSqlDatabase>
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
    // cannot be opened or written.
    bool open();
    QString error() const { return m_error; }
    QSqlDatabase database() const;

private:
    bool createTables();
    bool addSampleRows();
    bool exec(const QString &statement);

    QString m_fileName;
    QString m_connection;
    QString m_error;
};
