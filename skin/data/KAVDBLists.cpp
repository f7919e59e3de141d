#include "KAVDBLists.h"

#include "KAVDBEdits.h"
#include "KAVEdit.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVTrackGeometry.h"

#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

// --- Helpers ----------------------------------------------------------------------------------

QRect Kav::KavListBarGeometry(const QRect &host, int barWidth)
{
    return QRect(host.x() + host.width() - barWidth - 2, host.y() + 1, barWidth, host.height() - 2);
}

QList<Kav::LookupEntry> Kav::KavReadLookupList(TkavDataSet *dataSet, const QString &keyField,
                                               const QString &listField)
{
    QList<LookupEntry> entries;
    if (!dataSet || !dataSet->Active())
        return entries;
    const int keyColumn = dataSet->FieldIndex(keyField);
    const int listColumn = dataSet->FieldIndex(listField);
    const QAbstractItemModel *model = dataSet->model();
    if (keyColumn < 0 || listColumn < 0 || !model)
        return entries;
    // Reads the whole table in, so that the model holds every record.
    const int records = dataSet->RecordCount();
    const int rows = std::min(records, model->rowCount());
    entries.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        // A record without a key (one being inserted) is nothing a field could refer to.
        const QVariant key = model->index(row, keyColumn).data(Qt::EditRole);
        if (!key.isNull())
            entries.append({key, model->index(row, listColumn).data(Qt::DisplayRole).toString()});
    }
    return entries;
}

bool Kav::KavSameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    return a == b || a.toString() == b.toString();
}

namespace {

// Hands a pending choice to the field when the control is left for another control; a refused
// value keeps the focus in the control and says why (the choice stays).
void updateRecordOnExit(QWidget *control, TkavFieldDataLink &link, const QFocusEvent *event)
{
    if (Kav::KavFocusLeavesForControl(event->reason()))
        Kav::KavUpdateRecordOnLeave(control, link, control);
}

} // namespace

// --- TkavListScrollBarLink --------------------------------------------------------------------

TkavListScrollBarLink::TkavListScrollBarLink(QAbstractScrollArea *host) : QObject(host), m_host(host)
{
    host->installEventFilter(this);
    const QScrollBar *native = host->verticalScrollBar();
    connect(native, &QAbstractSlider::rangeChanged, this, [this] { synchronise(); });
    connect(native, &QAbstractSlider::valueChanged, this, [this] { synchronise(); });
}

TkavListScrollBarLink::~TkavListScrollBarLink()
{
    for (const QMetaObject::Connection &connection : m_connections)
        disconnect(connection);
    if (m_bar)
        m_bar->removeEventFilter(this);
}

void TkavListScrollBarLink::release()
{
    for (const QMetaObject::Connection &connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    if (TkavScrollBar *old = m_bar) {
        old->setLineButton(0);
        old->setMax(100);
        old->setEnabled(true);
        old->show();
    }
    m_bar = nullptr;
}

bool TkavListScrollBarLink::setBar(TkavScrollBar *bar)
{
    if (bar == m_bar)
        return false;
    release();
    m_bar = bar;
    if (!bar)
        return true;
    bar->setOrientation(KavOrientation::kavVertical);
    m_connections.append(connect(bar, &TkavScrollBar::OnChange, this, [this] { barMoved(); }));
    m_connections.append(connect(bar, &QObject::destroyed, this, [this] {
        m_connections.clear();
        m_bar = nullptr;
    }));
    bar->raise();
    updatePlacement();
    return true;
}

void TkavListScrollBarLink::updatePlacement()
{
    TkavScrollBar *bar = m_bar;
    if (!bar)
        return;
    // The bar stands on the host's parent; a host elsewhere is found through the screen.
    const QWidget *parent = bar->parentWidget();
    QRect host = m_host->geometry();
    if (parent != m_host->parentWidget()) {
        const QPoint corner = m_host->mapToGlobal(QPoint(0, 0));
        host = QRect(parent ? parent->mapFromGlobal(corner) : corner, m_host->size());
    }
    bar->setGeometry(Kav::KavListBarGeometry(host, bar->width()));
    synchronise();
}

void TkavListScrollBarLink::synchronise()
{
    TkavScrollBar *bar = m_bar;
    if (!bar)
        return;
    const QScrollBar *native = m_host->verticalScrollBar();
    const Kav::Track::Range range{native->minimum(), native->maximum()};
    // A hidden list leaves no bar standing on its own.
    const bool scrolls = !m_host->isHidden() && m_host->isEnabled() && range.span() > 0
        && m_host->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const bool synchronising = m_synchronising;
    m_synchronising = true;
    if (scrolls) {
        bar->setLineButton(Kav::Track::proportionalThumb(bar->trackRoom(), range, native->pageStep()));
        bar->setEnabled(true);
        bar->show();
    } else {
        bar->setLineButton(0);
        bar->setEnabled(false);
        bar->hide();
    }
    bar->setRange(range.min, range.max);
    bar->setPosition(native->value());
    m_synchronising = synchronising;
}

void TkavListScrollBarLink::barMoved()
{
    if (!m_bar || m_synchronising)
        return;
    m_host->verticalScrollBar()->setValue(m_bar->Position());
    m_host->viewport()->update();
}

bool TkavListScrollBarLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            updatePlacement();
            break;
        case QEvent::Hide:
        case QEvent::EnabledChange:
            synchronise();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- TkavCustomDBListBox ----------------------------------------------------------------------

TkavCustomDBListBox::TkavCustomDBListBox(QWidget *parent)
    : QListWidget(parent), m_bar(new TkavListScrollBarLink(this))
{
    // A plain frame keeps the border's room around the rows; the skinned border is painted over it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(Kav::Metrics::DBListBoxBorderWidth);
    setAutoFillBackground(true);
    resize(Kav::Metrics::DBListBoxSize);
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavCustomDBListBox::~TkavCustomDBListBox()
{
    // Qt's bars go after this; nothing may be mirrored from a list that is half gone.
    delete m_bar;
}

void TkavCustomDBListBox::applyLook(const KavThemeValues &values)
{
    m_borderColor = values.color(KavKey::ControlBorderColor);
    if (TkavScrollBar *bar = VScrollBar()) {
        // The bar is handed the file theme when it is assigned, and the look each time.
        if (m_look.applyingFileTheme())
            bar->setFileTheme(FileTheme());
        bar->setUIStyle(values.resolvedStyle());
    }
    update();
}

void TkavCustomDBListBox::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavCustomDBListBox::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavCustomDBListBox::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
}

void TkavCustomDBListBox::setVScrollBar(TkavScrollBar *bar)
{
    if (bar) {
        bar->setFileTheme(FileTheme());
        bar->setUIStyle(m_look.values().resolvedStyle());
    }
    m_bar->setBar(bar);
}

bool TkavCustomDBListBox::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        DrawControlBorder(this, painter, m_borderColor, Color(), true);
    }
    return handled;
}

