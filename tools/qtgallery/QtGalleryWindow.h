#pragma once

#include "KAVThemes.h"

#include <QList>
#include <QPair>
#include <QMainWindow>

class QActionGroup;
class QComboBox;
class QGridLayout;
class QListWidget;
class TkavForm;

// The demonstration of KavStyle: a QMainWindow in a skinned frame (one TkavForm on it), with its
// menu bar, a tool bar, a dock and a status bar, whose central page shows each kind of control
// twice, as Qt's own widget (left, drawn by the application's KavStyle) and as the library's
// skinned control (right). The look chooser, the dock's list, the Look menu (Ctrl+1 to Ctrl+5)
// and Kav::KavSetApplicationLook switch both columns, the frame and the menus at once.
class QtGalleryWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize PageSize{1000, 860};

    explicit QtGalleryWindow(QWidget *parent = nullptr);

    // Gives the whole program the look (every window, both columns).
    void showLook(TkavUIStyle look);
    TkavUIStyle look() const { return m_look; }

private:
    void makeMenus();
    void makeLookBar();
    void makeLookDock();
    QWidget *makePage();
    void addRow(const QString &title, QWidget *qtSide, QWidget *librarySide);

    TkavUIStyle m_look = TkavUIStyle::WinXP;
    TkavForm *m_frame = nullptr;
    QActionGroup *m_lookActions = nullptr;
    QComboBox *m_chooser = nullptr;
    QListWidget *m_lookList = nullptr;
    QGridLayout *m_rows = nullptr;
    QWidget *m_page = nullptr;
    bool m_applying = false;
};
