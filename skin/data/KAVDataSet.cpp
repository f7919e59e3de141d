#include "KAVDataSet.h"

#include "KAVDataErrors.h"
#include "KAVErrorBox.h"
#include "KAVTableAccess.h"
#include "KAVTableRows.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Kav {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TkavDataSet", text);
}

// What views see: the records, with the record being edited as it is typed, booleans as
// True/False, and edits that go through the data set.
class TkavDataSetModel : public QIdentityProxyModel {
public:
    explicit TkavDataSetModel(TkavDataSet *dataSet)
        : QIdentityProxyModel(dataSet)
        , m_dataSet(dataSet)
    {
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.isValid()) {
            const QVariant value = QIdentityProxyModel::data(index, Qt::EditRole);
            if (value.isNull())
                return QString();
            const TkavField field(m_dataSet, index.column());
            if (field.IsBoolean())
                return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            if (field.IsBlob())
                return QStringLiteral("(BLOB)");
        }
        return QIdentityProxyModel::data(index, role);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags flags = QIdentityProxyModel::flags(index);
        if (!m_dataSet->CanModify())
            flags &= ~Qt::ItemIsEditable;
        return flags;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        if (index.row() != m_dataSet->RecNo() && !m_dataSet->setRecNo(index.row()))
            return false;
        if (!m_dataSet->Edit())
            return false;
        return m_dataSet->Field(index.column()).setValue(value);
    }

private:
    TkavDataSet *m_dataSet;
};

QString typeName(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return tr("integer");
    case QMetaType::Double:
        return tr("floating point");
    case QMetaType::Bool:
        return tr("Boolean");
    default:
        return QString::fromLatin1(type.name());
    }
}

// value as the field's type; an invalid QVariant when it is no value of that type. Text is read
// the way a user types it (the locale's decimal separator, True/False, yes/no).
QVariant convertForField(const QVariant &value, QMetaType type)
{
    if (value.isNull())
        return QVariant(type);
    const bool isText = value.metaType().id() == QMetaType::QString;
    const QString text = isText ? value.toString().trimmed() : QString();
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        qlonglong number = isText ? QLocale().toLongLong(text, &ok) : value.toLongLong(&ok);
        if (!ok && isText)
            number = QLocale::c().toLongLong(text, &ok);
        return ok ? QVariant(number) : QVariant();
    }
    case QMetaType::Double: {
        bool ok = false;
        double number = isText ? QLocale().toDouble(text, &ok) : value.toDouble(&ok);
        if (!ok && isText)
            number = QLocale::c().toDouble(text, &ok);
        return ok && qIsFinite(number) ? QVariant(number) : QVariant();
    }
    case QMetaType::Bool: {
        if (!isText)
            return value.canConvert<bool>() ? QVariant(value.toBool()) : QVariant();
        const QString word = text.toLower();
        if (word == u"true" || word == u"yes" || word == u"1")
            return QVariant(true);
        if (word == u"false" || word == u"no" || word == u"0")
            return QVariant(false);
        return QVariant();
    }
    case QMetaType::QByteArray:
        return value.metaType().id() == QMetaType::QByteArray ? value : QVariant(value.toString().toUtf8());
    default:
        return value.metaType().id() == QMetaType::QByteArray ? value : QVariant(value.toString());
    }
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return KavCompareSqlValues(a, b) == 0;
}

} // namespace

void KavShowDataError(QWidget *parent, const TkavDataSet *dataSet)
{
    const bool told = dataSet && !dataSet->LastError().isEmpty();
    const QString message = told ? dataSet->LastError() : tr("The record could not be written.");
    KavErrorBox(parent, message, told ? dataSet->LastErrorDetail() : QString());
}

} // namespace Kav

// ---- TkavField ----------------------------------------------------------------------------------

TkavField::TkavField(TkavDataSet *dataSet, int index)
    : m_dataSet(dataSet)
    , m_index(dataSet && index >= 0 && index < dataSet->FieldCount() ? index : -1)
{
}

bool TkavField::isValid() const
{
    return m_dataSet && m_index >= 0 && m_index < m_dataSet->FieldCount();
}

QString TkavField::FieldName() const
{
    return isValid() ? m_dataSet->FieldNames().value(m_index) : QString();
}

