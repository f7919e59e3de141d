#pragma once

#include <QBitArray>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

class QSqlQuery;

namespace Kav {

// One record as read: its values in the table's column order, and SQLite's rowid where that is
// what names the record (null otherwise).
struct TableRow {
    QVariant rowId;
    QList<QVariant> values;
};

// What names one record: its primary key values, or its rowid in a table without a primary key.
// After an insert the rowid is also given where the table has one, the surest way back to the
// record.
struct RecordIdentity {
    QVariant rowId;
    QList<QVariant> key;
    bool isValid() const { return !rowId.isNull() || !key.isEmpty(); }
};

// What became of a write.
enum class WriteOutcome {
    Written,
    ChangedByOther, // the record no longer holds the values it was read with: nothing was written
    DeletedByOther, // there is no record of that key any more: nothing was written
    Refused,        // the database refused the statement (error())
};

// One table on one connection: its columns, how one record of it is named, and the statements that
// read and write single records.
//
// A record is named by the table's primary key; in a table without one, by SQLite's rowid (never
// by its values, which several records may share). A table with neither can only be read
// (readOnlyReason()).
//
// Updates and deletes are optimistic: the statement names the record by its key and by every value
// it was read with, so that a record another program changed or deleted meanwhile is not
// overwritten; the outcome then says which of the two happened. An update compares BLOB values
// only where it writes them: comparing a picture costs its whole size on every save, and a picture
// the update does not write cannot be overwritten by it. A delete compares them all.
class TkavTableAccess {
public:
    // Reads the table's columns and key; false with error() when it cannot be read.
    bool open(const QSqlDatabase &database, const QString &table);

    QSqlDatabase database() const { return m_database; }
    QString table() const { return m_table; }
    const QSqlRecord &columns() const { return m_columns; }
    int columnCount() const { return m_columns.count(); }
    bool hasRowId() const { return !m_rowIdName.isEmpty(); }
    // The rowid names the records (no primary key): it is read with them, as the first column.
    bool rowIdIsKey() const { return hasRowId() && m_keyColumns.isEmpty(); }
    bool canWrite() const { return m_readOnlyReason.isEmpty(); }
    // Why records of this table cannot be written; empty when they can.
    QString readOnlyReason() const { return m_readOnlyReason; }
    // Whether column is a BLOB (a picture, say): declared so, or holding bytes in this value.
    bool isBlob(int column, const QVariant &value) const;

    // The statement reading the records that meet filter (empty: all), ordered by sortColumn (-1:
    // the database's order), and then by rowid where that names the records.
    QString selectStatement(const QString &filter, int sortColumn) const;
    // The record the query (of selectStatement) stands on.
    TableRow rowFrom(const QSqlQuery &query) const;
    RecordIdentity identityOf(const TableRow &row) const;
    bool names(const RecordIdentity &identity, const TableRow &row) const;

    // Reads the record of identity again, if it meets filter; found says whether it does.
    bool readBack(const RecordIdentity &identity, const QString &filter, TableRow *row, bool *found);

    // Writes the changed values of a record read as original.
    WriteOutcome update(const TableRow &original, const QList<QVariant> &values, const QBitArray &changed);
    // Writes a new record of the changed values (the database fills in the others); identity
    // names it afterwards.
    WriteOutcome insert(const QList<QVariant> &values, const QBitArray &changed, RecordIdentity *identity);
    WriteOutcome remove(const TableRow &original);

    QSqlError error() const { return m_error; }

private:
    QString field(int column) const;
    // "WHERE key = ? AND column = ? ..." for the record read as original, with its bound values.
    QString whereRecordWas(const TableRow &original, const QBitArray &written, QList<QVariant> *bound) const;
    QString whereIdentity(const RecordIdentity &identity, QList<QVariant> *bound) const;
    bool run(QSqlQuery &query, const QString &statement, const QList<QVariant> &bound);
    WriteOutcome whyNothingMatched(const TableRow &original);

    QSqlDatabase m_database;
    QString m_table;
    QString m_escapedTable;
    QSqlRecord m_columns;
    QList<int> m_keyColumns;
    QString m_rowIdName;
    QString m_readOnlyReason;
    QSqlError m_error;
};

} // namespace Kav
