#include "ClassListWindow.h"

#include "ClassListDatabase.h"
#include "KAVButton.h"
#include "KAVDBCtrls.h"
#include "KAVDataErrors.h"
#include "KAVDataSet.h"
#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVScrollBar.h"
#include "KAVWindowLook.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace {

const QList<QPair<TkavUIStyle, QString>> &looks()
{
    static const QList<QPair<TkavUIStyle, QString>> all{
        {TkavUIStyle::MacOS, QStringLiteral("MacOS")},       {TkavUIStyle::WinXP, QStringLiteral("WinXP")},
        {TkavUIStyle::DeepBlue, QStringLiteral("DeepBlue")}, {TkavUIStyle::Protein, QStringLiteral("Protein")},
        {TkavUIStyle::BlueGlass, QStringLiteral("BlueGlass")}};
    return all;
}

// A caption for a field, with its accelerator leading to the field's control.
QLabel *fieldLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ClassListWindow::ClassListWindow(ClassListDatabase &database, TkavUIStyle look, QWidget *parent)
    : QWidget(parent)
    , m_database(database)
    , m_look(look)
{
    setWindowTitle(QStringLiteral("Class list"));
    resize(WindowSize);

    m_classes = new TkavDataSet(this);
    m_classes->setDatabase(database.database());
    m_classes->setTableName(QStringLiteral("classes"));
    m_classes->setIndexFieldNames(QStringLiteral("name"));
    m_classSource = new TkavDataSource(this);
    m_classSource->setDataSet(m_classes);

    m_pupils = new TkavDataSet(this);
    m_pupils->setDatabase(database.database());
    m_pupils->setTableName(QStringLiteral("pupils"));
    m_pupils->setIndexFieldNames(QStringLiteral("name"));
    m_pupilSource = new TkavDataSource(this);
    m_pupilSource->setDataSet(m_pupils);

    auto *form = new TkavForm(this);
    makeMenu();

    auto *rows = new QVBoxLayout(form);
    rows->setContentsMargins(12, 10, 12, 12);
    rows->setSpacing(8);
    rows->addWidget(makeProblemLine(form));
    auto *columns = new QHBoxLayout;
    columns->setSpacing(14);
    rows->addLayout(columns, 1);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    m_grid = new TkavDBGrid(form);
    m_grid->setDataSource(m_pupilSource);
    left->addWidget(fieldLabel(QStringLiteral("&Pupils"), m_grid, form));
    left->addWidget(m_grid, 1);
    m_navigator = new TkavDBNavigator(form);
    m_navigator->setDataSource(m_pupilSource);
    m_navigator->setFixedHeight(30);
    left->addWidget(m_navigator);

    auto *lists = new QGridLayout;
    lists->setHorizontalSpacing(12);
    auto *classList = new TkavDBLookupListBox(form);
    classList->setDataSource(m_pupilSource);
    classList->setDataField(QStringLiteral("class_id"));
    classList->setListSource(m_classSource);
    classList->setKeyField(QStringLiteral("id"));
    classList->setListField(QStringLiteral("name"));
    auto *favouriteList = new TkavDBListBox(form);
    favouriteList->setDataSource(m_pupilSource);
    favouriteList->setDataField(QStringLiteral("favourite"));
    favouriteList->setItems({QStringLiteral("Addition"), QStringLiteral("Subtraction"), QStringLiteral("Multiplication"),
                             QStringLiteral("Division"), QStringLiteral("Mixed")});
    lists->addWidget(fieldLabel(QStringLiteral("Cl&ass (list)"), classList, form), 0, 0);
    lists->addWidget(fieldLabel(QStringLiteral("Fa&vourite sums (list)"), favouriteList, form), 0, 1);
    lists->addWidget(classList, 1, 0);
    lists->addWidget(favouriteList, 1, 1);
    for (QWidget *list : {static_cast<QWidget *>(classList), static_cast<QWidget *>(favouriteList)})
        list->setFixedHeight(96);
    left->addLayout(lists);
    columns->addLayout(left, 3);

    columns->addWidget(makeCard(form), 2);

    // The tables open last, so that every control is bound when the first record arrives.
    openTables();
    showLook(m_look);
}

