#pragma once

#include "KAVColor.h"
#include "KAVLook.h"
#include "KAVMgr.h"
#include "KAVThemes.h"

#include <QChar>
#include <QFont>
#include <QLineEdit>
#include <QString>

#include <functional>

class QMenu;

namespace Kav {

// The short beep with which the edits refuse a key. Tests (and programs that want silence) put
// their own handler in; an empty one restores QApplication::beep(). Returns the handler
// installed before.
using BeepHandler = std::function<void(QWidget *control)>;
BeepHandler KavSetBeepHandler(BeepHandler handler);
void KavMessageBeep(QWidget *control);

} // namespace Kav

// A single-line edit with the skin's flat frame: Qt's line edit does the editing (input methods,
// clipboard, undo, accessibility) and paints the text; the edit then draws a two-pixel frame over
// it, the outer line in BorderColor and the inner one in the edit's Color.
//
// UIStyle and FileTheme choose the look; setting UIStyle (or FileTheme, which re-applies the
// current UIStyle) sets BorderColor to the look's ControlBorderColor, so a BorderColor set before
// the look is replaced and one set after it stays until the next look change. The file theme is
// not owned: when it is destroyed the edit falls back to DeepBlue.
//
// Typed characters pass through KeyPress (OnKeyPress first), which may replace or refuse them; a
// refused control character (Return, say) goes on to the window, so that default buttons still
// work. Entering the edit by keyboard or program selects its text when AutoSelect is set; a window
// coming back to the front or a closing menu is no new entry. Leaving it for another control
// clears the selection, so that only the edit being typed into shows one. OnChange follows every
// change of the text, also one made by the program.
class TkavEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(QChar PasswordChar READ PasswordChar WRITE setPasswordChar)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TkavEdit(QWidget *parent = nullptr);

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }

    // The background colour: the palette's Base, which Qt fills the edit with.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

    // The character that hides the text; a null character shows it. Qt draws its own hiding
    // character, whichever is given.
    QChar PasswordChar() const { return echoMode() == QLineEdit::Normal ? QChar() : m_passwordChar; }
    void setPasswordChar(QChar passwordChar);

    bool Visible() const { return !isHidden(); }

    // Tab reaches the edit; a click focuses it either way.
    bool TabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }
    void setTabStop(bool tabStop);

    // The standard context menu, with the entries that change the text disabled while the edit
    // takes no such changes (see acceptsEditing). The caller owns it.
    QMenu *createContextMenu();

Q_SIGNALS:
    void OnChange(QObject *sender);
    void OnClick(QObject *sender);
    void OnEnter(QObject *sender);
    void OnExit(QObject *sender);
    void OnKeyDown(QObject *sender, int key, Qt::KeyboardModifiers shift);
    // A handler may replace the typed character or refuse it by setting it to QChar().
    void OnKeyPress(QObject *sender, QChar &key);
    void OnKeyUp(QObject *sender, int key, Qt::KeyboardModifiers shift);

protected:
    // After every look change, once the look's values are in.
    virtual void UIStyleChanged() {}
    // The text changed: raises OnChange.
    virtual void Change();
    // A left click released on the edit: raises OnClick.
    virtual void Click();
    // The focus came into the edit (after AutoSelect did its part): raises OnEnter.
    virtual void DoEnter();
    // The focus left the edit for another control: raises OnExit.
    virtual void DoExit();
    // A typed character (printable, or a control character such as backspace or Return):
    // raises OnKeyPress; refuse it by setting key to QChar().
    virtual void KeyPress(QChar &key);
    // Whether the user may change the text in ways that type no character: paste, cut, delete,
    // undo, drop. Qt already refuses them to a read-only edit.
    virtual bool acceptsEditing() const { return true; }
    // Whether a paste or drop of text is let in (when editing is): a refused one beeps and
    // leaves the text as it was.
    virtual bool acceptsPaste(const QString &) const { return true; }


    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    TkavLook m_look;
    TColor m_borderColor;
    QChar m_passwordChar;
    bool m_autoSelect = true;
    // The focus went to a menu or another window, not to another control: its return is no entry.
    bool m_focusAway = false;
};

// An edit that takes its text through an edit mask in the classic notation (EditMask,
// "mask;save literals;blank"; see KavMapEditMask for how it maps onto Qt's input mask). Text
// leaves the mask's literals out when the mask says so; EditText is the text as shown.
class TkavMaskEdit : public TkavEdit {
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE setEditMask)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(QString EditText READ displayText)
    Q_PROPERTY(bool IsMasked READ IsMasked)

public:
    explicit TkavMaskEdit(QWidget *parent = nullptr);

    QString EditMask() const { return m_editMask; }
    void setEditMask(const QString &editMask);

    // The text with or without the mask's literals, as the mask's second field says.
    QString Text() const;
    bool IsMasked() const { return !inputMask().isEmpty(); }

private:
    QString m_editMask;
};

// An edit for a decimal number: Value is shown through the picture Mask ("0.00" by default, the
// notation of KavFormatFloat), right-aligned. Only digits, one decimal separator (when the mask
// has a point), backspace and a leading minus (when the mask has one) can be typed; anything
// else beeps. Entering or clicking the edit selects its last AutoSelectSigns characters (the
// decimals), so that typing replaces them; leaving it shows the value through the mask again.
//
// Value follows every valid change of the text. A text that is no number (typed, pasted or
// dropped) is replaced by the last value's and reported through OnConversionError; OnChange is
// not raised for it. Unless the program handles OnConversionError, the message is also shown to
// the user in the library's error box (KavErrorBox), once the text change is over.
class TkavNumberEdit : public TkavEdit {
    Q_OBJECT
    Q_PROPERTY(QString Mask READ Mask WRITE setMask)
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(int AutoSelectSigns READ AutoSelectSigns WRITE setAutoSelectSigns)

public:
    explicit TkavNumberEdit(QWidget *parent = nullptr);

    QString Mask() const { return m_mask; }
    // Stores the picture and shows the value through it.
    void setMask(const QString &mask);

    double Value() const { return m_value; }
    // Shows value through the mask; Value then holds the number as shown (1.234 with "0.00" reads
    // back as 1.23). Infinities and NaN are refused.
    void setValue(double value);

    int AutoSelectSigns() const { return m_autoSelectSigns; }
    void setAutoSelectSigns(int signs) { m_autoSelectSigns = signs; }

Q_SIGNALS:
    // The text could not be read as a number and was put back; message says which text.
    void OnConversionError(QObject *sender, const QString &message);

protected:
    void Change() override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void KeyPress(QChar &key) override;

private:
    void selectDecimals();
    void reportConversionError(const QString &message);

    QString m_mask;
    double m_value = 0;
    int m_autoSelectSigns = 2;
    // The text is being set from Value: a picture with literals may show what does not read back.
    bool m_showingValue = false;
};
