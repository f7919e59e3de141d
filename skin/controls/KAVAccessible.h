#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <QRect>
#include <QString>
#include <QStringList>

class TkavCheckBox;
class TkavPanel;
class TkavURLLabel;

// Accessibility of the skinned controls whose role, name or state Qt cannot tell by itself.
//
// One factory serves them all: it recognises the skin's controls (KAVAccessible.cpp) and leaves
// every other class to Qt. Subclasses of a recognised class are covered too. To describe a new
// control, add it to the factory (and, when none of the classes below fits, a class here).
//
// Actions call the controls directly, never through the meta-object, and only where the
// operation can be done: an action that is not possible does nothing.

namespace Kav {
// Installs the factory; every later call does nothing. The constructors of the controls in the
// table call it, so a program never needs to.
void KavInstallAccessibility();

// The text a control shows with its mnemonic marks removed ("&Start" -> "Start", "&&" -> "&").
QString KavStripMnemonic(const QString &text);
} // namespace Kav

// A two-state control (check box, radio button), named by its caption; its toggle action clicks
// it (TkavCheckBox::Click), as a mouse click would.
class TkavCheckableAccessible : public QAccessibleWidget {
public:
    TkavCheckableAccessible(TkavCheckBox *box, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    TkavCheckBox *box() const;
};

// A frame that groups other controls (group boxes, check and radio groups), named by its
// "Caption" property.
class TkavGroupingAccessible : public QAccessibleWidget {
public:
    explicit TkavGroupingAccessible(QWidget *widget);

    QString text(QAccessible::Text t) const override;
};

// A panel that can roll up to its caption bar (TkavPanel): a grouping named by its caption,
// expandable while its push button is shown, expanded or collapsed as it is rolled; its toggle
// action rolls it (Push, Pop) while the button is shown and does nothing otherwise. The push
// button itself is its last child while shown: a button "Roll up" or "Roll down" whose press
// rolls the panel, with its keys (Alt+Up, Alt+Down, taken by the panel from any control in it).
class TkavRollingPanelAccessible : public TkavGroupingAccessible {
public:
    explicit TkavRollingPanelAccessible(TkavPanel *panel);
    ~TkavRollingPanelAccessible() override;

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    TkavPanel *panel() const;
    bool canRoll() const;
    QAccessibleInterface *rollButton() const;

    mutable QAccessible::Id m_rollButton = 0;
};

// A button that shows a picture instead of a caption (arrow buttons, glyph buttons). Named by its
// caption when it has one, else by its tool tip, else by the fallback its table row gives (an
// arrow button's direction); the press action clicks it at once (QAbstractButton::click).
class TkavGlyphButtonAccessible : public QAccessibleWidget {
public:
    using NameOf = QString (*)(const QWidget *widget);
    explicit TkavGlyphButtonAccessible(QWidget *widget, NameOf fallbackName = nullptr);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    NameOf m_fallbackName;
};

// A web link (TkavURLLabel): named by its caption, its URL as description; the press action
// opens it (TkavURLLabel::Click), as a mouse click would.
class TkavLinkAccessible : public QAccessibleWidget {
public:
    explicit TkavLinkAccessible(TkavURLLabel *label);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    TkavURLLabel *label() const;
};

// A single-line edit of the skin (TkavEdit and the edits built on it), as Qt describes its own
// line edit, with its text readable and editable through the text interfaces, except that a
// read-only edit is read-only and not also editable.
class TkavLineEditAccessible : public QAccessibleWidget,
                               public QAccessibleTextInterface,
                               public QAccessibleEditableTextInterface {
public:
    explicit TkavLineEditAccessible(QLineEdit *edit, QAccessible::Role role = QAccessible::EditableText);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    QLineEdit *lineEdit() const;
    // The text as a reader may see it: a password edit shows only its hiding characters.
    QString shownText() const;
};

// A part that a control draws itself (a tab of a tab strip, a picture button of a title bar), as
// assistive tools see it: a childless element of the control with a press action. A subclass
// says whether the part still exists, what it is called, its role and state, where it is drawn
// (in the control's coordinates; null when not shown) and what pressing it does.
class TkavDrawnPartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TkavDrawnPartAccessible(QWidget *control, int index);

    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

protected:
    QWidget *control() const { return m_control; }
    int index() const { return m_index; }
    virtual QRect localRect() const = 0;
    virtual void press() = 0;

private:
    QPointer<QWidget> m_control;
    int m_index;
};
