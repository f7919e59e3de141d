#include "KAVStyle.h"

#include "KAVAccessible.h"
#include "KAVButtonPainter.h"
#include "KAVCheckPainter.h"
#include "KAVComboBox.h"
#include "KAVFaceCache.h"
#include "KAVFunctions.h"
#include "KAVMenu.h"
#include "KAVMetrics.h"
#include "KAVMgr.h"
#include "KAVPanelPainter.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVTabLayout.h"
#include "KAVTitleBar.h"
#include "KAVTitleBarLayout.h"
#include "KAVToolBar.h"
#include "KAVTrackBar.h"
#include "KAVTrackGeometry.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSlider>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace Kav {

namespace {

namespace M = Metrics;

// Faces this style composes from pictures without a store identity (a scroll bar's slider) are
// cached under the look's serial with this bit set, which no picture id
// of the store has.
constexpr quint64 StyleFaceBit = quint64(1) << 63;
enum StyleFace : quint32 { ScrollSliderFace = 0x5301 };

bool looksBoldOnFocus(TkavUIStyle style)
{
    return style == TkavUIStyle::MacOS || style == TkavUIStyle::BlueGlass;
}

qreal ratioOf(const QPainter *painter)
{
    return painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
}

// Pictures are stretched by repeating pixels, as every skinned control stretches them; smoothly
// only where a face is drawn at another density than its own (as KavPaintFace does).
class PixelStretch {
public:
    explicit PixelStretch(QPainter *painter) : m_painter(painter)
    {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, ratioOf(painter) != 1.0);
    }
    ~PixelStretch() { m_painter->restore(); }
    PixelStretch(const PixelStretch &) = delete;
    PixelStretch &operator=(const PixelStretch &) = delete;

private:
    QPainter *m_painter;
};

void drawPicture(QPainter *painter, const QPoint &at, const TkavPicture &picture)
{
    if (!picture.isNull())
        painter->drawImage(QRect(at, picture.size()), picture.imageFor(ratioOf(painter)));
}

// The pixel height a widget's font asks for, as the group box measures it.
int fontPixelHeight(const QStyleOption *option, const QWidget *widget)
{
    if (widget) {
        const int requested = widget->font().pixelSize();
        return requested > 0 ? requested : QFontInfo(widget->font()).pixelSize();
    }
    return option->fontMetrics.ascent();
}

QFont fontOf(const QPainter *painter, const QWidget *widget)
{
    return widget ? widget->font() : painter->font();
}

bool isNorth(QTabBar::Shape shape)
{
    return shape == QTabBar::RoundedNorth || shape == QTabBar::TriangularNorth;
}

bool isTabWidgetFrame(const QStyleOption *option)
{
    const auto *frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame *>(option);
    return frame && isNorth(frame->shape);
}

// A push button's face frame for its state: pressed, under the mouse, or at rest (also disabled).
int buttonFrame(QStyle::State state)
{
    if (!state.testFlag(QStyle::State_Enabled))
        return 0;
    if (state.testFlag(QStyle::State_Sunken) || state.testFlag(QStyle::State_On))
        return 2;
    return state.testFlag(QStyle::State_MouseOver) ? 1 : 0;
}

// The same for one part of a complex control (an arrow of a scroll bar or a spin box).
int partFrame(const QStyleOptionComplex *option, QStyle::SubControl part)
{
    if (!option->state.testFlag(QStyle::State_Enabled) || !option->activeSubControls.testFlag(part))
        return 0;
    if (option->state.testFlag(QStyle::State_Sunken))
        return 2;
    return option->state.testFlag(QStyle::State_MouseOver) ? 1 : 0;
}

// --- scroll bars ------------------------------------------------------------------------------

struct ScrollBarParts {
    Track::ScrollBarLayout layout;
    QRect slider; // empty when there is nothing to scroll
};

ScrollBarParts scrollBarParts(const KavStyleLook &look, const QStyleOptionSlider &bar)
{
    const bool vertical = bar.orientation == Qt::Vertical;
    const auto &arrows = vertical ? look.arrowsVertical : look.arrowsHorizontal;
    ScrollBarParts parts;
    parts.layout = Track::scrollBarLayout(bar.rect.size(), vertical ? KavOrientation::kavVertical
                                                                       : KavOrientation::kavHorizontal,
                                          arrows[0].size(), arrows[3].size());
    // Laid out in the bar's own rectangle, whatever its thickness across.
    const int across = vertical ? bar.rect.width() : bar.rect.height();
    const int room = parts.layout.trackLength;
    const Track::Range range{bar.minimum, std::max(bar.minimum, bar.maximum)};
    if (range.span() > 0 && room > 0) {
        const int thumb = std::clamp(Track::proportionalThumb(room, range, bar.pageStep), M::ScrollSliderMinLength, room);
        const int offset =
            QStyle::sliderPositionFromValue(range.min, range.max, bar.sliderPosition, room - thumb, bar.upsideDown);
        const QPoint at = parts.layout.trackAt + (vertical ? QPoint(0, offset) : QPoint(offset, 0));
        parts.slider = vertical ? QRect(at, QSize(across, thumb)) : QRect(at, QSize(thumb, across));
    }
    const QPoint origin = bar.rect.topLeft();
    parts.layout.decrease.translate(origin);
    parts.layout.increase.translate(origin);
    parts.layout.trackAt += origin;
    parts.slider.translate(origin);
    return parts;
}

QRect scrollTrack(const ScrollBarParts &parts, bool vertical, const QRect &bar)
{
    return vertical ? QRect(parts.layout.trackAt, QSize(bar.width(), parts.layout.trackLength))
                    : QRect(parts.layout.trackAt, QSize(parts.layout.trackLength, bar.height()));
}

// The slider as the library's scroll bar composes it, kept in the face cache per look and length.
QImage scrollSlider(const KavStyleLook &look, int length, bool vertical)
{
    const TkavFaceCache::Key key{StyleFaceBit | look.serial, QSize(length, vertical ? 1 : 0), ScrollSliderFace};
    TkavFaceCache &cache = TkavFaceCache::shared();
    QImage slider = cache.find(key);
    cache.countLookup(!slider.isNull());
    if (slider.isNull()) {
        const auto &slices = vertical ? look.sliderVertical : look.sliderHorizontal;
        slider = composeScrollSlider(slices[0], slices[1], slices[2], length,
                                     vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal);
        cache.insert(key, slider);
    }
    return slider;
}

// --- sliders ----------------------------------------------------------------------------------

QImage trackStrip(const KavStyleLook &look, int length, bool vertical)
{
    // Shared with the skinned track bars of the look through the face cache.
    return KavTrackBarStrip(look.trackBar, length, vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal);
}

