#include "GalleryInputSections.h"

#include "KAVGroupBox.h"
#include "KAVMemo.h"
#include "KAVScrollBar.h"
#include "KAVTrackBar.h"

#include <QGridLayout>
#include <QLabel>

namespace GallerySections {
namespace {

constexpr int Gap = 6;

TkavGroupBox *section(QWidget *parent, const QString &caption, QGridLayout **grid)
{
    auto *box = new TkavGroupBox(parent);
    box->setCaption(caption);
    *grid = new QGridLayout(box);
    (*grid)->setContentsMargins(8, 6, 8, 8);
    (*grid)->setHorizontalSpacing(Gap);
    (*grid)->setVerticalSpacing(Gap);
    return box;
}

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
    return bar;
}

TkavScrollBar *scrollBar(QWidget *parent, KavOrientation::TkavProgressBarOrientation orientation, int position,
                         bool enabled = true)
{
    auto *bar = new TkavScrollBar(parent);
    bar->setOrientation(orientation);
    bar->setRange(0, 100);
    bar->setPageSize(20);
    bar->setPosition(position);
    bar->setEnabled(enabled);
    const bool horizontal = orientation == KavOrientation::kavHorizontal;
    if (horizontal)
        bar->setFixedWidth(150);
    else
        bar->setFixedHeight(110);
    return bar;
}

const QStringList Notes = {
    QStringLiteral("A memo with skinned scroll bars attached."),
    QStringLiteral("Type, paste or scroll: the bars follow the text."),
    QStringLiteral("Line 3"), QStringLiteral("Line 4"), QStringLiteral("Line 5"), QStringLiteral("Line 6"),
    QStringLiteral("Line 7"), QStringLiteral("Line 8"), QStringLiteral("Line 9"), QStringLiteral("Line 10"),
};

} // namespace

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
    auto *vertical = new TkavScrollBar(holder);
    vertical->setOrientation(KavOrientation::kavVertical);
    auto *horizontal = new TkavScrollBar(holder);
    horizontal->setOrientation(KavOrientation::kavHorizontal);
    memo->setVScrollBar(vertical);
    memo->setHScrollBar(horizontal);
    grid->addWidget(holder, 0, 0);

    auto *readOnly = new TkavMemo(box);
    readOnly->setFixedSize(170, 110);
    readOnly->setReadOnly(true);
    readOnly->setScrollBars(TkavMemo::ssVertical);
    readOnly->setLines({QStringLiteral("Read only, with Qt's own"), QStringLiteral("vertical scroll bar."),
                        QStringLiteral("Line 3"), QStringLiteral("Line 4"), QStringLiteral("Line 5"),
                        QStringLiteral("Line 6"), QStringLiteral("Line 7"), QStringLiteral("Line 8")});
    grid->addWidget(readOnly, 0, 1);
    return box;
}

} // namespace GallerySections