void TkavCustomDBListBox::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        m_bar->synchronise();
}

// --- TkavDBListBox ----------------------------------------------------------------------------

TkavDBListBox::TkavDBListBox(QWidget *parent) : TkavCustomDBListBox(parent)
{
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { updateData(); };
    connect(this, &QListWidget::currentRowChanged, this, &TkavDBListBox::rowChosen);
}

void TkavDBListBox::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBListBox::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBListBox::setReadOnly(bool readOnly)
{
    m_link.setReadOnly(readOnly);
}

QStringList TkavDBListBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(item(i)->text());
    return items;
}

void TkavDBListBox::setItems(const QStringList &items)
{
    m_showing = true;
    clear();
    addItems(items);
    m_showing = false;
    dataChange();
}

void TkavDBListBox::dataChange()
{
    const TkavField field = m_link.Field();
    int row = -1;
    if (field) {
        // The item of exactly the field's text, else one that differs only in letter case, as
        // a list box finds a string.
        const QString text = field.AsString();
        for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive})
            for (int i = 0; i < count() && row < 0; ++i)
                if (item(i)->text().compare(text, sensitivity) == 0)
                    row = i;
    }
    m_showing = true;
    setCurrentRow(row);
    if (row < 0)
        clearSelection();
    m_showing = false;
}

void TkavDBListBox::updateData()
{
    if (TkavField field = m_link.Field()) {
        const QListWidgetItem *current = currentItem();
        field.setAsString(current ? current->text() : QString());
    }
}

void TkavDBListBox::rowChosen(int row)
{
    if (m_showing || row < 0)
        return;
    if (!m_link.Edit()) {
        Kav::KavMessageBeep(this);
        dataChange();
        return;
    }
    m_link.Modified();
}

void TkavDBListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link.IsModified()) {
        m_link.Reset();
        dataChange();
        event->accept();
        return;
    }
    TkavCustomDBListBox::keyPressEvent(event);
}

void TkavDBListBox::focusOutEvent(QFocusEvent *event)
{
    TkavCustomDBListBox::focusOutEvent(event);
    updateRecordOnExit(this, m_link, event);
}

// --- TkavLookupBinding ------------------------------------------------------------------------

Kav::TkavLookupBinding::TkavLookupBinding()
{
    m_link.OnDataChange = [this] { keyChange(); };
    m_link.OnUpdateData = [this] {
        if (TkavField field = m_link.Field())
            field.setValue(m_keyValue);
    };
    m_listLink.OnListChange = [this] { readList(); };
}

void Kav::TkavLookupBinding::setListSource(TkavDataSource *listSource)
{
    m_listLink.setDataSource(listSource);
    readList();
}

void Kav::TkavLookupBinding::setKeyField(const QString &keyField)
{
    m_keyField = keyField;
    readList();
}

void Kav::TkavLookupBinding::setListField(const QString &listField)
{
    m_listField = listField;
    readList();
}

int Kav::TkavLookupBinding::currentIndex() const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (Kav::KavSameKey(m_entries.at(i).key, m_keyValue))
            return i;
    return -1;
}

