#include "KAVTableAccess.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>

namespace Kav {
namespace {

bool isSqlite(const QSqlDatabase &database)
{
    return database.driverName().startsWith(QLatin1String("QSQLITE"));
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a == b || a.toString() == b.toString();
}

} // namespace

bool TkavTableAccess::open(const QSqlDatabase &database, const QString &table)
{
    m_database = database;
    m_table = table;
    m_error = QSqlError();
    QSqlDriver *driver = database.driver();
    m_escapedTable = driver->escapeIdentifier(table, QSqlDriver::TableName);

    // Asking for nothing still reads the schema: a missing table and a locked file are told
    // apart here, where reading the columns would only come back empty.
    QSqlQuery probe(database);
    if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(m_escapedTable))) {
        m_error = probe.lastError();
        return false;
    }
    m_columns = database.record(table);
    if (m_columns.isEmpty()) {
        m_error = QSqlError(QString(), QStringLiteral("no such table: %1").arg(table), QSqlError::StatementError);
        return false;
    }
    m_keyColumns.clear();
    const QSqlIndex primary = database.primaryIndex(table);
    for (int i = 0; i < primary.count(); ++i) {
        const int column = m_columns.indexOf(primary.fieldName(i));
        if (column >= 0)
            m_keyColumns.append(column);
    }

    m_rowIdName.clear();
    if (isSqlite(database)) {
        // A column may take a rowid's name; the rowid then answers to one of the others.
        for (const QString &name : {QStringLiteral("rowid"), QStringLiteral("_rowid_"), QStringLiteral("oid")}) {
            if (m_columns.indexOf(name) >= 0)
                continue;
            QSqlQuery kind(database);
            kind.prepare(QStringLiteral("SELECT type FROM sqlite_master WHERE name = ? COLLATE NOCASE"));
            kind.addBindValue(table);
            const bool isView = kind.exec() && kind.next() && kind.value(0).toString() == QLatin1String("view");
            // A view answers every rowid with null; a table WITHOUT ROWID has none at all.
            QSqlQuery rowIds(database);
            if (!isView && rowIds.exec(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(name, m_escapedTable)))
                m_rowIdName = name;
            break;
        }
    }

    m_readOnlyReason.clear();
    if (m_keyColumns.isEmpty() && !hasRowId()) {
        m_readOnlyReason = QCoreApplication::translate(
                               "TkavDataSet", "The table '%1' has no primary key, so one of its records cannot be told "
                                              "from another that holds the same values: it can only be read.")
                               .arg(table);
    }
    return true;
}

QString TkavTableAccess::field(int column) const
{
    return m_database.driver()->escapeIdentifier(m_columns.fieldName(column), QSqlDriver::FieldName);
}

bool TkavTableAccess::isBlob(int column, const QVariant &value) const
{
    return m_columns.field(column).metaType().id() == QMetaType::QByteArray
           || value.metaType().id() == QMetaType::QByteArray;
}

QString TkavTableAccess::selectStatement(const QString &filter, int sortColumn) const
{
    QStringList fields;
    if (rowIdIsKey())
        fields.append(m_rowIdName);
    for (int column = 0; column < m_columns.count(); ++column)
        fields.append(field(column));
    QString statement = QStringLiteral("SELECT %1 FROM %2").arg(fields.join(QStringLiteral(", ")), m_escapedTable);
    if (!filter.trimmed().isEmpty())
        statement += QStringLiteral(" WHERE (%1)").arg(filter);
    if (sortColumn >= 0 && sortColumn < m_columns.count()) {
        statement += QStringLiteral(" ORDER BY %1 ASC").arg(field(sortColumn));
        // Records of equal value keep one order from one reading to the next.
        if (rowIdIsKey())
            statement += QStringLiteral(", %1 ASC").arg(m_rowIdName);
    }
    return statement;
}

TableRow TkavTableAccess::rowFrom(const QSqlQuery &query) const
{
    TableRow row;
    const int first = rowIdIsKey() ? 1 : 0;
    if (rowIdIsKey())
        row.rowId = query.value(0);
    const int count = m_columns.count();
    row.values.reserve(count);
    for (int column = 0; column < count; ++column)
        row.values.append(query.value(first + column));
    return row;
}

RecordIdentity TkavTableAccess::identityOf(const TableRow &row) const
{
    RecordIdentity identity;
    if (!m_keyColumns.isEmpty()) {
        for (int column : m_keyColumns)
            identity.key.append(row.values.value(column));
    } else {
        identity.rowId = row.rowId;
    }
    return identity;
}

bool TkavTableAccess::names(const RecordIdentity &identity, const TableRow &row) const
{
    if (rowIdIsKey())
        return !identity.rowId.isNull() && !row.rowId.isNull() && row.rowId == identity.rowId;
    if (identity.key.size() != m_keyColumns.size() || identity.key.isEmpty())
        return false;
    for (int i = 0; i < m_keyColumns.size(); ++i) {
        if (!sameValue(row.values.value(m_keyColumns.at(i)), identity.key.at(i)))
            return false;
    }
    return true;
}

