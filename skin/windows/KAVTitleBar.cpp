#include "KAVTitleBar.h"

#include "KAVAccessible.h"
#include "KAVErrorBox.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVTitleBarPopupMenu.h"
#include "KAVWindowDrag.h"
#include "KAVWindowState.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace Layout = Kav::TitleBarLayout;

namespace {

const char *const OneControlBoxMessage = "Sorry, only one button's ButtonType property can be \"kavControlBox\"";
const char *const OneClientSectionMessage = "Sorry, only one section's Align property can be \"kavClient\"";

// The caption colour of an inactive window: the system's inactive caption grey where the
// caption is dark on a light bar (MacOS). On a dark bar, whose caption is light, that grey is
// barely readable; there it is lightened halfway to the active caption colour (white gives
// C0C0C0), dim beside the active caption yet clear on the bar.
const QColor InactiveCaptionColour(128, 128, 128);

QColor inactiveCaptionColour(const QColor &active)
{
    if (active.lightness() <= 128)
        return InactiveCaptionColour;
    return QColor((InactiveCaptionColour.red() + active.red() + 1) / 2,
                  (InactiveCaptionColour.green() + active.green() + 1) / 2,
                  (InactiveCaptionColour.blue() + active.blue() + 1) / 2);
}

// First frames of the button types in the look's title-button strip (normal, hot, pressed
// follow each other); kavMax's restore pictures follow its maximise ones.
int firstLookFrame(TkavTitleBarBtnType type)
{
    switch (type) {
    case KavTitleBar::kavControlBox:
        return 1;
    case KavTitleBar::kavHelp:
        return 4;
    case KavTitleBar::kavMax:
        return 7;
    case KavTitleBar::kavMin:
        return 13;
    case KavTitleBar::kavClose:
        return 16;
    case KavTitleBar::kavCustom:
        break;
    }
    return 0;
}
constexpr int RestoreFirstFrame = 10;

} // namespace

// ---- TkavTitleBarButton -------------------------------------------------------------------------

TkavTitleBarButton::TkavTitleBarButton(QObject *collection)
    : QObject(collection), m_top(Kav::Metrics::TitleBarButtonTop)
{
}

TkavTitleBar *TkavTitleBarButton::titleBar() const
{
    const auto *buttons = qobject_cast<const TkavTitleBarButtons *>(parent());
    return buttons ? buttons->titleBar() : nullptr;
}

int TkavTitleBarButton::index() const
{
    const auto *buttons = qobject_cast<const TkavTitleBarButtons *>(parent());
    return buttons ? buttons->indexOf(this) : -1;
}

void TkavTitleBarButton::setVisible(bool visible)
{
    m_visible = visible;
    Q_EMIT changed();
}

void TkavTitleBarButton::setButtonType(TkavTitleBarBtnType type)
{
    if (type == m_type)
        return;
    const auto *buttons = qobject_cast<const TkavTitleBarButtons *>(parent());
    if (type == KavTitleBar::kavControlBox && buttons && buttons->hasType(type, this)) {
        Kav::KavErrorBox(titleBar(), QString::fromLatin1(OneControlBoxMessage));
        return;
    }
    m_type = type;
    applyLook();
    Q_EMIT changed();
}

void TkavTitleBarButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    updateDrawn();
    Q_EMIT changed();
}

void TkavTitleBarButton::setTop(int top)
{
    m_top = top;
    Q_EMIT changed();
}

void TkavTitleBarButton::setUIStyle(TkavUIStyle style)
{
    m_uiStyle = style;
    applyLook();
    Q_EMIT changed();
}

void TkavTitleBarButton::setPicture(Face face, const QImage &picture)
{
    m_pictures[face] = picture.isNull() ? Kav::TkavPicture() : Kav::TkavPictureStore::instance().userPicture(picture);
    updateDrawn();
    Q_EMIT changed();
}

void TkavTitleBarButton::setControlBoxMenu(QMenu *menu)
{
    m_controlBoxMenu = menu;
    Q_EMIT changed();
}

