#include "KAVCustomButton.h"

#include "KAVAccelerator.h"
#include "KAVAccessible.h"
#include "KAVComposer.h"
#include "KAVMetrics.h"

#include <QAction>
#include <QDialog>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QShortcutEvent>
#include <QTimer>

#include <exception>

namespace {

// ---------------------------------------------------------------------------------------------
// Repeat timers

TkavRepeatTimerFactory &repeatTimerFactory()
{
    static TkavRepeatTimerFactory factory;
    return factory;
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
// Faces and colours

// What a face hook that failed leaves: blank, one button frame large.
const QImage &blankFace()
{
    static const QImage blank = [] {
        QImage picture(Kav::Metrics::ButtonSize, QImage::Format_RGB32);
        picture.fill(Qt::white);
        return picture;
    }();
    return blank;
}

// The brushes set on palette itself, less role, so that a widget given the result follows its
// parent in role again (Qt keeps no way to unset a single role).
QPalette withoutOwnRole(const QPalette &palette, QPalette::ColorRole dropped)
{
    QPalette kept;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        const auto colourGroup = QPalette::ColorGroup(group);
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colourRole = QPalette::ColorRole(role);
            if (colourRole != dropped && palette.isBrushSet(colourGroup, colourRole))
                kept.setBrush(colourGroup, colourRole, palette.brush(colourGroup, colourRole));
        }
    }
    return kept;
}

// The keys that press a button while it has the focus.
bool isPressKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TkavCustomButton::TkavCustomButton(QWidget *parent) : QAbstractButton(parent)
{
    Kav::KavInstallAccessibility(); // picture buttons without a caption are named by their hint
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // Focused by Tab and by a click, not by a press: a press dragged off the button leaves the
    // focus where it was.
    setFocusPolicy(Qt::TabFocus);
    // The colours a container hands down: its background and its font colour.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    // Connected before anyone else, so that the button's own click steps come first.
    connect(this, &QAbstractButton::clicked, this, &TkavCustomButton::handleClicked);
    m_look.attach(this, [this](const KavThemeValues &) { applyLook(); });
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

std::unique_ptr<TkavRepeatTimer> TkavCustomButton::newRepeatTimer(QObject *owner)
{
    return Kav::makeRepeatTimer(repeatTimerFactory(), owner);
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
    const bool picTransparent = m_picTransparent;
    m_transparent = transparent;
    TransparentChanged();
    if (m_picTransparent != picTransparent && !m_lookChanging)
        refreshFaces();
    update();
}

void TkavCustomButton::setPicTransparent(bool picTransparent)
{
    if (picTransparent != m_picTransparent) {
        m_picTransparent = picTransparent;
        if (!m_lookChanging)
            refreshFaces();
    }
    update();
}

void TkavCustomButton::applyLook()
{
    {
        const QScopedValueRollback<bool> fetchOnce(m_lookChanging, true);
        UIStyleChanged();
    }
    refreshFaces();
    update();
}

void TkavCustomButton::setFocusedRectMargin(int margin)
{
    m_focusedRectMargin = margin;
    update();
}

void TkavCustomButton::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::TabFocus : Qt::NoFocus);
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

bool TkavCustomButton::ParentFont() const
{
    return !testAttribute(Qt::WA_SetFont);
}

void TkavCustomButton::setParentFont(bool parentFont)
{
    if (parentFont == ParentFont())
        return;
    // A font without any attribute set is no font of the button's own: Qt hands the parent's on.
    setFont(parentFont ? QFont() : font());
}

TColor TkavCustomButton::Color() const
{
    return Kav::KavPaletteColor(this, backgroundRole());
}

void TkavCustomButton::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, backgroundRole(), color);
}

bool TkavCustomButton::ParentColor() const
{
    return !palette().isBrushSet(QPalette::Active, backgroundRole());
}

void TkavCustomButton::setParentColor(bool parentColor)
{
    if (parentColor == ParentColor())
        return;
    if (parentColor)
        setPalette(withoutOwnRole(palette(), backgroundRole()));
    else
        setColor(Color());
}

// --- Face pictures ----------------------------------------------------------------------------

TkavCustomButton::FacePictures TkavCustomButton::buttonImageFaces(Kav::PictureMask mask, bool greyDisabled) const
{
    const KavThemeValues values = themeValues();
    const int frames = Kav::KavThemeKeyFrameCount(KavKey::ButtonImage);
    auto frame = [&](int index, bool greyed) {
        return values.picture(KavKey::ButtonImage, {frames, index, mask, greyed});
    };
    const Kav::TkavPicture normal = frame(1, false);
    return {normal, frame(2, false), frame(3, false), greyDisabled ? frame(1, true) : normal};
}

TkavCustomButton::FacePictures TkavCustomButton::facePictures() const
{
    return buttonImageFaces(m_picTransparent ? Kav::PictureMask::TopLeft : Kav::PictureMask::None, true);
}

