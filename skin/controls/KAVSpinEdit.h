#pragma once

#include "KAVEdit.h"
#include "KAVMetrics.h"

#include <QWidget>

class TKavArrowButton;

// Two arrow buttons of the skin, up above down, sharing one pixel row. A click on either, and
// every repeat tick while one is held (every 400 ms, the first 400 ms after the press), raises
// OnUpClick or OnDownClick. The pair is at least 15 pixels wide.
//
// UIStyle and FileTheme are the buttons' own: writing sets both buttons, reading answers the up
// button's.
class TKavSpinButtons : public QWidget {
    Q_OBJECT
    // The buttons show what lies behind the pair, not the pair itself, which has no face.
    Q_CLASSINFO("KavSeeThrough", "true")
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)

public:
    // How often a held button repeats, in milliseconds.
    static constexpr int RepeatInterval = 400;

    explicit TKavSpinButtons(QWidget *parent = nullptr);

    TkavUIStyle UIStyle() const;
    void setUIStyle(TkavUIStyle style);
    TkavFileTheme *FileTheme() const;
    // Sets the theme on both buttons, which then apply their current UIStyle again.
    void setFileTheme(TkavFileTheme *fileTheme);

    TKavArrowButton *upButton() const { return m_up; }
    TKavArrowButton *downButton() const { return m_down; }

    QSize sizeHint() const override { return Kav::Metrics::SpinButtonsSize; }

Q_SIGNALS:
    void OnUpClick(QObject *sender);
    void OnDownClick(QObject *sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TKavArrowButton *makeButton(int arrow);
    void layoutButtons();
    void buttonClicked(QObject *button);

    TKavArrowButton *m_up;
    TKavArrowButton *m_down;
};

// An edit for a whole number with a pair of spin buttons at its right. The up and down buttons
// and the up and down keys step Value by Increment, within MinValue and MaxValue unless the two
// are equal (no limits then); the steps stop at the ends of the int range instead of wrapping.
// A value typed out of range is pulled back into it when the focus leaves.
//
// Only digits, '-' and control characters other than Return can be typed; Return beeps and, unlike
// in a plain edit, does not click the window's Default button. A paste is refused (with a beep)
// unless all it brings can be typed, so that a paste of "abc" leaves the text alone. With EditorEnabled
// off the text changes only through Value: typing, pasting (keys, menu, middle click), cutting,
// deleting, undoing and dropping are all refused, while the buttons and keys still step.
// A read-only spin edit beeps at a step and changes nothing.
class TKavSpinEdit : public TkavEdit {
    Q_OBJECT
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(int Increment READ Increment WRITE setIncrement)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int Value READ Value WRITE setValue)

public:
    explicit TKavSpinEdit(QWidget *parent = nullptr);

    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool enabled) { m_editorEnabled = enabled; }
    int Increment() const { return m_increment; }
    void setIncrement(int increment) { m_increment = increment; }
    int MaxValue() const { return m_maxValue; }
    void setMaxValue(int value) { m_maxValue = value; }
    int MinValue() const { return m_minValue; }
    void setMinValue(int value) { m_minValue = value; }

    // The text as a whole number; MinValue when it is none.
    int Value() const;
    // Shows CheckValue(value).
    void setValue(int value);
    // value within the limits; unchanged when MinValue equals MaxValue.
    int CheckValue(int value) const;

    TKavSpinButtons *Button() const { return m_buttons; }

public Q_SLOTS:
    void UpClick(QObject *sender);
    void DownClick(QObject *sender);

protected:
    virtual bool IsValidChar(QChar key) const;

    void UIStyleChanged() override;
    void Change() override;
    void DoExit() override;
    void KeyPress(QChar &key) override;
    bool acceptsEditing() const override { return m_editorEnabled && !isReadOnly(); }
    bool acceptsPaste(const QString &text) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(qint64 delta);
    void layoutButtons();

    TKavSpinButtons *m_buttons;
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
};
