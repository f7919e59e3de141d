#include "GalleryWindow.h"

#include "GalleryLook.h"
#include "GalleryInputSections.h"
#include "GalleryOptions.h"
#include "KAVButton.h"
#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVPopupMenu.h"
#include "KAVVersion.h"
#include "KAVWindowLook.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

const char *const GalleryWindow::ThemeFileFilter = "Corvane Theme File(*.kav)";

namespace {

constexpr int Margin = 12;
// The gallery's caption, in the title bar of its skinned frame.
const char *const Caption = "kavskin gallery — skinned controls in every look";

} // namespace

GalleryWindow::GalleryWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(Caption));
    // The gallery is itself a skinned window: frame, title bar and menus change with the look.
    m_frame = new TkavForm(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    makeMenus();

    auto *body = new QVBoxLayout(m_frame);
    body->setContentsMargins(Margin, Margin - 4, Margin, Margin);
    body->setSpacing(Margin - 2);
    body->addWidget(makeLookBar());
    body->addWidget(makePage(), 1);

    applyLook();
    m_initialFocus->setFocus();
}

void GalleryWindow::makeMenus()
{
    m_lookActions = new QActionGroup(this);
    m_lookActions->setExclusive(true);
    int number = 1;
    for (TkavUIStyle look : galleryLooks()) {
        QAction *action = m_lookActions->addAction(galleryLookName(look));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + number++)));
        action->setData(QVariant::fromValue(look));
        connect(action, &QAction::triggered, this, [this, look] { showLook(look); });
    }
    auto *themeFile = new QAction(QStringLiteral("Theme &file…"), this);
    themeFile->setShortcut(QKeySequence::Open);
    connect(themeFile, &QAction::triggered, this, &GalleryWindow::chooseThemeFile);

    // Made on the window, the main menu becomes the frame's menu bar.
    auto *menuBar = new TkavMainMenu(this);
    menuBar->setObjectName(QStringLiteral("mainMenu"));
    QMenu *lookMenu = menuBar->addMenu(QStringLiteral("&Look"));
    lookMenu->addActions(m_lookActions->actions());
    lookMenu->addSeparator();
    lookMenu->addAction(themeFile);
    lookMenu->addSeparator();
    QAction *quit = lookMenu->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *helpMenu = menuBar->addMenu(QStringLiteral("&Help"));
    helpMenu->addAction(QStringLiteral("&About kavskin"), this, [this] {
        QMessageBox::about(this, windowTitle(),
                           QStringLiteral("kavskin %1: skinned windows and controls for Qt.").arg(Kav::KavSkinVersion()));
    });

    // The page's context menu: the looks again (a sub-menu), the theme file, and a disabled item.
    m_contextMenu = new TkavPopupMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    QMenu *looks = m_contextMenu->addMenu(QStringLiteral("&Look"));
    looks->addActions(m_lookActions->actions());
    m_contextMenu->addAction(themeFile);
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(QStringLiteral("kavskin %1").arg(Kav::KavSkinVersion()))->setEnabled(false);
}

void GalleryWindow::contextMenuEvent(QContextMenuEvent *event)
{
    m_contextMenu->popup(event->globalPos());
}

QWidget *GalleryWindow::makeLookBar()
{
    auto *bar = new QWidget(m_frame);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(Margin);
    row->addWidget(new QLabel(QStringLiteral("Look:"), bar));
    for (TkavUIStyle look : galleryLooks()) {
        auto *choice = new TkavRadioButton(bar);
        choice->setCaption(galleryLookName(look));
        connect(choice, &TkavCheckBox::OnClick, this, [this, choice, look] {
            if (!m_applying && choice->Checked())
                showLook(look);
        });
        m_lookButtons.append({choice, look});
        row->addWidget(choice);
    }
    row->addStretch(1);
    m_themeFileName = new QLabel(bar);
    row->addWidget(m_themeFileName);
    auto *open = new TkavButton(bar);
    open->setCaption(QStringLiteral("Theme file…"));
    open->setFixedSize(open->sizeHint());
    open->setToolTip(QStringLiteral("Show the look of a theme file (.kav)"));
    connect(open, &TkavCustomButton::OnClick, this, &GalleryWindow::chooseThemeFile);
    row->addWidget(open);
    return bar;
}