QMetaType TkavField::DataType() const
{
    return isValid() ? m_dataSet->m_access->columns().field(m_index).metaType() : QMetaType();
}

QVariant TkavField::Value() const
{
    return isValid() ? m_dataSet->fieldValue(m_index) : QVariant();
}

bool TkavField::IsNull() const
{
    return Value().isNull();
}

QString TkavField::AsString() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QString();
    if (IsBoolean())
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

bool TkavField::AsBoolean() const
{
    const QVariant value = Value();
    if (value.isNull())
        return false;
    if (value.metaType().id() == QMetaType::QString)
        return Kav::convertForField(value, QMetaType::fromType<bool>()).toBool();
    return value.toBool();
}

QByteArray TkavField::AsBytes() const
{
    return Value().toByteArray();
}

bool TkavField::CanModify() const
{
    return isValid() && m_dataSet->Editing() && m_dataSet->CanModify();
}

bool TkavField::setValue(const QVariant &value)
{
    if (!m_dataSet)
        return false;
    if (!isValid())
        return m_dataSet->fail(Kav::tr("The field does not exist."));
    const QMetaType type = DataType();
    const QVariant converted = Kav::convertForField(value, type);
    if (!value.isNull() && !converted.isValid()) {
        return m_dataSet->fail(Kav::tr("'%1' is not a valid %2 value for the field '%3'. Correct it, or press "
                                       "Escape to show the stored value again.")
                                   .arg(value.toString(), Kav::typeName(type), FieldName()));
    }
    return m_dataSet->writeField(m_index, converted);
}

bool TkavField::setAsString(const QString &text)
{
    const int type = DataType().id();
    if (text.isEmpty() && type != QMetaType::QString)
        return setValue(QVariant());
    return setValue(text);
}

bool TkavField::setAsBoolean(bool value)
{
    return setValue(value);
}

// ---- TkavDataSet --------------------------------------------------------------------------------

TkavDataSet::TkavDataSet(QObject *parent)
    : QObject(parent)
{
}

TkavDataSet::~TkavDataSet()
{
    // Links ask Active() when told; they must hear that this set is gone while it still answers.
    if (m_state != dsInactive) {
        m_state = dsInactive;
        Q_EMIT ActiveChanged();
    }
    // The rows read through the table access: they go first.
    delete m_view;
    delete m_rows;
}

QSqlDatabase TkavDataSet::Database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TkavDataSet::setDatabase(const QSqlDatabase &database)
{
    if (Active())
        Close();
    m_connectionName = database.connectionName();
}

void TkavDataSet::setTableName(const QString &tableName)
{
    if (Active())
        Close();
    m_tableName = tableName;
}

void TkavDataSet::setFilter(const QString &filter)
{
    m_filter = filter;
}

void TkavDataSet::setIndexFieldNames(const QString &fieldName)
{
    m_indexFieldNames = fieldName;
}

void TkavDataSet::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    if (readOnly && Editing())
        Cancel();
    m_readOnly = readOnly;
    Q_EMIT StateChanged(m_state);
}

QString TkavDataSet::ReadOnlyReason() const
{
    return m_access ? m_access->readOnlyReason() : QString();
}

bool TkavDataSet::fail(const QString &message, const QString &detail)
{
    m_lastError = message;
    m_lastErrorDetail = detail;
    if (m_posting)
        m_refusedWhilePosting = true;
    return false;
}

bool TkavDataSet::failDatabase(Kav::DataOperation operation, const QSqlError &error)
{
    return fail(Kav::KavDescribeDataError(operation, error, m_tableName), error.text());
}

void TkavDataSet::applyLockTimeout() const
{
    QSqlDatabase db = Database();
    if (!db.isOpen() || !db.driverName().startsWith(QLatin1String("QSQLITE")))
        return;
    QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_lockTimeout));
}

int TkavDataSet::sortColumn() const
{
    return m_access && !m_indexFieldNames.isEmpty() ? FieldIndex(m_indexFieldNames) : -1;
}

