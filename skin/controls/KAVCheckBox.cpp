#include "KAVCheckBox.h"

#include "KAVAccelerator.h"
#include "KAVAccessible.h"
#include "KAVCheckPainter.h"
#include "KAVComposer.h"
#include "KAVMetrics.h"
#include "KAVRadioGroup.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace {

const char LoadingProperty[] = "KavLoading";

using StateFrames = std::array<Kav::TkavPicture, 4>;

// The four state frames of a picture key, as the picture store prepares them.
StateFrames storeFrames(const KavThemeValues &values, int key, Kav::PictureMask mask)
{
    StateFrames frames;
    const int count = int(frames.size());
    for (int frame = 1; frame <= count; ++frame)
        frames[std::size_t(frame - 1)] = values.picture(key, Kav::PictureRecipe{count, frame, mask, false});
    return frames;
}

// The state frames of the built-in looks, asked of the store once per look, key and mask: a look
// switch of hundreds of boxes is then one small look-up each rather than four look-ups by picture
// name. (Built-in pictures never change; a file theme's frames come from the store, which knows
// when they do.) Widgets live on the GUI thread only, and so does this table.
const StateFrames &builtInFrames(const KavThemeValues &values, int key, Kav::PictureMask mask)
{
    static QHash<quint32, StateFrames> table;
    const quint32 id = quint32(values.resolvedStyle()) << 16 | quint32(key) << 8 | quint32(mask);
    auto found = table.constFind(id);
    if (found == table.cend())
        found = table.insert(id, storeFrames(values, key, mask));
    return *found;
}

} // namespace

// Whether the control can be given the focus: shown and enabled, and, unless it is one of ours
// (which take the focus when clicked whatever their TabStop), accepting focus at all.
bool Kav::KavCanTakeFocus(const QWidget *control)
{
    return control->isVisible() && control->isEnabled()
        && (qobject_cast<const TkavCheckBox *>(control) || control->focusPolicy() != Qt::NoFocus);
}

// --- loading ---

TkavFormLoading::TkavFormLoading(QWidget *form)
    : m_form(form), m_wasLoading(form && form->property(LoadingProperty).toBool())
{
    Kav::KavSetLoading(form, true);
}

TkavFormLoading::~TkavFormLoading()
{
    Kav::KavSetLoading(m_form, m_wasLoading);
}

bool Kav::KavIsLoading(const QWidget *widget)
{
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->property(LoadingProperty).toBool())
            return true;
    }
    return false;
}

void Kav::KavSetLoading(QWidget *widget, bool loading)
{
    if (widget)
        widget->setProperty(LoadingProperty, loading ? QVariant(true) : QVariant());
}

// --- TkavCheckBox ---

TkavCheckBox::TkavCheckBox(QWidget *parent) : QAbstractButton(parent)
{
    Kav::KavInstallAccessibility();
    setCheckable(true);
    setTabStop(true);
    resize(Kav::Metrics::CheckBoxSize);
    // Every change of the one checked state, whoever makes it (a click, setChecked through either
    // class, a QButtonGroup), comes through here.
    connect(this, &QAbstractButton::toggled, this, &TkavCheckBox::checkedToggled);
    captionChanged();
    m_look.attach(this, [this](const KavThemeValues &values) {
        reloadPictures(values);
        update();
    });
}

void TkavCheckBox::reloadPictures(const KavThemeValues &values)
{
    const QSize before = statePicture().size();
    const Kav::PictureMask mask = GetPicTransparent() ? Kav::PictureMask::BottomLeft : Kav::PictureMask::None;
    const int key = GetPicThemeIndex();
    m_frames = values.usesFile() ? storeFrames(values, key, mask) : builtInFrames(values, key, mask);
    // A look switch between pictures of one size (the usual case) changes no size.
    if (statePicture().size() != before)
        applyAutoSize();
}

void TkavCheckBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    applyAutoSize();
    update();
}

