#pragma once

#include "KAVColor.h"
#include "KAVDataSet.h"
#include "KAVLook.h"
#include "KAVThemes.h"

#include <QColor>
#include <QHeaderView>
#include <QMetaObject>
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

// Draws the grid's data cells by KavGridCellColors instead of the style's highlight.
class TkavGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
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

protected:
    void ActiveChanged() override { call(OnDataSetChange); }
    void DataSetChanged() override { call(OnDataSetChange); }
    void DataSetScrolled() override { call(OnScrolled); }

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
// selects its row. Editing a cell edits the record through the data set.
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
    // Cells cannot be edited (the data set can still be, elsewhere).
    bool ReadOnly() const { return editTriggers() == QAbstractItemView::NoEditTriggers; }
    void setReadOnly(bool readOnly);

protected:
    bool event(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    // Qt moves the current cell off rows that go away (a cancelled insert, a deleted record): the
    // data set has already chosen its record then, which the grid selects afterwards.
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    void applyLook(const KavThemeValues &values);
    void followDataSet();
    void selectCurrentRecord();

    TkavLook m_look;
    TColor m_borderColor;
    TColor m_focusedColor = DefaultFocusedColor;
    TColor m_selectedColor = DefaultSelectedColor;
    Kav::TkavGridDataLink m_link;
    // Set while the grid selects the data set's record, or Qt moves the current cell for rows
    // going away: neither is a choice of the user's.
    bool m_following = false;
};
