#include "GalleryWindow.h"

#include "GalleryLook.h"
#include "GalleryInputSections.h"
#include "GalleryOptions.h"
#include "KAVButton.h"
#include "KAVImagePanel.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

const char *const GalleryWindow::ThemeFileFilter = "Corvane Theme File(*.kav)";

namespace {

constexpr int Margin = 12;
constexpr int TitleHeight = 30;

// Whether text on this picture reads better in black than in white.
bool isLightPicture(const QImage &picture)
{
    if (picture.isNull())
        return true;
    const QImage middle = picture.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return qGray(middle.pixel(0, 0)) >= 150;
}

} // namespace

GalleryWindow::GalleryWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("kavskin gallery"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeTitle());

    auto *body = new QVBoxLayout;
    body->setContentsMargins(Margin, Margin - 4, Margin, Margin);
    body->setSpacing(Margin - 2);
    body->addWidget(makeLookBar());
    body->addWidget(makePage(), 1);
    layout->addLayout(body, 1);

    resize(PageSize);
    applyLook();
    m_initialFocus->setFocus();
}

QWidget *GalleryWindow::makeTitle()
{
    m_title = new TkavImagePanel(this);
    m_title->setDrawStyle(TkavCustomPanel::kavStretch);
    m_title->setCaption(QStringLiteral("kavskin — skinned controls in every look"));
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 1);
    m_title->setFont(font);
    m_title->setCaptionPosX(Margin);
    m_title->setCaptionPosY((TitleHeight - QFontMetrics(font).height()) / 2);
    m_title->setFixedHeight(TitleHeight);
    return m_title;
}

QWidget *GalleryWindow::makeLookBar()
{
    auto *bar = new QWidget(this);
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
    auto *page = new QWidget(this);
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
    GalleryApplyLook(this, m_look, theme);

    const KavThemeValues values(m_look, theme);
    GalleryPaintWindow(this, values);
    // A look without the picture has its title drawn on the panel's colour.
    const QImage titlePicture = GalleryLookPicture(values, KavKey::TitleBarClientImage);
    m_title->setPicture(titlePicture);
    m_title->setColor(values.color(KavKey::FormBackgroundColor));
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText,
                          isLightPicture(titlePicture) ? Qt::black : Qt::white);
    m_title->setPalette(titlePalette);

    for (const GalleryLookFollower &follow : m_followers)
        follow(values);
    showLookInSelector();
    m_applying = false;
}

void GalleryWindow::showLookInSelector()
{
    for (const auto &[choice, look] : m_lookButtons)
        choice->setChecked(look == m_look);
    m_themeFileName->setText(
        fileTheme()
            ? QStringLiteral("Theme: %1").arg(QFileInfo(fileTheme()->ThemeFile()).fileName())
            : QString());
}