void TkavTitleBarButton::Assign(const TkavTitleBarButton *source)
{
    if (source == nullptr || source == this)
        return;
    // A copy is a copy: the source's pictures and placement, not this button's look.
    const auto *buttons = qobject_cast<const TkavTitleBarButtons *>(parent());
    if (source->m_type == KavTitleBar::kavControlBox && m_type != KavTitleBar::kavControlBox && buttons
        && buttons->hasType(KavTitleBar::kavControlBox, this)) {
        Kav::KavErrorBox(titleBar(), QString::fromLatin1(OneControlBoxMessage));
        return;
    }
    m_visible = source->m_visible;
    m_type = source->m_type;
    m_transparent = source->m_transparent;
    m_top = source->m_top;
    m_uiStyle = source->m_uiStyle;
    m_pictures = source->m_pictures;
    m_drawn = source->m_drawn;
    m_controlBoxMenu = source->m_controlBoxMenu;
    Q_EMIT changed();
}

void TkavTitleBarButton::applyLook()
{
    const TkavTitleBar *bar = titleBar();
    if (bar == nullptr)
        return;
    const KavThemeValues values = bar->lookValues(m_uiStyle);
    m_transparent = values.boolean(KavKey::TitleBarButtonTransparentBool);
    if (m_type != KavTitleBar::kavCustom) {
        takeLookFrames(firstLookFrame(m_type));
        m_top = values.integer(KavKey::TitleBarButtonTopInt);
    }
    updateDrawn();
    if (m_type == KavTitleBar::kavMax || m_type == KavTitleBar::kavMin)
        ProcessMaxBtn();
}

void TkavTitleBarButton::takeLookFrames(int firstFrame)
{
    const TkavTitleBar *bar = titleBar();
    if (bar == nullptr)
        return;
    const KavThemeValues values = bar->lookValues(m_uiStyle);
    const int frames = Kav::KavThemeKeyFrameCount(KavKey::TitleBarButtonImage);
    for (int face = Normal; face <= MouseDown; ++face)
        m_pictures[size_t(face)] =
            values.picture(KavKey::TitleBarButtonImage, Kav::PictureRecipe{frames, firstFrame + face, Kav::PictureMask::None, false});
}

void TkavTitleBarButton::updateDrawn()
{
    const QSize normal = m_pictures[Normal].size();
    for (size_t face = 0; face < m_pictures.size(); ++face) {
        const Kav::TkavPicture &picture = m_pictures[face];
        if (!m_transparent || picture.isNull()) {
            m_drawn[face] = picture;
            continue;
        }
        // Every face is drawn through a bitmap of the normal face's size, keyed on that bitmap's
        // bottom-left pixel.
        const QImage image = picture.size() == normal || normal.isEmpty() ? picture.image()
                                                                          : picture.image().copy(QRect(QPoint(0, 0), normal));
        m_drawn[face] = Kav::TkavPictureStore::instance().userPicture(
            image, Kav::PictureRecipe{0, 0, Kav::PictureMask::BottomLeft, false});
    }
}

void TkavTitleBarButton::ProcessMaxBtn()
{
    TkavTitleBar *bar = titleBar();
    if ((m_type != KavTitleBar::kavMax && m_type != KavTitleBar::kavMin) || bar == nullptr || bar->Custom())
        return;
    const QWidget *window = bar->formWindow();
    // A maximised window's maximise button restores it; so does the minimise button on the strip
    // of a minimised MDI child (a minimised top-level window shows no title bar).
    const bool restores = window != bar &&
        (m_type == KavTitleBar::kavMax ? window->isMaximized()
                                       : qobject_cast<const QMdiSubWindow *>(window) && window->isMinimized());
    takeLookFrames(restores ? RestoreFirstFrame : firstLookFrame(m_type));
    updateDrawn();
    Q_EMIT changed();
}

void TkavTitleBarButton::DoClick()
{
    TkavTitleBar *bar = titleBar();
    if (bar == nullptr || bar->parentWidget() == nullptr)
        return;
    switch (m_type) {
    case KavTitleBar::kavMax:
        bar->maximizeOrRestore();
        break;
    case KavTitleBar::kavMin:
        bar->minimizeWindow();
        break;
    case KavTitleBar::kavClose:
        bar->closeWindow();
        break;
    case KavTitleBar::kavControlBox:
        if (m_controlBoxMenu)
            m_controlBoxMenu->popup(bar->mapToGlobal(QPoint(0, bar->height())));
        break;
    case KavTitleBar::kavHelp:
    case KavTitleBar::kavCustom:
        break;
    }
}

