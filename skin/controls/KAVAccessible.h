#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>
#include <QStringList>

// Accessibility of the skinned controls whose role, name or state Qt cannot tell by itself.
//
// One factory serves them all: it answers for the class names in its table (KAVAccessible.cpp)
// and leaves every other class to Qt. Subclasses of a listed class are covered too, since Qt asks
// the factory for each class name up the inheritance chain. To describe a new control, add a
// row to the table (and, when none of the classes below fits, a class here).
//
// The interfaces read the controls through their published properties and slots only, so this
// unit needs none of the controls' headers.

// Installs the factory; every later call does nothing. The constructors of the controls in the
// table call it, so a program never needs to.
void KavInstallAccessibility();

// The text a control shows with its mnemonic marks removed ("&Start" -> "Start", "&&" -> "&").
QString KavStripMnemonic(const QString &text);

// A two-state control (check box, radio button). Reads its "Caption" and "Checked" properties;
// its toggle action calls the control's "Click" slot, as a mouse click would.
class TkavCheckableAccessible : public QAccessibleWidget {
public:
    TkavCheckableAccessible(QWidget *widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};

// A frame that groups other controls (group boxes, check and radio groups), named by its
// "Caption" property.
class TkavGroupingAccessible : public QAccessibleWidget {
public:
    explicit TkavGroupingAccessible(QWidget *widget);

    QString text(QAccessible::Text t) const override;
};

// A panel that can roll up to its caption bar (TkavPanel): a grouping named by its "Caption",
// expandable while its push button is shown ("PushButtonShown"), expanded or collapsed after its
// "Pushed" property; its toggle action rolls it through the "Push" and "Pop" slots.
class TkavRollingPanelAccessible : public TkavGroupingAccessible {
public:
    explicit TkavRollingPanelAccessible(QWidget *widget);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
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

// A web link (TkavURLLabel): named by its "Caption", its "URL" as description; the press action
// opens it through the "Click" slot, as a mouse click would.
class TkavLinkAccessible : public QAccessibleWidget {
public:
    explicit TkavLinkAccessible(QWidget *widget);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
