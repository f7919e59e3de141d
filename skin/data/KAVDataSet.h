#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QAbstractItemModel;
class QWidget;
class TkavDataSet;
class TkavDataSource;

namespace Kav {
class TkavTableAccess;
class TkavTableRows;
struct RecordIdentity;
enum class DataOperation;
} // namespace Kav

// One field (column) of a data set's current record: a light handle that reads and writes through
// its data set. A default-made field is "no field"; a field whose data set is gone reads as null
// and refuses writes.
class TkavField {
public:
    TkavField() = default;
    TkavField(TkavDataSet *dataSet, int index);

    bool isValid() const;
    explicit operator bool() const { return isValid(); }

    TkavDataSet *DataSet() const { return m_dataSet; }
    int Index() const { return m_index; }
    QString FieldName() const;
    // The column's type as the driver reports it (QMetaType::Bool for a BOOLEAN column of SQLite).
    QMetaType DataType() const;
    bool IsBoolean() const { return DataType().id() == QMetaType::Bool; }
    bool IsBlob() const { return DataType().id() == QMetaType::QByteArray; }

    // The value of the current record as shown now: the edited value while the record is being
    // edited or inserted. Null (an invalid QVariant) when the data set has no current record.
    QVariant Value() const;
    bool IsNull() const;
    // The value as text; empty for null. Booleans read "True" and "False".
    QString AsString() const;
    bool AsBoolean() const;
    QByteArray AsBytes() const;

    // Whether a write could be taken now: the data set is editing or inserting and may modify.
    bool CanModify() const;

    // Writes into the record being edited or inserted. Returns false, leaving the value as it
    // was and the reason in DataSet()->LastError(), when the data set is not editing, or the value
    // is not one of the field's type ("'abc' is not a valid integer value for the field 'score'").
    bool setValue(const QVariant &value);
    // Text converted to the field's type; empty text writes null into a field that is not text.
    bool setAsString(const QString &text);
    bool setAsBoolean(bool value);

private:
    QPointer<TkavDataSet> m_dataSet;
    int m_index = -1;
};

// The records of one database table, one of them current, with the state machine of a form that
// edits them: browse, edit, insert. The records are read a batch at a time as they are needed;
// writing is one record at a time, posted (written to the database) or cancelled as a whole, and
// a post reads back only the record it wrote.
//
// Any Qt SQL driver works: the statements are plain SQL. A record is named by the table's primary
// key, or by SQLite's rowid in a table without one; a table with neither opens read-only
// (ReadOnlyReason()). Posts and deletes are optimistic: a record that another program changed or
// deleted since it was read is not overwritten; the post is refused with a message saying so.
//
// Moving to another record posts the record being edited first; when that post is refused the
// move does not happen. A refused post (a constraint, a type the database does not take, a locked,
// read-only or vanished database file, a record changed or deleted by another program) leaves the
// data set editing, with the record as it was typed and the database as it was. A refused Refresh
// leaves the records, the current record and the state as they were. LastError() then says, in
// words for the user, what failed and what to do; LastErrorDetail() keeps the driver's own text.
class TkavDataSet : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE setActive NOTIFY ActiveChanged)
    Q_PROPERTY(TDataSetState State READ State NOTIFY StateChanged)
    Q_PROPERTY(QString TableName READ TableName WRITE setTableName)
    Q_PROPERTY(QString Filter READ Filter WRITE setFilter)
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE setIndexFieldNames)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(int LockTimeout READ LockTimeout WRITE setLockTimeout)
    Q_PROPERTY(int RecNo READ RecNo WRITE setRecNo)
    Q_PROPERTY(int RecordCount READ RecordCount)

