#include "KAVDBGrid.h"

#include "KAVEdit.h"
#include "KAVErrorBox.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QItemEditorFactory>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <utility>

// --- Cell colours -----------------------------------------------------------------------------

QColor Kav::KavReadableTextOn(const QColor &fill)
{
    // Perceived lightness (ITU-R BT.601 weights), as qGray computes it.
    return qGray(fill.rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

Kav::GridCellColors Kav::KavGridCellColors(bool selected, bool focused, const QColor &selectedColor,
                                           const QColor &focusedColor, const QColor &color,
                                           const QColor &fontColor)
{
    if (focused)
        return {focusedColor, KavReadableTextOn(focusedColor)};
    if (selected)
        return {selectedColor, KavReadableTextOn(selectedColor)};
    return {color, fontColor};
}

void Kav::TkavGridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    const auto *grid = qobject_cast<const TkavDBGrid *>(option.widget);
    if (!grid) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = index == grid->currentIndex();
    const GridCellColors colors =
        KavGridCellColors(selected, focused, grid->SelectedColor().resolved(grid->palette()), grid->FocusedColor().resolved(grid->palette()),
                          grid->BGColor().resolved(grid->palette()), grid->FontColor().resolved(grid->palette()));
    painter->fillRect(option.rect, colors.fill);
    // The cell's content as Qt draws it, without Qt's own highlight and focus frame over the fill.
    QStyleOptionViewItem content(option);
    content.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    content.palette.setColor(QPalette::Text, colors.text);
    content.palette.setColor(QPalette::Base, colors.fill);
    QStyledItemDelegate::paint(painter, content, index);
}

namespace {
// The value an editor showed when it opened (or last handed over): unchanged, it is not written.
constexpr char EditorStartValue[] = "kavStartValue";
} // namespace

QByteArray Kav::TkavGridCellDelegate::valueProperty(const QWidget *editor, const QModelIndex &index) const
{
    const QByteArray name = editor->metaObject()->userProperty().name();
    if (!name.isEmpty())
        return name;
    const QItemEditorFactory *factory = itemEditorFactory() ? itemEditorFactory() : QItemEditorFactory::defaultFactory();
    return factory->valuePropertyName(index.data(Qt::EditRole).userType());
}

QWidget *Kav::TkavGridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                                const QModelIndex &index) const
{
    auto *grid = qobject_cast<TkavDBGrid *>(this->parent());
    if (grid && !grid->startCellEdit(index))
        return nullptr;
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (grid && editor)
        grid->editorOpened(editor, index);
    return editor;
}

void Kav::TkavGridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::setEditorData(editor, index);
    const QByteArray name = valueProperty(editor, index);
    if (!name.isEmpty())
        editor->setProperty(EditorStartValue, editor->property(name));
}

void Kav::TkavGridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QByteArray name = valueProperty(editor, index);
    if (name.isEmpty())
        return;
    const QVariant value = editor->property(name);
    if (value == editor->property(EditorStartValue))
        return;
    if (model->setData(index, value, Qt::EditRole)) {
        editor->setProperty(EditorStartValue, value);
        return;
    }
    if (auto *grid = qobject_cast<TkavDBGrid *>(parent()))
        grid->cellRefused();
}

// --- Title row --------------------------------------------------------------------------------

Kav::TkavGridHeader::TkavGridHeader(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
}

