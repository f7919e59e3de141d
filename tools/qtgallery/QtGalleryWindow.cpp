#include "QtGalleryWindow.h"

#include "KAVApplicationLook.h"
#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVComboBox.h"
#include "KAVEdit.h"
#include "KAVForm.h"
#include "KAVGroupBox.h"
#include "KAVMainMenu.h"
#include "KAVMemo.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVSpinEdit.h"
#include "KAVTabControl.h"
#include "KAVToolBar.h"
#include "KAVTrackBar.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int Margin = 10;
constexpr QSize FieldSize(120, 23);

const QList<TkavUIStyle> &looks()
{
    static const QList<TkavUIStyle> all{TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                        TkavUIStyle::Protein, TkavUIStyle::BlueGlass};
    return all;
}

QString lookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}

// A row of widgets, left to right, with no margins of its own.
QWidget *row(QWidget *parent, std::initializer_list<QWidget *> widgets, int spacing = 8)
{
    auto *holder = new QWidget(parent);
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget *widget : widgets) {
        widget->setParent(holder);
        layout->addWidget(widget, 0, Qt::AlignVCenter);
    }
    layout->addStretch(1);
    return holder;
}

const QStringList &noteLines()
{
    static const QStringList lines = {QStringLiteral("The same text in both columns."),
                                      QStringLiteral("Scroll it: the bars are the look's."),
                                      QStringLiteral("Line 3"), QStringLiteral("Line 4"), QStringLiteral("Line 5"),
                                      QStringLiteral("Line 6"), QStringLiteral("Line 7"), QStringLiteral("Line 8")};
    return lines;
}

const QStringList &times()
{
    static const QStringList items = {QStringLiteral("5 minutes"), QStringLiteral("10 minutes"),
                                      QStringLiteral("No limit")};
    return items;
}

// --- Qt's widgets -----------------------------------------------------------------------------

QPushButton *qtButton(const QString &caption, bool enabled = true)
{
    auto *button = new QPushButton(caption);
    button->setEnabled(enabled);
    return button;
}

QCheckBox *qtCheck(const QString &caption, bool checked, bool enabled = true)
{
    auto *box = new QCheckBox(caption);
    box->setChecked(checked);
    box->setEnabled(enabled);
    return box;
}

QRadioButton *qtRadio(const QString &caption, bool checked, bool enabled = true)
{
    auto *button = new QRadioButton(caption);
    button->setChecked(checked);
    button->setEnabled(enabled);
    return button;
}

QWidget *qtGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Settings"));
    group->setFixedSize(200, 62);
    auto *inside = new QVBoxLayout(group);
    inside->addWidget(new QCheckBox(QStringLiteral("Inside a group")));
    return group;
}

QScrollBar *qtScrollBar(Qt::Orientation orientation)
{
    auto *bar = new QScrollBar(orientation);
    bar->setRange(0, 100);
    bar->setPageStep(25);
    bar->setValue(30);
    if (orientation == Qt::Horizontal)
        bar->setFixedWidth(150);
    else
        bar->setFixedHeight(70);
    return bar;
}

QSlider *qtSlider()
{
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, 10);
    slider->setValue(4);
    slider->setPageStep(2);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setFixedWidth(150);
    return slider;
}

QProgressBar *qtProgress(int value)
{
    auto *bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(value);
    bar->setFixedWidth(150);
    return bar;
}

QWidget *qtTabs()
{
    auto *tabs = new QTabWidget;
    for (const QString &name : {QStringLiteral("General"), QStringLiteral("Colours"), QStringLiteral("Advanced")}) {
        auto *page = new QWidget;
        auto *inside = new QVBoxLayout(page);
        inside->addWidget(new QLabel(QStringLiteral("The \"%1\" page").arg(name)));
        tabs->addTab(page, name);
    }
    tabs->setFixedSize(260, 78);
    return tabs;
}

template <typename Bar>
void addToolActions(Bar *bar)
{
    for (const QString &name : {QStringLiteral("Open"), QStringLiteral("Save"), QStringLiteral("Bold")}) {
        QAction *action = bar->addAction(name);
        action->setCheckable(name == QLatin1String("Bold"));
        action->setChecked(action->isCheckable());
    }
}

QWidget *qtToolBar()
{
    auto *bar = new QToolBar;
    addToolActions(bar);
    return bar;
}

