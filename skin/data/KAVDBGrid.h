#pragma once

#include "KAVColor.h"
#include "KAVDataSet.h"
#include "KAVLook.h"
#include "KAVThemes.h"

#include <QColor>
#include <QHeaderView>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace Kav {

// The colours one data cell is drawn in.
struct GridCellColors {
    QColor fill;
    QColor text;
};
// A selected cell is filled with selectedColor, the focused (current) cell with focusedColor, also
// when it is selected too, any other with color. The text of a plain cell is fontColor; on the
// two marking colours, which the look does not pair with a text colour, it is black or white,
// whichever stands out more from the fill.
GridCellColors KavGridCellColors(bool selected, bool focused, const QColor &selectedColor,
                                 const QColor &focusedColor, const QColor &color, const QColor &fontColor);
// Black on a light fill, white on a dark one.
QColor KavReadableTextOn(const QColor &fill);

// Draws the grid's data cells by KavGridCellColors instead of the style's highlight, and edits
// them for the grid: an editor opens only once the grid has put the data set into edit mode, an
// editor closed unchanged writes nothing, and a value the data set refuses is told to the grid.
class TkavGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    QByteArray valueProperty(const QWidget *editor, const QModelIndex &index) const;
};

// The grid's title row (the fixed cells): each title on the palette's Button colour in its
// ButtonText colour, with a one-pixel line in Mid on its right and bottom edge.
class TkavGridHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit TkavGridHeader(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

// The grid's end of the connection to its data source: what it needs to follow the data set.
class TkavGridDataLink : public TkavDataLink {
public:
    std::function<void()> OnDataSetChange;
    std::function<void()> OnScrolled;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override { call(OnDataSetChange); }
    void DataSetChanged() override { call(OnDataSetChange); }
    void DataSetScrolled() override { call(OnScrolled); }
    void UpdateData() override { call(OnUpdateData); }

private:
    static void call(const std::function<void()> &callback)
    {
        if (callback)
            callback();
    }
};

} // namespace Kav

// A table of the records of DataSource's data set (its model()), one row per record, with the
// skin's one-pixel border in BorderColor. The current row and the data set's current record follow
// each other: choosing a row moves the data set there (a move the data set refuses, because the
// record being edited cannot be posted, shows why and keeps the row), and the data set moving
// selects its row.
//
// Opening a cell's editor puts the data set into edit mode on that record; the editor's value is
// handed to the field when the editor closes, or when the data set posts. A value the field
// refuses is told once and stays in the editor, which keeps the focus; Escape drops it. A click
// on another row while a control (a cell editor, or a data-aware control beside the grid) keeps
// the focus for a refused value does nothing.
//
// FocusedColor (green by default) fills the current cell, SelectedColor (yellow by default) the
// other cells of the current row; see Kav::KavGridCellColors for text colours. FontColor and
// BGColor (also Color) are the grid's palette Text and Base; TitleFontColor and FixedBGColor the
// title row's palette ButtonText and Button: they are kept only there. A look change sets
// BorderColor, FixedBGColor, BGColor, TitleFontColor and FontColor from the look; a destroyed file
// theme turns the grid DeepBlue.
class TkavDBGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor FocusedColor READ FocusedColor WRITE setFocusedColor)
    Q_PROPERTY(QColor SelectedColor READ SelectedColor WRITE setSelectedColor)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
    Q_PROPERTY(QColor TitleFontColor READ TitleFontColor WRITE setTitleFontColor)
    Q_PROPERTY(QColor FixedBGColor READ FixedBGColor WRITE setFixedBGColor)
    Q_PROPERTY(QColor BGColor READ BGColor WRITE setBGColor)
    Q_PROPERTY(QColor Color READ BGColor WRITE setBGColor)
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)

public:
    static constexpr TColor DefaultFocusedColor = TColor(0x008000);
    static constexpr TColor DefaultSelectedColor = TColor(0x00FFFF);

    explicit TkavDBGrid(QWidget *parent = nullptr);
    ~TkavDBGrid() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    TColor FocusedColor() const { return m_focusedColor; }
    void setFocusedColor(TColor color);
    void setFocusedColor(const QColor &color) { setFocusedColor(TColor::fromQColor(color)); }
    TColor SelectedColor() const { return m_selectedColor; }
    void setSelectedColor(TColor color);
    void setSelectedColor(const QColor &color) { setSelectedColor(TColor::fromQColor(color)); }

    TColor FontColor() const;
    void setFontColor(TColor color);
    void setFontColor(const QColor &color) { setFontColor(TColor::fromQColor(color)); }
    TColor TitleFontColor() const;
    void setTitleFontColor(TColor color);
    void setTitleFontColor(const QColor &color) { setTitleFontColor(TColor::fromQColor(color)); }
    TColor FixedBGColor() const;
    void setFixedBGColor(TColor color);
    void setFixedBGColor(const QColor &color) { setFixedBGColor(TColor::fromQColor(color)); }
    TColor BGColor() const;
    void setBGColor(TColor color);
    void setBGColor(const QColor &color) { setBGColor(TColor::fromQColor(color)); }

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    void reset() override;
    // Cells cannot be edited (the data set can still be, elsewhere).
    bool ReadOnly() const { return editTriggers() == QAbstractItemView::NoEditTriggers; }
    void setReadOnly(bool readOnly);

protected:
    bool event(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Qt moves the current cell off rows that go away (a cancelled insert, a deleted record): the
    // data set has already chosen its record then, which the grid selects afterwards.
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    friend class Kav::TkavGridCellDelegate;

    TkavDataSet *dataSet() const { return m_link.Active() ? m_link.DataSet() : nullptr; }
    void applyLook(const KavThemeValues &values);
    void followDataSet();
    void selectCurrentRecord();
    // The delegate's questions and news: whether an editor may open on index (the data set is
    // moved there and into edit mode), the editor it opened, and a value the field refused.
    bool startCellEdit(const QModelIndex &index);
    void editorOpened(QWidget *editor, const QModelIndex &index);
    void cellRefused();
    // Tells the user once, after the event at hand, what the data set refused.
    void reportLater();
    // The data set is about to post: the open editor hands over its value.
    void commitOpenEditor();
    void closeOpenEditor();
    // An editor is open on a cell still shown (the row of a removed record takes its editor along).
    bool editorOpen() const { return m_editor && m_editorIndex.isValid(); }
    // Whether a mouse press finds the focus held elsewhere: a control being left kept it for a
    // value that was refused.
    bool focusHeldElsewhere() const;

    TkavLook m_look;
    TColor m_borderColor;
    TColor m_focusedColor = DefaultFocusedColor;
    TColor m_selectedColor = DefaultSelectedColor;
    Kav::TkavGridDataLink m_link;
    // Set while the grid selects the data set's record, or Qt moves the current cell for rows
    // going away: neither is a choice of the user's.
    bool m_following = false;
    QPointer<QWidget> m_editor;
    QPersistentModelIndex m_editorIndex;
    // The open editor put the data set into edit mode (Escape then leaves it again).
    bool m_editorStartedEdit = false;
    // The value of the last commit was refused.
    bool m_cellRefused = false;
    // The data set is posting: it tells the user itself.
    bool m_committingForPost = false;
    bool m_reportQueued = false;
    // A press refused because the focus was held elsewhere: its move and release do nothing either.
    bool m_pressRefused = false;
};