void TkavCheckBox::setChecked(bool checked)
{
    // QAbstractButton stores it and raises toggled() on a real change (checkedToggled).
    QAbstractButton::setChecked(checked);
}

void TkavCheckBox::checkedToggled(bool checked)
{
    update();
    Q_EMIT CheckedChanged(checked);
    CheckStateChanged();
}

void TkavCheckBox::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavCheckBox::setCaption(const QString &caption)
{
    QAbstractButton::setText(caption);
    captionChanged();
    update();
}

void TkavCheckBox::captionChanged()
{
    m_captionSize = Kav::KavMeasureCheckCaption(font(), text());
    applyAutoSize();
}

void TkavCheckBox::setTabStop(bool tabStop)
{
    // Qt's click focus would move the focus on press; Click takes it on release instead.
    setFocusPolicy(tabStop ? Qt::TabFocus : Qt::NoFocus);
    update();
}

TColor TkavCheckBox::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Window);
}

void TkavCheckBox::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Window, color);
    update();
}

bool TkavCheckBox::NeedDrawFocus() const
{
    return TabStop() && hasFocus();
}

void TkavCheckBox::CheckStateChanged()
{
    raiseOnClick();
}

void TkavCheckBox::raiseOnClick()
{
    if (!isLoading())
        Q_EMIT OnClick(this);
}

void TkavCheckBox::DoClick()
{
    Toggle();
    setChecked(!Checked());
}

void TkavCheckBox::takeFocus()
{
    if (Kav::KavCanTakeFocus(this) && !hasFocus())
        setFocus(Qt::OtherFocusReason);
}

void TkavCheckBox::Click()
{
    if (!isEnabled())
        return;
    // Focus handlers may destroy the control.
    QPointer<TkavCheckBox> guard(this);
    takeFocus();
    if (guard)
        click();
}

int TkavCheckBox::frameNumber() const
{
    if (isEnabled())
        return isChecked() ? 1 : 2;
    return isChecked() ? 3 : 4;
}

Kav::TkavPicture TkavCheckBox::statePicture() const
{
    return m_frames[std::size_t(frameNumber() - 1)];
}

QSize TkavCheckBox::sizeHint() const
{
    return Kav::KavCheckSizeHint(statePicture().size(), m_captionSize);
}

void TkavCheckBox::applyAutoSize()
{
    // The size hint follows the picture and caption: a layout holding the box must hear of it.
    updateGeometry();
    if (!m_autoSize)
        return;
    const QSize wanted = sizeHint();
    if (size() != wanted)
        resize(wanted);
}

void TkavCheckBox::resizeEvent(QResizeEvent *e)
{
    QAbstractButton::resizeEvent(e);
    Kav::KavUpdateOpaquePaint(this);
}

void TkavCheckBox::paintEvent(QPaintEvent *)
{
    Kav::CheckOption option;
    option.size = size();
    option.picture = statePicture();
    option.caption = text();
    option.captionSize = m_captionSize;
    option.font = font();
    option.textColour = palette().color(QPalette::Active, QPalette::WindowText);
    option.focusFrame = NeedDrawFocus();
    const QColor colour = palette().color(QPalette::Window);
    Kav::KavPaintFace(this, m_transparent ? Kav::Backdrop::behind(colour) : Kav::Backdrop::filled(colour),
                      [&option](QImage &face) { Kav::KavPaintCheck(face, option); }, QRegion(),
                      Kav::FaceDensity::Device);
}

bool TkavCheckBox::event(QEvent *e)
{
    // The accelerator of the caption: focus and click at once, as the keyboard's way of clicking
    // (QAbstractButton would animate the click over a tenth of a second).
    if (e->type() == QEvent::Shortcut) {
        Click();
        return true;
    }
    return QAbstractButton::event(e);
}

void TkavCheckBox::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::FontChange:
        captionChanged();
        update();
        break;
    case QEvent::EnabledChange: // a disabled frame may differ in size in a theme file
        applyAutoSize();
        update();
        break;
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(e);
}

