#include "KAVRadioGroup.h"

#include "KAVFunctions.h"

#include <QApplication>
#include <QFocusEvent>

#include <utility>

EKavListError::EKavListError(int index)
    : std::out_of_range(QStringLiteral("List index out of bounds (%1)").arg(index).toStdString()),
      m_index(index)
{
}

// --- item buttons ---

TkavCheckGroupButton::TkavCheckGroupButton(QWidget *owner, TkavCheckGroup *group)
    : TkavCheckBox(owner), m_group(group)
{
}

TkavRadioGroupButton::TkavRadioGroupButton(QWidget *owner, TkavCheckGroup *group)
    : TkavRadioButton(owner), m_group(group)
{
}

bool TkavRadioGroupButton::NeedDrawFocus() const
{
    // An item with the focus shows it, chosen or not (nothing may be chosen yet).
    const QWidget *groupWidget = parentWidget();
    return hasFocus() || (Checked() && groupWidget && groupWidget->hasFocus());
}

void TkavRadioGroupButton::DoClick()
{
    const auto *radioGroup = qobject_cast<TkavRadioGroup *>(parentWidget());
    if (radioGroup == nullptr || radioGroup->CanModify())
        TkavRadioButton::DoClick();
}

// --- TkavCheckGroup ---

TkavCheckGroup::TkavCheckGroup(QWidget *parent) : TkavCustomGroupBox(parent)
{
    setTabStop(true);
}

TkavCheckGroup::~TkavCheckGroup()
{
    // The items go first, while the list that tracks them still exists.
    qDeleteAll(std::exchange(m_buttons, {}));
}

void TkavCheckGroup::setItems(const QStringList &items)
{
    m_items = items;
    rebuildButtons();
}

void TkavCheckGroup::rebuildButtons()
{
    // A surplus item may be in the middle of its own click or focus change (a handler of the
    // group's OnClick shrinking Items): it leaves the group at once but is destroyed only once
    // control is back in the event loop.
    while (m_buttons.size() > m_items.size()) {
        TkavCheckBox *surplus = m_buttons.takeLast();
        disconnect(surplus, nullptr, this, nullptr);
        surplus->hide();
        surplus->deleteLater();
    }

    bool created = false;
    while (m_buttons.size() < m_items.size()) {
        TkavCheckBox *item = CreateAButton();
        item->setAutoSize(true);
        item->setFileTheme(FileTheme());
        item->setUIStyle(UIStyle());
        item->setTransparent(Transparent());
        item->setTabStop(false);
        connect(item, &TkavCheckBox::OnClick, this, &TkavCheckGroup::clickRoutine);
        connect(item, &QObject::destroyed, this, [this, item] { m_buttons.removeAll(item); });
        m_buttons.append(item);
        item->show();
        created = true;
    }

    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setCaption(m_items[i]);
        m_buttons[i]->setAutoSize(true);
    }
    ArrangeButtons();
    if (created)
        SetTransparent(Transparent());
}

TkavCheckBox *TkavCheckGroup::CreateAButton()
{
    return new TkavCheckGroupButton(this, this);
}

void TkavCheckGroup::setColumns(int columns)
{
    if (columns < 0)
        return;
    m_columns = columns;
    ArrangeButtons();
}

void TkavCheckGroup::setTopMargin(int topMargin)
{
    if (topMargin < 0)
        return;
    m_topMargin = topMargin;
    ArrangeButtons();
}

void TkavCheckGroup::ArrangeButtons()
{
    const int count = int(m_buttons.size());
    if (count == 0)
        return;
    // No column count would leave the items nowhere; they go into one column then.
    const int columns = qMax(1, m_columns);
    const QRect area = GetClient();
    const int top = area.top() + m_topMargin;
    const int avail = Kav::KavBottom(area) - top;
    const int rows = (count + columns - 1) / columns;
    const int columnWidth = (width() - 10) / columns;
    const int rowHeight = avail / rows;
    // The spare pixels are split above and below the rows.
    const int firstRowTop = top + (avail % rows) / 2;
    for (int i = 0; i < count; ++i)
        m_buttons[i]->move(i / rows * columnWidth + 8, i % rows * rowHeight + firstRowTop);
}

TkavCheckBox *TkavCheckGroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

bool TkavCheckGroup::Checked(int index) const
{
    const TkavCheckBox *item = button(index);
    return item && item->Checked();
}

void TkavCheckGroup::setChecked(int index, bool checked)
{
    TkavCheckBox *item = button(index);
    if (!item)
        throw EKavListError(index);
    item->setChecked(checked);
}

bool TkavCheckGroup::ItemEnabled(int index) const
{
    const TkavCheckBox *item = button(index);
    return item && item->isEnabled();
}

void TkavCheckGroup::setItemEnabled(int index, bool enabled)
{
    TkavCheckBox *item = button(index);
    if (!item)
        throw EKavListError(index);
    item->setEnabled(enabled);
}