QWidget *qtText()
{
    auto *text = new QPlainTextEdit;
    text->setPlainText(noteLines().join(QLatin1Char('\n')));
    text->setFixedSize(260, 70);
    return text;
}

QWidget *qtMenuBar()
{
    auto *bar = new QMenuBar;
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, [] {});
    file->addAction(QStringLiteral("&Open…"), QKeySequence::Open, [] {});
    file->addSeparator();
    QAction *checked = file->addAction(QStringLiteral("&Autosave"));
    checked->setCheckable(true);
    checked->setChecked(true);
    bar->addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("&Copy"), QKeySequence::Copy, [] {});
    bar->addMenu(QStringLiteral("&Help"));
    bar->setFixedWidth(260);
    return bar;
}

QWidget *qtTable()
{
    auto *table = new QTableWidget(3, 2);
    table->setHorizontalHeaderLabels({QStringLiteral("Pupil"), QStringLiteral("Score")});
    const char *const pupils[] = {"Anna", "Ben", "Chen"};
    for (int r = 0; r < 3; ++r) {
        table->setItem(r, 0, new QTableWidgetItem(QString::fromLatin1(pupils[r])));
        table->setItem(r, 1, new QTableWidgetItem(QString::number(80 + 5 * r)));
    }
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(0, 100);
    table->selectRow(1);
    table->setFixedSize(210, 108);
    return table;
}

QWidget *qtMdi()
{
    auto *area = new QMdiArea;
    QMdiSubWindow *child = area->addSubWindow(new QLabel(QStringLiteral("  A QMdiSubWindow")));
    child->setWindowTitle(QStringLiteral("Child"));
    child->setGeometry(8, 8, 206, 88);
    area->setFixedSize(230, 108);
    return area;
}

// --- the library's controls -------------------------------------------------------------------

TkavButton *kavButton(const QString &caption, bool enabled = true)
{
    auto *button = new TkavButton;
    button->setCaption(caption);
    button->setEnabled(enabled);
    return button;
}

TkavCheckBox *kavCheck(const QString &caption, bool checked, bool enabled = true)
{
    auto *box = new TkavCheckBox;
    box->setCaption(caption);
    box->setChecked(checked);
    box->setEnabled(enabled);
    return box;
}

TkavRadioButton *kavRadio(const QString &caption, bool checked, bool enabled = true)
{
    auto *button = new TkavRadioButton;
    button->setCaption(caption);
    button->setChecked(checked);
    button->setEnabled(enabled);
    return button;
}

QWidget *kavGroup()
{
    auto *group = new TkavGroupBox;
    group->setCaption(QStringLiteral("Settings"));
    group->setFixedSize(200, 62);
    auto *inside = new QVBoxLayout(group);
    inside->addWidget(kavCheck(QStringLiteral("Inside a group"), false));
    return group;
}

TkavScrollBar *kavScrollBar(KavOrientation::TkavProgressBarOrientation orientation)
{
    auto *bar = new TkavScrollBar;
    bar->setOrientation(orientation);
    bar->setRange(0, 100);
    bar->setPageSize(25);
    bar->setPosition(30);
    if (orientation == KavOrientation::kavHorizontal)
        bar->setFixedWidth(150);
    else
        bar->setFixedHeight(70);
    return bar;
}

QWidget *kavSlider()
{
    auto *bar = new TkavTrackBar;
    bar->setMin(0);
    bar->setMax(10);
    bar->setPosition(4);
    bar->setShowTick(true);
    bar->setFixedWidth(150);
    return bar;
}

QWidget *kavProgress(int value)
{
    auto *bar = new TkavProgressBar;
    bar->setPosition(value);
    bar->setFixedWidth(150);
    return bar;
}

QWidget *kavTabs()
{
    auto *tabs = new TkavTabControl;
    tabs->setTabs({QStringLiteral("General"), QStringLiteral("Colours"), QStringLiteral("Advanced")});
    auto *inside = new QVBoxLayout(tabs);
    inside->addWidget(new QLabel(QStringLiteral("The \"General\" page")));
    tabs->setFixedSize(260, 78);
    return tabs;
}

QWidget *kavToolBar()
{
    auto *bar = new TkavToolBar;
    addToolActions(bar);
    return bar;
}

QWidget *kavText()
{
    auto *memo = new TkavMemo;
    memo->setLines(noteLines());
    memo->setFixedSize(260, 70);
    return memo;
}

} // namespace

