#include "KAVDBGrid.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

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
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavDBGrid::~TkavDBGrid()
{
    // The link must not call back into a grid that is being taken apart.
    m_link.OnDataSetChange = nullptr;
    m_link.OnScrolled = nullptr;
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
    TkavDataSet *dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    QAbstractItemModel *records = dataSet ? dataSet->model() : nullptr;
    if (model() != records)
        setModel(records);
    selectCurrentRecord();
}

void TkavDBGrid::selectCurrentRecord()
{
    const TkavDataSet *dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    const QAbstractItemModel *records = model();
    if (!dataSet || !records || !selectionModel())
        return;
    const int row = dataSet->RecNo();
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
    QTableView::currentChanged(current, previous);
    TkavDataSet *dataSet = m_link.Active() ? m_link.DataSet() : nullptr;
    if (m_following || !dataSet || !current.isValid() || current.row() == dataSet->RecNo())
        return;
    if (dataSet->setRecNo(current.row()))
        return;
    // The record being edited could not be posted: the row goes back to it once Qt has finished
    // moving the current cell, and the user learns why.
    QPointer<TkavDBGrid> guard(this);
    QMetaObject::invokeMethod(
        this,
        [guard] {
            if (guard)
                guard->selectCurrentRecord();
        },
        Qt::QueuedConnection);
    Kav::KavShowDataError(this, dataSet);
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