void TkavCustomButton::refreshFaces()
{
    m_faces = facePictures();
    // The face hooks hand back the pictures just fetched unless a subclass chose others.
    using Hook = void (TkavCustomButton::*)(QImage &);
    static constexpr Hook hooks[FaceStateCount] = {&TkavCustomButton::PaintButtonNormal,
                                                   &TkavCustomButton::PaintButtonMouseOn,
                                                   &TkavCustomButton::PaintButtonMouseDown,
                                                   &TkavCustomButton::PaintButtonDisabled};
    FacePictures chosen;
    for (std::size_t state = 0; state < chosen.size(); ++state) {
        QImage image;
        try {
            (this->*hooks[state])(image);
        } catch (const std::exception &) {
            // An unreadable picture still leaves a face for the caption and the focus.
            image = blankFace();
        }
        chosen[state] = storedFace(image, FaceState(state));
    }
    m_faces = chosen;
    FacesChanged();
}

Kav::TkavPicture TkavCustomButton::storedFace(const QImage &image, FaceState state) const
{
    if (image.isNull())
        return {};
    // Mostly the state's own picture; a subclass may show another state's.
    const qint64 key = image.cacheKey();
    if (face(state).image().cacheKey() == key)
        return face(state);
    for (const Kav::TkavPicture &fetched : m_faces) {
        if (!fetched.isNull() && fetched.image().cacheKey() == key)
            return fetched;
    }
    return Kav::TkavPictureStore::instance().userPicture(image);
}

void TkavCustomButton::PaintButtonNormal(QImage &picture)
{
    picture = m_faces[std::size_t(FaceState::Normal)].image();
}

void TkavCustomButton::PaintButtonMouseOn(QImage &picture)
{
    picture = m_faces[std::size_t(FaceState::MouseOn)].image();
}

void TkavCustomButton::PaintButtonMouseDown(QImage &picture)
{
    picture = m_faces[std::size_t(FaceState::MouseDown)].image();
}

void TkavCustomButton::PaintButtonDisabled(QImage &picture)
{
    picture = m_faces[std::size_t(FaceState::Disabled)].image();
}

// --- Hooks ------------------------------------------------------------------------------------

