#include "KAVTabControl.h"

#include "KAVAccessible.h"
#include "KAVCheckPainter.h"
#include "KAVComposer.h"
#include "KAVFunctions.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace Kav {

namespace {

// A tab picture in three parts over rect. On a dense face the double-density picture is cut and
// stretched in its own pixels, over twice the rectangle, and laid into the logical one.
void drawTab(QPainter &painter, const TkavPicture &picture, const QRect &rect, qreal ratio)
{
    if (ratio <= 1.0 || !picture.has2x() || rect.isEmpty()) {
        SpitDrawHorizontal(picture.image(), painter, rect, false);
        return;
    }
    QImage doubled = picture.image2x();
    doubled.setDevicePixelRatio(1.0);
    QImage tab(rect.size() * 2, QImage::Format_ARGB32_Premultiplied);
    tab.fill(Qt::transparent);
    SpitDrawHorizontal(doubled, tab, QRect(QPoint(0, 0), tab.size()), false);
    tab.setDevicePixelRatio(2.0);
    painter.drawImage(rect.topLeft(), tab);
}

} // namespace

void paintTabStrip(QImage &face, const TabStripOption &option)
{
    const TabStripPictures &pictures = *option.pictures;
    const int width = option.size.width();
    QPainter painter(&face);
    if (!pictures.bar.isNull()) {
        const QRect bar = KavRect(1, option.barTop, width - 1, option.barTop + pictures.bar.height());
        painter.drawImage(bar, pictures.bar.imageFor(face.devicePixelRatio()));
        // Whole logical pixels, as rectangles: a pen line thins out or smears on a dense face
        // shown at a fractional ratio.
        painter.fillRect(QRect(0, bar.top(), 1, bar.height() + 1), option.borderColour);
        painter.fillRect(QRect(width - 1, bar.top(), 1, bar.height() + 1), option.borderColour);
    }
    painter.setFont(option.font);
    painter.setPen(option.textColour);
    for (const TabLayout::Tab &tab : option.layout.tabs) {
        const bool selected = tab.rect.y() > 0;
        const TkavPicture &picture = selected ? pictures.activeTab : pictures.inactiveTab;
        if (!picture.isNull())
            drawTab(painter, picture, tab.rect, face.devicePixelRatio());
        const QString caption = option.captions.value(tab.index);
        if (tab.cut) {
            const QRect text = tab.rect.adjusted(Metrics::TabCutCaptionLeft, 0, -Metrics::TabCutCaptionRight, 0);
            painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
        } else {
            painter.drawText(tab.rect, Qt::AlignCenter | Qt::TextSingleLine, caption);
        }
    }
    if (option.buttons.shown) {
        // The double-density pixels on a dense face, drawn into the same logical rectangle.
        const qreal ratio = face.devicePixelRatio();
        const auto draw = [&painter, ratio](const TkavPicture &picture, const QRect &rect) {
            if (!picture.isNull())
                painter.drawImage(QRect(rect.topLeft(), picture.size()), picture.imageFor(ratio));
        };
        draw(pictures.buttons[option.hotButton == 1 ? 1 : 0], option.buttons.right);
        draw(pictures.buttons[option.hotButton == -1 ? 3 : 2], option.buttons.left);
    }
    painter.end();
    if (option.focused) {
        // The selected tab as it is drawn (the cut one too), its caption area framed.
        for (const TabLayout::Tab &tab : option.layout.tabs)
            if (tab.rect.y() > 0)
                KavDrawFocusFrame(face, tab.rect.adjusted(3, 3, -3, -2));
    }
}

} // namespace Kav

// --- Accessibility ------------------------------------------------------------------------------

namespace {

// One tab of a strip, as assistive tools see it: a page tab with the caption, selectable.
class TabAccessible : public TkavDrawnPartAccessible {
public:
    TabAccessible(TkavTabControlTopPanel *strip, int index) : TkavDrawnPartAccessible(strip, index) {}