QWidget *ClassListWindow::makeProblemLine(QWidget *parent)
{
    m_problemLine = new QWidget(parent);
    auto *line = new QHBoxLayout(m_problemLine);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(10);
    m_problemText = new QLabel(m_problemLine);
    m_problemText->setWordWrap(true);
    m_problemText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_problemText->font();
    bold.setBold(true);
    m_problemText->setFont(bold);
    auto *retry = new TkavButton(m_problemLine);
    retry->setCaption(tr("&Try again"));
    retry->setFixedSize(100, 28);
    connect(retry, &TkavCustomButton::OnClick, this, [this] { openTables(); });
    line->addWidget(m_problemText, 1);
    line->addWidget(retry, 0, Qt::AlignTop);
    m_problemLine->hide();
    return m_problemLine;
}

void ClassListWindow::showProblem(const QString &message, const QString &detail)
{
    m_problemText->setText(message);
    m_problemText->setToolTip(detail);
    m_problemLine->setVisible(!message.isEmpty());
}

bool ClassListWindow::openTables()
{
    if (!m_database.isReady() && !m_database.open()) {
        const QString message =
            m_database.isLocked()
                ? tr("The class list \"%1\" cannot be opened now because another program is using it. Wait until "
                     "that program is done, then choose Try again.")
                      .arg(m_database.fileName())
                : tr("The class list \"%1\" cannot be opened: %2")
                      .arg(m_database.fileName(), Kav::KavDescribeDataError(Kav::DataOperation::Open,
                                                                           m_database.sqlError(), QStringLiteral("pupils")));
        showProblem(message, m_database.error());
        return false;
    }
    for (TkavDataSet *table : {m_classes, m_pupils}) {
        if (!table->Active() && !table->Open()) {
            showProblem(table->LastError() + u' ' + tr("Then choose Try again."), table->LastErrorDetail());
            return false;
        }
    }
    showProblem(QString(), QString());
    showGridColumns();
    return true;
}

// The grid lists the pupils by what a teacher scans for; the photo, class number and notes are on
// the card beside it.
void ClassListWindow::showGridColumns()
{
    QAbstractItemModel *model = m_pupils->model();
    if (!model)
        return;
    const QList<QPair<QString, QString>> shown{{QStringLiteral("id"), QStringLiteral("No.")},
                                               {QStringLiteral("name"), QStringLiteral("Name")},
                                               {QStringLiteral("last_score"), QStringLiteral("Score")},
                                               {QStringLiteral("passed"), QStringLiteral("Passed")},
                                               {QStringLiteral("favourite"), QStringLiteral("Favourite sums")}};
    for (int column = 0; column < m_pupils->FieldCount(); ++column)
        m_grid->setColumnHidden(column, true);
    for (const auto &[field, title] : shown) {
        const int column = m_pupils->FieldIndex(field);
        if (column < 0)
            continue;
        m_grid->setColumnHidden(column, false);
        model->setHeaderData(column, Qt::Horizontal, title);
    }
    m_grid->setColumnWidth(m_pupils->FieldIndex(QStringLiteral("id")), 44);
    m_grid->setColumnWidth(m_pupils->FieldIndex(QStringLiteral("name")), 150);
    m_grid->setColumnWidth(m_pupils->FieldIndex(QStringLiteral("last_score")), 64);
    m_grid->setColumnWidth(m_pupils->FieldIndex(QStringLiteral("passed")), 64);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setDefaultSectionSize(24);
}