bool TkavDataSet::Open()
{
    if (Active())
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, true);
    if (!db.isValid())
        return fail(Kav::tr("No database connection is set."));
    if (!db.isOpen()) {
        return fail(Kav::tr("The database could not be opened. Check that the file is there and that you may read it."),
                    db.lastError().text());
    }
    applyLockTimeout();
    auto access = std::make_unique<Kav::TkavTableAccess>();
    if (!access->open(db, m_tableName))
        return failDatabase(Kav::DataOperation::Open, access->error());
    m_access = std::move(access);
    auto *rows = new Kav::TkavTableRows(m_access.get(), this);
    if (!rows->select(m_filter, sortColumn())) {
        const QSqlError error = rows->error();
        delete rows;
        m_access.reset();
        return failDatabase(Kav::DataOperation::Open, error);
    }
    m_rows = rows;
    auto *view = new Kav::TkavDataSetModel(this);
    view->setSourceModel(m_rows);
    m_view = view;
    m_databaseFile.clear();
    // A file database goes on writing to a file that was deleted under it, and everything
    // written then is lost: remember the file to notice that before writing.
    if (db.driverName().startsWith(QLatin1String("QSQLITE"))) {
        const QFileInfo file(db.databaseName());
        if (file.isFile())
            m_databaseFile = file.absoluteFilePath();
    }
    succeed();
    m_row = m_rows->count() > 0 ? 0 : -1;
    m_state = dsBrowse;
    Q_EMIT ActiveChanged();
    Q_EMIT StateChanged(m_state);
    Q_EMIT DataSetChanged();
    return true;
}

void TkavDataSet::Close()
{
    if (!Active())
        return;
    m_state = dsInactive;
    m_row = -1;
    m_modified = false;
    delete m_view;
    m_view = nullptr;
    delete m_rows;
    m_rows = nullptr;
    m_access.reset();
    Q_EMIT ActiveChanged();
    Q_EMIT StateChanged(m_state);
    Q_EMIT DataSetChanged();
}

void TkavDataSet::setActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TkavDataSet::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT StateChanged(state);
}

bool TkavDataSet::CanModify() const
{
    return Active() && !m_readOnly && m_access->canWrite();
}

bool TkavDataSet::fetchTo(int row) const
{
    return m_rows && m_rows->fetchTo(row);
}

void TkavDataSet::fetchAll() const
{
    if (m_rows)
        m_rows->fetchAll();
}

bool TkavDataSet::Bof() const
{
    return m_row <= 0;
}

bool TkavDataSet::Eof() const
{
    return m_row < 0 || !fetchTo(m_row + 1);
}

bool TkavDataSet::IsEmpty() const
{
    return !m_rows || m_rows->count() == 0;
}

int TkavDataSet::RecordCount() const
{
    fetchAll();
    return m_rows ? m_rows->count() : 0;
}

bool TkavDataSet::moveTo(int row)
{
    if (row == m_row)
        return true;
    m_row = row;
    Q_EMIT Scrolled();
    return true;
}

bool TkavDataSet::CheckBrowseMode()
{
    if (!Active())
        return fail(Kav::tr("The data set is not open."));
    return Editing() ? Post() : true;
}

bool TkavDataSet::First()
{
    if (!CheckBrowseMode())
        return false;
    return moveTo(IsEmpty() ? -1 : 0);
}

bool TkavDataSet::Prior()
{
    if (!CheckBrowseMode())
        return false;
    return moveTo(m_row > 0 ? m_row - 1 : m_row);
}

bool TkavDataSet::Next()
{
    if (!CheckBrowseMode())
        return false;
    return moveTo(fetchTo(m_row + 1) ? m_row + 1 : m_row);
}

bool TkavDataSet::Last()
{
    if (!CheckBrowseMode())
        return false;
    fetchAll();
    return moveTo(m_rows->count() - 1);
}

bool TkavDataSet::MoveBy(int distance)
{
    return setRecNo(qMax(0, m_row + distance));
}

bool TkavDataSet::setRecNo(int row)
{
    if (!CheckBrowseMode())
        return false;
    if (IsEmpty())
        return moveTo(-1);
    if (!fetchTo(row))
        row = m_rows->count() - 1;
    return moveTo(qMax(0, row));
}

int TkavDataSet::locateRow(const QString &fieldName, const QVariant &value) const
{
    const int column = FieldIndex(fieldName);
    if (column < 0 || value.isNull())
        return -1;
    for (int row = 0; fetchTo(row); ++row) {
        const QVariant cell = m_rows->value(row, column);
        if (!cell.isNull() && (cell == value || cell.toString() == value.toString()))
            return row;
    }
    return -1;
}