TrackBarOption trackOption(const KavStyleLook &look, const QStyleOptionSlider &slider)
{
    const bool vertical = slider.orientation == Qt::Vertical;
    TrackBarOption option;
    option.size = slider.rect.size();
    option.orientation = vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal;
    option.range = {slider.minimum, std::max(slider.minimum, slider.maximum)};
    // An upside-down slider counts from the other end.
    option.position = slider.upsideDown ? option.range.max - (slider.sliderPosition - option.range.min)
                                        : slider.sliderPosition;
    const TkavPicture &picture = vertical ? look.trackSliderVertical : look.trackSlider;
    option.slider = picture.image();
    option.slider2x = picture.image2x();
    option.barThickness = look.trackBar.height();
    option.barStrip = trackStrip(look, vertical ? option.size.height() : option.size.width(), vertical);
    option.showTick = slider.tickPosition != QSlider::NoTicks;
    option.frequency = slider.tickInterval > 0 ? slider.tickInterval : std::max(1, slider.pageStep);
    option.focusFrame = slider.state.testFlag(QStyle::State_HasFocus);
    return option;
}

// --- title bars of MDI sub-windows --------------------------------------------------------------

struct TitleBarParts {
    enum Button { ControlBox, Close, Max, Min, Count };
    TitleBarLayout::Result layout;
    std::array<int, Count> firstFrame{}; // 0-based first frame of each button's three
};

TitleBarParts titleBarParts(const KavStyleLook &look, const QStyleOptionTitleBar &bar)
{
    const bool maximized = bar.titleBarState & Qt::WindowMaximized;
    const bool minimized = bar.titleBarState & Qt::WindowMinimized;
    TitleBarParts parts;
    // The frames of TitleBarButtonImage: control box 1-3, maximise 7-9, restore 10-12, minimise
    // 13-15, close 16-18.
    parts.firstFrame = {0, 15, maximized ? 9 : 6, minimized ? 9 : 12};
    const bool shown[TitleBarParts::Count] = {
        bool(bar.titleBarFlags & Qt::WindowSystemMenuHint), bool(bar.titleBarFlags & Qt::WindowCloseButtonHint),
        bool(bar.titleBarFlags & Qt::WindowMaximizeButtonHint), bool(bar.titleBarFlags & Qt::WindowMinimizeButtonHint)};
    TitleBarLayout::Input input;
    input.barWidth = bar.rect.width();
    input.leftOffset = look.titleButtonLeftOffset;
    input.rightOffset = look.titleButtonRightOffset;
    for (int i = 0; i < TitleBarParts::Count; ++i) {
        TitleBarLayout::ButtonInput button;
        button.visible = shown[i];
        button.controlBox = i == TitleBarParts::ControlBox;
        button.size = look.titleButtons[std::size_t(parts.firstFrame[std::size_t(i)])].size();
        button.top = look.titleButtonTop;
        input.buttons.append(button);
    }
    parts.layout = TitleBarLayout::layout(input);
    return parts;
}

} // namespace

// --- the style --------------------------------------------------------------------------------

KavStyle::KavStyle(TkavUIStyle look) : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    m_menuStyle = new TkavMenuStyle(&m_menuSkin, this);
    m_menuStyle->setBaseStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    applyLook(look, nullptr);
}

KavStyle::KavStyle(TkavFileTheme *fileTheme) : KavStyle(TkavUIStyle::DeepBlue)
{
    if (fileTheme)
        applyLook(TkavUIStyle::FromThemeFile, fileTheme);
}

KavStyle::~KavStyle() = default;

bool KavStyle::setLook(TkavUIStyle look, TkavFileTheme *fileTheme)
{
    const KavStyleLook before = *m_look;
    applyLook(look, fileTheme);
    Q_EMIT lookChanged();
    return !before.sameMetrics(*m_look);
}

void KavStyle::applyLook(TkavUIStyle look, TkavFileTheme *fileTheme)
{
    QObject::disconnect(m_themeWatch);
    m_fileTheme = fileTheme;
    if (fileTheme) {
        // A theme destroyed while in use leaves the style in the fall-back look.
        m_themeWatch = connect(fileTheme, &QObject::destroyed, this, [this] {
            m_fileTheme = nullptr;
            installLook(KavMakeStyleLook(TkavUIStyle::DeepBlue, nullptr));
            Q_EMIT lookChanged();
        });
    }
    installLook(KavMakeStyleLook(look, fileTheme));
}

void KavStyle::installLook(KavStyleLook look)
{
    if (!look.formPattern.isNull()) {
        // The window's pattern, where the look has one; its colour is what code asking for the
        // window's colour gets.
        look.palette.setBrush(QPalette::All, QPalette::Window,
                              QBrush(look.formBackground, QPixmap::fromImage(look.formPattern.image())));
    }
    m_look = std::make_unique<KavStyleLook>(std::move(look));
    m_menuSkin = m_look->menu;
}

QPalette KavStyle::standardPalette() const
{
    return m_look->palette;
}

void KavStyle::polish(QPalette &palette)
{
    palette = m_look->palette;
}

void KavStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    // Faces change under the mouse: these widgets must hear about it.
    if (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QComboBox *>(widget) ||
        qobject_cast<QScrollBar *>(widget) || qobject_cast<QSlider *>(widget) ||
        qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QTabBar *>(widget) ||
        qobject_cast<QMdiSubWindow *>(widget))
        widget->setAttribute(Qt::WA_Hover, true);
}

// --- sizes ------------------------------------------------------------------------------------

int KavStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    const bool vertical = slider ? slider->orientation == Qt::Vertical : option && !(option->state & State_Horizontal);
    switch (metric) {
    case PM_DefaultFrameWidth:
    case PM_SpinBoxFrameWidth:
        return M::EditBorderWidth;
    case PM_ComboBoxFrameWidth:
        return M::ComboBoxFrameWidth;
    case PM_ScrollBarExtent:
        return look.scrollBarExtent();
    case PM_ScrollBarSliderMin:
        return M::ScrollSliderMinLength;
    case PM_ScrollView_ScrollBarSpacing:
    case PM_ScrollView_ScrollBarOverlap:
        return 0;
    case PM_IndicatorWidth:
        return look.checkIndicator().width();
    case PM_IndicatorHeight:
        return look.checkIndicator().height();
    case PM_ExclusiveIndicatorWidth:
        return look.radioIndicator().width();
    case PM_ExclusiveIndicatorHeight:
        return look.radioIndicator().height();
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
        return M::CheckTextGap - M::CheckPictureLeft;
    case PM_SliderThickness:
    case PM_SliderControlThickness: {
        const QSize picture = look.trackSliderSize(vertical);
        const int across = vertical ? picture.width() : picture.height();
        return metric == PM_SliderControlThickness ? across : std::max(across, look.trackBar.height());
    }
    case PM_SliderLength: {
        const QSize picture = look.trackSliderSize(vertical);
        return vertical ? picture.height() : picture.width();
    }
    case PM_SliderTickmarkOffset:
        return 0;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        return 1;
    case PM_TabBarTabHSpace:
        return M::TabCaptionPadding;
    case PM_TabBarTabVSpace:
    case PM_TabBarTabShiftHorizontal:
    case PM_TabBarTabShiftVertical:
        return 0;
    case PM_TabBarBaseHeight:
        return look.tabBarHeight();
    case PM_TabBarBaseOverlap: {
        const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
        if (!tab || isNorth(tab->shape))
            return 1; // the selected tab's lowest row lies over the bar
        break;
    }
    case PM_TabBarScrollButtonWidth:
        return look.tabScrollButtons[0].width() + 2;
    case PM_TitleBarHeight:
        if (look.titleBarHeight() > 0)
            return look.titleBarHeight();
        break;
    case PM_MdiSubWindowFrameWidth:
        return look.formBorderWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuPanelWidth:
    case PM_MenuBarPanelWidth:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuBarItemSpacing:
        return m_menuStyle->pixelMetric(metric, option, widget);
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int KavStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                        QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_ComboBox_Popup:
        return 0; // the list drops below the box, as the skinned combo box's does
    case SH_ComboBox_PopupFrameStyle:
        return QFrame::Box | QFrame::Plain;
    case SH_Menu_AllowActiveAndDisabled:
        return m_menuStyle->styleHint(hint, option, widget, returnData);
    case SH_TabBar_Alignment:
        return Qt::AlignLeft;
    case SH_ScrollBar_Transient:
        return 0;
    default:
        break;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QSize KavStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                 const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    switch (type) {
    case CT_PushButton: {
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (!button)
            break;
        // Room around caption and icon, never smaller than a new TkavButton.
        int width = size.width() + M::ButtonCaptionMargins.width();
        if (!button->icon.isNull() && !button->text.isEmpty())
            width += 4; // the icon's spacing
        int height = std::max(size.height() + M::ButtonCaptionMargins.height(), look.buttonFaceHeight());
        height = std::max(height, M::PushButtonSize.height());
        if (!button->text.isEmpty())
            width = std::max(width, M::PushButtonSize.width());
        return {width, height};
    }
    case CT_ToolButton:
        if (const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
            button && !button->state.testFlag(State_AutoRaise))
            return QProxyStyle::sizeFromContents(type, option, size, widget)
                .expandedTo(QSize(0, look.buttonFaceHeight()));
        break;
    case CT_CheckBox:
    case CT_RadioButton: {
        // The caption measured as the skinned check box measures it (Qt's own measure of the
        // text may be a pixel larger); room for an icon as Qt asks.
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        const QSize caption = button && button->icon.isNull()
                                  ? QSize(option->fontMetrics.horizontalAdvance(KavStripMnemonic(button->text)),
                                          option->fontMetrics.height())
                                  : size;
        return KavCheckSizeHint(type == CT_CheckBox ? look.checkIndicator() : look.radioIndicator(), caption);
    }
    case CT_LineEdit:
        return QProxyStyle::sizeFromContents(type, option, size, widget).expandedTo(QSize(0, M::EditSize.height()));
    case CT_SpinBox:
        return QSize(size.width() + 2 * M::EditBorderWidth + M::SpinEditButtonsGap + M::SpinEditButtonsSize.width(),
                     std::max(size.height() + 2 * M::EditBorderWidth, M::EditSize.height()));
    case CT_ComboBox:
        return QSize(size.width() + 2 * M::ComboBoxFrameWidth + M::ComboBoxButtonWidth + 4,
                     std::max(size.height() + 2 * M::ComboBoxFrameWidth + 2, M::ComboBoxSize.height()));
    case CT_Slider: {
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (!slider)
            break;
        // As thick as bar and slider, ticks drawn over the slider's edge as the track bar does.
        const int thickness = pixelMetric(PM_SliderThickness, option, widget);
        return slider->orientation == Qt::Vertical ? QSize(thickness, size.height()) : QSize(size.width(), thickness);
    }
    case CT_ProgressBar:
        if (option && option->state.testFlag(State_Horizontal))
            return QSize(size.width(), M::ProgressBarThickness);
        return QSize(M::ProgressBarThickness, size.height());
    case CT_TabBarTab: {
        const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
        if (!tab || !isNorth(tab->shape))
            break;
        // As wide as the skinned tab control's tabs: the caption and TabCaptionPadding (Qt's own
        // measure of the caption may be a pixel wider); room for an icon or buttons as Qt asks.
        const bool plain = tab->icon.isNull() && !tab->leftButtonSize.isValid() && !tab->rightButtonSize.isValid();
        const int captionWidth = option->fontMetrics.horizontalAdvance(KavStripMnemonic(tab->text));
        const int skinned = TabLayout::tabWidth(captionWidth, tab->text.isEmpty());
        const int width = plain ? skinned : std::max(size.width(), skinned);
        // One row more than the picture: the selected tab sits a pixel lower.
        return QSize(width, std::max(look.tabHeight(), size.height()) + 1);
    }
    case CT_MenuItem:
    case CT_MenuBarItem:
    case CT_MenuBar:
    case CT_Menu:
        return m_menuStyle->sizeFromContents(type, option, size, widget);
    case CT_HeaderSection:
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    default:
        break;
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

QRect KavStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    switch (element) {
    case SE_CheckBoxIndicator:
    case SE_CheckBoxContents:
    case SE_CheckBoxFocusRect:
    case SE_RadioButtonIndicator:
    case SE_RadioButtonContents:
    case SE_RadioButtonFocusRect: {
        // Where the library's check box puts picture, caption and focus frame.
        const bool radio = element == SE_RadioButtonIndicator || element == SE_RadioButtonContents ||
                           element == SE_RadioButtonFocusRect;
        const QSize picture = radio ? look.radioIndicator() : look.checkIndicator();
        const CheckLayout layout = KavCheckLayout(option->rect.size(), picture, option->fontMetrics.height());
        QRect part;
        if (element == SE_CheckBoxIndicator || element == SE_RadioButtonIndicator)
            part = QRect(layout.picture, picture);
        else if (element == SE_CheckBoxContents || element == SE_RadioButtonContents)
            part = QRect(layout.text.left(), 0, layout.text.width(), option->rect.height());
        else
            part = layout.focus;
        return visualRect(option->direction, option->rect, part.translated(option->rect.topLeft()));
    }
    case SE_PushButtonContents:
        return option->rect;
    case SE_PushButtonFocusRect:
        return option->rect.adjusted(2, 2, -2, -2);
    case SE_LineEditContents:
        return QProxyStyle::subElementRect(element, option, widget);
    case SE_ProgressBarGroove:
    case SE_ProgressBarContents:
    case SE_ProgressBarLabel:
        return option->rect;
    case SE_TabWidgetTabBar:
        if (isTabWidgetFrame(option)) {
            // The tabs start LeftMargin from the left, as on the skinned tab control.
            const auto *frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame *>(option);
            QRect bar = QProxyStyle::subElementRect(element, option, widget);
            const int left = option->rect.left() + frame->leftCornerWidgetSize.width() + M::TabLeftMargin;
            bar.moveLeft(std::max(bar.left(), left));
            bar.setRight(std::min(bar.right(), option->rect.right() - frame->rightCornerWidgetSize.width()));
            return bar;
        }
        break;
    case SE_TabWidgetTabPane:
        if (const auto *frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame *>(option);
            frame && isNorth(frame->shape)) {
            const int top = std::max(0, frame->tabBarSize.height() - 1);
            return QRect(option->rect.left(), option->rect.top() + top, option->rect.width(),
                         std::max(0, option->rect.height() - top));
        }
        break;
    case SE_TabWidgetTabContents:
        if (isTabWidgetFrame(option)) {
            const int inset = M::TabBodyInset;
            return subElementRect(SE_TabWidgetTabPane, option, widget)
                .adjusted(inset, look.tabBarHeight() + inset, -inset, -inset);
        }
        break;
    default:
        break;
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

QRect KavStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                               const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    switch (control) {
    case CC_ScrollBar:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option)) {
            const ScrollBarParts parts = scrollBarParts(look, *bar);
            const bool vertical = bar->orientation == Qt::Vertical;
            const QRect track = scrollTrack(parts, vertical, bar->rect);
            switch (part) {
            case SC_ScrollBarSubLine:
                return parts.layout.decrease;
            case SC_ScrollBarAddLine:
                return parts.layout.increase;
            case SC_ScrollBarGroove:
                return track;
            case SC_ScrollBarSlider:
                return parts.slider;
            case SC_ScrollBarSubPage:
                if (parts.slider.isEmpty())
                    return track;
                return vertical ? QRect(track.topLeft(), QPoint(track.right(), parts.slider.top() - 1))
                                : QRect(track.topLeft(), QPoint(parts.slider.left() - 1, track.bottom()));
            case SC_ScrollBarAddPage:
                if (parts.slider.isEmpty())
                    return QRect();
                return vertical ? QRect(QPoint(track.left(), parts.slider.bottom() + 1), track.bottomRight())
                                : QRect(QPoint(parts.slider.right() + 1, track.top()), track.bottomRight());
            default:
                return QRect();
            }
        }
        break;
    case CC_Slider:
        if (const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option)) {
            const TrackBarLayout layout = trackBarLayout(trackOption(look, *slider));
            switch (part) {
            case SC_SliderHandle:
                return layout.slider.translated(option->rect.topLeft());
            case SC_SliderGroove:
                return option->rect;
            default:
                return QRect();
            }
        }
        break;
    case CC_ComboBox:
        return KavComboBoxSubControlRect(option->rect, part);
    case CC_SpinBox: {
        // The arrow buttons stand in the right end of the field, inside the border, the down
        // button overlapping the up button by a pixel.
        const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option);
        const int border = spin && !spin->frame ? 0 : M::EditBorderWidth;
        const QRect inner = option->rect.adjusted(border, border, -border, -border);
        const bool buttons = spin && spin->buttonSymbols != QAbstractSpinBox::NoButtons;
        const int width = buttons ? M::SpinEditButtonsSize.width() : 0;
        const QRect column(inner.right() - width + 1, inner.top(), width, inner.height());
        const int upHeight = column.height() / 2 + 1;
        switch (part) {
        case SC_SpinBoxFrame:
            return option->rect;
        case SC_SpinBoxEditField:
            return inner.adjusted(0, 0, buttons ? -(width + M::SpinEditButtonsGap) : 0, 0);
        case SC_SpinBoxUp:
            return buttons ? QRect(column.topLeft(), QSize(width, upHeight)) : QRect();
        case SC_SpinBoxDown:
            return buttons ? QRect(column.left(), column.top() + upHeight - 1, width, column.height() - upHeight + 1)
                           : QRect();
        default:
            return QRect();
        }
    }
    case CC_GroupBox:
        if (const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option)) {
            const QRect r = option->rect;
            const bool checkable = box->subControls.testFlag(SC_GroupBoxCheckBox);
            const QSize indicator = look.checkIndicator();
            const int indent = checkable ? indicator.width() + M::CheckTextGap : 0;
            const QFontMetrics &metrics = option->fontMetrics;
            switch (part) {
            case SC_GroupBoxFrame:
                return r;
            case SC_GroupBoxCheckBox:
                return checkable ? QRect(r.left() + M::GroupCaptionLeft,
                                         r.top() + std::max(0, (metrics.height() - indicator.height()) / 2), indicator.width(),
                                         indicator.height())
                                 : QRect();
            case SC_GroupBoxLabel:
                return QRect(r.left() + M::GroupCaptionLeft + indent, r.top(),
                             metrics.horizontalAdvance(box->text) + 1, metrics.height());
            case SC_GroupBoxContents:
                return r.adjusted(3, fontPixelHeight(option, widget) + 5, -3, -3);
            default:
                return QRect();
            }
        }
        break;
    case CC_TitleBar:
        if (const auto *bar = qstyleoption_cast<const QStyleOptionTitleBar *>(option)) {
            const TitleBarParts parts = titleBarParts(look, *bar);
            const auto button = [&](int index) { return parts.layout.buttons.value(index).translated(bar->rect.topLeft()); };
            const bool maximized = bar->titleBarState & Qt::WindowMaximized;
            const bool minimized = bar->titleBarState & Qt::WindowMinimized;
            switch (part) {
            case SC_TitleBarSysMenu:
                return button(TitleBarParts::ControlBox);
            case SC_TitleBarCloseButton:
                return button(TitleBarParts::Close);
            case SC_TitleBarMaxButton:
                return maximized ? QRect() : button(TitleBarParts::Max);
            case SC_TitleBarMinButton:
                return minimized ? QRect() : button(TitleBarParts::Min);
            case SC_TitleBarNormalButton:
                return maximized ? button(TitleBarParts::Max) : minimized ? button(TitleBarParts::Min) : QRect();
            case SC_TitleBarLabel:
                return QRect(bar->rect.left() + parts.layout.captionLeft, bar->rect.top(),
                             std::max(0, parts.layout.captionRight - parts.layout.captionLeft), bar->rect.height());
            default:
                return QRect();
            }
        }
        break;
    default:
        break;
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

