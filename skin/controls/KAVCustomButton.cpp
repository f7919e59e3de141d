#include "KAVCustomButton.h"

#include "KAVFunctions.h"

#include <QAction>
#include <QDialog>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QTimer>

#include <exception>

namespace {

// ---------------------------------------------------------------------------------------------
// Repeat timers

class QtRepeatTimer final : public TkavRepeatTimer {
public:
    explicit QtRepeatTimer(QObject *owner) : m_timer(new QTimer(owner)) {}
    ~QtRepeatTimer() override
    {
        // The timer may be freed from inside its own tick; the owner deletes it should the
        // deferred deletion never run.
        m_timer->stop();
        QObject::disconnect(m_timer, nullptr, nullptr, nullptr);
        m_timer->deleteLater();
    }

    void start(int intervalMs, std::function<void()> tick) override
    {
        m_timer->setInterval(intervalMs);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, std::move(tick));
        m_timer->start();
    }

private:
    QTimer *m_timer;
};

TkavRepeatTimerFactory &repeatTimerFactory()
{
    static TkavRepeatTimerFactory factory;
    return factory;
}

std::unique_ptr<TkavRepeatTimer> makeRepeatTimer(QObject *owner)
{
    if (const TkavRepeatTimerFactory &factory = repeatTimerFactory())
        return factory(owner);
    return std::make_unique<QtRepeatTimer>(owner);
}

// ---------------------------------------------------------------------------------------------
// Default and Cancel buttons

// Watches one window for Return/Enter and Escape presses that no child accepted and offers them
// to the window's buttons in creation order.
class TkavDialogKeys final : public QObject {
public:
    explicit TkavDialogKeys(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QStringLiteral("kavDialogKeys"));
        window->installEventFilter(this);
    }

    static void watch(QWidget *window)
    {
        if (window && !window->findChild<QObject *>(QStringLiteral("kavDialogKeys"), Qt::FindDirectChildrenOnly))
            new TkavDialogKeys(window);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Escape)
            return false;
        const QList<QPointer<TkavCustomButton>> buttons = windowButtons();
        for (const QPointer<TkavCustomButton> &button : buttons) {
            if (button && button->DialogKey(key->key(), key->modifiers()))
                return true;
        }
        return false;
    }

private:
    QList<QPointer<TkavCustomButton>> windowButtons() const
    {
        // Buttons of dialogs parented to this window belong to those dialogs.
        QList<QPointer<TkavCustomButton>> buttons;
        for (TkavCustomButton *button : m_window->findChildren<TkavCustomButton *>()) {
            if (button->window() == m_window)
                buttons.append(button);
        }
        return buttons;
    }

    QWidget *m_window;
};

// ---------------------------------------------------------------------------------------------
// Drawing

// A grey, lightened copy of picture: how a disabled image is shown.
QImage disabledCopy(const QImage &picture)
{
    QImage copy = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < copy.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return copy;
}

// Containers whose own painting is not what should show through a transparent button on them:
// the button shows their parent's background instead.
bool showsGrandparent(const QWidget *parent)
{
    return KavIsTabSheet(parent) || parent->inherits("TkavDBNavigator")
        || parent->inherits("TkavToolBar");
}

quint64 frameKey(int key, int count, int index)
{
    return quint64(quint32(key)) << 40 ^ quint64(quint32(count)) << 20 ^ quint64(quint32(index));
}

} // namespace

// ---------------------------------------------------------------------------------------------

TkavCustomButton::TkavCustomButton(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Connected before anyone else, so that the button's own click steps come first.
    connect(this, &QAbstractButton::clicked, this, &TkavCustomButton::handleClicked);
    setUIStyle(GetKAVFormStyle(parent ? parent->window() : nullptr));
}

TkavCustomButton::~TkavCustomButton()
{
    disconnect(m_actionWatch);
}

TkavRepeatTimerFactory TkavCustomButton::setRepeatTimerFactory(TkavRepeatTimerFactory factory)
{
    TkavRepeatTimerFactory previous = std::move(repeatTimerFactory());
    repeatTimerFactory() = std::move(factory);
    return previous;
}

// --- Properties -------------------------------------------------------------------------------

void TkavCustomButton::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    AutoSizeChanged();
    update();
}

void TkavCustomButton::setCaption(const QString &caption)
{
    setText(caption);
    CaptionChanged();
    update();
}

void TkavCustomButton::setCancel(bool cancel)
{
    m_cancel = cancel;
    if (cancel)
        watchWindowDialogKeys();
}

void TkavCustomButton::setDefault(bool isDefault)
{
    m_default = isDefault;
    if (isDefault)
        watchWindowDialogKeys();
    update();
}

void TkavCustomButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    TransparentChanged();
    update();
}

