#include "KAVCheckBox.h"

#include "KAVAccessible.h"
#include "KAVFunctions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

const char LoadingProperty[] = "KavLoading";

// Geometry of the face, shared by sizing and painting.
constexpr int PictureLeft = 1;
constexpr int TextGap = 4;      // caption starts this far right of the picture
constexpr int ExtraWidth = 8;   // picture + caption + this
constexpr int ExtraHeight = 4;  // max(text + 2, picture) + this

// Height of a line of text in the font (ascent + descent), as "W" measures.
int textHeight(const QFontMetrics &metrics)
{
    return metrics.height();
}

// Draws picture at (x, y), leaving out the pixels of its bottom-left colour when keyed.
void drawPicture(QImage &canvas, const QImage &picture, int x, int y, bool keyed)
{
    if (picture.isNull())
        return;
    QPainter painter(&canvas);
    if (!keyed) {
        painter.drawImage(x, y, picture);
        return;
    }
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture.pixel(0, picture.height() - 1) | 0xFF000000u;
    for (int row = 0; row < masked.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(row));
        for (int column = 0; column < masked.width(); ++column) {
            if ((line[column] | 0xFF000000u) == key)
                line[column] = 0;
        }
    }
    painter.drawImage(x, y, masked);
}

// The platform's focus rectangle: every other pixel of the outline inverted.
void drawFocusRect(QImage &canvas, const QRect &rect)
{
    const QRect area = rect.intersected(canvas.rect());
    if (area.isEmpty())
        return;
    auto invert = [&canvas](int x, int y) {
        if ((x + y) % 2 != 0)
            return;
        const QRgb pixel = canvas.pixel(x, y);
        canvas.setPixel(x, y, qRgb(255 - qRed(pixel), 255 - qGreen(pixel), 255 - qBlue(pixel)));
    };
    const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    for (int x = area.left(); x <= area.right(); ++x) {
        if (top >= area.top())
            invert(x, top);
        if (bottom <= area.bottom() && bottom != top)
            invert(x, bottom);
    }
    for (int y = area.top() + 1; y < area.bottom(); ++y) {
        if (left >= area.left())
            invert(left, y);
        if (right <= area.right() && right != left)
            invert(right, y);
    }
}

} // namespace

// Whether the control can be given the focus: shown and enabled, and, unless it is one of ours
// (which take the focus when clicked whatever their TabStop), accepting focus at all.
bool KavCanTakeFocus(const QWidget *control)
{
    return control->isVisible() && control->isEnabled()
        && (qobject_cast<const TkavCheckBox *>(control) || control->focusPolicy() != Qt::NoFocus);
}

namespace {

// The radio button that last lost the focus, until the focus change is complete; lets a radio
// button tell whether the focus came to it from a radio group's item.
QPointer<QWidget> &radioLosingFocus()
{
    static QPointer<QWidget> widget;
    return widget;
}

void watchFocusChanges()
{
    static bool watching = false;
    if (watching || qApp == nullptr)
        return;
    watching = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp,
                     [] { radioLosingFocus().clear(); });
}

} // namespace

// --- loading ---

TkavFormLoading::TkavFormLoading(QWidget *form)
    : m_form(form), m_wasLoading(form && form->property(LoadingProperty).toBool())
{
    KavSetLoading(form, true);
}

TkavFormLoading::~TkavFormLoading()
{
    KavSetLoading(m_form, m_wasLoading);
}

bool KavIsLoading(const QWidget *widget)
{
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->property(LoadingProperty).toBool())
            return true;
    }
    return false;
}

void KavSetLoading(QWidget *widget, bool loading)
{
    if (widget)
        widget->setProperty(LoadingProperty, loading ? QVariant(true) : QVariant());
}

// --- TkavCheckBox ---

TkavCheckBox::TkavCheckBox(QWidget *parent) : QAbstractButton(parent)
{
    KavInstallAccessibility();
    setCheckable(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setTabStop(true);
    resize(93, 17);
    m_look.setUIStyle(GetKAVFormStyle(parent ? parent->window() : nullptr));
    reloadPictures();
    applyAutoSize();
}

void TkavCheckBox::setUIStyle(TkavUIStyle style)
{
    m_look.setUIStyle(style);
    reloadPictures();
    applyAutoSize();
    update();
}

void TkavCheckBox::setFileTheme(TkavFileTheme *fileTheme)
{
    m_look.setFileTheme(fileTheme, this, [this] { setUIStyle(TkavUIStyle::DeepBlue); });
    setUIStyle(UIStyle());
}

void TkavCheckBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    applyAutoSize();
    update();
}

void TkavCheckBox::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    // Keeps QAbstractButton's view in step (isChecked(), toggled()); checkStateSet then finds
    // nothing to do.
    QAbstractButton::setChecked(checked);
    update();
    Q_EMIT CheckedChanged(checked);
    CheckStateChanged();
}

void TkavCheckBox::checkStateSet()
{
    if (QAbstractButton::isChecked() != m_checked)
        setChecked(QAbstractButton::isChecked());
}

void TkavCheckBox::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TkavCheckBox::setCaption(const QString &caption)
{
    QAbstractButton::setText(caption);
    applyAutoSize();
    update();
}

void TkavCheckBox::setTabStop(bool tabStop)
{
    // Qt's click focus would move the focus on press; Click takes it on release instead.
    setFocusPolicy(tabStop ? Qt::TabFocus : Qt::NoFocus);
    update();
}

