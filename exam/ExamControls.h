#pragma once

#include <QColor>
#include <QString>

// What the exam logic needs of the exam window, and nothing more. Controls are reached by name,
// since the rows' names are composed at run time ("tt" + N + "_1", ...); a name that no control
// bears is simply ignored (reads give empty text or false).
class ExamControls
{
public:
    virtual ~ExamControls() = default;

    virtual QString labelCaption(const QString &name) const = 0;
    virtual void setLabelCaption(const QString &name, const QString &caption) = 0;
    virtual void setLabelColor(const QString &name, const QColor &color) = 0;

    virtual QString editText(const QString &name) const = 0;
    virtual void setEditText(const QString &name, const QString &text) = 0;
    virtual void focusEdit(const QString &name) = 0;

    virtual bool isRadioChecked(const QString &name) const = 0;
    virtual QString comboText(const QString &name) const = 0;

    virtual void setButtonEnabled(const QString &name, bool enabled) = 0;
    virtual void setButtonVisible(const QString &name, bool visible) = 0;

    virtual void setPanelCaption(const QString &name, const QString &caption) = 0;
    virtual void setActivePage(const QString &pageName) = 0;

    virtual void setTimerEnabled(bool enabled) = 0;
};