bool TkavDataSet::Locate(const QString &fieldName, const QVariant &value)
{
    if (!CheckBrowseMode())
        return false;
    const int row = locateRow(fieldName, value);
    if (row < 0)
        return false;
    return moveTo(row);
}

QVariant TkavDataSet::Lookup(const QString &keyField, const QVariant &keyValue, const QString &resultField) const
{
    const int row = locateRow(keyField, keyValue);
    const int column = FieldIndex(resultField);
    if (row < 0 || column < 0)
        return QVariant();
    return m_rows->value(row, column);
}

bool TkavDataSet::Edit()
{
    if (Editing())
        return true;
    if (!Active())
        return fail(Kav::tr("The data set is not open."));
    if (!CanModify())
        return fail(m_readOnly ? Kav::tr("The data set is read-only.") : ReadOnlyReason());
    if (IsEmpty())
        return Insert();
    succeed();
    m_rows->beginEdit(m_row);
    m_modified = false;
    setState(dsEdit);
    return true;
}

bool TkavDataSet::Insert()
{
    if (!CheckBrowseMode())
        return false;
    if (!CanModify())
        return fail(m_readOnly ? Kav::tr("The data set is read-only.") : ReadOnlyReason());
    const int row = qMax(0, m_row);
    succeed();
    m_rows->insertNew(row);
    m_row = row;
    m_modified = false;
    setState(dsInsert);
    Q_EMIT DataSetChanged();
    return true;
}

bool TkavDataSet::Append()
{
    if (!CheckBrowseMode())
        return false;
    if (!CanModify())
        return fail(m_readOnly ? Kav::tr("The data set is read-only.") : ReadOnlyReason());
    fetchAll();
    const int row = m_rows->count();
    succeed();
    m_rows->insertNew(row);
    m_row = row;
    m_modified = false;
    setState(dsInsert);
    Q_EMIT DataSetChanged();
    return true;
}

bool TkavDataSet::databaseStillThere()
{
    if (m_databaseFile.isEmpty() || QFileInfo::exists(m_databaseFile))
        return true;
    return fail(Kav::tr("The database file '%1' is no longer there, so nothing was written. Put the file back, or "
                        "cancel your changes.")
                    .arg(m_databaseFile));
}

int TkavDataSet::rowOf(const Kav::RecordIdentity &identity, int fallbackRow) const
{
    if (!identity.isValid())
        return -1;
    // Most often the record is where it was, or one row away from it.
    for (const int row : {fallbackRow, fallbackRow - 1, fallbackRow + 1}) {
        if (fetchTo(row) && m_access->names(identity, m_rows->stored(row)))
            return row;
    }
    for (int row = 0; fetchTo(row); ++row) {
        if (m_access->names(identity, m_rows->stored(row)))
            return row;
    }
    return -1;
}

void TkavDataSet::standOn(const Kav::RecordIdentity &identity, int row)
{
    int found = rowOf(identity, row);
    if (found < 0) {
        fetchTo(row);
        found = qMin(row, m_rows->count() - 1);
    }
    m_row = IsEmpty() ? -1 : qMax(0, found);
}

void TkavDataSet::settleWritten(const Kav::RecordIdentity &identity, bool inserting)
{
    const int row = m_row;
    const Kav::TableRow before = m_rows->stored(row);
    Kav::TableRow written{identity.rowId.isNull() ? before.rowId : identity.rowId, m_rows->pendingValues()};
    // What the database made of the record (defaults, triggers, its own number); should the
    // record not be read back, it is shown as written.
    Kav::TableRow stored;
    bool found = false;
    bool meetsFilter = true;
    if (m_access->readBack(identity, m_filter, &stored, &found)) {
        if (found)
            written = stored;
        // Not found through the filter: it left the data set, if it is found without.
        else if (!m_filter.trimmed().isEmpty() && m_access->readBack(identity, QString(), &stored, &found))
            meetsFilter = !found;
    }
    if (!meetsFilter) {
        // The record no longer belongs to the data set (its filter): its row goes.
        m_rows->storePending(written);
        m_rows->removeAt(row);
        fetchTo(row);
        m_row = IsEmpty() ? -1 : qMin(row, m_rows->count() - 1);
        return;
    }
    m_rows->storePending(written);
    const int sort = sortColumn();
    const bool keyMoved = !m_access->names(m_access->identityOf(before), written);
    const bool sortMoved = sort >= 0 && !Kav::sameValue(before.values.value(sort), written.values.value(sort));
    if (!inserting && !keyMoved && !sortMoved)
        return;
    // A record read while the reading is unfinished could come again from the rest of it: the
    // records are then read afresh instead.
    const int place = sort >= 0 ? m_rows->placeOf(row, sort) : (m_rows->readingDone() ? row : -1);
    if (place >= 0) {
        m_rows->moveRow(row, place);
        m_row = place;
        return;
    }
    if (m_rows->select(m_filter, sort, row + 1))
        standOn(m_access->identityOf(written), row);
}