void Kav::TkavGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QPalette &colours = palette();
    painter->save();
    painter->fillRect(rect, colours.color(QPalette::Button));
    painter->setPen(colours.color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (const QAbstractItemModel *source = model()) {
        const QString title = source->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        const int padding = Kav::Metrics::DBGridTitlePadding;
        painter->setPen(colours.color(QPalette::ButtonText));
        painter->drawText(rect.adjusted(padding, 0, -padding, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
    }
    painter->restore();
}

// --- TkavDBGrid -------------------------------------------------------------------------------

TkavDBGrid::TkavDBGrid(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new Kav::TkavGridHeader(Qt::Horizontal, this));
    verticalHeader()->hide();
    setItemDelegate(new Kav::TkavGridCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A plain frame keeps the border's room; the border is painted over it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(Kav::Metrics::DBGridBorderWidth);
    resize(Kav::Metrics::DBGridSize);
    m_link.OnDataSetChange = [this] { followDataSet(); };
    m_link.OnScrolled = [this] { selectCurrentRecord(); };
    m_link.OnUpdateData = [this] { commitOpenEditor(); };
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavDBGrid::~TkavDBGrid()
{
    // The link must not call back into a grid that is being taken apart.
    m_link.OnDataSetChange = nullptr;
    m_link.OnScrolled = nullptr;
    m_link.OnUpdateData = nullptr;
}

void TkavDBGrid::applyLook(const KavThemeValues &values)
{
    m_borderColor = values.color(KavKey::ControlBorderColor);
    setFixedBGColor(values.color(KavKey::MenuSelectedBackgroundColor));
    setBGColor(values.color(KavKey::ControlBackgroundColor));
    setTitleFontColor(values.color(KavKey::MenuSelectedFontColor));
    setFontColor(values.color(KavKey::MenuFontColor));
    update();
}

void TkavDBGrid::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

void TkavDBGrid::setFocusedColor(TColor color)
{
    m_focusedColor = color;
    viewport()->update();
}

void TkavDBGrid::setSelectedColor(TColor color)
{
    m_selectedColor = color;
    viewport()->update();
}

TColor TkavDBGrid::FontColor() const
{
    return Kav::KavPaletteColor(this, QPalette::Text);
}

void TkavDBGrid::setFontColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Text, color);
}

TColor TkavDBGrid::BGColor() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavDBGrid::setBGColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
}

TColor TkavDBGrid::TitleFontColor() const
{
    return Kav::KavPaletteColor(horizontalHeader(), QPalette::ButtonText);
}

void TkavDBGrid::setTitleFontColor(TColor color)
{
    Kav::KavSetPaletteColor(horizontalHeader(), QPalette::ButtonText, color);
}

TColor TkavDBGrid::FixedBGColor() const
{
    return Kav::KavPaletteColor(horizontalHeader(), QPalette::Button);
}

void TkavDBGrid::setFixedBGColor(TColor color)
{
    Kav::KavSetPaletteColor(horizontalHeader(), QPalette::Button, color);
}

void TkavDBGrid::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    followDataSet();
}

void TkavDBGrid::setReadOnly(bool readOnly)
{
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
}

void TkavDBGrid::followDataSet()
{
    TkavDataSet *set = dataSet();
    QAbstractItemModel *records = set ? set->model() : nullptr;
    if (model() != records)
        setModel(records);
    selectCurrentRecord();
}

void TkavDBGrid::selectCurrentRecord()
{
    const TkavDataSet *set = dataSet();
    const QAbstractItemModel *records = model();
    if (!set || !records || !selectionModel())
        return;
    const int row = set->RecNo();
    // An editor whose record was posted, cancelled or left has nothing more to hand over.
    if (editorOpen() && (!set->Editing() || m_editorIndex.row() != row))
        closeOpenEditor();
    const bool wasFollowing = m_following;
    m_following = true;
    if (row < 0 || row >= records->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        // One selected row (the selection behaviour), its cell in the current column focused.
        setCurrentIndex(records->index(row, column));
    }
    m_following = wasFollowing;
}

void TkavDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // Qt hands the open editor's value over first; a refused one keeps its editor open.
    QTableView::currentChanged(current, previous);
    TkavDataSet *set = dataSet();
    if (m_following || !set || !current.isValid() || current.row() == set->RecNo())
        return;
    QPointer<TkavDBGrid> guard(this);
    const auto backToTheRecord = [guard] {
        if (guard)
            guard->selectCurrentRecord();
    };
    // The row goes back to the data set's record once Qt has finished moving the current cell.
    if (editorOpen() && m_editorIndex.row() != current.row()) {
        QMetaObject::invokeMethod(this, backToTheRecord, Qt::QueuedConnection);
        return;
    }
    if (set->setRecNo(current.row()))
        return;
    // The record being edited could not be posted: the user learns why.
    QMetaObject::invokeMethod(this, backToTheRecord, Qt::QueuedConnection);
    reportLater();
}

