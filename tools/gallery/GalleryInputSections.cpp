#include "GalleryInputSections.h"

#include "KAVComboBox.h"
#include "KAVEdit.h"
#include "KAVGroupBox.h"
#include "KAVCheckBox.h"
#include "KAVButton.h"
#include "KAVMemo.h"
#include "KAVPageControl.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVSpinEdit.h"
#include "KAVTabControl.h"
#include "KAVToolBar.h"
#include "KAVTrackBar.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

namespace GallerySections {
namespace {

TkavTrackBar *trackBar(QWidget *parent, KavOrientation::TkavProgressBarOrientation orientation, bool ticks,
                       int position, bool enabled = true)
{
    auto *bar = new TkavTrackBar(parent);
    bar->setOrientation(orientation);
    bar->setMin(0);
    bar->setMax(10);
    bar->setPosition(position);
    bar->setShowTick(ticks);
    bar->setEnabled(enabled);
    const bool horizontal = orientation == KavOrientation::kavHorizontal;
    bar->setFixedSize(horizontal ? QSize(150, 34) : QSize(34, 110));
    // No label stands beside the samples: each is named for screen readers by what it shows.
    bar->setAccessibleName(QStringLiteral("%1%2 track bar%3")
                               .arg(enabled ? QString() : QStringLiteral("Disabled "),
                                    enabled ? (horizontal ? QStringLiteral("Horizontal") : QStringLiteral("Vertical"))
                                            : (horizontal ? QStringLiteral("horizontal") : QStringLiteral("vertical")),
                                    ticks ? QStringLiteral(" with ticks") : QString()));
    return bar;
}

TkavScrollBar *scrollBar(QWidget *parent, KavOrientation::TkavProgressBarOrientation orientation, int position,
                         bool enabled = true)
{
    auto *bar = new TkavScrollBar(parent);
    bar->setOrientation(orientation);
    bar->setRange(0, 100);
    // The slider is PageSize percent of the track: on the short vertical samples 40 keeps it as
    // long as its two ends in every look.
    bar->setPageSize(orientation == KavOrientation::kavHorizontal ? 20 : 40);
    bar->setPosition(position);
    bar->setEnabled(enabled);
    const bool horizontal = orientation == KavOrientation::kavHorizontal;
    if (horizontal)
        bar->setFixedWidth(150);
    else
        bar->setFixedHeight(110);
    bar->setAccessibleName(QStringLiteral("%1%2 scroll bar")
                               .arg(enabled ? QString() : QStringLiteral("Disabled "),
                                    enabled ? (horizontal ? QStringLiteral("Horizontal") : QStringLiteral("Vertical"))
                                            : (horizontal ? QStringLiteral("horizontal") : QStringLiteral("vertical"))));
    return bar;
}

const QStringList Notes = {
    QStringLiteral("A memo with skinned scroll bars attached."),
    QStringLiteral("Type, paste or scroll: the bars follow the text."),
    QStringLiteral("Line 3"), QStringLiteral("Line 4"), QStringLiteral("Line 5"), QStringLiteral("Line 6"),
    QStringLiteral("Line 7"), QStringLiteral("Line 8"), QStringLiteral("Line 9"), QStringLiteral("Line 10"),
};

constexpr QSize EditSize(112, 23);

// A label that names the control beside it, for screen readers too, and whose accelerator
// focuses it.
QLabel *buddyLabel(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

template <typename Edit>
Edit *edit(QWidget *parent, const QString &text, bool enabled = true, bool readOnly = false)
{
    auto *result = new Edit(parent);
    result->setText(text);
    result->setEnabled(enabled);
    result->setReadOnly(readOnly);
    result->setFixedSize(EditSize);
    return result;
}

} // namespace

QWidget *edits(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Edits"), &grid);
    auto *normal = edit<TkavEdit>(box, QStringLiteral("Normal"));
    grid->addWidget(buddyLabel(box, QStringLiteral("&Edit"), normal), 0, 0);
    grid->addWidget(normal, 0, 1);
    // The two below share the label of the first; screen readers hear names of their own.
    auto *readOnly = edit<TkavEdit>(box, QStringLiteral("Read only"), true, true);
    readOnly->setAccessibleName(QStringLiteral("Read-only edit"));
    grid->addWidget(readOnly, 1, 1);
    auto *disabled = edit<TkavEdit>(box, QStringLiteral("Disabled"), false);
    disabled->setAccessibleName(QStringLiteral("Disabled edit"));
    grid->addWidget(disabled, 2, 1);

    auto *masked = new TkavMaskEdit(box);
    masked->setEditMask(QStringLiteral("!99:99;1;_"));
    masked->setText(QStringLiteral("1230"));
    masked->setFixedSize(EditSize);
    grid->addWidget(buddyLabel(box, QStringLiteral("&Mask"), masked), 0, 2);
    grid->addWidget(masked, 0, 3);
    auto *number = new TkavNumberEdit(box);
    number->setMask(QStringLiteral("#,##0.00"));
    number->setValue(1234.5);
    number->setFixedSize(EditSize);
    grid->addWidget(buddyLabel(box, QStringLiteral("&Number"), number), 1, 2);
    grid->addWidget(number, 1, 3);
    auto *spin = new TKavSpinEdit(box);
    spin->setMinValue(0);
    spin->setMaxValue(100);
    spin->setValue(42);
    spin->setFixedSize(EditSize);
    grid->addWidget(buddyLabel(box, QStringLiteral("S&pin"), spin), 2, 2);
    grid->addWidget(spin, 2, 3);
    return box;
}

QWidget *comboBoxes(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Combo boxes"), &grid);
    const QStringList times = {QStringLiteral("5 minutes"), QStringLiteral("10 minutes"), QStringLiteral("No limit")};
    auto *editable = new TkavComboBox(box);
    editable->setItems(times);
    editable->setCurrentIndex(0);
    editable->setFixedSize(EditSize);
    editable->setAccessibleName(QStringLiteral("Time limit"));
    grid->addWidget(editable, 0, 0);
    auto *choosing = new TkavComboBox(box);
    choosing->setStyle(TkavComboBox::csDropDownList);
    choosing->setItems(times);
    choosing->setCurrentIndex(1);
    choosing->setFixedSize(EditSize);
    choosing->setAccessibleName(QStringLiteral("Time limit, chosen from the list"));
    grid->addWidget(choosing, 1, 0);
    auto *disabled = new TkavComboBox(box);
    disabled->setItems(times);
    disabled->setCurrentIndex(2);
    disabled->setEnabled(false);
    disabled->setFixedSize(EditSize);
    disabled->setAccessibleName(QStringLiteral("Disabled time limit"));
    grid->addWidget(disabled, 2, 0);
    auto *drives = new TkavDriveComboBox(box);
    drives->setFixedSize(EditSize);
    drives->setAccessibleName(QStringLiteral("Drive"));
    grid->addWidget(drives, 3, 0);
    return box;
}

QWidget *trackBars(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Track bars"), &grid);
    grid->addWidget(trackBar(box, KavOrientation::kavHorizontal, true, 3), 0, 0);
    grid->addWidget(trackBar(box, KavOrientation::kavHorizontal, false, 7), 1, 0);
    grid->addWidget(trackBar(box, KavOrientation::kavHorizontal, true, 5, false), 2, 0);
    grid->addWidget(trackBar(box, KavOrientation::kavVertical, true, 4), 0, 1, 3, 1);
    grid->addWidget(trackBar(box, KavOrientation::kavVertical, false, 8, false), 0, 2, 3, 1);
    return box;
}

QWidget *scrollBars(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Scroll bars"), &grid);
    grid->addWidget(scrollBar(box, KavOrientation::kavHorizontal, 0), 0, 0);
    grid->addWidget(scrollBar(box, KavOrientation::kavHorizontal, 60), 1, 0);
    grid->addWidget(scrollBar(box, KavOrientation::kavHorizontal, 30, false), 2, 0);
    grid->setRowStretch(3, 1);
    grid->addWidget(scrollBar(box, KavOrientation::kavVertical, 40), 0, 1, 4, 1);
    grid->addWidget(scrollBar(box, KavOrientation::kavVertical, 80, false), 0, 2, 4, 1);
    return box;
}

QWidget *progressBars(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Progress bars"), &grid);
    int row = 0;
    for (int position : {0, 35, 100}) {
        auto *bar = new TkavProgressBar(box);
        bar->setMin(0);
        bar->setMax(100);
        bar->setPosition(position);
        bar->setFixedWidth(150);
        bar->setAccessibleName(QStringLiteral("Progress bar %1").arg(row + 1));
        grid->addWidget(bar, row++, 0);
    }
    auto *vertical = new TkavProgressBar(box);
    vertical->setOrientation(KavOrientation::kavVertical);
    vertical->setMin(0);
    vertical->setMax(100);
    vertical->setPosition(60);
    vertical->setFixedHeight(70);
    vertical->setAccessibleName(QStringLiteral("Vertical progress bar"));
    grid->addWidget(vertical, 0, 1, 3, 1);
    grid->setRowStretch(row, 1);
    return box;
}

QWidget *toolBar(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Tool bar"), &grid);
    auto *bar = new TkavToolBar(box);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QStringList names = {QStringLiteral("Normal"), QStringLiteral("Hot"), QStringLiteral("Pressed"),
                               QStringLiteral("Checked")};
    QList<QToolButton *> buttons;
    for (const QString &name : names) {
        QAction *action = bar->addAction(name);
        action->setCheckable(name == QLatin1String("Checked"));
        action->setChecked(action->isCheckable());
        buttons << qobject_cast<QToolButton *>(bar->widgetForAction(action));
    }
    auto *menu = new QMenu(bar);
    menu->addAction(QStringLiteral("First"));
    menu->addAction(QStringLiteral("Second"));
    QAction *dropDown = bar->addAction(QStringLiteral("Drop-down"));
    dropDown->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(dropDown)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    // The gallery holds the hot and pressed states still, as a pointer would show them.
    if (buttons.value(1))
        buttons[1]->setAttribute(Qt::WA_UnderMouse);
    if (buttons.value(2)) {
        // Pressed is held down under the pointer: down alone is how a checked-style button shows.
        buttons[2]->setAttribute(Qt::WA_UnderMouse);
        buttons[2]->setDown(true);
    }
    grid->addWidget(bar, 0, 0);
    return box;
}

QWidget *tabControl(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Tab control"), &grid);
    auto *tabs = new TkavTabControl(box);
    QStringList captions;
    for (int i = 1; i <= 12; ++i)
        captions << QStringLiteral("Tab %1").arg(i);
    tabs->setTabs(captions);
    tabs->setTabIndex(2);
    tabs->setFixedSize(400, 90);
    auto *note = new QLabel(QStringLiteral("More tabs than fit: the arrows scroll the strip."), tabs);
    note->move(12, 40);
    grid->addWidget(tabs, 0, 0);
    return box;
}

QWidget *pageControl(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Page control"), &grid);
    auto *pages = new TkavPageControl(box);
    pages->setFixedSize(400, 120);
    TkavTabSheet *first = nullptr;
    for (const QString &caption : {QStringLiteral("Settings"), QStringLiteral("Questions"), QStringLiteral("Report")}) {
        auto *sheet = new TkavTabSheet(pages);
        sheet->setCaption(caption);
        if (!first)
            first = sheet;
    }
    auto *check = new TkavCheckBox(first);
    check->setCaption(QStringLiteral("A check box on a page"));
    check->setChecked(true);
    check->move(12, 12);
    auto *button = new TkavButton(first);
    button->setCaption(QStringLiteral("Button"));
    button->setGeometry(12, 44, 80, 27);
    auto *edit = new TkavEdit(first);
    edit->setText(QStringLiteral("An edit"));
    edit->setGeometry(110, 46, 120, 23);
    edit->setAccessibleName(QStringLiteral("An edit on a page"));
    pages->setActivePage(first);
    grid->addWidget(pages, 0, 0);
    return box;
}

QWidget *memos(QWidget *parent)
{
    QGridLayout *grid = nullptr;
    TkavGroupBox *box = section(parent, QStringLiteral("Memos"), &grid);

    // The attached bars lie on the memo's parent, along its edges; a holder of fixed size keeps
    // them with the memo.
    auto *holder = new QWidget(box);
    holder->setFixedSize(220, 110);
    auto *memo = new TkavMemo(holder);
    memo->setGeometry(0, 0, 220, 110);
    memo->setWordWrap(false);
    memo->setLines(Notes);
    memo->setAccessibleName(QStringLiteral("Memo with skinned scroll bars"));
    auto *vertical = new TkavScrollBar(holder);
    vertical->setOrientation(KavOrientation::kavVertical);
    auto *horizontal = new TkavScrollBar(holder);
    horizontal->setOrientation(KavOrientation::kavHorizontal);
    vertical->setAccessibleName(QStringLiteral("Memo's vertical scroll bar"));
    horizontal->setAccessibleName(QStringLiteral("Memo's horizontal scroll bar"));
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    grid->addWidget(holder, 0, 0);

    auto *readOnly = new TkavMemo(box);
    readOnly->setFixedSize(170, 110);
    readOnly->setReadOnly(true);
    readOnly->setScrollBars(TkavMemo::ssVertical);
    readOnly->setAccessibleName(QStringLiteral("Read-only memo"));
    readOnly->verticalScrollBar()->setAccessibleName(QStringLiteral("Read-only memo's scroll bar"));
    readOnly->setLines({QStringLiteral("Read only, with Qt's own"), QStringLiteral("vertical scroll bar."),
                        QStringLiteral("Line 3"), QStringLiteral("Line 4"), QStringLiteral("Line 5"),
                        QStringLiteral("Line 6"), QStringLiteral("Line 7"), QStringLiteral("Line 8")});
    grid->addWidget(readOnly, 0, 1);
    return box;
}

} // namespace GallerySections
