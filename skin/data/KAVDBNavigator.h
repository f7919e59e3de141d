#pragma once

#include "KAVButton.h"
#include "KAVDataSet.h"
#include "KAVLook.h"
#include "KAVPlatformPanel.h"

#include <QFlags>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class TkavDBNavigator;

// The buttons of the navigator, in their order along it.
namespace KavNav {
Q_NAMESPACE

enum TNavigateBtn : quint8 {
    nbFirst = 0,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh,
};
Q_ENUM_NS(TNavigateBtn)

inline constexpr int NavigateBtnCount = 10;

// One bit per button (bit i for button i), so that a set of buttons is a QFlags.
enum TNavigateBtnBit : quint32 {
    nbFirstBit = 1u << nbFirst,
    nbPriorBit = 1u << nbPrior,
    nbNextBit = 1u << nbNext,
    nbLastBit = 1u << nbLast,
    nbInsertBit = 1u << nbInsert,
    nbDeleteBit = 1u << nbDelete,
    nbEditBit = 1u << nbEdit,
    nbPostBit = 1u << nbPost,
    nbCancelBit = 1u << nbCancel,
    nbRefreshBit = 1u << nbRefresh,
};
Q_DECLARE_FLAGS(TButtonSet, TNavigateBtnBit)
Q_FLAG_NS(TButtonSet)

inline constexpr TNavigateBtnBit bitOf(TNavigateBtn button) { return TNavigateBtnBit(1u << button); }
inline bool contains(TButtonSet set, TNavigateBtn button) { return set.testFlag(bitOf(button)); }
inline constexpr TButtonSet AllButtons = TButtonSet::fromInt((1u << NavigateBtnCount) - 1);
} // namespace KavNav

Q_DECLARE_OPERATORS_FOR_FLAGS(KavNav::TButtonSet)

using KavNav::TButtonSet;
using KavNav::TNavigateBtn;

namespace Kav {

// Where the navigator's buttons go for an asked size: the size the navigator takes (at least
// NavigatorButtonMinSize per visible button; with keepWidth false also cut down to a whole
// number of buttons) and each button's rectangle. The pixels left over when the width does not
// divide go one at a time to buttons spread along the row; hidden buttons sit just right of the
// navigator.
struct NavigatorLayout {
    QSize size;
    int buttonWidth = 0;
    std::array<QRect, KavNav::NavigateBtnCount> buttons;
};
NavigatorLayout KavNavigatorLayout(QSize asked, TButtonSet visible, bool keepWidth);

} // namespace Kav

// A button of the navigator: a skinned push button that shows one mark of the navigator's glyph
// strip and knows which button it is. A button that allows the timer (prior and next) steps
// again while it is held: once after NavigatorRepeatDelayMs, then every
// NavigatorRepeatIntervalMs, each step through the navigator; the release still clicks once.
class TkavNavButton : public TkavButton {
    Q_OBJECT
    Q_PROPERTY(KavNav::TNavigateBtn Index READ Index)
    Q_PROPERTY(bool AllowTimer READ AllowTimer WRITE setAllowTimer)

public:
    TkavNavButton(TkavDBNavigator *navigator, TNavigateBtn index);
    ~TkavNavButton() override;

    TNavigateBtn Index() const { return m_index; }
    bool AllowTimer() const { return m_allowTimer; }
    void setAllowTimer(bool allow);

    bool isRepeating() const { return m_timer != nullptr; }
    void StopRepeat();

protected:
    void drawFace(QImage &face) const override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    void startRepeatTimer(int intervalMs);
    void repeatTick();

    TkavDBNavigator *m_navigator;
    TNavigateBtn m_index;
    bool m_allowTimer = false;
    std::unique_ptr<TkavRepeatTimer> m_timer;
    bool m_firstTick = true;
};

