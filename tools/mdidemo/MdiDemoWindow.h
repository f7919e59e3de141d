#pragma once

#include "KAVThemes.h"

#include <QWidget>

class QActionGroup;
class QMdiSubWindow;
class TkavMDIForm;
class TkavMSNPopForm;

// The demonstration window: a skinned MDI parent with a main menu (children, arrangement, looks,
// notice), three skinned children (one with a menu of its own) and a pop-up notice.
class MdiDemoWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize WindowSize{900, 640};

    explicit MdiDemoWindow(TkavUIStyle look = TkavUIStyle::MacOS, QWidget *parent = nullptr);

    void showLook(TkavUIStyle look);
    TkavUIStyle look() const { return m_look; }
    TkavMDIForm *mdiForm() const { return m_mdi; }
    // Raises the notice (the children's buttons and the Notice menu do).
    void raiseNotice();
    QMdiSubWindow *addChild(int number);

private:
    void makeMenu();

    TkavMDIForm *m_mdi = nullptr;
    TkavMSNPopForm *m_notice = nullptr;
    QActionGroup *m_lookActions = nullptr;
    TkavUIStyle m_look = TkavUIStyle::MacOS;
    int m_children = 0;
};
