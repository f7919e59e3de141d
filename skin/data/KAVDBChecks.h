#pragma once

#include "KAVCheckBox.h"
#include "KAVDataSet.h"
#include "KAVRadioGroup.h"

#include <QString>
#include <QStringList>

namespace Kav {
// Whether text equals one of the ";"-separated words of list, letter case aside.
bool KavMatchesValueList(const QString &text, const QString &list);
// The first word of a ";"-separated list (the whole list when it has no ";").
QString KavFirstValue(const QString &list);
} // namespace Kav

// A skinned check box bound to one field. A Boolean field is checked by its value; any other
// field is checked when its text is one of the words of ValueChecked (";"-separated, letter case
// aside) and unchecked otherwise; no field or a null value shows unchecked. Checking writes true,
// or the first word of ValueChecked (of ValueUnchecked when unchecking) into a field of another
// type. A click toggles only once the data set is in edit mode.
class TkavDBCheckBox : public TkavCheckBox {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(QString ValueChecked READ ValueChecked WRITE setValueChecked)
    Q_PROPERTY(QString ValueUnchecked READ ValueUnchecked WRITE setValueUnchecked)

public:
    explicit TkavDBCheckBox(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly) { m_link.setReadOnly(readOnly); }
    TkavField Field() const { return m_link.Field(); }

    QString ValueChecked() const { return m_valueChecked; }
    void setValueChecked(const QString &value);
    QString ValueUnchecked() const { return m_valueUnchecked; }
    void setValueUnchecked(const QString &value);

protected:
    void DoClick() override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void dataChange();
    void updateData();

    TkavFieldDataLink m_link;
    QString m_valueChecked = QStringLiteral("True");
    QString m_valueUnchecked = QStringLiteral("False");
};

// A skinned radio group bound to one field. The value of item i is Values[i] when that is given
// and not empty, else Items[i]; the field's text chooses the first item of that value (none when
// no item has it), and choosing an item writes its value. An item can be chosen only once the
// data set is in edit mode (CanModify). OnChange follows every change of Value.
class TkavDBRadioGroup : public TkavRadioGroup {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(QStringList Values READ Values WRITE setValues)
    Q_PROPERTY(QString Value READ Value WRITE setValue)

public:
    explicit TkavDBRadioGroup(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly) { m_link.setReadOnly(readOnly); }
    TkavField Field() const { return m_link.Field(); }

    // Replaces the items and shows the field again.
    void setItems(const QStringList &items);
    QStringList Values() const { return m_values; }
    void setValues(const QStringList &values);

    QString Value() const { return m_value; }
    // Chooses the first item of that value (none when no item has it) and raises OnChange; the
    // same value does nothing.
    void setValue(const QString &value);
    // The value of item index (empty outside the items).
    QString itemValue(int index) const;

    // Puts the data set into edit mode; whether a choice may be made now.
    bool CanModify() const override;

Q_SIGNALS:
    void OnChange(QObject *sender);

protected:
    void NewClick() override;
    TkavCheckBox *CreateAButton() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dataChange();
    // Chooses the first item of that value, or none; the group's own clicks are not the user's.
    void selectItemOf(const QString &value);
    void focusMoved(QWidget *previous, QWidget *now);

    // Edit() changes the data set, which CanModify (const in the base) must be able to ask.
    mutable TkavFieldDataLink m_link;
    QStringList m_values;
    QString m_value;
    bool m_inSetValue = false;
};