    bool isValid() const override { return strip() && index() < strip()->Tabs().size(); }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? strip()->Tabs().at(index()) : QString();
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.selected = strip()->TabIndex() == index();
        state.invisible = !strip()->tabShown(index());
        state.offscreen = strip()->tabRect(index()).isNull();
        return state;
    }

protected:
    QRect localRect() const override { return strip()->tabRect(index()); }
    void press() override { strip()->selectByUser(index()); }

private:
    TkavTabControlTopPanel *strip() const { return static_cast<TkavTabControlTopPanel *>(control()); }
};

// The strip: a page tab list whose children are its tabs.
class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::PageTabList) {}

    TkavTabControlTopPanel *strip() const { return static_cast<TkavTabControlTopPanel *>(widget()); }
    int childCount() const override { return int(strip()->Tabs().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_tabs.size() <= index)
            m_tabs.resize(index + 1, 0);
        if (m_tabs.at(index) == 0 || QAccessible::accessibleInterface(m_tabs.at(index)) == nullptr)
            m_tabs[index] = QAccessible::registerAccessibleInterface(new TabAccessible(strip(), index));
        return QAccessible::accessibleInterface(m_tabs.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < m_tabs.size(); ++i)
            if (m_tabs.at(i) != 0 && QAccessible::accessibleInterface(m_tabs.at(i)) == child)
                return i;
        return -1;
    }
    ~TabStripAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_tabs))
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

private:
    mutable QList<QAccessible::Id> m_tabs;
};

