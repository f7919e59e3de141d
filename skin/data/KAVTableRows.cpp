#include "KAVTableRows.h"

#include <QSqlRecord>

namespace Kav {
namespace {

// SQLite's classes of value, in its sort order.
int valueClass(const QVariant &value)
{
    if (value.isNull())
        return 0;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return 1;
    case QMetaType::QByteArray:
        return 3;
    default:
        return 2;
    }
}

bool isWhole(const QVariant &value)
{
    const int type = value.metaType().id();
    return type != QMetaType::Double && type != QMetaType::Float;
}

template <typename T>
int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int KavCompareSqlValues(const QVariant &a, const QVariant &b)
{
    const int classA = valueClass(a);
    const int classB = valueClass(b);
    if (classA != classB)
        return threeWay(classA, classB);
    switch (classA) {
    case 0:
        return 0;
    case 1:
        if (isWhole(a) && isWhole(b))
            return threeWay(a.toLongLong(), b.toLongLong());
        return threeWay(a.toDouble(), b.toDouble());
    case 3:
        return threeWay(a.toByteArray(), b.toByteArray());
    default:
        // SQLite compares text by its UTF-8 bytes.
        return threeWay(a.toString().toUtf8(), b.toString().toUtf8());
    }
}

TkavTableRows::TkavTableRows(const TkavTableAccess *access, QObject *parent)
    : QAbstractTableModel(parent)
    , m_access(access)
    , m_reader(QSqlDatabase())
{
}

bool TkavTableRows::select(const QString &filter, int sortColumn, int row)
{
    // The new reading must stand before anything is given up for it.
    QSqlQuery reader(m_access->database());
    if (!reader.exec(m_access->selectStatement(filter, sortColumn))) {
        m_error = reader.lastError();
        return false;
    }
    m_error = QSqlError();
    beginResetModel();
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_pendingValues.clear();
    m_rows.clear();
    m_own.clear();
    m_reader = std::move(reader);
    m_readCount = 0;
    m_readingDone = false;
    m_readError = QSqlError();
    appendRead(readMore(qMax(FetchBatch, row + 1)));
    endResetModel();
    return true;
}

int TkavTableRows::readMore(int count)
{
    if (m_readingDone || count <= 0)
        return 0;
    // One seek reads every record up to the one asked for into the query's cache.
    if (m_reader.seek(m_readCount + count - 1)) {
        m_readCount += count;
        return count;
    }
    // Fewer records: past the last one the driver lets go of the file, and the query keeps what
    // it read.
    if (m_reader.lastError().isValid())
        m_readError = m_reader.lastError();
    m_readingDone = true;
    const int before = m_readCount;
    if (m_reader.last())
        m_readCount = m_reader.at() + 1;
    return m_readCount - before;
}

void TkavTableRows::appendRead(int read)
{
    m_rows.reserve(m_rows.size() + read);
    for (int source = m_readCount - read; source < m_readCount; ++source)
        m_rows.append(source);
}

void TkavTableRows::appendFetched(int count)
{
    // The records are read first: how many there are is known only then.
    const int read = readMore(count);
    if (read == 0)
        return;
    const int first = this->count();
    beginInsertRows(QModelIndex(), first, first + read - 1);
    appendRead(read);
    endInsertRows();
}

bool TkavTableRows::fetchTo(int row)
{
    if (row < 0)
        return false;
    while (row >= count() && !readingDone())
        appendFetched(qMax(FetchBatch, row + 1 - count()));
    return row < count();
}

void TkavTableRows::fetchAll()
{
    while (!readingDone())
        appendFetched(16 * FetchBatch);
}

QVariant TkavTableRows::storedValue(int row, int column) const
{
    const int source = m_rows.at(row);
    if (source < 0)
        return m_own.at(-1 - source).values.value(column);
    if (!m_reader.seek(source))
        return {};
    return m_reader.value(column + (m_access->rowIdIsKey() ? 1 : 0));
}

QVariant TkavTableRows::storedRowId(int row) const
{
    const int source = m_rows.at(row);
    if (source < 0)
        return m_own.at(-1 - source).rowId;
    if (!m_access->rowIdIsKey() || !m_reader.seek(source))
        return {};
    return m_reader.value(0);
}

TableRow TkavTableRows::stored(int row) const
{
    const int source = m_rows.at(row);
    if (source < 0)
        return m_own.at(-1 - source);
    if (!m_reader.seek(source))
        return {};
    return m_access->rowFrom(m_reader);
}

QVariant TkavTableRows::value(int row, int column) const
{
    if (row < 0 || row >= count())
        return {};
    if (row == m_pendingRow)
        return m_pendingValues.value(column);
    return storedValue(row, column);
}

void TkavTableRows::own(int row, const TableRow &record)
{
    const int source = m_rows.at(row);
    if (source < 0) {
        m_own[-1 - source] = record;
        return;
    }
    m_own.append(record);
    m_rows[row] = -int(m_own.size());
}

void TkavTableRows::beginEdit(int row)
{
    m_pendingRow = row;
    m_pendingIsNew = false;
    m_pendingValues = stored(row).values;
    m_pendingChanged = QBitArray(columnCount());
}

void TkavTableRows::insertNew(int row)
{
    TableRow blank;
    blank.values = QList<QVariant>(columnCount());
    beginInsertRows(QModelIndex(), row, row);
    m_own.append(blank);
    m_rows.insert(row, -int(m_own.size()));
    m_pendingRow = row;
    m_pendingIsNew = true;
    m_pendingValues = blank.values;
    m_pendingChanged = QBitArray(columnCount());
    endInsertRows();
}

void TkavTableRows::setPendingValue(int column, const QVariant &value)
{
    if (m_pendingRow < 0 || column < 0 || column >= columnCount())
        return;
    m_pendingValues[column] = value;
    m_pendingChanged.setBit(column);
    const QModelIndex cell = index(m_pendingRow, column);
    Q_EMIT dataChanged(cell, cell);
}

void TkavTableRows::dropPending()
{
    const int row = m_pendingRow;
    if (row < 0)
        return;
    const bool wasNew = m_pendingIsNew;
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_pendingValues.clear();
    if (wasNew) {
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    } else {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

void TkavTableRows::storePending(const TableRow &stored)
{
    const int row = m_pendingRow;
    if (row < 0)
        return;
    own(row, stored);
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_pendingValues.clear();
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void TkavTableRows::removeAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void TkavTableRows::moveRow(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count())
        return;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_rows.move(from, to);
    endMoveRows();
}

int TkavTableRows::placeOf(int row, int sortColumn) const
{
    const QVariant value = storedValue(row, sortColumn);
    const QVariant rowId = storedRowId(row);
    // Whether the record at other comes after this one: by its value, then by rowid.
    const auto after = [&](int other) {
        const int order = KavCompareSqlValues(value, storedValue(other, sortColumn));
        if (order != 0)
            return order < 0;
        const QVariant otherId = storedRowId(other);
        return !rowId.isNull() && !otherId.isNull() && rowId.toLongLong() < otherId.toLongLong();
    };
    // The first of the other records that comes after this one.
    const int others = count() - 1;
    int low = 0;
    int high = others;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (after(middle < row ? middle : middle + 1))
            high = middle;
        else
            low = middle + 1;
    }
    // After every record read, while more are still to come: its place may be among those.
    if (low == others && !readingDone())
        return -1;
    return low;
}

int TkavTableRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int TkavTableRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_access->columnCount();
}

QVariant TkavTableRows::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return value(index.row(), index.column());
}

Qt::ItemFlags TkavTableRows::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (m_access->canWrite())
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TkavTableRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (m_titles.contains(section))
        return m_titles.value(section);
    return m_access->columns().fieldName(section);
}

bool TkavTableRows::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_titles.insert(section, value);
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

bool TkavTableRows::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !readingDone();
}

void TkavTableRows::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        appendFetched(FetchBatch);
}

} // namespace Kav
