#pragma once

#include "KAVColor.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"

#include <QMetaObject>
#include <QPalette>
#include <QPointer>

#include <functional>

class QWidget;

// The look of one skinned control, and the whole rule by which it gets one, kept here once for
// every skinned class (as QStyle::polish is for Qt's): the control declares its UIStyle and
// FileTheme properties, forwards them here and attaches once with the function that applies a
// look's values to it. Everything else is this class's:
//
// - The first look. A control that starts from its owner form takes its look when it is polished
//   (QEvent::Polish: before it is first shown, or ensurePolished()), not in its constructor, so
//   that its whole class is in place and the order in which a form makes its controls does not
//   matter. Until then UIStyle() reads the look it will take, the UIStyle of the skinned form on
//   the window of its parent (GetKAVFormStyle; DeepBlue without one), and a UIStyle or FileTheme
//   given before wins. A control that starts DeepBlue (the skinned forms) takes it at once.
// - UIStyle and FileTheme assignment: each stores and applies the look. Assigning the file theme
//   it has again applies it again: that is how a file theme that loaded another file makes its
//   controls re-read their values (TkavFileTheme re-assigns itself to them).
// - The file theme's destruction: the reference is cleared and the control falls back to
//   DeepBlue (a container, with FallBackReachesChildren, first hands DeepBlue to its children).
// - System colours: the values come as TColor, which every control draws and reports through
//   TColor::resolved.
class TkavLook
{
public:
    // How a control applies a look: reads what it needs from values (and the look's traits,
    // values.traits()), keeps it and repaints.
    using Apply = std::function<void(const KavThemeValues &values)>;

    enum class FirstLook : quint8 {
        OwnerForm, // the owner form's look, taken when the control is polished
        DeepBlue,  // DeepBlue, taken at once
    };
    enum class FallBack : quint8 {
        Control,  // only the control falls back to DeepBlue when its file theme goes
        Children, // its direct children are handed DeepBlue first (ContainerApplyUIStyle)
    };

    TkavLook() = default;
    TkavLook(const TkavLook &) = delete;
    TkavLook &operator=(const TkavLook &) = delete;
    ~TkavLook();

    // Attaches control (which owns this look) once, from its constructor.
    void attach(QObject *control, Apply apply, FirstLook first = FirstLook::OwnerForm,
                FallBack fallBack = FallBack::Control);

    TkavUIStyle uiStyle() const;
    void setUIStyle(TkavUIStyle style);
    TkavFileTheme *fileTheme() const { return m_fileTheme; }
    void setFileTheme(TkavFileTheme *fileTheme);

    // The control's theme values, resolved between file theme and built-in look.
    KavThemeValues values() const { return KavThemeValues(uiStyle(), m_fileTheme); }
    // Whether the control has taken a look yet.
    bool isTaken() const { return m_taken; }
    // Whether the look is being applied because FileTheme was assigned (a title bar keeps its
    // caption colour then: a file theme brings none).
    bool applyingFileTheme() const { return m_applyingFileTheme; }

private:
    friend class TkavLookPolisher;
    // Applies the current look (the first one, or again).
    void apply();
    void polished();
    void fileThemeDestroyed();

    QObject *m_control = nullptr;
    Apply m_apply;
    TkavUIStyle m_uiStyle = TkavUIStyle::DeepBlue;
    QPointer<TkavFileTheme> m_fileTheme;
    QMetaObject::Connection m_watch;
    FallBack m_fallBack = FallBack::Control;
    bool m_taken = false;
    bool m_applyingFileTheme = false;
};

namespace Kav {
// A control's colour kept in its palette, so that the controls inside it inherit it the Qt way.
TColor KavPaletteColor(const QWidget *widget, QPalette::ColorRole role);
// Sets one colour of the widget's own palette (the other roles stay as they are); a system colour
// is set as the colour it names.
void KavSetPaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color);
} // namespace Kav