// ---- TkavTitleBarButtons ------------------------------------------------------------------------

TkavTitleBarButtons::TkavTitleBarButtons(TkavTitleBar *titleBar) : QObject(titleBar), m_titleBar(titleBar)
{
}

TkavTitleBarButton *TkavTitleBarButtons::add()
{
    auto *button = new TkavTitleBarButton(this);
    m_items.append(button);
    connect(button, &TkavTitleBarButton::changed, this, &TkavTitleBarButtons::changed);
    Q_EMIT changed();
    return button;
}

int TkavTitleBarButtons::indexOf(const TkavTitleBarButton *button) const
{
    return int(m_items.indexOf(button));
}

void TkavTitleBarButtons::clear()
{
    qDeleteAll(std::exchange(m_items, {}));
    Q_EMIT changed();
}

void TkavTitleBarButtons::Assign(const TkavTitleBarButtons *source)
{
    if (source == nullptr || source == this)
        return;
    clear();
    for (const TkavTitleBarButton *button : source->m_items)
        add()->Assign(button);
}

bool TkavTitleBarButtons::hasType(TkavTitleBarBtnType type, const TkavTitleBarButton *except) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(), [&](const TkavTitleBarButton *button) {
        return button != except && button->ButtonType() == type;
    });
}

// ---- TkavTitleBarSection ------------------------------------------------------------------------

TkavTitleBarSection::TkavTitleBarSection(QObject *collection)
    : QObject(collection), m_width(Kav::Metrics::TitleBarSectionWidth)
{
}

TkavTitleBarSections *TkavTitleBarSection::collection() const
{
    return qobject_cast<TkavTitleBarSections *>(parent());
}

void TkavTitleBarSection::setWidth(int width)
{
    m_width = width;
    Q_EMIT changed();
}

void TkavTitleBarSection::setAlign(TkavTitleBarAlign align)
{
    if (align == m_align)
        return;
    if (align == KavTitleBar::kavClient && collection() && collection()->hasClient(this)) {
        Kav::KavErrorBox(collection()->titleBar(), QString::fromLatin1(OneClientSectionMessage));
        return;
    }
    m_align = align;
    if (align == KavTitleBar::kavClient)
        m_stretch = true;
    Q_EMIT changed();
}

void TkavTitleBarSection::setPicture(const QImage &picture)
{
    setPicture(picture.isNull() ? Kav::TkavPicture() : Kav::TkavPictureStore::instance().userPicture(picture));
}

void TkavTitleBarSection::setPicture(const Kav::TkavPicture &picture)
{
    m_picture = picture;
    if (!picture.isNull() && m_autoSize)
        m_width = picture.width();
    Q_EMIT changed();
}

void TkavTitleBarSection::setStretch(bool stretch)
{
    if (!stretch && m_align == KavTitleBar::kavClient)
        return;
    m_stretch = stretch;
    Q_EMIT changed();
}

void TkavTitleBarSection::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize && !m_picture.isNull())
        m_width = m_picture.width();
    Q_EMIT changed();
}

void TkavTitleBarSection::Assign(const TkavTitleBarSection *source)
{
    if (source == nullptr || source == this)
        return;
    setWidth(source->m_width);
    setAlign(source->m_align);
    setPicture(source->m_picture);
    setStretch(source->m_stretch);
    setAutoSize(source->m_autoSize);
}

// ---- TkavTitleBarSections -----------------------------------------------------------------------

TkavTitleBarSections::TkavTitleBarSections(TkavTitleBar *titleBar) : QObject(titleBar), m_titleBar(titleBar)
{
}

TkavTitleBarSection *TkavTitleBarSections::add()
{
    auto *section = new TkavTitleBarSection(this);
    m_items.append(section);
    connect(section, &TkavTitleBarSection::changed, this, &TkavTitleBarSections::changed);
    Q_EMIT changed();
    return section;
}

void TkavTitleBarSections::clear()
{
    qDeleteAll(std::exchange(m_items, {}));
    Q_EMIT changed();
}

void TkavTitleBarSections::Assign(const TkavTitleBarSections *source)
{
    if (source == nullptr || source == this)
        return;
    clear();
    for (const TkavTitleBarSection *section : source->m_items)
        add()->Assign(section);
}