QStyle::SubControl KavStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                   const QPoint &point, const QWidget *widget) const
{
    // The parts this style places are hit where they are drawn.
    auto first = [&](std::initializer_list<SubControl> parts) {
        for (SubControl part : parts) {
            if (subControlRect(control, option, part, widget).contains(point))
                return part;
        }
        return SC_None;
    };
    switch (control) {
    case CC_ScrollBar:
        return first({SC_ScrollBarSlider, SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSubPage,
                      SC_ScrollBarAddPage});
    case CC_Slider:
        return first({SC_SliderHandle, SC_SliderGroove});
    case CC_SpinBox:
        return first({SC_SpinBoxUp, SC_SpinBoxDown, SC_SpinBoxEditField, SC_SpinBoxFrame});
    case CC_ComboBox:
        return first({SC_ComboBoxArrow, SC_ComboBoxEditField, SC_ComboBoxFrame});
    case CC_TitleBar:
        return first({SC_TitleBarSysMenu, SC_TitleBarCloseButton, SC_TitleBarMaxButton, SC_TitleBarMinButton,
                      SC_TitleBarNormalButton, SC_TitleBarLabel});
    default:
        break;
    }
    return QProxyStyle::hitTestComplexControl(control, option, point, widget);
}

// --- drawing ----------------------------------------------------------------------------------

void KavStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    switch (element) {
    case PE_IndicatorCheckBox:
    case PE_IndicatorItemViewItemCheck:
        drawCheckIndicator(option, painter, false);
        return;
    case PE_IndicatorRadioButton:
        drawCheckIndicator(option, painter, true);
        return;
    case PE_FrameFocusRect:
        // The platform's dotted frame.
        KavPaintFocusFrame(*painter, option->rect, ButtonFocusOption{true, 0});
        return;
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
    case PE_PanelButtonTool:
        if (element == PE_PanelButtonTool && option->state.testFlag(State_AutoRaise)) {
            // A flat tool button shows a face only under the mouse, pressed or checked.
            const ToolButtonFace face = toolButtonFace(option->state, false);
            if (face.kind != ToolButtonFace::Platform)
                paintToolButtonFace(*painter, option->rect, face,
                                    face.kind == ToolButtonFace::Down ? look.toolButtonDown : look.toolButtonBackground,
                                    look.toolButtonBorder);
            return;
        }
        SpitDraw(look.button[std::size_t(buttonFrame(option->state))], *painter, option->rect, look.buttonTransparent);
        return;
    case PE_PanelLineEdit:
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
            if (frame->lineWidth > 0)
                drawPrimitive(PE_FrameLineEdit, option, painter, widget);
            return;
        }
        break;
    case PE_FrameLineEdit:
        // The edit's two-pixel border: the look's line outside, the field's colour inside it.
        KavDrawBorder(*painter, option->rect, look.controlBorder, option->palette.color(QPalette::Base), true);
        return;
    case PE_Frame:
    case PE_FrameWindow:
        if (element == PE_FrameWindow) {
            const int width = pixelMetric(PM_MdiSubWindowFrameWidth, option, widget);
            const QRect r = option->rect;
            painter->fillRect(QRect(r.left(), r.top(), width, r.height()), look.formBorder);
            painter->fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), look.formBorder);
            painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), look.formBorder);
            return;
        }
        drawFrame(option, painter, widget);
        return;
    case PE_FrameTabWidget:
        if (isTabWidgetFrame(option)) {
            drawTabPane(option, painter);
            return;
        }
        break;
    case PE_FrameTabBarBase:
        if (const auto *base = qstyleoption_cast<const QStyleOptionTabBarBase *>(option); base && isNorth(base->shape)) {
            // A tab bar on its own: the first row of the line under the tabs.
            const PixelStretch stretch(painter);
            if (!look.tabBar.isNull())
                painter->drawImage(option->rect, look.tabBar.image(), QRect(0, 0, look.tabBar.width(), 1));
            return;
        }
        break;
    case PE_PanelScrollAreaCorner:
        painter->fillRect(option->rect, look.scrollBackground);
        return;
    case PE_PanelToolBar:
        // MacOS and Protein let the window show through their tool bars.
        if (!look.toolBarTransparent)
            painter->fillRect(option->rect, option->palette.color(QPalette::Base));
        return;
    case PE_PanelMenu:
    case PE_FrameMenu:
        if (widget && !qobject_cast<const QMenu *>(widget)) {
            // The list of a combo box, framed as the skinned combo box frames it.
            if (element == PE_FrameMenu)
                KavDrawBorder(*painter, option->rect, look.controlBorder, look.controlBorder, false);
            else
                painter->fillRect(option->rect, option->palette.color(QPalette::Base));
            return;
        }
        m_menuStyle->drawPrimitive(element, option, painter, widget);
        return;
    case PE_PanelMenuBar:
        m_menuStyle->drawPrimitive(element, option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void KavStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const
{
    const KavStyleLook &look = *m_look;
    switch (element) {
    case CE_PushButton:
        drawPushButton(option, painter, widget);
        return;
    case CE_PushButtonBevel:
        SpitDraw(look.button[std::size_t(buttonFrame(option->state))], *painter, option->rect, look.buttonTransparent);
        return;
    case CE_CheckBox:
    case CE_RadioButton:
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            // Picture, caption and focus frame where the skinned check box puts them.
            const bool radio = element == CE_RadioButton;
            QStyleOptionButton part = *button;
            part.rect = subElementRect(radio ? SE_RadioButtonIndicator : SE_CheckBoxIndicator, button, widget);
            drawCheckIndicator(&part, painter, radio);
            part.rect = subElementRect(radio ? SE_RadioButtonContents : SE_CheckBoxContents, button, widget);
            QProxyStyle::drawControl(radio ? CE_RadioButtonLabel : CE_CheckBoxLabel, &part, painter, widget);
            if (button->state.testFlag(State_HasFocus) && !button->text.isEmpty()) {
                const QRect focus = subElementRect(radio ? SE_RadioButtonFocusRect : SE_CheckBoxFocusRect, button, widget);
                KavPaintFocusFrame(*painter, focus, ButtonFocusOption{true, 0});
            }
            return;
        }
        break;
    case CE_ProgressBar:
        drawProgressBar(option, painter, widget);
        return;
    case CE_ProgressBarGroove:
    case CE_ProgressBarContents:
    case CE_ProgressBarLabel:
        return; // all drawn as one by CE_ProgressBar
    case CE_TabBarTabShape:
        if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option); tab && isNorth(tab->shape)) {
            drawTabShape(option, painter);
            return;
        }
        break;
    case CE_TabBarTabLabel:
        if (drawTabLabel(option, painter, widget))
            return;
        break;
    case CE_ComboBoxLabel:
        if (const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
            // A box that only chooses shows its focus as selected text while its list is closed.
            const bool selected = !box->editable && box->state.testFlag(State_HasFocus) && !box->state.testFlag(State_On);
            painter->save();
            painter->setPen(option->palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            QProxyStyle::drawControl(element, option, painter, widget);
            painter->restore();
            return;
        }
        break;
    case CE_ShapedFrame:
        drawFrame(option, painter, widget);
        return;
    case CE_ToolBar:
        drawPrimitive(PE_PanelToolBar, option, painter, widget);
        return;
    case CE_HeaderSection:
    case CE_HeaderEmptyArea: {
        // As the data grid's title row: the menus' selection colour, a line right and below.
        const QRect r = option->rect;
        painter->fillRect(r, look.menuSelectedBackground);
        painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), look.controlBorder);
        if (element == CE_HeaderSection)
            painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), look.controlBorder);
        return;
    }
    case CE_HeaderLabel: {
        QStyleOptionHeader header;
        if (const auto *given = qstyleoption_cast<const QStyleOptionHeader *>(option))
            header = *given;
        header.palette.setColor(QPalette::ButtonText, look.menuSelectedFont);
        QProxyStyle::drawControl(element, &header, painter, widget);
        return;
    }
    case CE_MenuItem:
    case CE_MenuEmptyArea:
    case CE_MenuBarItem:
    case CE_MenuBarEmptyArea:
        m_menuStyle->drawControl(element, option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void KavStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                  const QWidget *widget) const
{
    switch (control) {
    case CC_ScrollBar:
        drawScrollBar(option, painter);
        return;
    case CC_Slider:
        drawSlider(option, painter, widget);
        return;
    case CC_SpinBox:
        drawSpinBox(option, painter, widget);
        return;
    case CC_ComboBox:
        drawComboBox(option, painter, widget);
        return;
    case CC_GroupBox:
        drawGroupBox(option, painter, widget);
        return;
    case CC_ToolButton:
        if (drawToolButton(option, painter, widget))
            return;
        break;
    case CC_TitleBar:
        drawTitleBar(option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

// --- the parts --------------------------------------------------------------------------------

void KavStyle::drawPushButton(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (!button)
        return;
    const KavStyleLook &look = *m_look;
    const bool flat = button->features.testFlag(QStyleOptionButton::Flat);
    const bool down = button->state.testFlag(State_Sunken) || button->state.testFlag(State_On);
    if (!flat || down || button->state.testFlag(State_MouseOver))
        SpitDraw(look.button[std::size_t(buttonFrame(button->state))], *painter, button->rect, look.buttonTransparent);

    // The focus: a dotted frame, or in MacOS and BlueGlass a bold caption.
    const bool focused = button->state.testFlag(State_HasFocus);
    const bool boldFocus = looksBoldOnFocus(look.uiStyle);
    KavPaintFocusFrame(*painter, button->rect, ButtonFocusOption{focused && !boldFocus, 2});

    ButtonCaptionOption caption;
    caption.text = button->text;
    caption.font = fontOf(painter, widget);
    caption.colour = button->palette.color(QPalette::Active, QPalette::ButtonText);
    caption.enabled = button->state.testFlag(State_Enabled);
    caption.pressed = down && caption.enabled;
    caption.bold = focused && boldFocus && button->icon.isNull();

    // A menu button keeps room for its arrow at the right.
    QRect room = button->rect;
    if (button->features.testFlag(QStyleOptionButton::HasMenu)) {
        const int mark = QProxyStyle::pixelMetric(PM_MenuButtonIndicator, button, widget);
        QStyleOptionButton arrow = *button;
        arrow.rect = QRect(room.right() - mark - 2, room.top(), mark, room.height());
        QProxyStyle::drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
        room.setRight(room.right() - mark - 2);
    }
    if (button->icon.isNull()) {
        KavPaintButtonCaption(*painter, room, caption);
        return;
    }
    // An icon is placed beside the caption as a glyph is on TkavButton.
    const QSize captionSize = KavButtonCaptionSize(caption.font, caption.text);
    const QSize iconSize = button->iconSize;
    const GlyphPlacement place = KavPlaceGlyph(room.size(), button->text.isEmpty() ? QSize(0, 0) : captionSize, iconSize,
                                               GlyphSide::Left, button->text.isEmpty() ? 0 : 4);
    const QIcon::Mode mode = caption.enabled ? QIcon::Normal : QIcon::Disabled;
    const QPixmap pixmap = button->icon.pixmap(iconSize, ratioOf(painter), mode, down ? QIcon::On : QIcon::Off);
    const QPoint shift = caption.pressed ? QPoint(1, 1) : QPoint(0, 0);
    painter->drawPixmap(QRect(room.topLeft() + place.glyph.topLeft() + shift, iconSize), pixmap);
    KavPaintButtonCaption(*painter, room, caption, room.topLeft() + place.caption);
}

void KavStyle::drawCheckIndicator(const QStyleOption *option, QPainter *painter, bool radio) const
{
    // Frames: checked, unchecked, checked disabled, unchecked disabled; a partly checked box
    // shows the checked frame of a disabled one.
    const bool enabled = option->state.testFlag(State_Enabled);
    const bool partly = option->state.testFlag(State_NoChange);
    const bool checked = option->state.testFlag(State_On) || partly;
    const int frame = (checked ? 0 : 1) + (enabled && !partly ? 0 : 2);
    const auto &frames = radio ? m_look->radioButton : m_look->checkBox;
    const TkavPicture &picture = frames[std::size_t(frame)];
    // Centred in the rectangle Qt gives (item views give their own).
    const QPoint at(option->rect.x() + (option->rect.width() - picture.width()) / 2,
                    option->rect.y() + (option->rect.height() - picture.height()) / 2);
    drawPicture(painter, at, picture);
}

void KavStyle::drawGroupBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (!box)
        return;
    const KavStyleLook &look = *m_look;
    const bool checkable = box->subControls.testFlag(SC_GroupBoxCheckBox);
    GroupBoxOption group;
    group.size = option->rect.size();
    group.caption = box->text;
    group.font = fontOf(painter, widget);
    group.fontHeight = fontPixelHeight(option, widget);
    group.borderColour = look.controlBorder;
    // The caption in the look's control font colour, grey when disabled.
    group.captionColour = box->state.testFlag(State_Enabled) ? look.controlFont : QColor(128, 128, 128);
    group.captionIndent = checkable ? look.checkIndicator().width() + M::CheckTextGap : 0;
    painter->save();
    painter->translate(option->rect.topLeft());
    KavPaintGroupBox(*painter, group);
    painter->restore();
    if (checkable) {
        QStyleOption indicator = *option;
        indicator.rect = subControlRect(CC_GroupBox, option, SC_GroupBoxCheckBox, widget);
        drawCheckIndicator(&indicator, painter, false);
        if (box->state.testFlag(State_HasFocus)) {
            const QRect label = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
            KavPaintFocusFrame(*painter, label.adjusted(-1, 0, 1, 0), ButtonFocusOption{true, 0});
        }
    }
}

void KavStyle::drawSpinBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *spin = qstyleoption_cast<const QStyleOptionSpinBox *>(option);
    if (!spin)
        return;
    const KavStyleLook &look = *m_look;
    if (spin->frame) {
        painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
        KavDrawBorder(*painter, option->rect, look.controlBorder, option->palette.color(QPalette::Base), true);
    }
    if (spin->buttonSymbols == QAbstractSpinBox::NoButtons)
        return;
    // The arrow buttons of the skinned spin edit: the button picture with a black triangle.
    for (const SubControl part : {SC_SpinBoxUp, SC_SpinBoxDown}) {
        ArrowButtonOption arrow;
        arrow.rect = subControlRect(CC_SpinBox, option, part, widget);
        const bool stepEnabled =
            spin->stepEnabled.testFlag(part == SC_SpinBoxUp ? QAbstractSpinBox::StepUpEnabled : QAbstractSpinBox::StepDownEnabled);
        arrow.face = look.button[std::size_t(stepEnabled ? partFrame(option, part) : 0)];
        arrow.transparentCorners = look.buttonTransparent;
        arrow.up = part == SC_SpinBoxUp;
        KavPaintArrowButton(*painter, arrow);
    }
}

void KavStyle::drawComboBox(const QStyleOptionComplex *option, QPainter *painter, const QWidget *) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    if (!box)
        return;
    const KavStyleLook &look = *m_look;
    const ComboBoxRects rects = KavComboBoxRects(option->rect);
    painter->fillRect(option->rect, option->palette.color(QPalette::Base));
    if (!box->editable && box->state.testFlag(State_HasFocus) && !box->state.testFlag(State_On))
        painter->fillRect(rects.field.adjusted(1, 1, -1, -1), option->palette.color(QPalette::Highlight));
    ComboBoxFace face;
    face.rect = option->rect;
    face.border = look.controlBorder;
    face.inner = option->palette.color(QPalette::Base);
    face.button = look.formBackground;
    face.arrow = Qt::black;
    face.buttonPicture = look.comboButton;
    face.drawArrow = look.comboArrow;
    face.enabled = option->state.testFlag(State_Enabled);
    KavPaintComboBoxFrame(*painter, face);
}

