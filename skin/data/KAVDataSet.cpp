#include "KAVDataSet.h"

#include "KAVErrorBox.h"

#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlTableModel>

namespace Kav {

// The table model behind a data set. Pending changes stay in its cache until the data set posts
// them; the insert is written here rather than by the base class so that the key the database
// gave the new record is known, and the data set can stay on that record.
class TkavTableModel : public QSqlTableModel {
public:
    TkavTableModel(QObject *parent, const QSqlDatabase &database)
        : QSqlTableModel(parent, database)
    {
        setEditStrategy(QSqlTableModel::OnManualSubmit);
    }

    QVariant lastInsertId() const { return m_lastInsertId; }

protected:
    bool insertRowIntoTable(const QSqlRecord &values) override
    {
        QSqlRecord record = values;
        Q_EMIT beforeInsert(record);
        QSqlDatabase db = database();
        QSqlDriver *driver = db.driver();
        const bool prepared = driver->hasFeature(QSqlDriver::PreparedQueries);
        const QString statement = driver->sqlStatement(QSqlDriver::InsertStatement, tableName(), record, prepared);
        QSqlQuery query(db);
        bool ok = false;
        if (statement.isEmpty()) {
            // Nothing was typed into any field: let the database fill in its defaults.
            ok = query.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(driver->escapeIdentifier(tableName(), QSqlDriver::TableName)));
        } else if (prepared) {
            ok = query.prepare(statement);
            for (int i = 0; ok && i < record.count(); ++i) {
                if (record.isGenerated(i))
                    query.addBindValue(record.value(i));
            }
            ok = ok && query.exec();
        } else {
            ok = query.exec(statement);
        }
        if (!ok) {
            setLastError(query.lastError());
            return false;
        }
        m_lastInsertId = query.lastInsertId();
        return true;
    }

private:
    QVariant m_lastInsertId;
};

namespace {

// What views see: the table model's rows, with the record being edited as it is typed (the table
// model's cache), booleans as True/False, and edits that go through the data set.
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
        return QStringLiteral("integer");
    case QMetaType::Double:
        return QStringLiteral("floating point");
    case QMetaType::Bool:
        return QStringLiteral("Boolean");
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

} // namespace