bool TkavDataSet::Post()
{
    if (!Editing())
        return Active() ? true : fail(Kav::tr("The data set is not open."));
    succeed();
    m_posting = true;
    m_refusedWhilePosting = false;
    Q_EMIT UpdateRecordRequested();
    m_posting = false;
    if (m_refusedWhilePosting)
        return false;
    if (!databaseStillThere())
        return false;
    const bool inserting = m_state == dsInsert;
    const QBitArray changed = m_rows->pendingChanged();
    if (!inserting && changed.count(true) == 0) {
        // Nothing was typed: nothing to write.
        m_rows->dropPending();
    } else {
        applyLockTimeout();
        Kav::RecordIdentity identity;
        const Kav::WriteOutcome outcome =
            inserting ? m_access->insert(m_rows->pendingValues(), changed, &identity)
                      : m_access->update(m_rows->stored(m_row), m_rows->pendingValues(), changed);
        switch (outcome) {
        case Kav::WriteOutcome::Refused:
            return failDatabase(Kav::DataOperation::Save, m_access->error());
        case Kav::WriteOutcome::ChangedByOther:
            return fail(Kav::tr("The record could not be saved because another program changed it after it was read. "
                                "Your changes are still shown: note them, then cancel and refresh to see the record "
                                "as it is now."));
        case Kav::WriteOutcome::DeletedByOther:
            return fail(Kav::tr("The record could not be saved because another program deleted it. Your changes are "
                                "still shown: note them, then cancel and refresh to see the records as they are now."));
        case Kav::WriteOutcome::Written:
            break;
        }
        if (!inserting)
            identity = m_access->identityOf(Kav::TableRow{m_rows->stored(m_row).rowId, m_rows->pendingValues()});
        settleWritten(identity, inserting);
    }
    succeed();
    m_modified = false;
    setState(dsBrowse);
    Q_EMIT DataSetChanged();
    return true;
}

void TkavDataSet::Cancel()
{
    if (!Editing())
        return;
    const int row = m_row;
    m_rows->dropPending();
    m_row = IsEmpty() ? -1 : qMin(row, m_rows->count() - 1);
    m_modified = false;
    succeed();
    setState(dsBrowse);
    Q_EMIT DataSetChanged();
}

bool TkavDataSet::Delete()
{
    if (!Active())
        return fail(Kav::tr("The data set is not open."));
    if (m_state == dsInsert) {
        Cancel();
        return true;
    }
    if (m_state == dsEdit)
        Cancel();
    if (!CanModify())
        return fail(m_readOnly ? Kav::tr("The data set is read-only.") : ReadOnlyReason());
    if (IsEmpty())
        return fail(Kav::tr("There is no record to delete."));
    if (!databaseStillThere())
        return false;
    applyLockTimeout();
    const int row = m_row;
    switch (m_access->remove(m_rows->stored(row))) {
    case Kav::WriteOutcome::Refused:
        return failDatabase(Kav::DataOperation::Delete, m_access->error());
    case Kav::WriteOutcome::ChangedByOther:
        return fail(Kav::tr("The record was not deleted because another program changed it after it was read. "
                            "Refresh to see it as it is now, then delete it again if you still want to."));
    case Kav::WriteOutcome::DeletedByOther:
        return fail(Kav::tr("The record was not deleted here because another program has already deleted it. "
                            "Refresh to see the records as they are now."));
    case Kav::WriteOutcome::Written:
        break;
    }
    m_rows->removeAt(row);
    fetchTo(row);
    m_row = IsEmpty() ? -1 : qMin(row, m_rows->count() - 1);
    succeed();
    Q_EMIT DataSetChanged();
    return true;
}

