#pragma once

#include "KAVColor.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"

#include <QMetaObject>
#include <QPalette>
#include <QPointer>

#include <functional>

class QPainter;
class QWidget;

// The look of one skinned control: its UIStyle and its FileTheme, kept the way every skinned
// control keeps them. The file theme is referenced, not owned; when it is destroyed the
// reference is cleared and the control is told, so that it can fall back to DeepBlue.
class TkavLook
{
public:
    TkavLook() = default;
    TkavLook(const TkavLook &) = delete;
    TkavLook &operator=(const TkavLook &) = delete;
    ~TkavLook();

    TkavUIStyle uiStyle() const { return m_uiStyle; }
    void setUIStyle(TkavUIStyle style) { m_uiStyle = style; }

    TkavFileTheme *fileTheme() const { return m_fileTheme; }
    // Stores the file theme; onRemoved runs (in context's thread, while context lives) after the
    // theme is destroyed and the reference cleared.
    void setFileTheme(TkavFileTheme *fileTheme, QObject *context, std::function<void()> onRemoved);

    // The control's theme values, resolved between file theme and built-in look.
    KavThemeValues values() const { return KavThemeValues(m_uiStyle, m_fileTheme); }

private:
    TkavUIStyle m_uiStyle = TkavUIStyle::DeepBlue;
    QPointer<TkavFileTheme> m_fileTheme;
    QMetaObject::Connection m_watch;
};

namespace Kav {
// A control's colour kept in its palette, so that the controls inside it inherit it the Qt way.
TColor KavPaletteColor(const QWidget *widget, QPalette::ColorRole role);
// Sets one colour of the widget's own palette (the other roles stay as they are).
void KavSetPaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color);
} // namespace Kav
