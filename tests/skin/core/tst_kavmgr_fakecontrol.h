#pragma once

#include "KAVMgr.h"
#include "KAVThemeValues.h"

#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// Kept in this header alone: every tst_*.cpp under tests/ becomes a test program of its own.

// A skinned control reduced to what the theme machinery sees: the two properties by which it is
// given a look, its fall-back to DeepBlue when its file theme goes away, and the values it read at
// its last look change. It counts and records the writes to its properties.
class TkavFakeControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)

public:
    explicit TkavFakeControl(QWidget *parent = nullptr, const QString &name = {});

    TkavUIStyle UIStyle() const { return m_style; }
    void setUIStyle(TkavUIStyle style);
    TkavFileTheme *FileTheme() const { return m_fileTheme; }
    void setFileTheme(TkavFileTheme *fileTheme);

    void resetCounts();

    int styleWrites = 0;
    int themeWrites = 0;
    QStringList writes; // "UIStyle" and "FileTheme", in the order they were written

    // Read through KavThemeValues at every look change.
    TColor borderColor;
    int minWidth = 0;
    bool buttonTransparent = false;
    QImage buttonFrame; // frame 2 of 3; only read from file themes, so no built-in picture is needed

private:
    void applyStyle();

    TkavUIStyle m_style = TkavUIStyle::DeepBlue;
    QPointer<TkavFileTheme> m_fileTheme;
    QMetaObject::Connection m_fileThemeWatch;
};

// The same control under a class name without the "Tkav" prefix: what makes a skinned component
// is its published look (UIStyle and FileTheme), not its class name.
class OtherFakeControl : public TkavFakeControl {
    Q_OBJECT

public:
    using TkavFakeControl::TkavFakeControl;
};

inline TkavFakeControl::TkavFakeControl(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(name);
}

inline void TkavFakeControl::setUIStyle(TkavUIStyle style)
{
    ++styleWrites;
    writes << QStringLiteral("UIStyle");
    m_style = style;
    applyStyle();
}

inline void TkavFakeControl::setFileTheme(TkavFileTheme *fileTheme)
{
    ++themeWrites;
    writes << QStringLiteral("FileTheme");
    disconnect(m_fileThemeWatch);
    m_fileTheme = fileTheme;
    if (fileTheme) {
        m_fileThemeWatch = connect(fileTheme, &QObject::destroyed, this, [this] {
            m_fileTheme = nullptr;
            m_style = TkavUIStyle::DeepBlue;
            applyStyle();
        });
    }
    // Assigning a theme, also the same one again, re-reads the values.
    applyStyle();
}

inline void TkavFakeControl::resetCounts()
{
    styleWrites = 0;
    themeWrites = 0;
    writes.clear();
}

inline void TkavFakeControl::applyStyle()
{
    const KavThemeValues values(m_style, m_fileTheme);
    borderColor = values.color(KavKey::ControlBorderColor);
    minWidth = values.integer(KavKey::FormMinWidthInt);
    buttonTransparent = values.boolean(KavKey::ButtonTransparentBool);
    buttonFrame = values.usesFile() ? values.bitmap(KavKey::ButtonImage, 3, 2) : QImage();
}