bool TkavDataSet::Refresh()
{
    if (!CheckBrowseMode())
        return false;
    applyLockTimeout();
    const int row = m_row;
    const Kav::RecordIdentity current = row >= 0 ? m_access->identityOf(m_rows->stored(row)) : Kav::RecordIdentity();
    // Read again as far as the record stood, and one further, where it is most likely found.
    if (!m_rows->select(m_filter, sortColumn(), row + 1))
        return failDatabase(Kav::DataOperation::Refresh, m_rows->error());
    standOn(current, qMax(0, row));
    succeed();
    Q_EMIT DataSetChanged();
    return true;
}

int TkavDataSet::FieldCount() const
{
    return m_access ? m_access->columnCount() : 0;
}

QStringList TkavDataSet::FieldNames() const
{
    QStringList names;
    if (!m_access)
        return names;
    const QSqlRecord &record = m_access->columns();
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return names;
}

int TkavDataSet::FieldIndex(const QString &fieldName) const
{
    if (!m_access || fieldName.isEmpty())
        return -1;
    const QSqlRecord &record = m_access->columns();
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TkavField TkavDataSet::Field(int index)
{
    return TkavField(this, index);
}

TkavField TkavDataSet::FindField(const QString &fieldName)
{
    const int index = FieldIndex(fieldName);
    return index >= 0 ? TkavField(this, index) : TkavField();
}

QVariant TkavDataSet::fieldValue(int index) const
{
    if (!m_rows || m_row < 0)
        return QVariant();
    return m_rows->value(m_row, index);
}

bool TkavDataSet::writeField(int index, const QVariant &value)
{
    if (!Editing())
        return fail(Kav::tr("The record is not being edited."));
    if (!CanModify())
        return fail(Kav::tr("The data set is read-only."));
    m_rows->setPendingValue(index, value);
    if (!m_posting)
        succeed();
    m_modified = true;
    Q_EMIT FieldChanged(index);
    return true;
}

QAbstractItemModel *TkavDataSet::model() const
{
    return m_view;
}

// ---- TkavDataSource -----------------------------------------------------------------------------

TkavDataSource::TkavDataSource(QObject *parent)
    : QObject(parent)
{
}

TkavDataSource::~TkavDataSource()
{
    const QList<TkavDataLink *> links = m_links;
    m_links.clear();
    for (TkavDataLink *link : links)
        link->sourceGone();
}

void TkavDataSource::setDataSet(TkavDataSet *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_dataSet = dataSet;
    if (dataSet) {
        m_connections = {
            connect(dataSet, &TkavDataSet::ActiveChanged, this, &TkavDataSource::notifyActive),
            connect(dataSet, &TkavDataSet::StateChanged, this, &TkavDataSource::notifyEditing),
            connect(dataSet, &TkavDataSet::DataSetChanged, this, &TkavDataSource::notifyDataSet),
            connect(dataSet, &TkavDataSet::Scrolled, this, &TkavDataSource::notifyScrolled),
            connect(dataSet, &TkavDataSet::FieldChanged, this, &TkavDataSource::notifyField),
            connect(dataSet, &TkavDataSet::UpdateRecordRequested, this, &TkavDataSource::notifyUpdateRecord),
            connect(dataSet, &QObject::destroyed, this, [this] {
                m_dataSet = nullptr;
                m_connections.clear();
                notifyActive();
            }),
        };
    }
    notifyActive();
}

void TkavDataSource::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    notifyActive();
}

TkavDataSet::TDataSetState TkavDataSource::State() const
{
    return m_dataSet && m_enabled ? m_dataSet->State() : TkavDataSet::dsInactive;
}

void TkavDataSource::Edit()
{
    if (m_autoEdit && State() == TkavDataSet::dsBrowse)
        m_dataSet->Edit();
}

void TkavDataSource::attach(TkavDataLink *link)
{
    if (!m_links.contains(link))
        m_links.append(link);
}