void TkavCheckBox::mouseReleaseEvent(QMouseEvent *e)
{
    // A release that clicks takes the focus first, as every way of clicking does (Click).
    if (e->button() == Qt::LeftButton && isDown() && hitButton(e->position().toPoint())) {
        QPointer<TkavCheckBox> guard(this);
        takeFocus();
        if (!guard)
            return;
    }
    QAbstractButton::mouseReleaseEvent(e);
}

void TkavCheckBox::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    if (WantKeyUp() && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        e->accept();
        return;
    }
    // Arrow keys step through the controls of the same parent, as in a dialog: that is how the
    // items of a group are reached, since they are left out of the Tab order.
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    const bool backward = key == Qt::Key_Left || key == Qt::Key_Up;
    if ((forward || backward) && e->modifiers() == Qt::NoModifier && focusSibling(forward)) {
        e->accept();
        return;
    }
    if (Kav::KavBareAccelerator(this, e)) {
        e->accept();
        return;
    }
    // Nothing of QAbstractButton's pressing: other keys go to the parent.
    e->ignore();
}

bool TkavCheckBox::focusSibling(bool forward)
{
    QWidget *parent = parentWidget();
    if (!parent)
        return false;
    // The parent's other focusable children in tab order, starting after this one (the focus
    // chain is a ring through every widget of the window, this one included).
    QList<QWidget *> ring;
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->parentWidget() == parent && Kav::KavCanTakeFocus(w))
            ring.append(w);
    }
    if (ring.isEmpty())
        return false;
    QWidget *target = forward ? ring.first() : ring.last();
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TkavCheckBox::keyReleaseEvent(QKeyEvent *e)
{
    const int key = e->key();
    if (!e->isAutoRepeat() && WantKeyUp() && hasFocus() && isEnabled()
        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        e->accept();
        Click();
        return;
    }
    e->ignore();
}

// --- TkavRadioButton ---

TkavRadioButton::TkavRadioButton(QWidget *parent) : TkavCheckBox(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *previous, QWidget *now) {
        if (now == this)
            focusArrived(previous);
    });
}

void TkavRadioButton::CheckStateChanged()
{
    if (!Checked())
        return;
    uncheckGroup();
    raiseOnClick();
}

void TkavRadioButton::uncheckGroup()
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    // A group is the radio buttons of one parent with one GroupIndex. The members are collected
    // first and guarded, since an unchecked sibling's handlers may add or remove controls.
    QList<QPointer<TkavRadioButton>> group;
    for (QObject *sibling : parent->children()) {
        auto *radio = qobject_cast<TkavRadioButton *>(sibling);
        if (radio && radio != this && radio->GroupIndex() == m_groupIndex)
            group.append(radio);
    }
    for (const QPointer<TkavRadioButton> &radio : group) {
        if (radio && radio->parentWidget() == parent && radio->GroupIndex() == m_groupIndex)
            radio->setChecked(false);
    }
}

void TkavRadioButton::DoClick()
{
    if (!Checked())
        setChecked(true);
}

void TkavRadioButton::focusArrived(QWidget *previous)
{
    // The arrow keys move the focus between the items of a radio group, and the choice moves with
    // it: focus that comes from another item of the same group chooses this one. The click that
    // follows a mouse press (which takes the focus first) then finds nothing left to change.
    const auto *item = qobject_cast<const TkavRadioGroupButton *>(previous);
    if (item && item != this && item->parentWidget() == parentWidget())
        DoClick();
}

// Keyboard users must be able to choose, and the arrow keys only move among the controls: Space
// released on a focused radio button clicks it (a checked one stays as it is). Enter is left to
// the window.
void TkavRadioButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space) {
        e->accept();
        return;
    }
    TkavCheckBox::keyPressEvent(e);
}

void TkavRadioButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat() && hasFocus() && isEnabled()) {
        e->accept();
        Click();
        return;
    }
    TkavCheckBox::keyReleaseEvent(e);
}