void KavStyle::drawScrollBar(const QStyleOptionComplex *option, QPainter *painter) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!bar)
        return;
    const KavStyleLook &look = *m_look;
    const bool vertical = bar->orientation == Qt::Vertical;
    const ScrollBarParts parts = scrollBarParts(look, *bar);
    painter->fillRect(option->rect, look.scrollBackground);
    // The arrows at their own size, in the frame of their state; a disabled bar keeps the normal
    // ones, as the library's does.
    const auto &arrows = vertical ? look.arrowsVertical : look.arrowsHorizontal;
    painter->drawImage(parts.layout.decrease.topLeft(), arrows[std::size_t(partFrame(option, SC_ScrollBarSubLine))]);
    painter->drawImage(parts.layout.increase.topLeft(), arrows[std::size_t(3 + partFrame(option, SC_ScrollBarAddLine))]);
    if (!parts.slider.isEmpty()) {
        const QImage slider = scrollSlider(look, vertical ? parts.slider.height() : parts.slider.width(), vertical);
        painter->drawImage(parts.slider.topLeft(), slider);
    }
}

void KavStyle::drawSlider(const QStyleOptionComplex *option, QPainter *painter, const QWidget *) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!slider)
        return;
    painter->save();
    painter->translate(option->rect.topLeft());
    paintTrackBar(*painter, trackOption(*m_look, *slider));
    painter->restore();
}