void KavShowDataError(QWidget *parent, const TkavDataSet *dataSet)
{
    const QString message = dataSet && !dataSet->LastError().isEmpty() ? dataSet->LastError()
                                                                        : QStringLiteral("The record could not be written.");
    KavErrorBox(parent, message);
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
    return isValid() ? m_dataSet->m_model->record().field(m_index).metaType() : QMetaType();
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
        return m_dataSet->fail(QStringLiteral("The field does not exist."));
    const QMetaType type = DataType();
    const QVariant converted = Kav::convertForField(value, type);
    if (!value.isNull() && !converted.isValid()) {
        return m_dataSet->fail(QStringLiteral("'%1' is not a valid %2 value for the field '%3'.")
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

bool TkavDataSet::fail(const QString &message)
{
    m_lastError = message;
    if (m_posting)
        m_refusedWhilePosting = true;
    return false;
}

bool TkavDataSet::Open()
{
    if (Active())
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, true);
    if (!db.isValid())
        return fail(QStringLiteral("No database connection is set."));
    if (!db.isOpen())
        return fail(QStringLiteral("The database cannot be opened: %1").arg(db.lastError().text()));
    auto *model = new Kav::TkavTableModel(this, db);
    model->setTable(m_tableName);
    if (model->record().isEmpty()) {
        delete model;
        return fail(QStringLiteral("The table '%1' does not exist.").arg(m_tableName));
    }
    model->setFilter(m_filter);
    const int sortColumn = model->record().indexOf(m_indexFieldNames);
    if (sortColumn >= 0)
        model->setSort(sortColumn, Qt::AscendingOrder);
    if (!model->select()) {
        const QString error = model->lastError().text();
        delete model;
        return fail(QStringLiteral("The table '%1' cannot be read: %2").arg(m_tableName, error));
    }
    m_model = model;
    m_view = new Kav::TkavDataSetModel(this);
    static_cast<QIdentityProxyModel *>(m_view)->setSourceModel(m_model);
    m_databaseFile.clear();
    // A file database goes on writing to a file that was deleted under it, and everything
    // written then is lost: remember the file to notice that before writing.
    if (db.driverName().startsWith(QLatin1String("QSQLITE"))) {
        const QFileInfo file(db.databaseName());
        if (file.isFile())
            m_databaseFile = file.absoluteFilePath();
    }
    succeed();
    m_row = m_model->rowCount() > 0 ? 0 : -1;
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
    delete m_model;
    m_model = nullptr;
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
    return Active() && !m_readOnly;
}

bool TkavDataSet::fetchTo(int row) const
{
    if (!m_model || row < 0)
        return false;
    while (row >= m_model->rowCount() && m_model->canFetchMore())
        m_model->fetchMore();
    return row < m_model->rowCount();
}

void TkavDataSet::fetchAll() const
{
    if (!m_model)
        return;
    while (m_model->canFetchMore())
        m_model->fetchMore();
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
    return !m_model || m_model->rowCount() == 0;
}

int TkavDataSet::RecordCount() const
{
    fetchAll();
    return m_model ? m_model->rowCount() : 0;
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
        return fail(QStringLiteral("The data set is not open."));
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
    return moveTo(m_model->rowCount() - 1);
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
        row = m_model->rowCount() - 1;
    return moveTo(qMax(0, row));
}

int TkavDataSet::locateRow(const QString &fieldName, const QVariant &value) const
{
    const int column = FieldIndex(fieldName);
    if (column < 0 || value.isNull())
        return -1;
    for (int row = 0; fetchTo(row); ++row) {
        const QVariant cell = m_model->data(m_model->index(row, column), Qt::EditRole);
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
    return m_model->data(m_model->index(row, column), Qt::EditRole);
}

bool TkavDataSet::Edit()
{
    if (Editing())
        return true;
    if (!CanModify())
        return fail(Active() ? QStringLiteral("The data set is read-only.") : QStringLiteral("The data set is not open."));
    if (IsEmpty())
        return Insert();
    succeed();
    m_modified = false;
    setState(dsEdit);
    return true;
}

bool TkavDataSet::Insert()
{
    if (!CheckBrowseMode())
        return false;
    if (!CanModify())
        return fail(QStringLiteral("The data set is read-only."));
    const int row = qMax(0, m_row);
    if (!m_model->insertRow(row))
        return fail(m_model->lastError().text());
    succeed();
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
        return fail(QStringLiteral("The data set is read-only."));
    fetchAll();
    const int row = m_model->rowCount();
    if (!m_model->insertRow(row))
        return fail(m_model->lastError().text());
    succeed();
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
    return fail(QStringLiteral("The database file '%1' is no longer there; nothing was written.").arg(m_databaseFile));
}

QList<QVariant> TkavDataSet::keyOf(int row) const
{
    QList<QVariant> key;
    if (row < 0 || !m_model)
        return key;
    const QSqlIndex primary = m_model->primaryKey();
    for (int i = 0; i < primary.count(); ++i) {
        const int column = m_model->record().indexOf(primary.fieldName(i));
        key.append(m_model->data(m_model->index(row, column), Qt::EditRole));
    }
    return key;
}

int TkavDataSet::rowOfKey(const QList<QVariant> &key) const
{
    const QSqlIndex primary = m_model->primaryKey();
    if (key.isEmpty() || key.size() != primary.count())
        return -1;
    for (int row = 0; fetchTo(row); ++row) {
        bool same = true;
        for (int i = 0; same && i < primary.count(); ++i) {
            const int column = m_model->record().indexOf(primary.fieldName(i));
            const QVariant cell = m_model->data(m_model->index(row, column), Qt::EditRole);
            same = !cell.isNull() && cell.toString() == key.at(i).toString();
        }
        if (same)
            return row;
    }
    return -1;
}

// Reads the table again and stands on the record of key, or as near the old row as there is.
void TkavDataSet::reselect(const QList<QVariant> &key, int fallbackRow)
{
    m_model->select();
    int row = rowOfKey(key);
    if (row < 0) {
        fetchTo(fallbackRow);
        row = qMin(fallbackRow, m_model->rowCount() - 1);
    }
    m_row = IsEmpty() ? -1 : qMax(0, row);
}

bool TkavDataSet::Post()
{
    if (!Editing())
        return Active() ? true : fail(QStringLiteral("The data set is not open."));
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
    QList<QVariant> key = keyOf(m_row);
    const int row = m_row;
    if (!m_model->submitAll()) {
        // The model keeps the record as typed in its cache; the database took nothing.
        return fail(m_model->lastError().text());
    }
    if (inserting && key.size() == 1 && key.first().isNull())
        key.first() = m_model->lastInsertId();
    reselect(key, row);
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
    m_model->revertAll();
    m_row = IsEmpty() ? -1 : qMin(row, m_model->rowCount() - 1);
    m_modified = false;
    succeed();
    setState(dsBrowse);
    Q_EMIT DataSetChanged();
}

bool TkavDataSet::Delete()
{
    if (!Active())
        return fail(QStringLiteral("The data set is not open."));
    if (m_state == dsInsert) {
        Cancel();
        return true;
    }
    if (m_state == dsEdit)
        Cancel();
    if (!CanModify())
        return fail(QStringLiteral("The data set is read-only."));
    if (IsEmpty())
        return fail(QStringLiteral("There is no record to delete."));
    if (!databaseStillThere())
        return false;
    const int row = m_row;
    if (!m_model->removeRow(row) || !m_model->submitAll()) {
        const QString error = m_model->lastError().text();
        m_model->revertAll();
        return fail(error);
    }
    reselect({}, row);
    succeed();
    Q_EMIT DataSetChanged();
    return true;
}

bool TkavDataSet::Refresh()
{
    if (!CheckBrowseMode())
        return false;
    reselect(keyOf(m_row), m_row);
    succeed();
    Q_EMIT DataSetChanged();
    return true;
}

int TkavDataSet::FieldCount() const
{
    return m_model ? m_model->record().count() : 0;
}

QStringList TkavDataSet::FieldNames() const
{
    QStringList names;
    if (!m_model)
        return names;
    const QSqlRecord record = m_model->record();
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return names;
}

int TkavDataSet::FieldIndex(const QString &fieldName) const
{
    if (!m_model || fieldName.isEmpty())
        return -1;
    const QSqlRecord record = m_model->record();
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
    if (!m_model || m_row < 0)
        return QVariant();
    return m_model->data(m_model->index(m_row, index), Qt::EditRole);
}

bool TkavDataSet::writeField(int index, const QVariant &value)
{
    if (!Editing())
        return fail(QStringLiteral("The record is not being edited."));
    if (!CanModify())
        return fail(QStringLiteral("The data set is read-only."));
    if (!m_model->setData(m_model->index(m_row, index), value, Qt::EditRole))
        return fail(m_model->lastError().text());
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