void TkavCustomButton::setPicTransparent(bool picTransparent)
{
    m_picTransparent = picTransparent;
    update();
}

void TkavCustomButton::setUIStyle(TkavUIStyle style)
{
    m_look.setUIStyle(style);
    m_frames.clear();
    UIStyleChanged();
    update();
}

void TkavCustomButton::setFileTheme(TkavFileTheme *fileTheme)
{
    m_look.setFileTheme(fileTheme, this, [this] { fallBackToDeepBlue(); });
    // Assigning a theme, also the same one again, re-reads the look.
    setUIStyle(UIStyle());
}

void TkavCustomButton::fallBackToDeepBlue()
{
    setUIStyle(TkavUIStyle::DeepBlue);
}

void TkavCustomButton::setFocusedRectMargin(int margin)
{
    m_focusedRectMargin = margin;
    update();
}

void TkavCustomButton::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void TkavCustomButton::setAction(QAction *action)
{
    if (action == m_action)
        return;
    disconnect(m_actionWatch);
    m_action = action;
    if (action) {
        m_actionWatch = connect(action, &QAction::changed, this, &TkavCustomButton::ActionChange);
        ActionChange();
    }
}

void TkavCustomButton::ActionChange()
{
    if (!m_action)
        return;
    setCaption(m_action->text());
    setEnabled(m_action->isEnabled());
    setToolTip(m_action->toolTip());
    // A top-level button would pop up as a window of its own.
    if (parentWidget())
        setVisible(m_action->isVisible());
}

// --- Theme pictures ---------------------------------------------------------------------------

QImage TkavCustomButton::themeFrame(int key, int count, int index) const
{
    // A file theme that loaded another file since keeps the button's look but not its pictures.
    const TkavFileTheme *theme = FileTheme();
    const QString themeFile = theme ? theme->ThemeFile() : QString();
    const bool usable = theme && theme->CanUse();
    if (themeFile != m_framesThemeFile || usable != m_framesThemeUsable) {
        m_frames.clear();
        m_framesThemeFile = themeFile;
        m_framesThemeUsable = usable;
    }
    const quint64 memoKey = frameKey(key, count, index);
    const auto found = m_frames.constFind(memoKey);
    if (found != m_frames.constEnd())
        return *found;
    const QImage frame = themeValues().bitmap(key, count, index);
    m_frames.insert(memoKey, frame);
    return frame;
}

void TkavCustomButton::PaintButtonNormal(QImage &picture)
{
    picture = themeFrame(KavKey::ButtonImage, 3, 1);
}

void TkavCustomButton::PaintButtonMouseOn(QImage &picture)
{
    picture = themeFrame(KavKey::ButtonImage, 3, 2);
}

void TkavCustomButton::PaintButtonMouseDown(QImage &picture)
{
    picture = themeFrame(KavKey::ButtonImage, 3, 3);
}

void TkavCustomButton::PaintButtonDisabled(QImage &picture)
{
    picture = themeFrame(KavKey::ButtonImage, 3, 1);
}

// --- Hooks ------------------------------------------------------------------------------------

void TkavCustomButton::AutoSizeChanged()
{
    if (!m_autoSize)
        return;
    // Always the built-in picture: the size of a button does not follow a file theme.
    QImage picture;
    try {
        GetInsideThemeBitmap(UIStyle(), KavKey::ButtonImage, &picture, 0, 0);
    } catch (const std::exception &) {
        picture = QImage();
    }
    const int pictureHeight = picture.height() > 0 ? picture.height() : 21;
    const int pictureWidth = picture.width() > 0 ? picture.width() : 74;
    resize(pictureWidth / 3, pictureHeight);
}

void TkavCustomButton::FontChanged()
{
    update();
}

void TkavCustomButton::TransparentChanged()
{
    m_picTransparent = m_transparent;
}

// --- Painting ---------------------------------------------------------------------------------

