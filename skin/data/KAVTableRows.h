#pragma once

#include "KAVTableAccess.h"

#include <QAbstractTableModel>
#include <QBitArray>
#include <QHash>
#include <QList>
#include <QSqlQuery>

namespace Kav {

// The records of a data set: read from the database a batch at a time, as views and the data set
// need them, with the one record being edited or inserted held apart from what was read until it
// is written or dropped. Rows are records, columns the table's columns; a value reads the same in
// Qt::DisplayRole and Qt::EditRole (the data set's view model turns it into text).
//
// What was read stays where the query keeps it (its cache, as QSqlQueryModel does): a row is a
// number, the record's place in the query, or one of the data set's own records (written and read
// back, or new). Rows inserted, removed or moved only move those numbers. Once the last record has
// been read the query lets go of the database file, which other programs may want to write.
class TkavTableRows : public QAbstractTableModel {
public:
    static constexpr int FetchBatch = 256;

    TkavTableRows(const TkavTableAccess *access, QObject *parent);

    // Reads the records afresh, at least up to row (views then hear of one reset, not of many
    // rows coming in). When the database refuses (error()), nothing changes: the records read
    // before stay as they were.
    bool select(const QString &filter, int sortColumn, int row = 0);
    // Reads on until row is read (false when there are fewer records), or to the end.
    bool fetchTo(int row);
    void fetchAll();
    // Whether every record has been read (or reading stopped on an error, readError()).
    bool readingDone() const { return m_readingDone; }
    QSqlError error() const { return m_error; }
    QSqlError readError() const { return m_readError; }

    // The records read so far.
    int count() const { return int(m_rows.size()); }
    // A record as read (for the record being edited: as it was before the edit).
    TableRow stored(int row) const;
    // A value as shown: the record being edited shows what was typed.
    QVariant value(int row, int column) const;

    // The record being edited or inserted: its row (-1: none), values, and which were typed.
    int pendingRow() const { return m_pendingRow; }
    bool pendingIsNew() const { return m_pendingIsNew; }
    const QList<QVariant> &pendingValues() const { return m_pendingValues; }
    const QBitArray &pendingChanged() const { return m_pendingChanged; }
    void beginEdit(int row);
    // A new, empty record at row, being inserted.
    void insertNew(int row);
    void setPendingValue(int column, const QVariant &value);
    // Drops the record being edited (its row shows what was read again) or inserted (its row goes).
    void dropPending();
    // The record being edited or inserted was written and reads back as stored.
    void storePending(const TableRow &stored);

    void removeAt(int row);
    void moveRow(int from, int to);
    // Where the record at row belongs by its value in sortColumn among the others (rows read
    // only); -1 when that may be among the records not read yet.
    int placeOf(int row, int sortColumn) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    // Reads up to count more records; how many were read. appendRead gives them their rows.
    int readMore(int count);
    void appendRead(int read);
    void appendFetched(int count);
    // The stored value of a row, and its rowid.
    QVariant storedValue(int row, int column) const;
    QVariant storedRowId(int row) const;
    // Keeps record as the data set's own, for row.
    void own(int row, const TableRow &record);

    const TkavTableAccess *m_access;
    // Its cache holds every record read; seeking in it is moving its cursor.
    mutable QSqlQuery m_reader;
    int m_readCount = 0;
    bool m_readingDone = true;
    // Where each row's record is: its place in the reader (0 and up), or -1 - its index in m_own.
    QList<int> m_rows;
    QList<TableRow> m_own;
    QSqlError m_error;
    QSqlError m_readError;
    QHash<int, QVariant> m_titles;
    int m_pendingRow = -1;
    bool m_pendingIsNew = false;
    QList<QVariant> m_pendingValues;
    QBitArray m_pendingChanged;
};

// SQLite's order of values: null, then numbers by value, then text, then bytes.
int KavCompareSqlValues(const QVariant &a, const QVariant &b);

} // namespace Kav