public:
    enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
    Q_ENUM(TDataSetState)

    explicit TkavDataSet(QObject *parent = nullptr);
    ~TkavDataSet() override;

    // The connection and the table; set them before opening.
    QSqlDatabase Database() const;
    void setDatabase(const QSqlDatabase &database);
    QString TableName() const { return m_tableName; }
    void setTableName(const QString &tableName);
    // An SQL condition (without WHERE) the records must meet; applied at the next Open or Refresh.
    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter);
    // The field the records are ordered by; empty leaves the order to the database.
    QString IndexFieldNames() const { return m_indexFieldNames; }
    void setIndexFieldNames(const QString &fieldName);

    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    // Why the open table's records cannot be written whatever ReadOnly says (a table without a
    // key that names one record); empty when they can.
    QString ReadOnlyReason() const;

    // How long, in milliseconds, a read or write waits for another program that holds the
    // database locked before it is refused (SQLite; the data set sets it on its connection before
    // each read and write).
    static constexpr int DefaultLockTimeout = 2000;
    int LockTimeout() const { return m_lockTimeout; }
    void setLockTimeout(int milliseconds) { m_lockTimeout = qMax(0, milliseconds); }

    // Reads the table; false with LastError() when the database or the table cannot be read.
    bool Open();
    // Drops a pending edit and forgets the records.
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void setActive(bool active);

    TDataSetState State() const { return m_state; }
    bool Editing() const { return m_state == dsEdit || m_state == dsInsert; }
    // Active, not ReadOnly, and the table's records can be written (ReadOnlyReason()).
    bool CanModify() const;

    // Bof: at the first record, or the data set is empty. Eof: at the last record, or empty.
    bool Bof() const;
    bool Eof() const;
    bool IsEmpty() const;
    // All the records (reads the rest of a large table in).
    int RecordCount() const;
    // The row of the current record from 0; -1 when there is none.
    int RecNo() const { return m_row; }

    bool First();
    bool Prior();
    bool Next();
    bool Last();
    bool MoveBy(int distance);
    bool setRecNo(int row);
    // Moves to the first record whose field equals value; false when there is none.
    bool Locate(const QString &fieldName, const QVariant &value);
    // The value of resultField in the first record whose keyField equals keyValue; null when none.
    QVariant Lookup(const QString &keyField, const QVariant &keyValue, const QString &resultField) const;

    bool Edit();
    // A new, empty record before the current one (Insert) or after the last one (Append).
    bool Insert();
    bool Append();
    // Asks the linked controls for what they hold (UpdateData), then writes the record.
    bool Post();
    // Drops what was typed and shows the stored record again.
    void Cancel();
    bool Delete();
    // Reads the table again and keeps the current record when it is still there. When the
    // database refuses, nothing changes and false is returned.
    bool Refresh();
    // Posts when editing; true when nothing was pending or the post went through.
    bool CheckBrowseMode();

    int FieldCount() const;
    QStringList FieldNames() const;
    TkavField Field(int index);
    // No field (isValid() false) when the table has none of that name (any letter case).
    TkavField FindField(const QString &fieldName);
    int FieldIndex(const QString &fieldName) const;

    // Why the last operation was refused, for the user: what failed and what to do. Empty after
    // one that went through.
    QString LastError() const { return m_lastError; }
    // The database driver's own words for the last refusal, when it came from the database.
    QString LastErrorDetail() const { return m_lastErrorDetail; }
    // Whether a field of the record being edited was changed since Edit or Insert.
    bool Modified() const { return m_modified; }

    // The records as a Qt model, for views. Its rows are the records; a view that edits a cell
    // edits through the data set (moving to the row, Edit, the field's setValue).
    QAbstractItemModel *model() const;

Q_SIGNALS:
    void ActiveChanged();
    void StateChanged(TkavDataSet::TDataSetState state);
    // The current record is another one.
    void Scrolled();
    // The records changed as a whole (opened, refreshed, posted, deleted, inserted, cancelled).
    void DataSetChanged();
    // One field of the current record changed (its index).
    void FieldChanged(int index);
    // Before a post: the linked controls hand over what they hold.
    void UpdateRecordRequested();

private:
    friend class TkavField;
    friend class TkavFieldDataLink;

    bool fail(const QString &message, const QString &detail = QString());
    bool failDatabase(Kav::DataOperation operation, const QSqlError &error);
    void succeed()
    {
        m_lastError.clear();
        m_lastErrorDetail.clear();
    }
    void setState(TDataSetState state);
    bool moveTo(int row);
    void fetchAll() const;
    bool fetchTo(int row) const;
    int sortColumn() const;
    int locateRow(const QString &fieldName, const QVariant &value) const;
    bool databaseStillThere();
    void applyLockTimeout() const;
    // The row of the record identity names, looked for first near fallbackRow; -1 when none.
    int rowOf(const Kav::RecordIdentity &identity, int fallbackRow) const;
    // Stands on the record of identity, or as near row as there is.
    void standOn(const Kav::RecordIdentity &identity, int row);
    // After a post: the record written reads back into its row and takes its place in the order.
    void settleWritten(const Kav::RecordIdentity &identity, bool inserting);
    QVariant fieldValue(int index) const;
    bool writeField(int index, const QVariant &value);

    std::unique_ptr<Kav::TkavTableAccess> m_access;
    Kav::TkavTableRows *m_rows = nullptr;
    QAbstractItemModel *m_view = nullptr;
    QString m_connectionName;
    QString m_tableName;
    QString m_filter;
    QString m_indexFieldNames;
    QString m_lastError;
    QString m_lastErrorDetail;
    // The database file as it was opened, when the database is one: its loss is noticed before a
    // write, which would otherwise go to a file nobody can open again.
    QString m_databaseFile;
    TDataSetState m_state = dsInactive;
    int m_row = -1;
    int m_lockTimeout = DefaultLockTimeout;
    bool m_readOnly = false;
    bool m_modified = false;
    // Set while the linked controls hand over their values before a post, and whether any of
    // their writes was refused then.
    bool m_posting = false;
    bool m_refusedWhilePosting = false;
};