QImage KavWithoutKeyColour(const QImage &picture, QRgb key)
{
    QImage copy = picture.convertToFormat(QImage::Format_ARGB32);
    key &= RGB_MASK;
    for (int y = 0; y < copy.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    return copy;
}

void TkavCustomButton::drawImageListStyle(QPainter &canvas, const QImage &picture, const QPoint &point,
                                          bool masked, bool disabledManner)
{
    if (picture.isNull())
        return;
    if (masked) {
        drawImageListStyle(canvas, picture, point, picture.pixel(0, 0), disabledManner);
        return;
    }
    canvas.drawImage(point, disabledManner ? disabledCopy(picture) : picture);
}

void TkavCustomButton::drawImageListStyle(QPainter &canvas, const QImage &picture, const QPoint &point,
                                          QRgb key, bool disabledManner)
{
    if (picture.isNull())
        return;
    const QImage image = KavWithoutKeyColour(picture, key);
    canvas.drawImage(point, disabledManner ? disabledCopy(image) : image);
}

void TkavCustomButton::drawFocusRectangle(QPainter &canvas) const
{
    const int margin = m_focusedRectMargin;
    const QRect frame = KavRect(margin, margin, width() - margin, height() - margin);
    if (frame.width() <= 0 || frame.height() <= 0)
        return;
    // A dotted line that inverts what lies under it, every other pixel along the frame.
    QPolygon dots;
    const int left = frame.x(), top = frame.y();
    const int right = KavRight(frame) - 1, bottom = KavBottom(frame) - 1;
    auto dot = [&](int x, int y) {
        if ((x - left + y - top) % 2 == 0)
            dots << QPoint(x, y);
    };
    for (int x = left; x <= right; ++x) {
        dot(x, top);
        if (bottom != top)
            dot(x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        dot(left, y);
        if (right != left)
            dot(right, y);
    }
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas.setPen(QPen(Qt::white, 0));
    canvas.drawPoints(dots);
    canvas.restore();
}

void TkavCustomButton::PaintPic(QPainter &canvas, const QImage &picture)
{
    drawImageListStyle(canvas, picture, QPoint(0, 0), m_picTransparent, !isEnabled());
}

void TkavCustomButton::PaintText(QPainter &canvas, const QString &text)
{
    QFont captionFont = font();
    if (m_boldCaption)
        captionFont.setBold(true);
    canvas.save();
    canvas.setFont(captionFont);
    canvas.setBrush(Qt::NoBrush);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QRect client = rect();
    if (!isEnabled()) {
        canvas.setPen(Qt::white);
        canvas.drawText(client.translated(1, 1), flags, text);
        canvas.setPen(QColor(128, 128, 128));
        canvas.drawText(client, flags, text);
    } else {
        canvas.setPen(palette().color(QPalette::ButtonText));
        canvas.drawText(m_pressed ? client.translated(1, 1) : client, flags, text);
    }
    canvas.restore();
    m_boldCaption = false;
}

void TkavCustomButton::PaintFocus(QPainter &canvas)
{
    drawFocusRectangle(canvas);
}

QImage TkavCustomButton::statePicture()
{
    QImage picture;
    try {
        if (!isEnabled())
            PaintButtonDisabled(picture);
        else if (m_pressed)
            PaintButtonMouseDown(picture);
        else if (m_mouseOver)
            PaintButtonMouseOn(picture);
        else
            PaintButtonNormal(picture);
    } catch (const std::exception &) {
        // An unreadable picture still leaves a face for the caption and the focus.
        picture = QImage(74, 21, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    return picture;
}

void TkavCustomButton::paintBackground(QPainter &canvas)
{
    if (!m_transparent) {
        canvas.fillRect(rect(), palette().color(backgroundRole()));
        return;
    }
    const QWidget *parent = parentWidget();
    KavPaintBehind(canvas, this, parent && showsGrandparent(parent));
}

void TkavCustomButton::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    const QImage picture = statePicture();
    QImage buffer(size(), QImage::Format_RGB32);
    buffer.fill(palette().color(backgroundRole()));
    {
        QPainter canvas(&buffer);
        paintBackground(canvas);
        PaintPic(canvas, picture);
        if (hasFocus() && TabStop())
            PaintFocus(canvas);
        canvas.setFont(font());
        if (!Caption().trimmed().isEmpty())
            PaintText(canvas, Caption());
    }
    // The bold caption is for this paint only, also when there was no caption to draw.
    m_boldCaption = false;
    QPainter(this).drawImage(0, 0, buffer);
}

// --- Clicks -----------------------------------------------------------------------------------

void TkavCustomButton::Click()
{
    if (!isEnabled())
        return;
    Q_EMIT clicked(isChecked());
}

void TkavCustomButton::handleClicked()
{
    QPointer<TkavCustomButton> guard(this);
    if (m_pressed)
        releasePressed();
    if (TabStop() && isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    if (parentWidget())
        applyModalResult();
    if (!guard)
        return;
    Q_EMIT OnClick(this);
    if (guard && m_action)
        m_action->trigger();
}

void TkavCustomButton::applyModalResult()
{
    QWidget *form = window();
    if (auto *dialog = qobject_cast<QDialog *>(form)) {
        if (m_modalResult != 0)
            dialog->done(m_modalResult);
        return;
    }
    form->setProperty("ModalResult", m_modalResult);
}

bool TkavCustomButton::DialogKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool wanted = ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_default)
        || (key == Qt::Key_Escape && m_cancel);
    if (!wanted || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (!isVisible() || !isEnabled())
        return false;
    Click();
    return true;
}

void TkavCustomButton::watchWindowDialogKeys()
{
    if (parentWidget())
        TkavDialogKeys::watch(window());
}

// --- State machine ----------------------------------------------------------------------------

void TkavCustomButton::startRepeat()
{
    if (m_repeatTimer)
        return;
    m_repeatTimer = makeRepeatTimer(this);
    // An interval of 0 or below never ticks: the button then only clicks.
    if (m_repeatInterval > 0) {
        m_repeatTimer->start(m_repeatInterval, [this] { Q_EMIT OnMouseContinuouslyDown(this); });
    }
}

void TkavCustomButton::stopRepeat()
{
    m_repeatTimer.reset();
}

void TkavCustomButton::releasePressed()
{
    stopRepeat();
    m_pressed = false;
    m_pressedByKey = false;
    setDown(false);
    update();
}

void TkavCustomButton::mouseEntered()
{
    if (m_underMouse)
        return;
    m_underMouse = true;
    m_mouseOver = true;
    update();
    Q_EMIT OnMouseEnter(this);
}

void TkavCustomButton::mouseLeft()
{
    m_mouseOver = false;
    m_pressed = false;
    m_pressedByKey = false;
    setDown(false);
    stopRepeat();
    update();
    if (!m_underMouse)
        return;
    m_underMouse = false;
    Q_EMIT OnMouseExit(this);
}

void TkavCustomButton::enterEvent(QEnterEvent *)
{
    mouseEntered();
}

void TkavCustomButton::leaveEvent(QEvent *)
{
    mouseLeft();
}

bool TkavCustomButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void TkavCustomButton::mousePressEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressedByKey = false;
        setDown(true);
        startRepeat();
        update();
        Q_EMIT pressed();
    }
    e->accept();
    Q_EMIT OnMouseDown(this, e->button(), e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    const bool outside = at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height();
    if (outside) {
        if (m_pressed || m_mouseOver) {
            m_pressed = false;
            m_mouseOver = false;
            setDown(false);
            update();
        }
        // A held button hears of the leave only at the release; it is due now.
        if (e->buttons() != Qt::NoButton)
            mouseLeft();
    } else if (e->buttons() != Qt::NoButton) {
        mouseEntered();
    }
    Q_EMIT OnMouseMove(this, e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    QPointer<TkavCustomButton> guard(this);
    if (e->button() == Qt::LeftButton) {
        Q_EMIT released();
        if (guard && hitButton(at))
            Click();
    }
    if (!guard)
        return;
    e->accept();
    Q_EMIT OnMouseUp(this, e->button(), e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QAbstractButton::keyPressEvent(e);
        return;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        e->ignore();
        return;
    }
    e->accept();
    if (e->isAutoRepeat() || !isEnabled())
        return;
    m_pressed = true;
    m_pressedByKey = true;
    setDown(true);
    update();
}

void TkavCustomButton::keyReleaseEvent(QKeyEvent *e)
{
    const int key = e->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QAbstractButton::keyReleaseEvent(e);
        return;
    }
    e->accept();
    // Held keys repeat as release/press pairs; only the real release clicks.
    if (e->isAutoRepeat() || !m_pressed || !isEnabled() || !hasFocus())
        return;
    releasePressed();
    Click();
}

void TkavCustomButton::focusOutEvent(QFocusEvent *e)
{
    // A key held down when the focus moves away is never released here.
    if (m_pressedByKey && e->reason() != Qt::PopupFocusReason)
        releasePressed();
    QAbstractButton::focusOutEvent(e);
    update();
}

void TkavCustomButton::hideEvent(QHideEvent *e)
{
    // A hidden button gets no release and no leave: let go of everything now.
    m_underMouse = false;
    m_mouseOver = false;
    if (m_pressed || m_repeatTimer)
        releasePressed();
    QAbstractButton::hideEvent(e);
}

void TkavCustomButton::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::EnabledChange:
        // A disabled button receives no release; it must not go on repeating.
        if (!isEnabled() && (m_pressed || m_repeatTimer))
            releasePressed();
        EnableChanged();
        update();
        break;
    case QEvent::FontChange:
        FontChanged();
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(e);
}

bool TkavCustomButton::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Shortcut: {
        // The accelerator of the caption (the character after '&'), Alt+character.
        const auto *shortcut = static_cast<QShortcutEvent *>(e);
        if (shortcut->isAmbiguous()) {
            if (TabStop())
                setFocus(Qt::ShortcutFocusReason);
        } else {
            Click();
        }
        return true;
    }
    case QEvent::ParentChange:
    case QEvent::Show:
        // The window may have changed with this button's or an ancestor's parent.
        if (m_default || m_cancel)
            watchWindowDialogKeys();
        break;
    default:
        break;
    }
    return QAbstractButton::event(e);
}