void TkavCheckGroup::SetTransparent(bool transparent)
{
    TkavCustomGroupBox::SetTransparent(transparent);
    for (TkavCheckBox *item : std::as_const(m_buttons))
        item->setTransparent(transparent);
}

void TkavCheckGroup::UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    TkavCustomGroupBox::UpdateUIStyle(style, fileTheme);
    // The items take the group's colour by palette inheritance.
    for (TkavCheckBox *item : std::as_const(m_buttons)) {
        item->setFileTheme(fileTheme);
        item->setUIStyle(style);
    }
}

void TkavCheckGroup::clickRoutine()
{
    NewClick();
    if (!Kav::KavIsLoading(this))
        Q_EMIT OnClick(this);
}

void TkavCheckGroup::changeEvent(QEvent *e)
{
    TkavCustomGroupBox::changeEvent(e);
    // The items follow the group's font by inheritance; the item area moves with its height.
    if (e->type() == QEvent::FontChange)
        ArrangeButtons();
}

void TkavCheckGroup::resizeEvent(QResizeEvent *e)
{
    TkavCustomGroupBox::resizeEvent(e);
    update();
    ArrangeButtons();
}

void TkavCheckGroup::focusInEvent(QFocusEvent *e)
{
    TkavCustomGroupBox::focusInEvent(e);
    FocusUpdate();
    if (hasFocus())
        passFocusOn(e->reason());
}

namespace {

// Whether Tab stops at the widget.
bool isTabStop(const QWidget *widget)
{
    return widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus);
}

} // namespace

// The group shows no focus of its own, so it never keeps it: a child that can take the focus gets
// it (the hand-placed choices of a settings group), the first one in Tab order, or with Shift+Tab
// the last. Tab and Shift+Tab give it to a child only when it comes before any stop outside the
// group (a form may put the group after its choices in the Tab order); otherwise they go on past
// the group.
void TkavCheckGroup::passFocusOn(Qt::FocusReason reason)
{
    const bool backwards = reason == Qt::BacktabFocusReason;
    const bool byTab = backwards || reason == Qt::TabFocusReason;
    QWidget *w = this;
    while (true) {
        w = backwards ? w->previousInFocusChain() : w->nextInFocusChain();
        if (w == nullptr || w == this)
            break;
        if (isAncestorOf(w)) {
            if (Kav::KavCanTakeFocus(w)) {
                w->setFocus(reason);
                return;
            }
        } else if (byTab && isTabStop(w)) {
            break;
        }
    }
    // Re-entered only when every Tab stop of the window is such a group: it stays here then.
    if (!byTab || m_passingFocusOn)
        return;
    QPointer<TkavCheckGroup> guard(this);
    m_passingFocusOn = true;
    focusNextPrevChild(!backwards);
    if (guard)
        m_passingFocusOn = false;
}

bool TkavCheckGroup::focusNextPrevChild(bool next)
{
    const QWidget *focus = QApplication::focusWidget();
    if (next || focus == nullptr || focus == this || !isAncestorOf(focus))
        return TkavCustomGroupBox::focusNextPrevChild(next);
    // For this one step the group is no Tab stop; the focus change may end in code that
    // destroys the group.
    const Qt::FocusPolicy policy = focusPolicy();
    QPointer<TkavCheckGroup> guard(this);
    setFocusPolicy(Qt::NoFocus);
    const bool moved = TkavCustomGroupBox::focusNextPrevChild(false);
    if (guard)
        setFocusPolicy(policy);
    return moved;
}

void TkavCheckGroup::FocusUpdate()
{
    TkavCheckBox *first = button(0);
    if (first && Kav::KavCanTakeFocus(first))
        first->setFocus(Qt::OtherFocusReason);
}

// --- TkavRadioGroup ---

TkavRadioGroup::TkavRadioGroup(QWidget *parent) : TkavCheckGroup(parent) {}

TkavCheckBox *TkavRadioGroup::CreateAButton()
{
    return new TkavRadioGroupButton(this, this);
}

int TkavRadioGroup::ItemIndex() const
{
    const QList<TkavCheckBox *> &items = buttons();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->Checked())
            return int(i);
    }
    return -1;
}

void TkavRadioGroup::setItemIndex(int index)
{
    if (index < -1 || index > Items().size() - 1)
        return;
    if (index == -1) {
        for (TkavCheckBox *item : buttons())
            item->setChecked(false);
        return;
    }
    if (TkavCheckBox *item = button(index))
        item->setChecked(true);
}

void TkavRadioGroup::FocusUpdate()
{
    const int index = ItemIndex();
    TkavCheckBox *checked = button(index);
    if (checked) {
        if (Kav::KavCanTakeFocus(checked))
            checked->setFocus(Qt::OtherFocusReason);
        return;
    }
    // With nothing chosen the group would keep a focus it does not show, and the arrow keys would
    // have no item to start from: the first item that can take it gets it, chosen or not.
    for (TkavCheckBox *item : buttons()) {
        if (Kav::KavCanTakeFocus(item)) {
            item->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