void TkavCustomButton::AutoSizeChanged()
{
    if (!m_autoSize)
        return;
    // Always the built-in picture: the size of a button does not follow a file theme.
    const QSize whole = Kav::Metrics::keyPictureSize(UIStyle(), KavKey::ButtonImage);
    const int height = whole.height() > 0 ? whole.height() : Kav::Metrics::ButtonSize.height();
    const int width = whole.width() > 0 ? whole.width() : Kav::Metrics::ButtonSize.width();
    resize(width / Kav::KavThemeKeyFrameCount(KavKey::ButtonImage), height);
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

TkavCustomButton::FaceState TkavCustomButton::faceState() const
{
    if (!isEnabled())
        return FaceState::Disabled;
    if (looksPressed())
        return FaceState::MouseDown;
    if (m_mouseOver)
        return FaceState::MouseOn;
    return FaceState::Normal;
}

Kav::ButtonCaptionOption TkavCustomButton::captionOption() const
{
    Kav::ButtonCaptionOption caption;
    caption.text = Caption();
    caption.font = font();
    caption.colour = palette().color(QPalette::Active, foregroundRole());
    caption.enabled = isEnabled();
    caption.pressed = looksPressed();
    return caption;
}

void TkavCustomButton::initOption(Kav::PictureButtonOption &option) const
{
    option.rect = rect();
    option.picture = currentFace();
    option.stretch = false;
    option.focus = focusOption();
    option.caption = captionOption();
}

void TkavCustomButton::drawFace(QImage &face) const
{
    Kav::PictureButtonOption option;
    initOption(option);
    Kav::KavPaintPictureButton(face, option);
}

void TkavCustomButton::resizeEvent(QResizeEvent *e)
{
    QAbstractButton::resizeEvent(e);
    Kav::KavUpdateOpaquePaint(this);
}

void TkavCustomButton::paintEvent(QPaintEvent *)
{
    const QColor background = palette().color(backgroundRole());
    const Kav::Backdrop backdrop = m_transparent ? Kav::Backdrop::behind(background) : Kav::Backdrop::filled(background);
    Kav::KavPaintFace(this, backdrop, [this](QImage &face) { drawFace(face); }, QRegion(), Kav::FaceDensity::Device);
}

// --- Clicks -----------------------------------------------------------------------------------

void TkavCustomButton::Click()
{
    click();
}

void TkavCustomButton::handleClicked()
{
    QPointer<TkavCustomButton> guard(this);
    // Qt has let go of the button before telling of the click; the hold ends with it.
    stopRepeat();
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
    click();
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
    m_repeatTimer = Kav::makeRepeatTimer(repeatTimerFactory(), this);
    // An interval of 0 or below never ticks: the button then only clicks.
    if (m_repeatInterval > 0) {
        m_repeatTimer->start(m_repeatInterval, [this] { Q_EMIT OnMouseContinuouslyDown(this); });
    }
}

void TkavCustomButton::stopRepeat()
{
    m_repeatTimer.reset();
}

void TkavCustomButton::letGo()
{
    // Without a click, as Qt lets go of a held button that loses the focus: released() pairs the
    // pressed() that came before.
    if (!isDown())
        return;
    setDown(false);
    Q_EMIT released();
}

void TkavCustomButton::mouseEntered()
{
    if (m_mouseOver)
        return;
    m_mouseOver = true;
    update();
    Q_EMIT OnMouseEnter(this);
}

void TkavCustomButton::mouseLeft()
{
    const bool wasOver = m_mouseOver;
    m_mouseOver = false;
    QPointer<TkavCustomButton> guard(this);
    letGo();
    if (!guard)
        return;
    stopRepeat();
    update();
    if (wasOver)
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

bool TkavCustomButton::isOutside(const QPoint &at) const
{
    // The right and bottom edges still count as on the button while it is held.
    return at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height();
}

void TkavCustomButton::mousePressEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    QPointer<TkavCustomButton> guard(this);
    if (e->button() == Qt::LeftButton) {
        QAbstractButton::mousePressEvent(e); // down, pressed()
        if (guard && isDown())
            startRepeat();
    }
    if (!guard)
        return;
    e->accept();
    Q_EMIT OnMouseDown(this, e->button(), e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    QPointer<TkavCustomButton> guard(this);
    if (isOutside(at)) {
        // Dragged off: Qt lets go of the button (released()). Qt tells a held button of the leave
        // only at the release; for the faces and the repeat it is due now.
        if (isDown())
            QAbstractButton::mouseMoveEvent(e);
        if (guard)
            mouseLeft();
    } else if (e->buttons() != Qt::NoButton) {
        // Dragged back on: the mouse-over face, not the pressed one (Qt would press it again).
        mouseEntered();
    }
    if (!guard)
        return;
    e->accept();
    Q_EMIT OnMouseMove(this, e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint at = e->position().toPoint();
    QPointer<TkavCustomButton> guard(this);
    if (e->button() == Qt::LeftButton) {
        const bool wasDown = isDown();
        QAbstractButton::mouseReleaseEvent(e); // down and inside: Qt's click
        // Dragged off and back on, the button is no longer down, yet a release on it clicks.
        if (guard && !wasDown && hitButton(at))
            click();
    }
    if (!guard)
        return;
    e->accept();
    Q_EMIT OnMouseUp(this, e->button(), e->modifiers(), at.x(), at.y());
}

void TkavCustomButton::keyPressEvent(QKeyEvent *e)
{
    if (!isPressKey(e->key())) {
        if (Kav::KavBareAccelerator(this, e)) {
            e->accept();
            return;
        }
        QAbstractButton::keyPressEvent(e);
        return;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        e->ignore();
        return;
    }
    // Return and Enter press the button as Space does, which is the key Qt's buttons know.
    QKeyEvent space(e->type(), Qt::Key_Space, e->modifiers(), QStringLiteral(" "), e->isAutoRepeat(),
                    ushort(e->count()));
    QAbstractButton::keyPressEvent(&space);
    e->accept();
}

void TkavCustomButton::keyReleaseEvent(QKeyEvent *e)
{
    if (!isPressKey(e->key())) {
        QAbstractButton::keyReleaseEvent(e);
        return;
    }
    // Held keys repeat as release/press pairs; only the real release of a pressed button clicks.
    QKeyEvent space(e->type(), Qt::Key_Space, e->modifiers(), QStringLiteral(" "), e->isAutoRepeat(),
                    ushort(e->count()));
    QAbstractButton::keyReleaseEvent(&space);
    e->accept();
}

void TkavCustomButton::focusOutEvent(QFocusEvent *e)
{
    QPointer<TkavCustomButton> guard(this);
    // Qt lets go of a held button whose focus moves on (not to a pop-up); the hold ends with it.
    QAbstractButton::focusOutEvent(e);
    if (guard && !isDown())
        stopRepeat();
}

void TkavCustomButton::hideEvent(QHideEvent *e)
{
    // A hidden button gets no release and no leave: let go of everything now.
    m_mouseOver = false;
    QPointer<TkavCustomButton> guard(this);
    letGo();
    if (!guard)
        return;
    stopRepeat();
    QAbstractButton::hideEvent(e);
}

void TkavCustomButton::changeEvent(QEvent *e)
{
    QPointer<TkavCustomButton> guard(this);
    // Qt lets go of a button that is disabled while held (released()).
    QAbstractButton::changeEvent(e);
    if (!guard)
        return;
    switch (e->type()) {
    case QEvent::EnabledChange:
        // A disabled button receives no release; it must not go on repeating.
        if (!isEnabled())
            stopRepeat();
        EnableChanged();
        update();
        break;
    case QEvent::FontChange:
        FontChanged();
        break;
    default:
        break;
    }
}

bool TkavCustomButton::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Shortcut: {
        // The accelerator of the caption (the character after '&'), Alt+character: a click at
        // once, where Qt's buttons would animate one.
        const auto *shortcut = static_cast<QShortcutEvent *>(e);
        if (shortcut->isAmbiguous()) {
            if (TabStop())
                setFocus(Qt::ShortcutFocusReason);
        } else {
            click();
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