QWidget *ClassListWindow::makeCard(QWidget *parent)
{
    auto *card = new QWidget(parent);
    auto *grid = new QGridLayout(card);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    int row = 0;

    auto *photo = new TkavDBImage(card);
    photo->setDataSource(m_pupilSource);
    photo->setDataField(QStringLiteral("photo"));
    photo->setFixedSize(100, 100);
    auto *name = new TkavDBEdit(card);
    name->setDataSource(m_pupilSource);
    name->setDataField(QStringLiteral("name"));
    auto *photoRow = new QHBoxLayout;
    photoRow->addWidget(photo);
    auto *nameColumn = new QVBoxLayout;
    nameColumn->addWidget(fieldLabel(QStringLiteral("&Name"), name, card));
    nameColumn->addWidget(name);
    auto *classBox = new TkavDBLookupComboBox(card);
    classBox->setDataSource(m_pupilSource);
    classBox->setDataField(QStringLiteral("class_id"));
    classBox->setListSource(m_classSource);
    classBox->setKeyField(QStringLiteral("id"));
    classBox->setListField(QStringLiteral("name"));
    nameColumn->addWidget(fieldLabel(QStringLiteral("&Class"), classBox, card));
    nameColumn->addWidget(classBox);
    nameColumn->addStretch(1);
    photoRow->addLayout(nameColumn, 1);
    grid->addLayout(photoRow, row++, 0, 1, 2);

    auto *score = new TkavDBEdit(card);
    score->setDataSource(m_pupilSource);
    score->setDataField(QStringLiteral("last_score"));
    grid->addWidget(fieldLabel(QStringLiteral("&Last score"), score, card), row, 0);
    grid->addWidget(score, row++, 1);

    auto *passed = new TkavDBCheckBox(card);
    passed->setCaption(QStringLiteral("Pa&ssed the last test"));
    passed->setDataSource(m_pupilSource);
    passed->setDataField(QStringLiteral("passed"));
    grid->addWidget(passed, row++, 1);

    auto *favourite = new TkavDBComboBox(card);
    favourite->setDataSource(m_pupilSource);
    favourite->setDataField(QStringLiteral("favourite"));
    favourite->setItems({QStringLiteral("Addition"), QStringLiteral("Subtraction"), QStringLiteral("Multiplication"),
                         QStringLiteral("Division"), QStringLiteral("Mixed")});
    grid->addWidget(fieldLabel(QStringLiteral("&Favourite sums"), favourite, card), row, 0);
    grid->addWidget(favourite, row++, 1);

    auto *seat = new TkavDBRadioGroup(card);
    seat->setCaption(QStringLiteral("Seat"));
    seat->setItems({QStringLiteral("Front"), QStringLiteral("Middle"), QStringLiteral("Back")});
    seat->setValues({QStringLiteral("F"), QStringLiteral("M"), QStringLiteral("B")});
    seat->setColumns(3);
    seat->setDataSource(m_pupilSource);
    seat->setDataField(QStringLiteral("seat"));
    seat->setFixedHeight(52);
    grid->addWidget(seat, row++, 0, 1, 2);

    auto *notes = new TkavDBMemo(card);
    notes->setDataSource(m_pupilSource);
    notes->setDataField(QStringLiteral("notes"));
    auto *notesBar = new TkavScrollBar(card);
    notesBar->setOrientation(KavOrientation::kavVertical);
    notes->setVScrollBar(notesBar);
    grid->addWidget(fieldLabel(QStringLiteral("N&otes"), notes, card), row++, 0, 1, 2);
    grid->addWidget(notes, row++, 0, 1, 2);
    grid->setRowStretch(row - 1, 1);
    return card;
}

void ClassListWindow::makeMenu()
{
    auto *menu = new TkavMainMenu(this);
    QMenu *file = menu->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);

    QMenu *record = menu->addMenu(QStringLiteral("&Record"));
    record->addAction(QStringLiteral("&First"), QKeySequence(Qt::CTRL | Qt::Key_Home), this, [this] { m_pupils->First(); });
    record->addAction(QStringLiteral("&Prior"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), this, [this] { m_pupils->Prior(); });
    record->addAction(QStringLiteral("&Next"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), this, [this] { m_pupils->Next(); });
    record->addAction(QStringLiteral("&Last"), QKeySequence(Qt::CTRL | Qt::Key_End), this, [this] { m_pupils->Last(); });
    record->addSeparator();
    record->addAction(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), this, [this] {
        if (!m_pupils->Post())
            Kav::KavShowDataError(this, m_pupils);
    });
    record->addAction(QStringLiteral("&Refresh"), QKeySequence(Qt::Key_F5), this, [this] {
        if (m_pupils->Active() && !m_pupils->Refresh())
            Kav::KavShowDataError(this, m_pupils);
    });

    QMenu *lookMenu = menu->addMenu(QStringLiteral("L&ook"));
    m_lookActions = new QActionGroup(this);
    int number = 1;
    for (const auto &[look, name] : looks()) {
        QAction *action = m_lookActions->addAction(name);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + number++)));
        action->setData(QVariant::fromValue(look));
        connect(action, &QAction::triggered, this, [this, look = look] { showLook(look); });
    }
    lookMenu->addActions(m_lookActions->actions());
}

bool ClassListWindow::isOpen() const
{
    return m_pupils->Active() && m_classes->Active();
}

QString ClassListWindow::problem() const
{
    return m_problemLine->isHidden() ? QString() : m_problemText->text();
}

void ClassListWindow::showLook(TkavUIStyle look)
{
    m_look = look;
    Kav::KavApplyWindowLook(this, look);
    for (QAction *action : m_lookActions->actions())
        action->setChecked(action->data().value<TkavUIStyle>() == look);
}

void ClassListWindow::closeEvent(QCloseEvent *event)
{
    // What is typed is saved on the way out; a record the database refuses keeps the window open.
    if (m_pupils->Editing() && !m_pupils->Post()) {
        Kav::KavShowDataError(this, m_pupils);
        event->ignore();
        return;
    }
    event->accept();
}