void KavStyle::drawProgressBar(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
    if (!bar)
        return;
    const KavStyleLook &look = *m_look;
    const bool vertical = !bar->state.testFlag(State_Horizontal);
    const int thickness = M::ProgressBarThickness;
    // The bar keeps its thickness, centred across whatever room Qt gives it.
    const QRect r = option->rect;
    const QRect drawn = vertical ? QRect(r.left() + std::max(0, (r.width() - thickness) / 2), r.top(),
                                         std::min(thickness, r.width()), r.height())
                                 : QRect(r.left(), r.top() + std::max(0, (r.height() - thickness) / 2), r.width(),
                                         std::min(thickness, r.height()));
    ProgressBarOption progress;
    progress.size = drawn.size();
    progress.orientation = vertical ? KavOrientation::kavVertical : KavOrientation::kavHorizontal;
    progress.min = bar->minimum;
    progress.max = bar->maximum;
    progress.position = bar->progress;
    if (bar->invertedAppearance) // counted from the other end
        progress.position = bar->maximum - (bar->progress - bar->minimum);
    progress.picture = vertical ? look.progressVertical : look.progress;
    progress.color = look.controlBackground;
    progress.borderColor = look.controlBorder;
    progress.captionColor = option->palette.color(QPalette::WindowText);
    progress.caption = bar->text;
    progress.drawCaption = bar->textVisible && !vertical && !bar->text.isEmpty();
    progress.font = fontOf(painter, widget);
    const PixelStretch stretch(painter);
    painter->translate(drawn.topLeft());
    paintProgressBar(*painter, progress);
}

void KavStyle::drawTabShape(const QStyleOption *option, QPainter *painter) const
{
    const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
    const KavStyleLook &look = *m_look;
    // The selected tab one pixel lower, over the line under the tabs; each tab in three parts.
    const bool selected = tab->state.testFlag(State_Selected);
    const TkavPicture &picture = selected ? look.tabActive : look.tabInactive;
    const QRect r = option->rect;
    const QRect drawn(r.left(), r.top() + (selected ? 1 : 0), r.width(), look.tabHeight());
    const PixelStretch stretch(painter);
    if (!picture.isNull())
        SpitDrawHorizontal(picture.image(), *painter, drawn, false);
}

bool KavStyle::drawTabLabel(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option);
    if (!tab || !isNorth(tab->shape))
        return false;
    QStyleOptionTab label = *tab;
    // Centred on the picture, which a selected tab draws one pixel lower.
    label.rect = QRect(tab->rect.left(), tab->rect.top() + (tab->state.testFlag(State_Selected) ? 1 : 0), tab->rect.width(),
                       m_look->tabHeight());
    if (!tab->icon.isNull() || tab->leftButtonSize.isValid() || tab->rightButtonSize.isValid()) {
        QProxyStyle::drawControl(CE_TabBarTabLabel, &label, painter, widget);
        return true;
    }
    painter->save();
    painter->setPen(option->palette.color(tab->state.testFlag(State_Enabled) ? QPalette::Active : QPalette::Disabled,
                                          QPalette::WindowText));
    painter->drawText(label.rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, tab->text);
    painter->restore();
    return true;
}

