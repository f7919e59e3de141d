#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;
class TkavFileTheme;
class TkavThemeManager;

// The filter of the theme file open dialog, as the theme files' documentation writes it
// (description|pattern) and as QFileDialog takes it.
inline const QString KavThemeFileFilter = QStringLiteral("Corvane Theme File(*.kav)|*.kav");
inline const QString KavThemeFileDialogFilter = QStringLiteral("Corvane Theme File(*.kav)");

// The theme manager's editing dialog: a check list of the components the manager can look after,
// checked where the manager lists them.
class TfrmMgr : public QDialog {
    Q_OBJECT

public:
    explicit TfrmMgr(QWidget *parent = nullptr);

    // Lists every component of the manager's owner form that takes a look (class name beginning
    // with "Tkav", properties "UIStyle" and "FileTheme", not a theme manager, named) in component
    // order, checked when the manager lists its name.
    void loadFrom(const TkavThemeManager *manager);
    // Replaces the manager's list with the names of the checked items, in list order.
    void applyTo(TkavThemeManager *manager) const;

    QListWidget *List;
    QPushButton *btn_sel;
    QPushButton *btn_unsel;
    QPushButton *btn_ok;

public Q_SLOTS:
    void btn_selClick();
    void btn_unselClick();

private:
    void setAllChecked(bool checked);
};

// Shows the dialog for a manager on a form; with OK its choice becomes the manager's list. The
// manager hands its look out again either way. Returns whether the dialog was shown.
bool ThemeManagerEdit(TkavThemeManager *manager);

// Lets the user pick a theme file for fileTheme. Returns whether a file was picked and loaded; a
// file that does not load is reported in a message box.
bool FileThemeEdit(TkavFileTheme *fileTheme);