QAccessibleInterface *tabAccessibleFactory(const QString &className, QObject *object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1StringView("TkavTabControlTopPanel") || className == QLatin1StringView("TkavPageControlTopPanel"))
        return new TabStripAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void Kav::KavInstallTabAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(tabAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

namespace TabLayout = Kav::TabLayout;

// --- TkavTabControlTopPanel -----------------------------------------------------------------

TkavTabControlTopPanel::TkavTabControlTopPanel(TkavTab *owner) : TkavPlatformPanel(owner), m_owner(owner)
{
    Kav::KavInstallTabAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TkavTabControlTopPanel::setLook(const KavThemeValues &values)
{
    using Kav::PictureMask;
    using Kav::PictureRecipe;
    m_pictures.activeTab = values.picture(KavKey::TabControlTabImage, PictureRecipe{2, 1, PictureMask::None, false});
    m_pictures.inactiveTab = values.picture(KavKey::TabControlTabImage, PictureRecipe{2, 2, PictureMask::None, false});
    m_pictures.bar = values.picture(KavKey::TabControlBarImage);
    layoutChanged();
    for (int frame = 0; frame < 4; ++frame)
        m_pictures.buttons[size_t(frame)] =
            values.picture(KavKey::ScrollButtonImage, PictureRecipe{4, frame + 1, PictureMask::Magenta, false});
    Kav::KavUpdatePaletteColor(this, QPalette::Window, values.color(KavKey::ControlBackgroundColor));
    // Tabs and scroll buttons may have changed size (a first look brings the buttons): the
    // selected tab stays in view.
    m_scrollOffset = TabLayout::offsetShowing(layoutInput());
    changed();
}

int TkavTabControlTopPanel::tabHeight() const
{
    return m_pictures.inactiveTab.height();
}

const QList<int> &TkavTabControlTopPanel::tabWidths() const
{
    if (!m_widthsKept) {
        const QFontMetrics metrics(m_owner->font());
        m_widths.clear();
        m_widths.reserve(m_tabs.size());
        for (const QString &caption : m_tabs)
            m_widths.append(TabLayout::tabWidth(metrics.horizontalAdvance(caption), caption.isEmpty()));
        m_widthsKept = true;
    }
    return m_widths;
}

void TkavTabControlTopPanel::captionsChanged()
{
    m_widthsKept = false;
    m_layoutKept = false;
}

TabLayout::Input TkavTabControlTopPanel::layoutInput() const
{
    TabLayout::Input input;
    // Shared, not copied: the lists are only read.
    input.widths = tabWidths();
    input.shown = m_shown;
    input.selected = m_tabIndex;
    input.leftMargin = m_leftMargin;
    // The owner's width is the strip's, even before a hidden owner has had its resize event.
    input.stripWidth = m_owner->width();
    input.tabHeight = tabHeight();
    input.buttonWidth = m_pictures.buttons[0].width();
    input.scrollOffset = m_scrollOffset;
    return input;
}

const TabLayout::Result &TkavTabControlTopPanel::currentLayout() const
{
    // The lists are dropped with the kept layout whenever they change; the numbers, some of
    // which change without the strip hearing of it (the owner's width before its resize event),
    // are compared.
    TabLayout::Input input = layoutInput();
    const TabLayout::Input &kept = m_keptInput;
    const bool same = m_layoutKept && input.selected == kept.selected && input.leftMargin == kept.leftMargin
        && input.stripWidth == kept.stripWidth && input.tabHeight == kept.tabHeight
        && input.buttonWidth == kept.buttonWidth && input.scrollOffset == kept.scrollOffset;
    if (!same) {
        m_keptLayout = TabLayout::layout(input);
        m_keptInput = std::move(input);
        m_layoutKept = true;
        ++m_layoutRuns;
    }
    return m_keptLayout;
}

TabLayout::Buttons TkavTabControlTopPanel::scrollButtons() const
{
    return TabLayout::scrollButtons(QSize(m_owner->width(), height()), m_pictures.buttons[0].size(), overflow(),
                                   m_scrollOffset);
}

QRect TkavTabControlTopPanel::tabRect(int index) const
{
    for (const TabLayout::Tab &tab : currentLayout().tabs)
        if (tab.index == index)
            return tab.rect;
    return {};
}

int TkavTabControlTopPanel::tabAt(const QPoint &point) const
{
    return TabLayout::tabAt(currentLayout(), point, tabHeight());
}

namespace {
int hotButtonAt(const TabLayout::Buttons &buttons, const QPoint &pointer)
{
    if (!buttons.shown)
        return 0;
    if (buttons.right.contains(pointer))
        return 1;
    if (buttons.left.contains(pointer))
        return -1;
    return 0;
}
} // namespace

int TkavTabControlTopPanel::hotButton() const
{
    return hotButtonAt(scrollButtons(), m_pointer);
}

void TkavTabControlTopPanel::setTabs(const QStringList &tabs)
{
    m_tabs = tabs;
    captionsChanged();
    if (m_tabs.isEmpty())
        m_tabIndex = -1;
    else if (m_tabIndex >= m_tabs.size())
        m_tabIndex = int(m_tabs.size()) - 1;
    m_scrollOffset = std::min(m_scrollOffset, TabLayout::maxOffset(layoutInput()));
    changed();
}

void TkavTabControlTopPanel::setLeftMargin(int margin)
{
    m_leftMargin = margin;
    changed();
}

void TkavTabControlTopPanel::setTabShown(int index, bool shown)
{
    if (index < 0)
        return;
    if (m_shown.size() <= index)
        m_shown.resize(index + 1, true);
    if (m_shown.at(index) == shown)
        return;
    m_shown[index] = shown;
    layoutChanged();
    changed();
}

void TkavTabControlTopPanel::setShownFlags(const QList<bool> &shown)
{
    m_shown = shown;
    layoutChanged();
    changed();
}

void TkavTabControlTopPanel::setTabIndex(int index)
{
    if (index == m_tabIndex)
        return;
    if (m_tabs.isEmpty()) {
        m_tabIndex = -1;
        changed();
        return;
    }
    if (index < -1 || index >= m_tabs.size()) {
        update();
        return;
    }
    m_tabIndex = index;
    showSelected();
    if (QAccessible::isActive() && m_tabIndex >= 0) {
        QAccessibleEvent selected(this, QAccessible::Selection);
        selected.setChild(m_tabIndex);
        QAccessible::updateAccessibility(&selected);
    }
    m_owner->TabActive(m_tabIndex);
}

bool TkavTabControlTopPanel::selectByUser(int index)
{
    if (index == m_tabIndex || index < 0 || index >= m_tabs.size())
        return false;
    if (!m_owner->allowChange())
        return false;
    setTabIndex(index);
    return m_tabIndex == index;
}

int TkavTabControlTopPanel::neighbourTab(bool forward, bool wrap) const
{
    const int count = int(m_tabs.size());
    const TabLayout::Input input = layoutInput();
    const int start = m_tabIndex >= 0 ? m_tabIndex : (forward ? -1 : count);
    for (int step = 1; step <= count; ++step) {
        int index = start + (forward ? step : -step);
        if (index < 0 || index >= count) {
            if (!wrap)
                return -1;
            index = (index % count + count) % count;
        }
        if (index != m_tabIndex && TabLayout::isShown(input, index))
            return index;
    }
    return -1;
}

int TkavTabControlTopPanel::offsetForSize() const
{
    TabLayout::Input input = layoutInput();
    if (!m_shownOnce)
        input.scrollOffset = 0;
    return TabLayout::offsetShowing(input);
}

void TkavTabControlTopPanel::showSelected()
{
    m_scrollOffset = TabLayout::offsetShowing(layoutInput());
    update();
}

void TkavTabControlTopPanel::changed()
{
    // A strip without a single tab to show is no stop for Tab: the keyboard would land on nothing.
    bool anyShown = false;
    for (int index = 0; index < m_tabs.size() && !anyShown; ++index)
        anyShown = tabShown(index);
    setFocusPolicy(anyShown ? Qt::StrongFocus : Qt::NoFocus);
    updateGeometry();
    update();
    if (m_owner != nullptr)
        m_owner->update();
}

Kav::Backdrop TkavTabControlTopPanel::backdrop() const
{
    return Kav::Backdrop::behind(Color().resolved(palette()));
}

void TkavTabControlTopPanel::paintPanel(QImage &canvas) const
{
    Kav::TabStripOption option;
    option.size = size();
    option.layout = currentLayout();
    option.buttons = TabLayout::scrollButtons(size(), m_pictures.buttons[0].size(), option.layout.overflow, m_scrollOffset);
    option.captions = m_tabs;
    option.pictures = &m_pictures;
    option.font = m_owner->font();
    option.textColour = m_owner->palette().color(QPalette::WindowText);
    option.borderColour = m_owner->BorderColor().resolved(palette());
    option.hotButton = hotButton();
    option.barTop = tabHeight();
    option.focused = hasFocus();
    Kav::paintTabStrip(canvas, option);
}

void TkavTabControlTopPanel::mousePressEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pointer = event->position().toPoint();
    const TabLayout::Result layout = currentLayout();
    const int hot = hotButton();
    if (hot != 0) {
        if (hot < 0)
            --m_scrollOffset;
        else if (layout.overflow)
            ++m_scrollOffset;
        m_scrollOffset = std::clamp(m_scrollOffset, 0, TabLayout::maxOffset(layoutInput()));
        update();
        return;
    }
    const int hit = TabLayout::tabAt(layout, m_pointer, tabHeight());
    if (hit >= 0)
        selectByUser(hit);
}

void TkavTabControlTopPanel::mouseMoveEvent(QMouseEvent *event)
{
    TkavPlatformPanel::mouseMoveEvent(event);
    const TabLayout::Buttons buttons = scrollButtons();
    const int hotBefore = hotButtonAt(buttons, m_pointer);
    m_pointer = event->position().toPoint();
    if (hotButtonAt(buttons, m_pointer) != hotBefore)
        update();
}

void TkavTabControlTopPanel::leaveEvent(QEvent *event)
{
    TkavPlatformPanel::leaveEvent(event);
    const int hotBefore = hotButton();
    m_pointer = QPoint(-1, -1);
    if (hotBefore != 0)
        update();
}

void TkavTabControlTopPanel::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        const int next = neighbourTab(event->key() == Qt::Key_Right, false);
        if (next >= 0)
            selectByUser(next);
        event->accept();
        return;
    }
    TkavPlatformPanel::keyPressEvent(event);
}

