#include "frmThemeMgr.h"

#include "KAVFunctions.h"
#include "KAVMgr.h"

#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

bool takesALook(const QObject *component)
{
    return IsHasProperty(component, QStringLiteral("UIStyle"))
           && IsHasProperty(component, QStringLiteral("FileTheme"))
           && !qobject_cast<const TkavThemeManager *>(component)
           // A component without a name could never be found again by the manager.
           && !component->objectName().isEmpty();
}

QPushButton *button(QWidget *parent, const char *objectName, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(objectName));
    b->setGeometry(geometry);
    return b;
}

} // namespace

TfrmMgr::TfrmMgr(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMgr"));
    setWindowTitle(QStringLiteral("Theme Manager - Corvane"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(233, 301);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("List"));
    List->setGeometry(16, 16, 201, 185);
    btn_sel = button(this, "btn_sel", QStringLiteral("&Select all"), QRect(120, 208, 97, 25));
    btn_unsel = button(this, "btn_unsel", QStringLiteral("&Unselect all"), QRect(16, 208, 97, 25));
    btn_ok = button(this, "btn_ok", QStringLiteral("&OK"), QRect(72, 264, 89, 25));
    btn_ok->setDefault(true);

    connect(btn_sel, &QPushButton::clicked, this, &TfrmMgr::btn_selClick);
    connect(btn_unsel, &QPushButton::clicked, this, &TfrmMgr::btn_unselClick);
    connect(btn_ok, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmMgr::loadFrom(const TkavThemeManager *manager)
{
    List->clear();
    const TkavThemeMgrCompList listed = manager->CompList();
    for (const QObject *component : Kav::KavOwnerComponents(Kav::KavOwnerForm(manager))) {
        if (!takesALook(component))
            continue;
        auto *item = new QListWidgetItem(component->objectName(), List);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(listed.contains(component->objectName()) ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrmMgr::applyTo(TkavThemeManager *manager) const
{
    TkavThemeMgrCompList names;
    for (int i = 0; i < List->count(); ++i) {
        if (List->item(i)->checkState() == Qt::Checked)
            names.append(List->item(i)->text());
    }
    manager->setCompList(names);
}

void TfrmMgr::setAllChecked(bool checked)
{
    for (int i = 0; i < List->count(); ++i)
        List->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmMgr::btn_selClick()
{
    setAllChecked(true);
}

void TfrmMgr::btn_unselClick()
{
    setAllChecked(false);
}

bool ThemeManagerEdit(TkavThemeManager *manager)
{
    if (!manager || !Kav::KavOwnerForm(manager))
        return false;
    {
        TfrmMgr dialog;
        dialog.loadFrom(manager);
        if (dialog.exec() == QDialog::Accepted)
            dialog.applyTo(manager);
    }
    manager->UpdateAll();
    return true;
}

bool FileThemeEdit(TkavFileTheme *fileTheme)
{
    if (!fileTheme)
        return false;
    const QString fileName = QFileDialog::getOpenFileName(nullptr, QString(), QString(), KavThemeFileDialogFilter);
    if (fileName.isEmpty())
        return false;
    fileTheme->setThemeFile(fileName);
    if (!fileTheme->errorString().isEmpty()) {
        QMessageBox::warning(nullptr, QStringLiteral("Theme Manager - Corvane"), fileTheme->errorString());
        return false;
    }
    return true;
}
