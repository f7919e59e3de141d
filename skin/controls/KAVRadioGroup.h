#pragma once

#include "KAVCheckBox.h"
#include "KAVGroupBox.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <stdexcept>

class TkavCheckGroup;

// Raised when an item of a group is written at an index it does not have.
class EKavListError : public std::out_of_range {
public:
    explicit EKavListError(int index);
    int index() const { return m_index; }

private:
    int m_index;
};

// The check box a check group makes for one of its items.
class TkavCheckGroupButton : public TkavCheckBox {
    Q_OBJECT

public:
    TkavCheckGroupButton(QWidget *owner, TkavCheckGroup *group);
    TkavCheckGroup *group() const { return m_group; }

protected:
    // The focus frame shows on the item that has the focus.
    bool NeedDrawFocus() const override { return hasFocus(); }

private:
    QPointer<TkavCheckGroup> m_group;
};

// The radio button a radio group makes for one of its items.
class TkavRadioGroupButton : public TkavRadioButton {
    Q_OBJECT

public:
    TkavRadioGroupButton(QWidget *owner, TkavCheckGroup *group);
    TkavCheckGroup *group() const { return m_group; }

protected:
    // The focus frame shows on the item that has the focus, and on the checked item while the
    // group has it.
    bool NeedDrawFocus() const override;
    // Asks the radio group (CanModify) before checking. A button outside a radio group behaves as
    // a plain radio button.
    void DoClick() override;

private:
    QPointer<TkavCheckGroup> m_group;
};

// A group box that makes one check box per line of Items and lays them out in columns (first
// column top to bottom, then the next). Its OnClick follows every change of an item's state and
// a click on the group itself, never while loading.
//
// Controls placed inside by hand (the settings panel's radio buttons) are framed, restyled and
// enabled with the group but never moved; radio buttons among them keep their own exclusivity
// (one parent, one GroupIndex).
class TkavCheckGroup : public TkavCustomGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(int Columns READ Columns WRITE setColumns)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE setTopMargin)

public:
    explicit TkavCheckGroup(QWidget *parent = nullptr);
    ~TkavCheckGroup() override;

    QStringList Items() const { return m_items; }
    // Copies the lines and rebuilds the item buttons: surplus ones are taken off from the end
    // (hidden now, destroyed later), missing ones made, every one captioned and the lot laid out
    // again.
    void setItems(const QStringList &items);

    int Columns() const { return m_columns; }
    // Negative values are ignored. With 0 columns the items are laid out in one.
    void setColumns(int columns);
    int TopMargin() const { return m_topMargin; }
    // Negative values are ignored.
    void setTopMargin(int topMargin);

    // The item buttons, in Items order.
    const QList<TkavCheckBox *> &buttons() const { return m_buttons; }

    // Reading outside the items gives false; writing there raises EKavListError.
    bool Checked(int index) const;
    void setChecked(int index, bool checked);
    bool ItemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);

    // Lays the item buttons out in the item area; other children are never touched.
    void ArrangeButtons();

Q_SIGNALS:
    void OnClick(QObject *sender);

protected:
    // Runs first on every click of the group; nothing here.
    virtual void NewClick() {}
    // Makes one item button, a child of this group.
    virtual TkavCheckBox *CreateAButton();
    // The group itself received the focus: hand it to the first item.
    virtual void FocusUpdate();

    void SetTransparent(bool transparent) override;
    void UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme) override;

    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    // Shift+Tab from inside the group steps over the group itself, which would hand the focus
    // straight back to the item.
    bool focusNextPrevChild(bool next) override;
    void Click() override { clickRoutine(); }

    TkavCheckBox *button(int index) const;

private Q_SLOTS:
    void clickRoutine();

private:
    void rebuildButtons();
    void passFocusOn(Qt::FocusReason reason);

    QStringList m_items;
    QList<TkavCheckBox *> m_buttons;
    int m_columns = 1;
    int m_topMargin = 8;
    bool m_passingFocusOn = false;
};

// A check group of radio buttons: at most one item is checked, ItemIndex tells which.
class TkavRadioGroup : public TkavCheckGroup {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)

public:
    explicit TkavRadioGroup(QWidget *parent = nullptr);

    // The first checked item, -1 when none is.
    int ItemIndex() const;
    // -1 unchecks every item; 0..count-1 checks that item (which unchecks the others); any other
    // value is ignored.
    void setItemIndex(int index);

    // Whether the choice may change now; a hook for descendants.
    virtual bool CanModify() const { return true; }

protected:
    TkavCheckBox *CreateAButton() override;
    // Hands the focus to the checked item; with none checked, to the first item that can take
    // it, choosing nothing.
    void FocusUpdate() override;
};