// The navigator's end of its data source: tells it when the data set opens or closes, moves,
// changes, or starts or stops editing.
class TkavNavDataLink : public TkavDataLink {
public:
    explicit TkavNavDataLink(TkavDBNavigator *navigator) : m_navigator(navigator) {}
    // The navigator is going away: nothing is forwarded any more.
    void clearNavigator() { m_navigator = nullptr; }

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void DataSetChanged() override;

private:
    TkavDBNavigator *m_navigator;
};

// A row of ten skinned buttons that move through and edit the data set behind a data source:
// first, prior, next, last, insert, delete, edit, post, cancel, refresh. The buttons enable
// themselves from the data set's state (all disabled without an open data set), show their hints
// as tool tips and accessible names, and take the navigator's look.
//
// Clicking a button emits BeforeAction, performs the action (Delete asks first when
// ConfirmDelete), then emits OnClick. An action the data set refuses shows the data set's error
// and emits no OnClick.
//
// Keyboard (when the navigator is a tab stop and has the focus): Left and Right move the focused
// button among the visible ones, Space clicks it; the focused button shows a dotted frame.
class TkavDBNavigator : public TkavPlatformPanel {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(KavNav::TButtonSet VisibleButtons READ VisibleButtons WRITE setVisibleButtons)
    Q_PROPERTY(QStringList Hints READ Hints WRITE setHints)
    Q_PROPERTY(bool ConfirmDelete READ ConfirmDelete WRITE setConfirmDelete)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(KavNav::TNavigateBtn FocusedButton READ FocusedButton)

public:
    // Asks the user to confirm: true for OK, false for Cancel.
    using ConfirmQuestion = std::function<bool(QWidget *parent, const QString &caption, const QString &text)>;

    explicit TkavDBNavigator(QWidget *parent = nullptr);
    ~TkavDBNavigator() override;

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    // Not owned; a destroyed source leaves the navigator without one (all buttons disabled).
    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);

    TButtonSet VisibleButtons() const { return m_visibleButtons; }
    void setVisibleButtons(TButtonSet buttons);

    // The custom hints, one per button in button order; an empty line keeps that button's
    // default hint. Setting the default hints themselves clears the custom ones.
    QStringList Hints() const { return m_customHints; }
    void setHints(const QStringList &hints);
    // The ten default hints from the string table.
    static QStringList DefaultHints();

    bool ConfirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus); }

    TNavigateBtn FocusedButton() const { return m_focusedButton; }
    TkavNavButton *Button(TNavigateBtn index) const { return m_buttons[index]; }

    // Performs the button's action on the data set (when there is an open one), then emits
    // OnClick. False when the data set refused the action: its error was shown and no OnClick
    // emitted.
    bool BtnClick(TNavigateBtn index);

    // Replaces the delete confirmation (a box with OK and Cancel) for every navigator; an empty
    // question brings the box back. Returns the question installed before.
    static ConfirmQuestion setConfirmQuestion(ConfirmQuestion question);

Q_SIGNALS:
    void OnClick(QObject *sender, KavNav::TNavigateBtn button);
    void BeforeAction(QObject *sender, KavNav::TNavigateBtn button);

protected:
    // Enabling from the data set: the moving and delete buttons, the editing buttons, and all.
    void DataChanged();
    void EditingChanged();
    void ActiveChanged();

    void paintPanel(QImage &canvas) const override;
    void AlignChanged() override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class TkavNavDataLink;
    friend class TkavNavButton;

    void InitButtons();
    void InitHints();
    void applyLayout();
    void buttonPressed(TkavNavButton *button);
    void buttonClicked(TkavNavButton *button);
    void setFocusedButton(TNavigateBtn index);
    // Whether the navigator acts: enabled, and its data set open.
    bool isActive() const;
    bool hasButtons() const;
    void updateDeleteButton();
    bool confirm(const QString &text);

    TkavLook m_look;
    TkavNavDataLink m_link;
    TButtonSet m_visibleButtons = KavNav::AllButtons;
    QStringList m_customHints;
    std::array<TkavNavButton *, KavNav::NavigateBtnCount> m_buttons{};
    TNavigateBtn m_focusedButton = KavNav::nbFirst;
    bool m_confirmDelete = true;
    bool m_placing = false;
};