void TkavDataSource::detach(TkavDataLink *link)
{
    m_links.removeAll(link);
}

void TkavDataSource::notifyActive()
{
    forEachLink([](TkavDataLink *link) { link->ActiveChanged(); });
}

void TkavDataSource::notifyEditing()
{
    if (m_enabled)
        forEachLink([](TkavDataLink *link) { link->EditingChanged(); });
}

void TkavDataSource::notifyDataSet()
{
    if (m_enabled)
        forEachLink([](TkavDataLink *link) { link->DataSetChanged(); });
}

void TkavDataSource::notifyScrolled()
{
    if (m_enabled)
        forEachLink([](TkavDataLink *link) { link->DataSetScrolled(); });
}

void TkavDataSource::notifyField(int index)
{
    if (m_enabled)
        forEachLink([index](TkavDataLink *link) { link->RecordChanged(index); });
}

void TkavDataSource::notifyUpdateRecord()
{
    if (m_enabled)
        forEachLink([](TkavDataLink *link) { link->UpdateData(); });
}

// ---- TkavDataLink -------------------------------------------------------------------------------

TkavDataLink::TkavDataLink() = default;

TkavDataLink::~TkavDataLink()
{
    if (m_dataSource)
        m_dataSource->detach(this);
}

void TkavDataLink::setDataSource(TkavDataSource *dataSource)
{
    if (m_dataSource == dataSource)
        return;
    if (m_dataSource)
        m_dataSource->detach(this);
    m_dataSource = dataSource;
    if (dataSource)
        dataSource->attach(this);
    ActiveChanged();
}

void TkavDataLink::sourceGone()
{
    m_dataSource = nullptr;
    ActiveChanged();
}

TkavDataSet *TkavDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

bool TkavDataLink::Active() const
{
    return m_dataSource && m_dataSource->Enabled() && DataSet() && DataSet()->Active();
}

bool TkavDataLink::Editing() const
{
    return Active() && DataSet()->Editing();
}

void TkavDataLink::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    EditingChanged();
}

bool TkavDataLink::Edit()
{
    if (!m_readOnly && Active())
        m_dataSource->Edit();
    return Editing();
}

// ---- TkavFieldDataLink --------------------------------------------------------------------------

void TkavFieldDataLink::setFieldName(const QString &fieldName)
{
    if (m_fieldName == fieldName)
        return;
    m_fieldName = fieldName;
    dataChange();
}

TkavField TkavFieldDataLink::Field() const
{
    return Active() ? DataSet()->FindField(m_fieldName) : TkavField();
}

bool TkavFieldDataLink::CanModify() const
{
    return !ReadOnly() && Field().isValid() && DataSet()->CanModify();
}

bool TkavFieldDataLink::Edit()
{
    return CanModify() && TkavDataLink::Edit();
}

void TkavFieldDataLink::Reset()
{
    dataChange();
}

bool TkavFieldDataLink::UpdateRecord()
{
    if (!m_modified || !Editing())
        return true;
    TkavDataSet *set = DataSet();
    set->succeed();
    m_updating = true;
    if (OnUpdateData)
        OnUpdateData();
    m_updating = false;
    const bool ok = set->LastError().isEmpty();
    if (ok)
        m_modified = false;
    return ok;
}

void TkavFieldDataLink::ActiveChanged()
{
    if (OnActiveChange)
        OnActiveChange();
    dataChange();
}

void TkavFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TkavFieldDataLink::DataSetChanged()
{
    dataChange();
}

void TkavFieldDataLink::RecordChanged(int fieldIndex)
{
    // The control's own write coming back: what it shows is what was written.
    if (m_updating)
        return;
    const TkavField field = Field();
    if (fieldIndex < 0 || !field.isValid() || field.Index() == fieldIndex)
        dataChange();
}

void TkavFieldDataLink::UpdateData()
{
    if (!m_modified)
        return;
    m_updating = true;
    if (OnUpdateData)
        OnUpdateData();
    m_updating = false;
    // A refused write leaves the mark, so that the next post asks again instead of dropping it.
    if (DataSet() && !DataSet()->m_refusedWhilePosting)
        m_modified = false;
}

void TkavFieldDataLink::dataChange()
{
    m_modified = false;
    if (OnDataChange)
        OnDataChange();
}