void TkavTabControlTopPanel::resizeEvent(QResizeEvent *event)
{
    TkavPlatformPanel::resizeEvent(event);
    m_scrollOffset = offsetForSize();
}

void TkavTabControlTopPanel::showEvent(QShowEvent *event)
{
    // The size it is shown at is its own: from now on only the buttons and the selection scroll.
    m_scrollOffset = offsetForSize();
    m_shownOnce = true;
    TkavPlatformPanel::showEvent(event);
}

void TkavTabControlTopPanel::focusInEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusInEvent(event);
    update();
}

void TkavTabControlTopPanel::focusOutEvent(QFocusEvent *event)
{
    TkavPlatformPanel::focusOutEvent(event);
    update();
}

void TkavTabControlTopPanel::changeEvent(QEvent *event)
{
    TkavPlatformPanel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        captionsChanged();
        update();
    }
}

// --- TkavTab --------------------------------------------------------------------------------

TkavTab::TkavTab(QWidget *parent) : TkavPlatformPanel(parent)
{
    resize(Kav::Metrics::TabControlSize);
}

TkavTab::~TkavTab() = default;

void TkavTab::installTopPanel()
{
    m_strip = CreateTopPanel();
    m_strip->setParent(this);
    // The look needs the strip.
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
    m_strip->show();
}