bool TkavTitleBarSections::hasClient(const TkavTitleBarSection *except) const
{
    return std::any_of(m_items.cbegin(), m_items.cend(), [&](const TkavTitleBarSection *section) {
        return section != except && section->Align() == KavTitleBar::kavClient;
    });
}

// ---- Painting -----------------------------------------------------------------------------------

void Kav::paintTitleBar(QImage &face, const TitleBarOption &option)
{
    QPainter painter(&face);
    // Sections: copied at natural size from their top-left, or stretched pixel for pixel.
    for (const TitleBarOption::Section &section : option.sections) {
        if (section.picture.isNull() || section.piece.dest.isEmpty())
            continue;
        const QRect &dest = section.piece.dest;
        if (section.piece.stretch)
            painter.drawImage(dest, section.picture.image());
        else
            painter.drawImage(dest.topLeft(), section.picture.image(), QRect(QPoint(0, 0), dest.size()));
    }
    for (const TitleBarOption::Button &button : option.buttons) {
        if (!button.picture.isNull())
            painter.drawImage(button.rect.topLeft(), button.picture.image(), QRect(QPoint(0, 0), button.rect.size()));
    }
    if (!option.appIcon.isNull())
        painter.drawImage(option.appIconAt, option.appIcon);
    if (!option.caption.isEmpty()) {
        painter.setFont(option.font);
        painter.setPen(option.captionColour);
        const QFontMetrics metrics(option.font);
        painter.drawText(option.captionAt + QPoint(0, metrics.ascent()), option.caption);
    }
    // The window's rounded outline: the top line and the top corners, laid on the edge of the
    // window's shape pixel by pixel so that nothing of the bar shows between the outline and the
    // cut corner (a curve drawn on its own runs inside the shape's steps and leaves notches).
    if (option.outline) {
        const int width = option.size.width();
        const int depth = option.roundCorner / 2 + 1;
        const QSize window = option.windowSize.isEmpty()
            ? QSize(width, std::max(option.size.height(), option.roundCorner))
            : option.windowSize;
        // The shape in the bar's own coordinates.
        const QRegion shape = Kav::TitleBarLayout::windowShape(window, option.roundCorner)
                                  .translated(option.windowSize.isEmpty() ? QPoint() : -option.barInWindow);
        // The first pixel inside the shape on a row, from the left or from the right.
        const auto inside = [&shape, width](int y, bool fromLeft) {
            for (int i = 0; i < width / 2; ++i) {
                const int x = fromLeft ? i : width - 1 - i;
                if (shape.contains(QPoint(x, y)))
                    return x;
            }
            return fromLeft ? width / 2 : width - 1 - width / 2;
        };
        int left = inside(0, true), right = inside(0, false);
        painter.fillRect(QRect(left, 0, right - left + 1, 1), option.outlineColour);
        for (int y = 1; y <= depth && y < option.size.height(); ++y) {
            // From the row's first pixel to the one below where the row above began: a
            // connected step on each side. Where the edge has come down to the window's side the
            // outline runs on outside the bar, as the window's frame.
            const int rowLeft = inside(y, true), rowRight = inside(y, false);
            if (rowLeft > 0 || left > 0)
                painter.fillRect(QRect(rowLeft, y, std::max(1, left - rowLeft), 1), option.outlineColour);
            const int rightRun = std::max(1, rowRight - right);
            if (rowRight < width - 1 || right < width - 1)
                painter.fillRect(QRect(rowRight - rightRun + 1, y, rightRun, 1), option.outlineColour);
            left = rowLeft;
            right = rowRight;
        }
    }
}

// ---- Accessibility ------------------------------------------------------------------------------

namespace {

QString buttonName(const TkavTitleBarButton *button, bool maximized)
{
    switch (button->ButtonType()) {
    case KavTitleBar::kavMax:
        return maximized ? QStringLiteral("Restore") : QStringLiteral("Maximize");
    case KavTitleBar::kavMin:
        return QStringLiteral("Minimize");
    case KavTitleBar::kavClose:
        return QStringLiteral("Close");
    case KavTitleBar::kavHelp:
        return QStringLiteral("Help");
    case KavTitleBar::kavControlBox:
        return QStringLiteral("Window menu");
    case KavTitleBar::kavCustom:
        break;
    }
    return QStringLiteral("Button %1").arg(button->index() + 1);
}

// One picture button of a title bar, as assistive tools see it: a push button with a press action.
class TitleBarButtonAccessible : public TkavDrawnPartAccessible {
public:
    TitleBarButtonAccessible(TkavTitleBar *bar, int index) : TkavDrawnPartAccessible(bar, index) {}