void Kav::TkavLookupBinding::setKeyValue(const QVariant &keyValue)
{
    m_keyValue = keyValue;
    if (OnKeyChange)
        OnKeyChange();
}

bool Kav::TkavLookupBinding::choose(int index)
{
    if (index < 0 || index >= m_entries.size())
        return false;
    const bool bound = m_link.DataSource() && !m_link.FieldName().isEmpty();
    if (bound && !m_link.Edit())
        return false;
    m_keyValue = m_entries.at(index).key;
    if (bound)
        m_link.Modified();
    if (OnKeyChange)
        OnKeyChange();
    return true;
}

void Kav::TkavLookupBinding::readList()
{
    m_entries = Kav::KavReadLookupList(m_listLink.Active() ? m_listLink.DataSet() : nullptr, m_keyField,
                                       m_listField);
    if (OnListChange)
        OnListChange();
}

void Kav::TkavLookupBinding::keyChange()
{
    const TkavField field = m_link.Field();
    setKeyValue(field ? field.Value() : QVariant());
}

// --- TkavDBLookupListBox ----------------------------------------------------------------------

TkavDBLookupListBox::TkavDBLookupListBox(QWidget *parent) : TkavCustomDBListBox(parent)
{
    m_lookup.OnListChange = [this] { fillList(); };
    m_lookup.OnKeyChange = [this] { showKey(); };
    connect(this, &QListWidget::currentRowChanged, this, &TkavDBLookupListBox::rowChosen);
}

void TkavDBLookupListBox::setDataSource(TkavDataSource *dataSource)
{
    m_lookup.link().setDataSource(dataSource);
    showKey();
}

void TkavDBLookupListBox::setDataField(const QString &fieldName)
{
    m_lookup.link().setFieldName(fieldName);
    showKey();
}

void TkavDBLookupListBox::setReadOnly(bool readOnly)
{
    m_lookup.link().setReadOnly(readOnly);
}

void TkavDBLookupListBox::fillList()
{
    m_showing = true;
    clear();
    for (const Kav::LookupEntry &entry : m_lookup.entries())
        addItem(entry.text);
    m_showing = false;
    showKey();
}

void TkavDBLookupListBox::showKey()
{
    const int row = m_lookup.currentIndex();
    m_showing = true;
    setCurrentRow(row);
    if (row < 0)
        clearSelection();
    m_showing = false;
}

void TkavDBLookupListBox::rowChosen(int row)
{
    if (m_showing || row < 0)
        return;
    if (!m_lookup.choose(row)) {
        Kav::KavMessageBeep(this);
        showKey();
    }
}

void TkavDBLookupListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_lookup.link().IsModified()) {
        m_lookup.link().Reset();
        event->accept();
        return;
    }
    TkavCustomDBListBox::keyPressEvent(event);
}

void TkavDBLookupListBox::focusOutEvent(QFocusEvent *event)
{
    TkavCustomDBListBox::focusOutEvent(event);
    updateRecordOnExit(this, m_lookup.link(), event);
}

// --- TkavDBLookupComboBox ---------------------------------------------------------------------

TkavDBLookupComboBox::TkavDBLookupComboBox(QWidget *parent) : TkavCustomComboBox(parent)
{
    setComboStyle(csDropDownList);
    m_lookup.OnListChange = [this] { fillList(); };
    m_lookup.OnKeyChange = [this] { showKey(); };
    // Only the user's choices: the box showing the field's key is no choice.
    connect(this, &QComboBox::activated, this, &TkavDBLookupComboBox::indexChosen);
}

void TkavDBLookupComboBox::setDataSource(TkavDataSource *dataSource)
{
    m_lookup.link().setDataSource(dataSource);
    showKey();
}

void TkavDBLookupComboBox::setDataField(const QString &fieldName)
{
    m_lookup.link().setFieldName(fieldName);
    showKey();
}

void TkavDBLookupComboBox::setReadOnly(bool readOnly)
{
    m_lookup.link().setReadOnly(readOnly);
}

void TkavDBLookupComboBox::fillList()
{
    m_showing = true;
    clear();
    for (const Kav::LookupEntry &entry : m_lookup.entries())
        addItem(entry.text);
    m_showing = false;
    showKey();
}

void TkavDBLookupComboBox::showKey()
{
    m_showing = true;
    setCurrentIndex(m_lookup.currentIndex());
    m_showing = false;
}

void TkavDBLookupComboBox::indexChosen(int index)
{
    if (m_showing)
        return;
    if (!m_lookup.choose(index)) {
        Kav::KavMessageBeep(this);
        showKey();
    }
}

void TkavDBLookupComboBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_lookup.link().IsModified()) {
        m_lookup.link().Reset();
        event->accept();
        return;
    }
    TkavCustomComboBox::keyPressEvent(event);
}

void TkavDBLookupComboBox::focusOutEvent(QFocusEvent *event)
{
    TkavCustomComboBox::focusOutEvent(event);
    updateRecordOnExit(this, m_lookup.link(), event);
}
