#include "MdiDemoWindow.h"

#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVEdit.h"
#include "KAVForm.h"
#include "KAVMainMenu.h"
#include "KAVMDIForm.h"
#include "KAVMSNPopForm.h"
#include "KAVWindowLook.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

const QList<QPair<TkavUIStyle, QString>> &looks()
{
    static const QList<QPair<TkavUIStyle, QString>> all{
        {TkavUIStyle::MacOS, QStringLiteral("MacOS")},       {TkavUIStyle::WinXP, QStringLiteral("WinXP")},
        {TkavUIStyle::DeepBlue, QStringLiteral("DeepBlue")}, {TkavUIStyle::Protein, QStringLiteral("Protein")},
        {TkavUIStyle::BlueGlass, QStringLiteral("BlueGlass")}};
    return all;
}

} // namespace

MdiDemoWindow::MdiDemoWindow(TkavUIStyle look, QWidget *parent) : QWidget(parent), m_look(look)
{
    setWindowTitle(QStringLiteral("kavskin MDI demonstration"));
    resize(WindowSize);
    m_mdi = new TkavMDIForm(this);
    m_notice = new TkavMSNPopForm(this);
    m_notice->setTitle(QStringLiteral("kavskin"));
    makeMenu();
    for (int number = 1; number <= 3; ++number)
        addChild(number);
    m_mdi->Cascade();
    showLook(m_look);
}

void MdiDemoWindow::makeMenu()
{
    auto *menu = new TkavMainMenu(this); // made on the window: the MDI parent's menu
    QMenu *file = menu->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New child"), QKeySequence::New, this, [this] { addChild(m_children + 1); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);

    QMenu *window = menu->addMenu(QStringLiteral("&Window"));
    window->addAction(QStringLiteral("Tile &horizontally"), this,
                      [this] { m_mdi->Tile(Kav::MdiLayout::TileMode::Horizontal); });
    window->addAction(QStringLiteral("Tile &vertically"), this,
                      [this] { m_mdi->Tile(Kav::MdiLayout::TileMode::Vertical); });
    window->addAction(QStringLiteral("&Cascade"), this, [this] { m_mdi->Cascade(); });

    QMenu *lookMenu = menu->addMenu(QStringLiteral("&Look"));
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

    QMenu *notice = menu->addMenu(QStringLiteral("&Notice"));
    notice->addAction(QStringLiteral("&Raise a notice"), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                      &MdiDemoWindow::raiseNotice);
}

QMdiSubWindow *MdiDemoWindow::addChild(int number)
{
    m_children = qMax(m_children, number);
    auto *child = new QWidget;
    child->setWindowTitle(QStringLiteral("Child %1").arg(number));
    child->resize(360, 240);
    auto *frame = new TkavForm(child);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->addWidget(new QLabel(QStringLiteral("A skinned child window. Maximise it: its buttons move to the menu bar."), frame));
    auto *edit = new TkavEdit(frame);
    edit->setText(QStringLiteral("Child %1").arg(number));
    layout->addWidget(edit);
    auto *check = new TkavCheckBox(frame);
    check->setCaption(QStringLiteral("A check box"));
    layout->addWidget(check);
    auto *button = new TkavButton(frame);
    button->setCaption(QStringLiteral("Raise a notice"));
    button->setFixedSize(120, 27);
    connect(button, &QAbstractButton::clicked, this, &MdiDemoWindow::raiseNotice);
    layout->addWidget(button);
    layout->addStretch(1);
    if (number == 1) {
        // The first child brings its own menu: it shows in the parent's bar while it is active.
        auto *childMenu = new TkavMainMenu(child);
        QMenu *edit = childMenu->addMenu(QStringLiteral("&Edit"));
        edit->addAction(QStringLiteral("&Clear"), frame, [frame] {
            for (auto *box : frame->findChildren<TkavEdit *>())
                box->clear();
        });
        childMenu->addMenu(QStringLiteral("&Window"))
            ->addAction(QStringLiteral("&Cascade"), this, [this] { m_mdi->Cascade(); });
    }
    QMdiSubWindow *sub = m_mdi->addChild(child);
    Kav::KavApplyWindowLook(child, m_look);
    // With KAV_MDIDEMO_TRACE set, what happens to the children is written to stdout (the
    // end-to-end test reads it).
    if (qEnvironmentVariableIsSet("KAV_MDIDEMO_TRACE")) {
        const QString name = child->windowTitle();
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [name](Qt::WindowStates, Qt::WindowStates now) {
            const char *state = now & Qt::WindowMaximized ? "maximised" : now & Qt::WindowMinimized ? "minimised" : "normal";
            std::printf("%s: %s\n", qPrintable(name), state);
            std::fflush(stdout);
        });
        connect(sub, &QObject::destroyed, this, [name] {
            std::printf("%s: closed\n", qPrintable(name));
            std::fflush(stdout);
        });
    }
    return sub;
}

void MdiDemoWindow::showLook(TkavUIStyle look)
{
    m_look = look;
    m_mdi->setUIStyle(look);
    Kav::KavApplyWindowLook(this, look);
    for (QAction *action : m_lookActions->actions())
        action->setChecked(action->data().value<TkavUIStyle>() == look);
}

void MdiDemoWindow::raiseNotice()
{
    const auto it = std::find_if(looks().cbegin(), looks().cend(), [this](const auto &entry) { return entry.first == m_look; });
    m_notice->setMessageText(QStringLiteral("A notice in the %1 look. It rises from the corner, stays a while and sinks away.")
                                 .arg(it != looks().cend() ? it->second : QString()));
    m_notice->Popup();
}