void KavStyle::drawTabPane(const QStyleOption *option, QPainter *painter) const
{
    const KavStyleLook &look = *m_look;
    // The line under the tabs between the side lines, then the body and its border, as the
    // skinned tab control draws them.
    const QRect r = option->rect;
    const int bar = look.tabBarHeight();
    const PixelStretch stretch(painter);
    painter->fillRect(QRect(r.left(), r.top() + bar, r.width(), std::max(0, r.height() - bar)), look.tabBody);
    if (!look.tabBar.isNull())
        painter->drawImage(KavRect(r.left() + 1, r.top(), r.right(), r.top() + bar), look.tabBar.image());
    painter->fillRect(QRect(r.left(), r.top(), 1, r.height()), look.controlBorder);
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), look.controlBorder);
    painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), look.controlBorder);
}

bool KavStyle::drawToolButton(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    if (!button)
        return false;
    const KavStyleLook &look = *m_look;
    // The scroll buttons of a tab bar: the look's tab scroll buttons.
    if (widget && qobject_cast<const QTabBar *>(widget->parentWidget()) &&
        (button->arrowType == Qt::LeftArrow || button->arrowType == Qt::RightArrow)) {
        const bool hot = button->state.testFlag(State_MouseOver) && button->state.testFlag(State_Enabled);
        const int frame = (button->arrowType == Qt::RightArrow ? 0 : 2) + (hot ? 1 : 0);
        const TkavPicture &picture = look.tabScrollButtons[std::size_t(frame)];
        painter->fillRect(option->rect, option->palette.brush(QPalette::Window));
        drawPicture(painter,
                    option->rect.topLeft() + QPoint((option->rect.width() - picture.width()) / 2,
                                                    (option->rect.height() - picture.height()) / 2),
                    picture);
        return true;
    }
    if (!button->state.testFlag(State_AutoRaise))
        return false;
    // A flat tool button (in a tool bar): the skinned tool bar's faces.
    const bool dropDown = button->features.testFlag(QStyleOptionToolButton::MenuButtonPopup);
    const ToolButtonFace face = toolButtonFace(button->state, dropDown);
    if (face.kind == ToolButtonFace::Platform)
        return false;
    const QColor fill = face.kind == ToolButtonFace::Down ? look.toolButtonDown : look.toolButtonBackground;
    paintSkinnedToolButton(*this, *button, face, fill, look.toolButtonBorder, painter, widget);
    return true;
}

void KavStyle::drawFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const KavStyleLook &look = *m_look;
    const QFrame::Shape shape = frame ? frame->frameShape : QFrame::StyledPanel;
    const int width = frame ? std::max(1, frame->lineWidth) : 1;
    const QRect r = option->rect;
    switch (shape) {
    case QFrame::NoFrame:
        return;
    case QFrame::HLine:
    case QFrame::VLine: {
        const QRect line = shape == QFrame::HLine ? QRect(r.left(), r.center().y() - width / 2, r.width(), width)
                                                  : QRect(r.center().x() - width / 2, r.top(), width, r.height());
        painter->fillRect(line, look.controlBorder);
        return;
    }
    case QFrame::StyledPanel:
    case QFrame::Panel:
    case QFrame::WinPanel:
        if (qobject_cast<const QAbstractScrollArea *>(widget) || !frame) {
            // A scroll area's (an item view's, a text edit's) border is the memo's: the look's
            // line outside, the field's colour inside.
            KavDrawBorder(*painter, r, look.controlBorder, option->palette.color(QPalette::Base), true);
            return;
        }
        [[fallthrough]];
    case QFrame::Box:
    default:
        for (int i = 0; i < width; ++i)
            KavDrawBorder(*painter, r.adjusted(i, i, -i, -i), look.controlBorder, look.controlBorder, false);
        return;
    }
}

void KavStyle::drawTitleBar(const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionTitleBar *>(option);
    if (!bar || option->rect.isEmpty())
        return;
    const KavStyleLook &look = *m_look;
    const TitleBarParts parts = titleBarParts(look, *bar);
    const QSize size = option->rect.size();

    // The skinned title bar's default sections: its left end and right end at their size, the
    // middle stretched between them.
    TitleBarOption title;
    title.size = size;
    const QList<TitleBarLayout::SectionPiece> pieces = TitleBarLayout::sections(
        {{TitleBarLayout::Side::Left, look.titleLeft.width(), false},
         {TitleBarLayout::Side::Right, look.titleRight.width(), false},
         {TitleBarLayout::Side::Client, look.titleClient.width(), true}},
        size);
    const TkavPicture *sectionPictures[] = {&look.titleLeft, &look.titleRight, &look.titleClient};
    for (const TitleBarLayout::SectionPiece &piece : pieces)
        title.sections.append({*sectionPictures[piece.section], piece});

    const bool maximized = bar->titleBarState & Qt::WindowMaximized;
    const bool minimized = bar->titleBarState & Qt::WindowMinimized;
    const SubControl partOf[TitleBarParts::Count] = {
        SC_TitleBarSysMenu, SC_TitleBarCloseButton, maximized ? SC_TitleBarNormalButton : SC_TitleBarMaxButton,
        minimized ? SC_TitleBarNormalButton : SC_TitleBarMinButton};
    for (int i = 0; i < TitleBarParts::Count; ++i) {
        const QRect rect = parts.layout.buttons.value(i);
        if (rect.isNull())
            continue;
        // Normal, under the mouse, pressed: the three frames of the button's kind.
        const bool hot = option->activeSubControls.testFlag(partOf[i]);
        const int frame = parts.firstFrame[std::size_t(i)] + (hot ? (option->state.testFlag(State_Sunken) ? 2 : 1) : 0);
        title.buttons.append({look.titleButtons[std::size_t(frame)], rect});
    }
    QFont font = fontOf(painter, widget);
    font.setBold(true);
    title.font = font;
    const QFontMetrics metrics(font);
    title.caption = TitleBarLayout::elideCaption(bar->text, parts.layout.captionRight - parts.layout.captionLeft,
                                                 [&metrics](const QString &text) { return metrics.horizontalAdvance(text); });
    const int boxHeight = look.titleButtons[0].height();
    title.captionAt = QPoint(parts.layout.captionLeft, (boxHeight - metrics.height()) / 2 + look.titleButtonTop);
    const bool active = bar->state.testFlag(State_Active) || (bar->titleBarState & int(State_Active)) != 0;
    title.captionColour = !active ? QColor(128, 128, 128) : look.uiStyle == TkavUIStyle::MacOS ? QColor(Qt::black)
                                                                                              : QColor(Qt::white);

    QImage face(size, QImage::Format_RGB32);
    face.fill(look.formBackground);
    paintTitleBar(face, title);
    painter->drawImage(option->rect.topLeft(), face);
}

} // namespace Kav