QWidget *GalleryWindow::makePage()
{
    auto *page = new QWidget(m_frame);
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(Margin - 2);
    auto *columns = new QHBoxLayout;
    outer->addLayout(columns);
    columns->setSpacing(Margin);
    const auto column = [&columns]() {
        auto *stack = new QVBoxLayout;
        stack->setSpacing(Margin - 2);
        columns->addLayout(stack, 1);
        return stack;
    };

    QVBoxLayout *first = column();
    first->addWidget(GallerySections::pushButtons(page, &m_initialFocus));
    first->addWidget(GallerySections::seeThrough(page, m_followers));
    first->addWidget(GallerySections::checkBoxes(page));
    first->addStretch(1);

    QVBoxLayout *second = column();
    second->addWidget(GallerySections::otherButtons(page, m_followers));
    second->addWidget(GallerySections::radioButtons(page));
    second->addWidget(GallerySections::urlLabels(page));
    second->addStretch(1);

    QVBoxLayout *third = column();
    third->addWidget(GallerySections::checkGroup(page));
    third->addWidget(GallerySections::radioGroup(page));
    third->addWidget(GallerySections::plainPanel(page));
    third->addWidget(GallerySections::rollingPanel(page), 1);
    third->addStretch(0);

    // The controls that take input, in two bands under the columns.
    const auto band = [&outer]() {
        auto *row = new QHBoxLayout;
        row->setSpacing(Margin);
        outer->addLayout(row);
        return row;
    };
    QHBoxLayout *texts = band();
    texts->addWidget(GallerySections::edits(page));
    texts->addWidget(GallerySections::comboBoxes(page));
    texts->addWidget(GallerySections::memos(page), 1);
    QHBoxLayout *ranges = band();
    ranges->addWidget(GallerySections::trackBars(page));
    ranges->addWidget(GallerySections::scrollBars(page));
    auto *bars = new QVBoxLayout;
    bars->setSpacing(Margin - 2);
    bars->addWidget(GallerySections::progressBars(page));
    bars->addWidget(GallerySections::toolBar(page));
    ranges->addLayout(bars, 1);
    QHBoxLayout *tabbed = band();
    tabbed->addWidget(GallerySections::tabControl(page));
    tabbed->addWidget(GallerySections::pageControl(page));
    tabbed->addStretch(1);
    return page;
}

void GalleryWindow::showLook(TkavUIStyle look)
{
    if (look == TkavUIStyle::FromThemeFile)
        return; // a theme file comes with showThemeFile
    m_look = look;
    applyLook();
}

bool GalleryWindow::showThemeFile(const QString &path, QString *error)
{
    auto *theme = new TkavFileTheme(this);
    theme->setThemeFile(path);
    if (!theme->CanUse()) {
        if (error) {
            *error = theme->errorString().isEmpty()
                         ? QStringLiteral("\"%1\" holds no theme").arg(path)
                         : theme->errorString();
        }
        delete theme;
        return false;
    }
    // The controls leave the old theme before it goes, so none of them falls back meanwhile.
    TkavFileTheme *old = m_fileTheme;
    m_fileTheme = theme;
    m_look = TkavUIStyle::FromThemeFile;
    applyLook();
    delete old;
    return true;
}

void GalleryWindow::chooseThemeFile()
{
    const QString start =
        m_fileTheme ? QFileInfo(m_fileTheme->ThemeFile()).absolutePath() : QString();
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open a theme file"),
                                                      start, QLatin1String(ThemeFileFilter));
    if (path.isEmpty())
        return;
    QString error;
    if (!showThemeFile(path, &error))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The theme file cannot be used: %1").arg(error));
}

void GalleryWindow::applyLook()
{
    m_applying = true;
    TkavFileTheme *theme = fileTheme();
    // The skinned form keeps its own size when the border changes: the window grows or shrinks
    // by the difference (a maximised window keeps the size the window manager gave it).
    Kav::KavApplyWindowLook(this, m_look, theme);
    if (!isVisible())
        resize(PageSize); // the look it opens with shows the page at its size

    const KavThemeValues values(m_look, theme);
    GalleryPaintWindow(this, values);
    for (const GalleryLookFollower &follow : m_followers)
        follow(values);
    showLookInSelector();
    m_applying = false;
}

void GalleryWindow::showLookInSelector()
{
    for (const auto &[choice, look] : m_lookButtons)
        choice->setChecked(look == m_look);
    for (QAction *action : m_lookActions->actions())
        action->setChecked(action->data().value<TkavUIStyle>() == m_look);
    m_themeFileName->setText(
        fileTheme()
            ? QStringLiteral("Theme: %1").arg(QFileInfo(fileTheme()->ThemeFile()).fileName())
            : QString());
}