class TkavDataLink;

// What connects controls to a data set: the controls link to the source, the source to the set.
// Switching the source to another data set, disabling it or destroying it (or its data set) tells
// every link, which then shows nothing.
class TkavDataSource : public QObject {
    Q_OBJECT
    Q_PROPERTY(TkavDataSet *DataSet READ DataSet WRITE setDataSet)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE setAutoEdit)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)

public:
    explicit TkavDataSource(QObject *parent = nullptr);
    ~TkavDataSource() override;

    TkavDataSet *DataSet() const { return m_dataSet; }
    void setDataSet(TkavDataSet *dataSet);
    // Typing into a linked control puts the data set into edit mode by itself.
    bool AutoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // The data set's state; dsInactive without one or while disabled.
    TkavDataSet::TDataSetState State() const;
    // Puts the data set into edit mode when AutoEdit allows it and it is browsing.
    void Edit();

private:
    friend class TkavDataLink;
    void attach(TkavDataLink *link);
    void detach(TkavDataLink *link);
    void notifyActive();
    void notifyEditing();
    void notifyDataSet();
    void notifyScrolled();
    void notifyField(int index);
    void notifyUpdateRecord();
    // Links may unhook themselves (or others) while told: each is told from a copy of the list,
    // and only while it is still attached.
    template <typename Tell>
    void forEachLink(Tell tell)
    {
        const QList<TkavDataLink *> links = m_links;
        for (TkavDataLink *link : links) {
            if (m_links.contains(link))
                tell(link);
        }
    }

    QPointer<TkavDataSet> m_dataSet;
    QList<TkavDataLink *> m_links;
    QList<QMetaObject::Connection> m_connections;
    bool m_autoEdit = true;
    bool m_enabled = true;
};

// A control's end of the connection: notifications in, edits out. Not a QObject, so that a
// control can hold one as a member; it unhooks itself when destroyed.
class TkavDataLink {
public:
    TkavDataLink();
    virtual ~TkavDataLink();
    TkavDataLink(const TkavDataLink &) = delete;
    TkavDataLink &operator=(const TkavDataLink &) = delete;

    TkavDataSource *DataSource() const { return m_dataSource; }
    void setDataSource(TkavDataSource *dataSource);
    TkavDataSet *DataSet() const;

    // The source is enabled and its data set open.
    bool Active() const;
    // The data set is editing or inserting (and the link is active).
    bool Editing() const;
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // Puts the data set into edit mode (when the source's AutoEdit allows it); whether it is
    // editing now.
    bool Edit();

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    // The records changed as a whole; the current record may be another one.
    virtual void DataSetChanged() {}
    virtual void DataSetScrolled() { DataSetChanged(); }
    // One field of the current record changed.
    virtual void RecordChanged(int fieldIndex) { Q_UNUSED(fieldIndex); }
    // The data set is about to post: write what the control holds.
    virtual void UpdateData() {}

private:
    friend class TkavDataSource;
    void sourceGone();

    QPointer<TkavDataSource> m_dataSource;
    bool m_readOnly = false;
    bool m_editing = false;
};

// The link of a control that shows one field. The control gives its callbacks: OnDataChange (show
// the field again), OnEditingChange, OnActiveChange and OnUpdateData (write what it holds into
// Field()). Modified() marks the control's value as typed but not yet handed over, Reset() shows
// the field again, UpdateRecord() hands it over now (false, with the data set's LastError(), when
// the field refused it).
class TkavFieldDataLink : public TkavDataLink {
public:
    TkavFieldDataLink() = default;

    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);
    // The field of that name in the data set; no field when inactive or unknown.
    TkavField Field() const;

    // Active, not ReadOnly, and the data set may be modified.
    bool CanModify() const;
    bool Edit();

    bool IsModified() const { return m_modified; }
    void Modified() { m_modified = true; }
    void Reset();
    bool UpdateRecord();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnActiveChange;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void DataSetChanged() override;
    void RecordChanged(int fieldIndex) override;
    void UpdateData() override;

private:
    void dataChange();

    QString m_fieldName;
    bool m_modified = false;
    bool m_updating = false;
};

namespace Kav {
// Shows the data set's LastError() in the error box, with parent for a parent, and the driver's
// words (LastErrorDetail()) as the box's details.
void KavShowDataError(QWidget *parent, const TkavDataSet *dataSet);
} // namespace Kav