bool TkavDBGrid::startCellEdit(const QModelIndex &index)
{
    TkavDataSet *set = dataSet();
    if (!set || !index.isValid())
        return false;
    if (index.row() != set->RecNo() && !set->setRecNo(index.row())) {
        reportLater();
        return false;
    }
    const bool wasEditing = set->Editing();
    if (!wasEditing) {
        // Without AutoEdit, typing does not start an edit: the key is refused, as in the edits.
        if (!DataSource()->AutoEdit()) {
            Kav::KavMessageBeep(this);
            return false;
        }
        if (!set->Edit()) {
            reportLater();
            return false;
        }
    }
    m_editorStartedEdit = !wasEditing;
    return true;
}

void TkavDBGrid::editorOpened(QWidget *editor, const QModelIndex &index)
{
    m_editor = editor;
    m_editorIndex = index;
}

void TkavDBGrid::cellRefused()
{
    m_cellRefused = true;
    if (!m_committingForPost)
        reportLater();
}

void TkavDBGrid::reportLater()
{
    const TkavDataSet *set = dataSet();
    if (m_reportQueued || !set)
        return;
    m_reportQueued = true;
    const QString message = set->LastError();
    const QString detail = set->LastErrorDetail();
    QPointer<TkavDBGrid> guard(this);
    QMetaObject::invokeMethod(
        this,
        [guard, message, detail] {
            if (!guard)
                return;
            guard->m_reportQueued = false;
            Kav::KavErrorBox(guard, message, detail);
            if (guard && guard->editorOpen())
                guard->m_editor->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void TkavDBGrid::commitData(QWidget *editor)
{
    m_cellRefused = false;
    QTableView::commitData(editor);
}

void TkavDBGrid::commitOpenEditor()
{
    if (!editorOpen())
        return;
    m_committingForPost = true;
    commitData(m_editor);
    m_committingForPost = false;
}

void TkavDBGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool revert = hint == QAbstractItemDelegate::RevertModelCache;
    if (!revert && m_cellRefused && editor == m_editor) {
        // Refused: the editor stays open with what was typed, and takes the focus back.
        m_cellRefused = false;
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool startedEdit = editor == m_editor && m_editorStartedEdit;
    if (editor == m_editor) {
        m_editor = nullptr;
        m_editorStartedEdit = false;
    }
    QTableView::closeEditor(editor, hint);
    // Escape on an editor that started the edit, with nothing handed over: the edit is dropped.
    TkavDataSet *set = dataSet();
    if (revert && startedEdit && set && set->State() == TkavDataSet::dsEdit && !set->Modified())
        set->Cancel();
}

void TkavDBGrid::reset()
{
    // Qt lets go of every editor when the records are read afresh.
    m_editor = nullptr;
    m_editorStartedEdit = false;
    m_cellRefused = false;
    QTableView::reset();
}

void TkavDBGrid::closeOpenEditor()
{
    QWidget *editor = m_editor;
    m_editor = nullptr;
    m_editorStartedEdit = false;
    m_cellRefused = false;
    if (editor)
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TkavDBGrid::focusHeldElsewhere() const
{
    // The press gave the grid the focus before it arrived here, unless a control being left
    // (a data-aware control beside the grid, or the grid's own cell editor) took it back.
    const QWidget *focus = window()->focusWidget();
    return (focusPolicy() & Qt::ClickFocus) && focus && focus != this;
}

void TkavDBGrid::mousePressEvent(QMouseEvent *event)
{
    m_pressRefused = focusHeldElsewhere();
    if (m_pressRefused) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TkavDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressRefused) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TkavDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (std::exchange(m_pressRefused, false)) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void TkavDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_pressRefused = focusHeldElsewhere();
    if (m_pressRefused) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void TkavDBGrid::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const bool wasFollowing = m_following;
    m_following = true;
    QTableView::rowsAboutToBeRemoved(parent, start, end);
    m_following = wasFollowing;
}

bool TkavDBGrid::event(QEvent *event)
{
    const bool handled = QTableView::event(event);
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        DrawControlBorder(this, painter, m_borderColor, BGColor(), false);
    }
    return handled;
}
