#pragma once

#include <QSqlError>
#include <QString>

// What a refused database operation means to the person at the screen: what failed, why, and
// what to do about it, in words they can act on. The driver's own text stays available as the
// detail.
namespace Kav {

// The operation that was refused.
enum class DataOperation {
    Open,    // reading a table for the first time
    Refresh, // reading it again
    Save,    // writing an edited or a new record
    Delete,  // deleting a record
};

// Why the database refused, as far as the data layer acts differently on it.
enum class DataErrorKind {
    Locked,     // another program holds a lock on the database
    ReadOnly,   // the file or the connection cannot be written
    Constraint, // a rule of the table (NOT NULL, UNIQUE, CHECK, FOREIGN KEY)
    Mismatch,   // a value of a type the column does not take
    DiskFull,
    FileProblem, // the file is damaged, gone, or no database
    MissingTable,
    Other,
};

DataErrorKind KavDataErrorKind(const QSqlError &error);

// The readable message for error, refused while doing operation on table.
QString KavDescribeDataError(DataOperation operation, const QSqlError &error, const QString &table);

} // namespace Kav