    bool isValid() const override { return bar() && index() < bar()->Buttons()->count(); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        return buttonName(bar()->Buttons()->item(index()), bar()->formWindow()->isMaximized());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid() || localRect().isNull();
        return state;
    }

protected:
    QRect localRect() const override { return bar()->currentLayout().buttons.value(index()); }
    void press() override { bar()->clickButton(index()); }

private:
    TkavTitleBar *bar() const { return static_cast<TkavTitleBar *>(control()); }
};

// The bar: a title bar named by its caption, whose children are its buttons.
class TitleBarAccessible : public QAccessibleWidget {
public:
    explicit TitleBarAccessible(TkavTitleBar *bar) : QAccessibleWidget(bar, QAccessible::TitleBar) {}
    ~TitleBarAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_buttons))
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    TkavTitleBar *bar() const { return static_cast<TkavTitleBar *>(widget()); }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return Kav::KavStripMnemonic(bar()->Caption());
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return bar()->Buttons()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_buttons.size() <= index)
            m_buttons.resize(index + 1, 0);
        if (m_buttons.at(index) == 0 || QAccessible::accessibleInterface(m_buttons.at(index)) == nullptr)
            m_buttons[index] = QAccessible::registerAccessibleInterface(new TitleBarButtonAccessible(bar(), index));
        return QAccessible::accessibleInterface(m_buttons.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < m_buttons.size(); ++i)
            if (m_buttons.at(i) != 0 && QAccessible::accessibleInterface(m_buttons.at(i)) == child)
                return i;
        return -1;
    }

private:
    mutable QList<QAccessible::Id> m_buttons;
};

QAccessibleInterface *titleBarAccessibleFactory(const QString &, QObject *object)
{
    if (auto *bar = qobject_cast<TkavTitleBar *>(object))
        return new TitleBarAccessible(bar);
    return nullptr;
}

void installTitleBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(titleBarAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

// ---- TkavTitleBar -------------------------------------------------------------------------------

TkavTitleBar::TkavTitleBar(QWidget *parent) : TkavPlatformPanel(parent)
{
    installTitleBarAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    m_buttons = new TkavTitleBarButtons(this);
    m_sections = new TkavTitleBarSections(this);
    m_windowMenu = new TkavTitleBarPopupMenu(this);
    connect(m_buttons, &TkavTitleBarButtons::changed, this, qOverload<>(&QWidget::update));
    connect(m_sections, &TkavTitleBarSections::changed, this, qOverload<>(&QWidget::update));
    for (const TkavTitleBarBtnType type :
         {KavTitleBar::kavControlBox, KavTitleBar::kavClose, KavTitleBar::kavMax, KavTitleBar::kavMin})
        m_buttons->add()->setButtonType(type);
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setBold(true);
    setFont(captionFont);
    Kav::KavUpdatePaletteColor(this, QPalette::WindowText, TColor(0xFFFFFF));
    setAlign(KavLayout::alTop);
    watchWindow();
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavTitleBar::~TkavTitleBar() = default;

KavThemeValues TkavTitleBar::lookValues(TkavUIStyle style) const
{
    return KavThemeValues(style, m_look.fileTheme());
}

void TkavTitleBar::applyLook(const KavThemeValues &values)
{
    m_outline = values.traits().titleBarOutline;
    if (m_custom) {
        update();
        return;
    }
    m_sections->clear();
    TkavTitleBarSection *left = m_sections->add();
    left->setPicture(values.picture(KavKey::TitleBarLeftImage));
    left->setAutoSize(true);
    TkavTitleBarSection *right = m_sections->add();
    right->setPicture(values.picture(KavKey::TitleBarRightImage));
    right->setAutoSize(true);
    right->setAlign(KavTitleBar::kavRight);
    TkavTitleBarSection *client = m_sections->add();
    client->setPicture(values.picture(KavKey::TitleBarClientImage));
    client->setAlign(KavTitleBar::kavClient);
    m_leftBtnXOffset = values.integer(KavKey::TitleBarButtonLeftOffsetInt);
    m_rightBtnXOffset = values.integer(KavKey::TitleBarButtonRightOffsetInt);
    m_outlineColor = values.color(KavKey::FormBorderColor);
    m_captionBoxHeight = values.picture(KavKey::TitleBarButtonImage).height();
    m_captionTop = values.integer(KavKey::TitleBarButtonTopInt);
    // A theme file without these entries answers -1: no minimum, no rounding.
    // A window of fixed size keeps it.
    if (QWidget *form = formWindow(); parentWidget() != nullptr && form->minimumSize() != form->maximumSize())
        form->setMinimumWidth(std::max(0, values.integer(KavKey::FormMinWidthInt)));
    m_roundCorner = std::max(0, values.integer(KavKey::FormRoundCornerInt));

    for (int i = 0; i < m_buttons->count(); ++i)
        m_buttons->item(i)->setUIStyle(values.resolvedStyle());
    m_windowMenu->applyLook(values.resolvedStyle(), FileTheme());
    applyWindowShape();
    // A file theme brings no caption colour; the developer's stays.
    if (!m_look.applyingFileTheme())
        Kav::KavUpdatePaletteColor(this, QPalette::WindowText, values.traits().titleCaptionColor);
    setAutoSize(true);
    update();
}

void TkavTitleBar::setCustom(bool custom)
{
    m_custom = custom;
}

void TkavTitleBar::setButtonInterval(int interval)
{
    m_buttonInterval = interval;
    update();
}

void TkavTitleBar::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TkavTitleBar::SetActive(bool active)
{
    m_formActive = active;
    update();
}

void TkavTitleBar::setLeftBtnXOffset(int offset)
{
    m_leftBtnXOffset = offset;
    update();
}

void TkavTitleBar::setRightBtnXOffset(int offset)
{
    m_rightBtnXOffset = offset;
    update();
}

void TkavTitleBar::setDrawAppIcon(bool draw)
{
    m_drawAppIcon = draw;
    update();
}

void TkavTitleBar::setRoundCorner(int radius)
{
    m_roundCorner = radius;
    applyWindowShape();
    update();
}

void TkavTitleBar::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize && m_sections->count() > 0;
    if (m_sections->count() > 0) {
        const Kav::TkavPicture &first = m_sections->item(0)->picture();
        if (!first.isNull())
            resize(width(), first.height());
    }
}

bool TkavTitleBar::InForm() const
{
    return Kav::KavIsFormSkin(parent());
}

void TkavTitleBar::OnFormReSize()
{
    applyWindowShape();
}

void TkavTitleBar::applyWindowShape()
{
    if (!InForm())
        return;
    QWidget *form = window();
    const QRegion shape = Layout::windowShape(form->size(), m_roundCorner);
    if (shape.isEmpty())
        form->clearMask();
    else
        form->setMask(shape);
}

void TkavTitleBar::ProcessMaxBtn()
{
    for (int i = 0; i < m_buttons->count(); ++i)
        m_buttons->item(i)->ProcessMaxBtn();
}

void TkavTitleBar::Popup(int x, int y)
{
    m_windowMenu->prepare();
    m_windowMenu->popup(QPoint(x, y));
}

void TkavTitleBar::maximizeOrRestore()
{
    QWidget *form = formWindow();
    if (form == this)
        return;
    // The window manager maximises and restores; the buttons follow the state it reports.
    Kav::KavToggleMaximized(form);
    ProcessMaxBtn();
}

void TkavTitleBar::minimizeWindow()
{
    if (QWidget *form = formWindow(); form != this)
        form->showMinimized();
}

void TkavTitleBar::closeWindow()
{
    if (QWidget *form = formWindow(); form != this)
        form->close();
}

QWidget *TkavTitleBar::formWindow() const
{
    for (QWidget *up = parentWidget(); up != nullptr && !up->isWindow(); up = up->parentWidget()) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(up))
            return sub;
    }
    return window();
}