QString TkavTableAccess::whereIdentity(const RecordIdentity &identity, QList<QVariant> *bound) const
{
    if (!identity.rowId.isNull() && hasRowId()) {
        bound->append(identity.rowId);
        return QStringLiteral("%1 = ?").arg(m_rowIdName);
    }
    QStringList parts;
    for (int i = 0; i < m_keyColumns.size(); ++i) {
        const QVariant value = identity.key.value(i);
        if (value.isNull()) {
            parts.append(QStringLiteral("%1 IS NULL").arg(field(m_keyColumns.at(i))));
        } else {
            parts.append(QStringLiteral("%1 = ?").arg(field(m_keyColumns.at(i))));
            bound->append(value);
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

QString TkavTableAccess::whereRecordWas(const TableRow &original, const QBitArray &written, QList<QVariant> *bound) const
{
    QStringList parts{whereIdentity(identityOf(original), bound)};
    for (int column = 0; column < m_columns.count(); ++column) {
        if (m_keyColumns.contains(column))
            continue;
        const QVariant value = original.values.value(column);
        const bool writes = column < written.size() && written.testBit(column);
        if (!writes && isBlob(column, value))
            continue;
        if (value.isNull()) {
            parts.append(QStringLiteral("%1 IS NULL").arg(field(column)));
        } else {
            parts.append(QStringLiteral("%1 = ?").arg(field(column)));
            bound->append(value);
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

bool TkavTableAccess::run(QSqlQuery &query, const QString &statement, const QList<QVariant> &bound)
{
    bool ok = query.prepare(statement);
    for (int i = 0; ok && i < bound.size(); ++i)
        query.addBindValue(bound.at(i));
    ok = ok && query.exec();
    m_error = ok ? QSqlError() : query.lastError();
    return ok;
}

bool TkavTableAccess::readBack(const RecordIdentity &identity, const QString &filter, TableRow *row, bool *found)
{
    *found = false;
    QList<QVariant> bound;
    QString statement = selectStatement(QString(), -1) + QStringLiteral(" WHERE ") + whereIdentity(identity, &bound);
    if (!filter.trimmed().isEmpty())
        statement += QStringLiteral(" AND (%1)").arg(filter);
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!run(query, statement, bound))
        return false;
    if (query.next()) {
        *row = rowFrom(query);
        *found = true;
    }
    return true;
}

WriteOutcome TkavTableAccess::whyNothingMatched(const TableRow &original)
{
    QList<QVariant> bound;
    const QString statement =
        QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(m_escapedTable, whereIdentity(identityOf(original), &bound));
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    // Should the question itself fail, "changed" is the safer answer: the record may still be there.
    if (run(query, statement, bound) && !query.next())
        return WriteOutcome::DeletedByOther;
    m_error = QSqlError();
    return WriteOutcome::ChangedByOther;
}

WriteOutcome TkavTableAccess::update(const TableRow &original, const QList<QVariant> &values, const QBitArray &changed)
{
    QStringList assignments;
    QList<QVariant> bound;
    for (int column = 0; column < m_columns.count(); ++column) {
        if (column < changed.size() && changed.testBit(column)) {
            assignments.append(QStringLiteral("%1 = ?").arg(field(column)));
            bound.append(values.value(column));
        }
    }
    if (assignments.isEmpty())
        return WriteOutcome::Written;
    const QString statement = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                  .arg(m_escapedTable, assignments.join(QStringLiteral(", ")),
                                       whereRecordWas(original, changed, &bound));
    QSqlQuery query(m_database);
    if (!run(query, statement, bound))
        return WriteOutcome::Refused;
    // A driver that cannot count (-1) is taken at its word that the statement ran.
    return query.numRowsAffected() != 0 ? WriteOutcome::Written : whyNothingMatched(original);
}

WriteOutcome TkavTableAccess::insert(const QList<QVariant> &values, const QBitArray &changed, RecordIdentity *identity)
{
    QStringList fields;
    QStringList marks;
    QList<QVariant> bound;
    for (int column = 0; column < m_columns.count(); ++column) {
        if (column < changed.size() && changed.testBit(column)) {
            fields.append(field(column));
            marks.append(QStringLiteral("?"));
            bound.append(values.value(column));
        }
    }
    // Nothing typed into any field: the database fills in its defaults.
    const QString statement =
        fields.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_escapedTable)
                         : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(m_escapedTable, fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    QSqlQuery query(m_database);
    if (!run(query, statement, bound))
        return WriteOutcome::Refused;
    const QVariant lastId = query.lastInsertId();
    *identity = RecordIdentity();
    if (hasRowId())
        identity->rowId = lastId;
    for (int column : m_keyColumns)
        identity->key.append(values.value(column));
    // A single key the database numbered itself.
    if (identity->key.size() == 1 && identity->key.first().isNull())
        identity->key.first() = lastId;
    return WriteOutcome::Written;
}

WriteOutcome TkavTableAccess::remove(const TableRow &original)
{
    // A delete is rare enough to compare pictures too: it takes away whatever another program
    // put into the record meanwhile.
    QList<QVariant> bound;
    const QString statement = QStringLiteral("DELETE FROM %1 WHERE %2")
                                  .arg(m_escapedTable, whereRecordWas(original, QBitArray(columnCount(), true), &bound));
    QSqlQuery query(m_database);
    if (!run(query, statement, bound))
        return WriteOutcome::Refused;
    // A driver that cannot count (-1) is taken at its word that the statement ran.
    return query.numRowsAffected() != 0 ? WriteOutcome::Written : whyNothingMatched(original);
}

} // namespace Kav
