#include "KAVDataErrors.h"

#include <QCoreApplication>
#include <QStringList>

namespace Kav {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TkavDataSet", text);
}

// SQLite's primary result codes, as its Qt driver reports them in nativeErrorCode().
enum SqliteCode {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoError = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteConstraint = 19,
    SqliteMismatch = 20,
    SqliteNotADatabase = 26,
};

// The columns a constraint message names ("NOT NULL constraint failed: pupils.name"), without
// their table: "name".
QString constrainedColumns(const QString &databaseText)
{
    const int colon = databaseText.indexOf(u':');
    if (colon < 0)
        return {};
    QStringList columns;
    const QStringList named = databaseText.mid(colon + 1).split(u',', Qt::SkipEmptyParts);
    for (const QString &item : named) {
        const QString column = item.trimmed().section(u'.', -1);
        if (!column.isEmpty())
            columns.append(column);
    }
    return columns.join(QStringLiteral(", "));
}

QString failedWhat(DataOperation operation, const QString &table)
{
    switch (operation) {
    case DataOperation::Open:
        return tr("The table '%1' could not be opened").arg(table);
    case DataOperation::Refresh:
        return tr("The records could not be read again");
    case DataOperation::Save:
        return tr("The record could not be saved");
    case DataOperation::Delete:
        return tr("The record could not be deleted");
    }
    return {};
}

// What to do after a refusal that may pass (a lock), by operation.
QString tryAgain(DataOperation operation)
{
    switch (operation) {
    case DataOperation::Open:
        return tr("Wait a moment, then try again.");
    case DataOperation::Refresh:
        return tr("The records shown are unchanged; try again in a moment.");
    case DataOperation::Save:
        return tr("Your changes are still shown; wait a moment, then save again.");
    case DataOperation::Delete:
        return tr("Wait a moment, then delete it again.");
    }
    return {};
}

QString constraintMessage(DataOperation operation, const QString &databaseText, const QString &what)
{
    const QString columns = constrainedColumns(databaseText);
    if (operation == DataOperation::Delete) {
        if (databaseText.contains(QLatin1String("FOREIGN KEY"), Qt::CaseInsensitive))
            return tr("%1 because other records still refer to it. Change or delete those first.").arg(what);
        return tr("%1 because a rule of the table does not allow it.").arg(what);
    }
    if (databaseText.contains(QLatin1String("NOT NULL"), Qt::CaseInsensitive) && !columns.isEmpty())
        return tr("%1: the field '%2' must not be empty. Fill it in, then save again.").arg(what, columns);
    if (databaseText.contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive) && !columns.isEmpty())
        return tr("%1: another record already has this value in '%2'. Change it, then save again.").arg(what, columns);
    if (databaseText.contains(QLatin1String("CHECK"), Qt::CaseInsensitive))
        return tr("%1: a value is outside what the table allows. Correct it, then save again.").arg(what);
    if (databaseText.contains(QLatin1String("FOREIGN KEY"), Qt::CaseInsensitive))
        return tr("%1: a value refers to a record that does not exist. Choose an existing one, then save again.").arg(what);
    return tr("%1: the values break a rule of the table. Correct them, then save again.").arg(what);
}

} // namespace

DataErrorKind KavDataErrorKind(const QSqlError &error)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString text = error.databaseText() + u' ' + error.driverText();
    if (numeric) {
        switch (code) {
        case SqliteBusy:
        case SqliteLocked:
            return DataErrorKind::Locked;
        case SqliteReadOnly:
            return DataErrorKind::ReadOnly;
        case SqliteConstraint:
            return DataErrorKind::Constraint;
        case SqliteMismatch:
            return DataErrorKind::Mismatch;
        case SqliteFull:
            return DataErrorKind::DiskFull;
        case SqliteIoError:
        case SqliteCorrupt:
        case SqliteCantOpen:
        case SqliteNotADatabase:
            return DataErrorKind::FileProblem;
        default:
            break;
        }
    }
    // Other drivers, and errors without a code: by the words of the message.
    if (text.contains(QLatin1String("locked"), Qt::CaseInsensitive) || text.contains(QLatin1String("busy"), Qt::CaseInsensitive))
        return DataErrorKind::Locked;
    if (text.contains(QLatin1String("readonly"), Qt::CaseInsensitive) || text.contains(QLatin1String("read-only"), Qt::CaseInsensitive))
        return DataErrorKind::ReadOnly;
    if (text.contains(QLatin1String("constraint"), Qt::CaseInsensitive))
        return DataErrorKind::Constraint;
    if (text.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
        return DataErrorKind::MissingTable;
    return DataErrorKind::Other;
}

QString KavDescribeDataError(DataOperation operation, const QSqlError &error, const QString &table)
{
    const QString what = failedWhat(operation, table);
    switch (KavDataErrorKind(error)) {
    case DataErrorKind::Locked:
        return tr("%1 because another program is using the database. %2").arg(what, tryAgain(operation));
    case DataErrorKind::ReadOnly:
        if (operation == DataOperation::Save)
            return tr("%1 because the database can only be read here. Your changes are still shown: ask for "
                      "permission to change the file, or cancel them.")
                .arg(what);
        return tr("%1 because the database can only be read here. Ask for permission to change the file.").arg(what);
    case DataErrorKind::Constraint:
        return constraintMessage(operation, error.databaseText(), what);
    case DataErrorKind::Mismatch:
        return tr("%1: a value is not of the type its field takes. Correct it, then try again.").arg(what);
    case DataErrorKind::DiskFull:
        return tr("%1 because the disk is full. Free some space, then try again.").arg(what);
    case DataErrorKind::FileProblem:
        return tr("%1 because the database file could not be read or written: it may be damaged, moved or on a "
                  "drive that is gone.")
            .arg(what);
    case DataErrorKind::MissingTable:
        return tr("The database has no table '%1'.").arg(table);
    case DataErrorKind::Other:
        break;
    }
    return tr("%1. The database's own message is in the details.").arg(what);
}

} // namespace Kav