void TkavTitleBar::clickButton(int index)
{
    TkavTitleBarButton *button = m_buttons->item(index);
    if (button == nullptr)
        return;
    if (button->ButtonType() == KavTitleBar::kavControlBox && button->ControlBoxMenu() == nullptr) {
        m_windowMenu->popupFromControlBox(mapToGlobal(QPoint(0, height())));
        return;
    }
    const TkavTitleBarBtnType type = button->ButtonType();
    // Closing the window may delete it, and this bar with it.
    const QPointer<TkavTitleBar> alive(this);
    button->DoClick();
    if (!alive)
        return;
    if (type == KavTitleBar::kavCustom)
        Q_EMIT OnCustomBtnsClick(this, index);
    else if (type == KavTitleBar::kavHelp)
        Q_EMIT OnHelpBtnClick(this, index);
}

Layout::Result TkavTitleBar::currentLayout() const
{
    Layout::Input input;
    input.barWidth = width();
    input.leftOffset = m_leftBtnXOffset;
    input.rightOffset = m_rightBtnXOffset;
    input.interval = m_buttonInterval;
    input.drawAppIcon = m_drawAppIcon;
    input.buttons.reserve(m_buttons->count());
    for (int i = 0; i < m_buttons->count(); ++i) {
        const TkavTitleBarButton *button = m_buttons->item(i);
        input.buttons.append({button->Visible(), button->ButtonType() == KavTitleBar::kavControlBox,
                              button->drawn(TkavTitleBarButton::Normal).size(), button->Top()});
    }
    return Layout::layout(input);
}

int TkavTitleBar::hotButton() const
{
    return m_mouseAt ? Layout::buttonAt(currentLayout(), *m_mouseAt) : -1;
}

Kav::TitleBarOption TkavTitleBar::paintOption() const
{
    Kav::TitleBarOption option;
    option.size = size();

    QList<Layout::SectionInput> sections;
    sections.reserve(m_sections->count());
    for (int i = 0; i < m_sections->count(); ++i) {
        const TkavTitleBarSection *section = m_sections->item(i);
        const Layout::Side side = section->Align() == KavTitleBar::kavRight ? Layout::Side::Right
            : section->Align() == KavTitleBar::kavClient                    ? Layout::Side::Client
                                                                            : Layout::Side::Left;
        sections.append({side, section->Width(), section->Stretch()});
    }
    for (const Layout::SectionPiece &piece : Layout::sections(sections, size()))
        option.sections.append({m_sections->item(piece.section)->picture(), piece});

    const Layout::Result layout = currentLayout();
    const int hot = m_mouseAt ? Layout::buttonAt(layout, *m_mouseAt) : -1;
    for (int i = 0; i < layout.buttons.size(); ++i) {
        const QRect &rect = layout.buttons.at(i);
        if (rect.isNull() || (i == layout.controlBox && m_drawAppIcon))
            continue;
        // A button shows itself pressed only while the press that began on it lasts.
        const TkavTitleBarButton::Face face = i != hot ? TkavTitleBarButton::Normal
            : m_mouseDown && m_pressedButton == i      ? TkavTitleBarButton::MouseDown
                                                       : TkavTitleBarButton::MouseOn;
        option.buttons.append({m_buttons->item(i)->drawn(face), rect});
    }
    if (m_drawAppIcon && layout.controlBox >= 0) {
        const int side = Kav::Metrics::TitleBarAppIconSize;
        option.appIcon = window()->windowIcon().pixmap(QSize(side, side)).toImage();
        option.appIconAt = layout.appIcon;
    }

    const QFontMetrics metrics(font());
    option.font = font();
    option.caption = Layout::elideCaption(m_caption, layout.captionRight - layout.captionLeft,
                                          [&metrics](const QString &text) { return metrics.horizontalAdvance(text); });
    // Centred on the buttons' height.
    option.captionAt = QPoint(layout.captionLeft, (m_captionBoxHeight - metrics.height()) / 2 + m_captionTop);
    const QColor activeCaption = palette().color(QPalette::Active, QPalette::WindowText);
    option.captionColour = m_formActive ? activeCaption : inactiveCaptionColour(activeCaption);

    option.outline = m_outline && m_roundCorner != 0 && InForm();
    option.outlineColour = m_outlineColor.resolved(palette());
    option.roundCorner = m_roundCorner;
    // A bar across the window's top follows the window's cut corners; one lower down (a second
    // bar) rounds its own top.
    const QPoint inWindow = mapTo(window(), QPoint(0, 0));
    if (option.outline && inWindow.y() <= m_roundCorner / 2) {
        option.windowSize = window()->size();
        option.barInWindow = inWindow;
    }
    return option;
}