int TkavTab::stripHeight() const
{
    return m_strip->tabHeight() + m_strip->barHeight();
}

int TkavTab::LeftMargin() const
{
    return m_strip->LeftMargin();
}

void TkavTab::setLeftMargin(int margin)
{
    m_strip->setLeftMargin(margin);
}

void TkavTab::applyLook(const KavThemeValues &values)
{
    m_strip->setLook(values);
    // The border colour first: the pages take it as the look reaches them.
    m_borderColor = values.color(KavKey::ControlBorderColor);
    UpdateUIStyle(UIStyle(), FileTheme());
    // Some looks (WinXP) keep a white body whatever their background colour says.
    setColor(values.traits().whiteTabBody ? TColor::fromRgb(255, 255, 255)
                                          : values.color(KavKey::ControlBackgroundColor));
    placeStrip();
    update();
}

void TkavTab::setBorderColor(TColor color)
{
    m_borderColor = color;
    BorderColorChanged();
    update();
    m_strip->update();
}

void TkavTab::UpdateUIStyle(TkavUIStyle style, TkavFileTheme *fileTheme)
{
    ContainerApplyUIStyle(this, style, fileTheme);
}

bool TkavTab::allowChange()
{
    bool allow = true;
    Q_EMIT OnChanging(this, allow);
    return allow;
}

void TkavTab::TabActive(int index)
{
    Q_EMIT OnTabActive(this, index);
    Q_EMIT OnChange(this);
}

void TkavTab::placeStrip()
{
    const int strip = stripHeight();
    m_strip->setGeometry(0, 0, width(), strip);
    const int inset = Kav::Metrics::TabBodyInset;
    setContentsMargins(inset, strip + inset, inset, inset);
    alignChildren();
}

void TkavTab::resizeEvent(QResizeEvent *event)
{
    placeStrip();
    TkavPlatformPanel::resizeEvent(event);
}

Kav::Backdrop TkavTab::backdrop() const
{
    return Kav::Backdrop::behind(Color().resolved(palette()));
}

void TkavTab::paintPanel(QImage &canvas) const
{
    const int top = stripHeight();
    QPainter painter(&canvas);
    painter.fillRect(Kav::KavRect(0, top, width(), height()), Color().resolved(palette()));
    // The outline as one-pixel rectangles (left, bottom, right up to the strip's last row): pen
    // lines thin out on a dense face and leave stray marks at fractional ratios.
    const QColor border = m_borderColor.resolved(palette());
    painter.fillRect(Kav::KavRect(0, top, 1, height()), border);
    painter.fillRect(Kav::KavRect(0, height() - 1, width(), height()), border);
    painter.fillRect(Kav::KavRect(width() - 1, top - 1, width(), height()), border);
}

void TkavTab::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool next = event->key() == Qt::Key_Tab && modifiers == Qt::ControlModifier;
    const bool previous = (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Tab)
                          && modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (next || previous) {
        const int index = m_strip->neighbourTab(next, true);
        if (index >= 0)
            m_strip->selectByUser(index);
        event->accept();
        return;
    }
    TkavPlatformPanel::keyPressEvent(event);
}

// --- TkavTabControl -------------------------------------------------------------------------

TkavTabControl::TkavTabControl(QWidget *parent) : TkavTab(parent)
{
    installTopPanel();
}

TkavTabControlTopPanel *TkavTabControl::CreateTopPanel()
{
    return new TkavTabControlTopPanel(this);
}