QtGalleryWindow::QtGalleryWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("kavskin — Qt's widgets under KavStyle beside the skinned controls"));
    resize(PageSize);
    // The one line that gives a main window the skinned frame: its menu bar, tool bar, dock,
    // central widget and status bar go on inside it.
    m_frame = new TkavForm(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    makeMenus();
    makeLookBar();
    makeLookDock();
    setCentralWidget(makePage());
    statusBar()->showMessage(QStringLiteral("Left: Qt's own widgets, drawn by KavStyle.   "
                                            "Right: the library's skinned controls."));
}

void QtGalleryWindow::makeMenus()
{
    m_lookActions = new QActionGroup(this);
    int number = 1;
    for (TkavUIStyle look : looks()) {
        QAction *action = m_lookActions->addAction(lookName(look));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + number++)));
        connect(action, &QAction::triggered, this, [this, look] { showLook(look); });
    }
    // Made on the window, the main menu becomes the skinned frame's menu bar.
    auto *menuBar = new TkavMainMenu(this);
    QMenu *lookMenu = menuBar->addMenu(QStringLiteral("&Look"));
    lookMenu->addActions(m_lookActions->actions());
    lookMenu->addSeparator();
    lookMenu->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
}

void QtGalleryWindow::makeLookBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Look"));
    bar->setObjectName(QStringLiteral("lookBar"));
    bar->addWidget(new QLabel(QStringLiteral(" Look: "), bar));
    m_chooser = new QComboBox(bar);
    for (TkavUIStyle look : looks())
        m_chooser->addItem(lookName(look), QVariant::fromValue(look));
    m_chooser->setFixedSize(FieldSize);
    connect(m_chooser, &QComboBox::activated, this,
            [this](int index) { showLook(m_chooser->itemData(index).value<TkavUIStyle>()); });
    bar->addWidget(m_chooser);
    bar->addSeparator();
    bar->addActions(m_lookActions->actions());
}

void QtGalleryWindow::makeLookDock()
{
    auto *dock = new QDockWidget(QStringLiteral("Looks"), this);
    dock->setObjectName(QStringLiteral("lookDock"));
    m_lookList = new QListWidget(dock);
    for (TkavUIStyle look : looks())
        m_lookList->addItem(lookName(look));
    connect(m_lookList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showLook(looks().value(m_lookList->row(item))); });
    connect(m_lookList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showLook(looks().value(m_lookList->row(item))); });
    m_lookList->setFixedWidth(96);
    dock->setWidget(m_lookList);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}