void TkavTitleBar::paintPanel(QImage &canvas) const
{
    Kav::paintTitleBar(canvas, paintOption());
}

void TkavTitleBar::mousePressEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_mouseAt = event->position().toPoint();
    m_mouseDown = true;
    m_pressedButton = hotButton();
    update();
    QWidget *form = window();
    // The move starts with the first motion while the button is held: a click whose release
    // comes with the press (a tap, a remote desktop) must not leave the window manager moving the
    // window after the button is up.
    if (m_pressedButton < 0 && form != this && !form->isMaximized())
        m_movePressAt = event->globalPosition().toPoint();
}

void TkavTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mouseMoveEvent(event);
    if (m_movePressAt) {
        const QPoint pressAt = *std::exchange(m_movePressAt, std::nullopt);
        QWidget *form = window();
        if ((event->buttons() & Qt::LeftButton) && form != this && !form->isMaximized()) {
            // The move takes the mouse until the button is released; the bar has no press of its own.
            m_mouseDown = false;
            Kav::KavStartWindowMove(form, pressAt, event->globalPosition().toPoint());
            return;
        }
    }
    followMouse(event->position().toPoint());
}

void TkavTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<TkavTitleBar> alive(this);
    TkavPlatformPanel::mouseReleaseEvent(event);
    if (!alive || event->button() != Qt::LeftButton)
        return;
    m_movePressAt.reset();
    m_mouseAt = event->position().toPoint();
    const int hot = hotButton();
    // A click is a press and a release on the same button; sliding off it cancels.
    const bool click = m_mouseDown && hot >= 0 && hot == m_pressedButton;
    m_mouseDown = false;
    m_pressedButton = -1;
    update();
    if (click)
        clickButton(hot);
}

void TkavTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not the panel's: that would take the second press for the start of a move.
    if (event->button() != Qt::LeftButton)
        return;
    m_mouseAt = event->position().toPoint();
    const QPointer<TkavTitleBar> alive(this);
    Q_EMIT OnDblClick(this);
    if (!alive)
        return;
    const Layout::Result layout = currentLayout();
    const int hot = Layout::buttonAt(layout, *m_mouseAt);
    if (hot < 0) {
        for (int i = 0; i < m_buttons->count(); ++i) {
            if (m_buttons->item(i)->ButtonType() == KavTitleBar::kavMax) {
                m_buttons->item(i)->DoClick();
                break;
            }
        }
    } else if (hot == layout.controlBox) {
        closeWindow();
    }
}

void TkavTitleBar::leaveEvent(QEvent *event)
{
    TkavPlatformPanel::leaveEvent(event);
    followMouse(std::nullopt);
}

void TkavTitleBar::followMouse(const std::optional<QPoint> &at)
{
    const int before = hotButton();
    m_mouseAt = at;
    if (hotButton() != before)
        update();
}

void TkavTitleBar::changeEvent(QEvent *event)
{
    TkavPlatformPanel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        update();
}

bool TkavTitleBar::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        watchWindow();
    return TkavPlatformPanel::event(event);
}

bool TkavTitleBar::eventFilter(QObject *watched, QEvent *event)
{
    // A window that went into an MDI sub-window since is not the one the buttons act on (the
    // sub-window's form shows its state).
    if (watched == m_watchedWindow && event->type() == QEvent::WindowStateChange && m_watchedWindow == formWindow())
        ProcessMaxBtn();
    return TkavPlatformPanel::eventFilter(watched, event);
}

void TkavTitleBar::watchWindow()
{
    QWidget *form = formWindow() != this ? formWindow() : nullptr;
    // The panel watches the parent for its own reasons (one filter serves both), so a window that
    // is the parent keeps the filter.
    if (m_watchedWindow && m_watchedWindow != form && m_watchedWindow != parentWidget())
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = form;
    // Installing again keeps one filter; the panel may have taken it off the old parent.
    if (form)
        form->installEventFilter(this);
}
