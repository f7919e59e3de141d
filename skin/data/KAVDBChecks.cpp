#include "KAVDBChecks.h"

#include "KAVDBEdits.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopeGuard>

namespace Kav {

bool KavMatchesValueList(const QString &text, const QString &list)
{
    const QStringList words = list.split(QLatin1Char(';'));
    for (const QString &word : words) {
        if (text.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString KavFirstValue(const QString &list)
{
    return list.section(QLatin1Char(';'), 0, 0);
}

} // namespace Kav

namespace {

// Backspace and Space put the link into edit mode, Escape shows the stored value again.
void handleLinkKey(TkavFieldDataLink &link, const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Space:
        link.Edit();
        break;
    case Qt::Key_Escape:
        link.Reset();
        break;
    default:
        break;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TkavDBCheckBox

TkavDBCheckBox::TkavDBCheckBox(QWidget *parent) : TkavCheckBox(parent)
{
    setState(cbUnchecked);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { updateData(); };
}

void TkavDBCheckBox::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBCheckBox::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBCheckBox::setValueChecked(const QString &value)
{
    m_valueChecked = value;
    dataChange();
}

void TkavDBCheckBox::setValueUnchecked(const QString &value)
{
    m_valueUnchecked = value;
    dataChange();
}

void TkavDBCheckBox::dataChange()
{
    const TkavField field = m_link.Field();
    bool checked = false;
    if (field && !field.IsNull())
        checked = field.IsBoolean() ? field.AsBoolean() : Kav::KavMatchesValueList(field.AsString(), m_valueChecked);
    setChecked(checked);
}

void TkavDBCheckBox::updateData()
{
    TkavField field = m_link.Field();
    if (!field)
        return;
    if (field.IsBoolean())
        field.setAsBoolean(Checked());
    else
        field.setAsString(Kav::KavFirstValue(Checked() ? m_valueChecked : m_valueUnchecked));
}

void TkavDBCheckBox::DoClick()
{
    // Going into edit mode may show the stored value again; the toggle comes after it.
    if (!m_link.Edit())
        return;
    TkavCheckBox::DoClick();
    m_link.Modified();
}

void TkavDBCheckBox::keyPressEvent(QKeyEvent *e)
{
    TkavCheckBox::keyPressEvent(e);
    handleLinkKey(m_link, e);
}

void TkavDBCheckBox::focusOutEvent(QFocusEvent *e)
{
    TkavCheckBox::focusOutEvent(e);
    if (Kav::KavFocusLeavesForControl(e->reason()))
        Kav::KavUpdateRecordOnLeave(this, m_link, this);
}

// ---------------------------------------------------------------------------------------------
// TkavDBRadioGroup

TkavDBRadioGroup::TkavDBRadioGroup(QWidget *parent) : TkavRadioGroup(parent)
{
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] {
        if (TkavField field = m_link.Field())
            field.setAsString(m_value);
    };
    connect(qApp, &QApplication::focusChanged, this, &TkavDBRadioGroup::focusMoved);
}

void TkavDBRadioGroup::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBRadioGroup::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBRadioGroup::setItems(const QStringList &items)
{
    TkavRadioGroup::setItems(items);
    dataChange();
}

void TkavDBRadioGroup::setValues(const QStringList &values)
{
    m_values = values;
    dataChange();
}

QString TkavDBRadioGroup::itemValue(int index) const
{
    if (index < 0)
        return {};
    if (index < m_values.size() && !m_values.at(index).isEmpty())
        return m_values.at(index);
    const QStringList items = Items();
    return index < items.size() ? items.at(index) : QString();
}

void TkavDBRadioGroup::selectItemOf(const QString &value)
{
    m_inSetValue = true;
    const auto clearFlag = qScopeGuard([this] { m_inSetValue = false; });
    int index = -1;
    const int count = int(Items().size());
    for (int i = 0; i < count && index < 0; ++i) {
        if (itemValue(i) == value)
            index = i;
    }
    setItemIndex(index);
}

void TkavDBRadioGroup::setValue(const QString &value)
{
    if (value == m_value)
        return;
    selectItemOf(value);
    m_value = value;
    Q_EMIT OnChange(this);
}

void TkavDBRadioGroup::dataChange()
{
    const TkavField field = m_link.Field();
    const QString value = field ? field.AsString() : QString();
    // The same value may belong to another item now (new Items or Values): choose again.
    if (value == m_value)
        selectItemOf(value);
    else
        setValue(value);
}

bool TkavDBRadioGroup::CanModify() const
{
    return m_link.Edit();
}

void TkavDBRadioGroup::NewClick()
{
    if (m_inSetValue)
        return;
    const int index = ItemIndex();
    if (index < 0)
        return;
    setValue(itemValue(index));
    if (m_link.Editing())
        m_link.Modified();
}

TkavCheckBox *TkavDBRadioGroup::CreateAButton()
{
    TkavCheckBox *item = TkavRadioGroup::CreateAButton();
    item->installEventFilter(this);
    return item;
}

bool TkavDBRadioGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        handleLinkKey(m_link, static_cast<QKeyEvent *>(event));
    return TkavRadioGroup::eventFilter(watched, event);
}

void TkavDBRadioGroup::focusMoved(QWidget *previous, QWidget *now)
{
    // The group is left when the focus goes from it (or one of its items) to another control.
    const bool wasInside = previous && (previous == this || isAncestorOf(previous));
    const bool isInside = now && (now == this || isAncestorOf(now));
    if (!wasInside || isInside || now == nullptr)
        return;
    const int index = ItemIndex();
    QWidget *back = index >= 0 ? buttons().at(index) : nullptr;
    if (!back && !buttons().isEmpty())
        back = buttons().first();
    Kav::KavUpdateRecordOnLeave(this, m_link, back ? back : this);
}