TColor TkavCheckBox::Color() const
{
    return KavPaletteColor(this, QPalette::Window);
}

void TkavCheckBox::setColor(TColor color)
{
    KavSetPaletteColor(this, QPalette::Window, color);
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

void TkavCheckBox::Click()
{
    if (!isEnabled())
        return;
    QPointer<TkavCheckBox> guard(this);
    if (KavCanTakeFocus(this) && !hasFocus())
        setFocus(Qt::OtherFocusReason);
    if (guard)
        DoClick();
}

void TkavCheckBox::reloadPictures()
{
    const KavThemeValues values = m_look.values();
    for (int frame = 1; frame <= 4; ++frame) {
        QImage &picture = m_frames[frame - 1];
        try {
            picture = values.bitmap(GetPicThemeIndex(), 4, frame);
        } catch (const EKavResourceNotFound &) {
            // A look without this picture draws none.
            picture = QImage();
        }
        if (picture.width() == 0 || picture.height() == 0)
            picture = QImage();
    }
}

int TkavCheckBox::frameNumber() const
{
    if (isEnabled())
        return m_checked ? 1 : 2;
    return m_checked ? 3 : 4;
}

QImage TkavCheckBox::statePicture() const
{
    return m_frames[frameNumber() - 1];
}

QSize TkavCheckBox::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QImage picture = statePicture();
    const int height = qMax(textHeight(metrics) + 2, picture.height()) + ExtraHeight;
    const int width = picture.width()
        + metrics.horizontalAdvance(KavStripMnemonic(text())) + ExtraWidth;
    return QSize(width, height);
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

QImage TkavCheckBox::composeFace() const
{
    QImage face(size(), QImage::Format_RGB32);
    if (face.isNull())
        return face;

    // Background: the colour, or what lies behind the control (behind the tab sheet when on one).
    face.fill(Color().toRgb());
    if (m_transparent) {
        const QWidget *parent = parentWidget();
        QPainter behind(&face);
        KavPaintBehind(behind, const_cast<TkavCheckBox *>(this), parent && KavIsTabSheet(parent));
    }

    const QImage picture = statePicture();
    drawPicture(face, picture, PictureLeft, (height() - picture.height()) / 2, GetPicTransparent());

    QPainter painter(&face);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    const QFontMetrics metrics(font());
    const int lineHeight = textHeight(metrics);
    const int textLeft = picture.width() + TextGap;
    const int textTop = (height() - lineHeight) / 2;
    painter.drawText(QRect(textLeft, textTop, qMax(0, width() - textLeft), qMax(0, height() - textTop)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    painter.end();

    if (NeedDrawFocus())
        drawFocusRect(face, KavRect(textLeft - 1, textTop, width(), textTop + lineHeight + 2));
    return face;
}

void TkavCheckBox::paintEvent(QPaintEvent *)
{
    // The size follows picture and caption; a caption set behind our back is caught up here.
    applyAutoSize();
    const QImage face = composeFace();
    QPainter painter(this);
    painter.drawImage(0, 0, face);
}

bool TkavCheckBox::event(QEvent *e)
{
    // The accelerator of the caption: focus and click, as the keyboard's way of clicking.
    if (e->type() == QEvent::Shortcut) {
        if (isEnabled())
            Click();
        return true;
    }
    return QAbstractButton::event(e);
}

void TkavCheckBox::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::FontChange:
        applyAutoSize();
        update();
        break;
    case QEvent::EnabledChange:
        if (!isEnabled())
            m_leftDown = false;
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

void TkavCheckBox::focusInEvent(QFocusEvent *e)
{
    QAbstractButton::focusInEvent(e);
    update();
}

void TkavCheckBox::focusOutEvent(QFocusEvent *e)
{
    QAbstractButton::focusOutEvent(e);
    update();
}

void TkavCheckBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        m_leftDown = true;
        e->accept();
        return;
    }
    e->ignore();
}

void TkavCheckBox::mouseMoveEvent(QMouseEvent *e)
{
    e->accept();
}

void TkavCheckBox::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    e->accept();
    const bool wasDown = m_leftDown;
    m_leftDown = false;
    // A click is a press and a release on the control; a double click comes as two clicks.
    if (wasDown && rect().contains(e->position().toPoint()))
        Click();
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
        if (w->parentWidget() == parent && KavCanTakeFocus(w))
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
        update();
        Click();
        return;
    }
    e->ignore();
}

// --- TkavRadioButton ---

TkavRadioButton::TkavRadioButton(QWidget *parent) : TkavCheckBox(parent)
{
    watchFocusChanges();
    // The radio picture differs from the check box picture the base constructor loaded.
    setUIStyle(UIStyle());
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

void TkavRadioButton::focusOutEvent(QFocusEvent *e)
{
    radioLosingFocus() = this;
    TkavCheckBox::focusOutEvent(e);
}

void TkavRadioButton::focusInEvent(QFocusEvent *e)
{
    TkavCheckBox::focusInEvent(e);
    QWidget *previous = radioLosingFocus();
    radioLosingFocus().clear();
    // Only an item of the same group counts: an item of another group may still be on record
    // when a group that took the focus hands it on to its item, which must not choose that item.
    if (previous && previous != this && previous->inherits("TkavRadioGroupButton")
        && previous->parentWidget() == parentWidget())
        Click();
}
