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

bool TkavTableRows::select(const QString &filter, int sortColumn)
{
    // The new reading must stand before anything is given up for it.
    QSqlQuery reader(m_access->database());
    reader.setForwardOnly(true);
    if (!reader.exec(m_access->selectStatement(filter, sortColumn))) {
        m_error = reader.lastError();
        return false;
    }
    m_error = QSqlError();
    beginResetModel();
    m_pendingRow = -1;
    m_pendingIsNew = false;
    m_rows.clear();
    m_reader = std::move(reader);
    m_readError = QSqlError();
    readMore(FetchBatch, &m_rows);
    endResetModel();
    return true;
}

void TkavTableRows::readMore(int count, QList<TableRow> *rows)
{
    if (!m_reader.isActive())
        return;
    for (int read = 0; read < count; ++read) {
        if (!m_reader.next()) {
            if (m_reader.lastError().isValid())
                m_readError = m_reader.lastError();
            // Done: the statement lets go of the file, which other programs may want to write.
            m_reader.finish();
            return;
        }
        rows->append(m_access->rowFrom(m_reader));
    }
}

void TkavTableRows::appendFetched(int count)
{
    QList<TableRow> more;
    readMore(count, &more);
    if (more.isEmpty())
        return;
    const int first = this->count();
    beginInsertRows(QModelIndex(), first, first + int(more.size()) - 1);
    m_rows.append(std::move(more));
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

QVariant TkavTableRows::value(int row, int column) const
{
    if (row < 0 || row >= count())
        return {};
    if (row == m_pendingRow)
        return m_pendingValues.value(column);
    return m_rows.at(row).values.value(column);
}

void TkavTableRows::beginEdit(int row)
{
    m_pendingRow = row;
    m_pendingIsNew = false;
    m_pendingValues = m_rows.at(row).values;
    m_pendingChanged = QBitArray(columnCount());
}

void TkavTableRows::insertNew(int row)
{
    TableRow blank;
    blank.values = QList<QVariant>(columnCount());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, blank);
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
    m_rows[row] = stored;
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
    const TableRow &record = m_rows.at(row);
    const auto before = [&](const TableRow &a, const TableRow &b) {
        const int order = KavCompareSqlValues(a.values.value(sortColumn), b.values.value(sortColumn));
        if (order != 0)
            return order < 0;
        return !a.rowId.isNull() && !b.rowId.isNull() && a.rowId.toLongLong() < b.rowId.toLongLong();
    };
    // The first of the other records that comes after this one.
    const int others = count() - 1;
    int low = 0;
    int high = others;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (before(record, m_rows.at(middle < row ? middle : middle + 1)))
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
