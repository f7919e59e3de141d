#pragma once

#include "GallerySections.h"
#include "KAVMgr.h"
#include "KAVThemes.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <QWidget>

class QActionGroup;
class QLabel;
class TkavForm;
class TkavPopupMenu;
class TkavRadioButton;

// The gallery page: a skinned window (frame, title bar, main menu, context menu) with a look
// selector (the five built-in looks and a theme file) and sections showing every skinned control
// in its states. Choosing a look, in the selector or the menus, restyles the whole window at once.
class GalleryWindow : public QWidget {
    Q_OBJECT

public:
    // The page's size on first showing (and the screenshots' size).
    static constexpr QSize PageSize{940, 990};
    // The file dialog's filter for theme files.
    static const char *const ThemeFileFilter;

    explicit GalleryWindow(QWidget *parent = nullptr);

    // Shows a built-in look.
    void showLook(TkavUIStyle look);
    // Loads a theme file and shows its look. When the file cannot be used, returns false with the
    // reason in *error and keeps the look in use.
    bool showThemeFile(const QString &path, QString *error);

    // The look shown: a built-in one, or FromThemeFile.
    TkavUIStyle look() const { return m_look; }
    // The theme file shown, nullptr with a built-in look.
    TkavFileTheme *fileTheme() const
    {
        return m_look == TkavUIStyle::FromThemeFile ? m_fileTheme : nullptr;
    }

    // The control that holds the focus when the window is activated.
    QWidget *initialFocus() const { return m_initialFocus; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private slots:
    void chooseThemeFile();

private:
    void makeMenus();
    QWidget *makeLookBar();
    QWidget *makePage();
    void applyLook();
    void showLookInSelector();

    TkavUIStyle m_look = TkavUIStyle::DeepBlue;
    QPointer<TkavFileTheme> m_fileTheme;
    TkavForm *m_frame = nullptr;
    QActionGroup *m_lookActions = nullptr;
    TkavPopupMenu *m_contextMenu = nullptr;
    QList<QPair<TkavRadioButton *, TkavUIStyle>> m_lookButtons;
    QLabel *m_themeFileName = nullptr;
    QWidget *m_initialFocus = nullptr;
    GalleryLookFollowers m_followers;
    bool m_applying = false;
};