void QtGalleryWindow::addRow(const QString &title, QWidget *qtSide, QWidget *librarySide)
{
    const int at = m_rows->rowCount();
    auto *label = new QLabel(title, m_page);
    m_rows->addWidget(label, at, 0, Qt::AlignLeft | Qt::AlignVCenter);
    qtSide->setParent(m_page);
    m_rows->addWidget(qtSide, at, 1, Qt::AlignLeft | Qt::AlignVCenter);
    if (librarySide) {
        librarySide->setParent(m_page);
        m_rows->addWidget(librarySide, at, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

QWidget *QtGalleryWindow::makePage()
{
    m_page = new QWidget(this);
    m_rows = new QGridLayout(m_page);
    m_rows->setContentsMargins(Margin, Margin - 4, Margin, Margin - 4);
    m_rows->setHorizontalSpacing(2 * Margin);
    m_rows->setVerticalSpacing(Margin - 3);
    m_rows->setColumnStretch(1, 1);
    m_rows->setColumnStretch(2, 1);
    auto *qtHeading = new QLabel(QStringLiteral("<b>Qt widgets (KavStyle)</b>"), m_page);
    auto *kavHeading = new QLabel(QStringLiteral("<b>kavskin controls</b>"), m_page);
    m_rows->addWidget(qtHeading, 0, 1);
    m_rows->addWidget(kavHeading, 0, 2);

    QWidget *page = m_page;
    addRow(QStringLiteral("Push buttons"),
           row(page, {qtButton(QStringLiteral("OK")), qtButton(QStringLiteral("Cancel")),
                      qtButton(QStringLiteral("Disabled"), false)}),
           row(page, {kavButton(QStringLiteral("OK")), kavButton(QStringLiteral("Cancel")),
                      kavButton(QStringLiteral("Disabled"), false)}));
    addRow(QStringLiteral("Check boxes"),
           row(page, {qtCheck(QStringLiteral("Checked"), true), qtCheck(QStringLiteral("Not"), false),
                      qtCheck(QStringLiteral("Disabled"), true, false)}),
           row(page, {kavCheck(QStringLiteral("Checked"), true), kavCheck(QStringLiteral("Not"), false),
                      kavCheck(QStringLiteral("Disabled"), true, false)}));
    addRow(QStringLiteral("Radio buttons"),
           row(page, {qtRadio(QStringLiteral("First"), true), qtRadio(QStringLiteral("Second"), false),
                      qtRadio(QStringLiteral("Disabled"), false, false)}),
           row(page, {kavRadio(QStringLiteral("First"), true), kavRadio(QStringLiteral("Second"), false),
                      kavRadio(QStringLiteral("Disabled"), false, false)}));
    addRow(QStringLiteral("Group box"), qtGroup(), kavGroup());

    auto *qtEdit = new QLineEdit(QStringLiteral("Edit me"));
    qtEdit->setFixedSize(FieldSize);
    auto *qtSpin = new QSpinBox;
    qtSpin->setRange(0, 100);
    qtSpin->setValue(42);
    qtSpin->setFixedSize(80, FieldSize.height());
    auto *kavEdit = new TkavEdit;
    kavEdit->setText(QStringLiteral("Edit me"));
    kavEdit->setFixedSize(FieldSize);
    auto *kavSpin = new TKavSpinEdit;
    kavSpin->setMinValue(0);
    kavSpin->setMaxValue(100);
    kavSpin->setValue(42);
    kavSpin->setFixedSize(80, FieldSize.height());
    addRow(QStringLiteral("Edit, spin box"), row(page, {qtEdit, qtSpin}), row(page, {kavEdit, kavSpin}));

    auto *qtCombo = new QComboBox;
    qtCombo->addItems(times());
    qtCombo->setFixedSize(FieldSize);
    auto *qtEditableCombo = new QComboBox;
    qtEditableCombo->setEditable(true);
    qtEditableCombo->addItems(times());
    qtEditableCombo->setFixedSize(FieldSize);
    auto *kavCombo = new TkavComboBox;
    kavCombo->setStyle(TkavCustomComboBox::csDropDownList);
    kavCombo->setItems(times());
    kavCombo->setCurrentIndex(0);
    kavCombo->setFixedSize(FieldSize);
    auto *kavEditableCombo = new TkavComboBox;
    kavEditableCombo->setItems(times());
    kavEditableCombo->setCurrentIndex(0);
    kavEditableCombo->setFixedSize(FieldSize);
    addRow(QStringLiteral("Combo boxes"), row(page, {qtCombo, qtEditableCombo}), row(page, {kavCombo, kavEditableCombo}));

    addRow(QStringLiteral("Scroll bars"),
           row(page, {qtScrollBar(Qt::Horizontal), qtScrollBar(Qt::Vertical)}),
           row(page, {kavScrollBar(KavOrientation::kavHorizontal), kavScrollBar(KavOrientation::kavVertical)}));
    addRow(QStringLiteral("Slider, track bar"), qtSlider(), kavSlider());
    addRow(QStringLiteral("Progress"), row(page, {qtProgress(60)}), row(page, {kavProgress(60)}));
    addRow(QStringLiteral("Tabs"), qtTabs(), kavTabs());
    addRow(QStringLiteral("Tool bar"), qtToolBar(), kavToolBar());
    addRow(QStringLiteral("Text"), qtText(), kavText());
    addRow(QStringLiteral("Menu bar"), qtMenuBar(), nullptr);
    addRow(QStringLiteral("Table, MDI"), row(page, {qtTable(), qtMdi()}), nullptr);
    m_rows->setRowStretch(m_rows->rowCount(), 1);
    return m_page;
}

void QtGalleryWindow::showLook(TkavUIStyle look)
{
    if (m_applying)
        return;
    m_applying = true;
    m_look = look;
    Kav::KavSetApplicationLook(look);
    if (!isVisible())
        resize(PageSize); // the look it opens with shows the page at its size
    m_chooser->setCurrentIndex(int(looks().indexOf(look)));
    m_lookList->setCurrentRow(int(looks().indexOf(look)));
    for (QAction *action : m_lookActions->actions())
        action->setChecked(action->text() == lookName(look));
    m_applying = false;
}
