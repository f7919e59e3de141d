#include "KAVMenu.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVThemeValues.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

namespace M = Kav::Metrics;

// The top rows of a picture (all of it when it has fewer).
QImage topRows(const QImage &picture, int rows)
{
    if (picture.isNull())
        return {};
    return picture.copy(0, 0, picture.width(), qMin(rows, picture.height()));
}

// Stretches picture over rect by pixel replication, one destination row at a time: row i of D
// rows shows source row i * S / D, as the skin's other stretched pictures do (no smoothing,
// which would blend the rows of the MacOS gradients).
void stretch(QPainter &painter, const QRect &rect, const QImage &picture)
{
    if (picture.isNull() || rect.isEmpty())
        return;
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int rows = rect.height();
    for (int row = 0; row < rows; ++row) {
        const int source = int(qint64(row) * picture.height() / rows);
        painter.drawImage(QRect(rect.x(), rect.y() + row, rect.width(), 1), picture,
                          QRect(0, source, picture.width(), 1));
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

// The row colour in the middle of a one-column picture, for areas a MacOS menu shows no item in.
QColor middleColour(const QImage &picture, const QColor &fallback)
{
    if (picture.isNull())
        return fallback;
    return QColor(picture.pixel(0, picture.height() / 2));
}

// The right-pointing arrow of an item that opens a sub-menu, its tip tipX, centred on middleY.
void drawSubMenuArrow(QPainter &painter, int tipX, int middleY, const QColor &colour)
{
    for (int column = 0; column < 4; ++column) {
        const int half = 3 - column;
        painter.fillRect(QRect(tipX - 3 + column, middleY - half, 1, 2 * half + 1), colour);
    }
}

// The caption as shown: accelerator marks taken out, "&&" a single ampersand.
QString withoutMnemonics(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown.append(caption.at(i));
    }
    return shown;
}

int textFlags(bool showMnemonic)
{
    return Qt::TextSingleLine | (showMnemonic ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
}

} // namespace

namespace Kav {

QColor KavMenuColor(TColor color, const QPalette &palette)
{
    return color.resolved(palette);
}

QFont TkavMenuSkin::font() const
{
    if (useSystemFont)
        return Menu_GetSystemFont();
    QFont named(fontName);
    named.setPointSize(qMax(1, fontSize));
    return named;
}

void KavApplyMenuLook(TkavMenuSkin &skin, const KavThemeValues &values)
{
    skin.pictureMenus = values.traits().pictureMenus;
    skin.barWidth = M::MenuBarWidth;
    if (skin.pictureMenus) {
        skin.menuItemHeight = M::MenuMacItemHeight;
        skin.separatorHeight = M::MenuMacSeparatorHeight;
        skin.separatorColor = TColor(0);
    } else {
        skin.menuItemHeight = M::MenuItemHeight;
        skin.separatorHeight = M::MenuSeparatorHeight;
        skin.separatorColor = TColor(8684164);
    }
    skin.barColor = values.color(KavKey::MenuBarColor);
    skin.color = values.color(KavKey::MenuBackgroundColor);
    skin.fontColor = values.color(KavKey::MenuFontColor);
    skin.selectedBorderColor = values.color(KavKey::MenuSelectedBorderColor);
    skin.selectedColor = values.color(KavKey::MenuSelectedBackgroundColor);
    skin.selectedFontColor = values.color(KavKey::MenuSelectedFontColor);
    skin.frameLineColor = values.color(KavKey::FormBorderColor);

    TkavPictureStore &store = TkavPictureStore::instance();
    const QImage line = store.resourcePicture(QStringLiteral("MACOS_MENU_BAR")).image();
    const QImage selection = store.resourcePicture(QStringLiteral("MACOS_MENU_SELECT")).image();
    skin.macBar = line;
    skin.macBarSelected = selection;
    skin.macItem = topRows(line, M::MenuMacItemHeight);
    skin.macSeparator = topRows(line, M::MenuMacSeparatorHeight);
    skin.macSelected = topRows(selection, M::MenuMacItemHeight);
    // The check mark is drawn on white, which stays transparent.
    skin.checkMark = store.resourcePicture(QStringLiteral("MENU_CHECKED"), {0, 0, PictureMask::TopLeft, false});
    skin.checkMarkGreyed = store.resourcePicture(QStringLiteral("MENU_CHECKED"), {0, 0, PictureMask::TopLeft, true});
}

QFont Menu_GetSystemFont()
{
    return QApplication::font("QMenu");
}

MenuItemFace KavMenuItemFace(const QStyleOptionMenuItem &option)
{
    MenuItemFace item;
    item.rect = option.rect;
    item.separator = option.menuItemType == QStyleOptionMenuItem::Separator;
    const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
    item.caption = tab < 0 ? option.text : option.text.left(tab);
    item.shortcut = tab < 0 ? QString() : option.text.mid(tab + 1);
    item.enabled = option.state.testFlag(QStyle::State_Enabled);
    item.selected = option.state.testFlag(QStyle::State_Selected);
    item.checked = option.checkType != QStyleOptionMenuItem::NotCheckable && option.checked;
    item.defaultItem = option.menuItemType == QStyleOptionMenuItem::DefaultItem;
    item.subMenu = option.menuItemType == QStyleOptionMenuItem::SubMenu;
    if (!option.icon.isNull()) {
        const QSize size = M::MenuGlyphSize;
        item.icon = option.icon.pixmap(size, 1.0, item.enabled ? QIcon::Normal : QIcon::Disabled).toImage();
    }
    return item;
}

QSize Menu_MeasureItem(const TkavMenuSkin &skin, const QFontMetrics &metrics, const QString &caption,
                       bool separator)
{
    if (separator)
        return {skin.barWidth + M::MenuItemExtraWidth, skin.separatorHeight};
    const int captionWidth = metrics.horizontalAdvance(withoutMnemonics(caption));
    return {captionWidth + skin.barWidth + M::MenuItemExtraWidth, skin.menuItemHeight};
}

void Menu_DrawBorder(QPainter &painter, const QRect &rect, const QColor &color)
{
    if (rect.isEmpty())
        return;
    painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), 1), color);
    painter.fillRect(QRect(rect.x(), KavBottom(rect) - 1, rect.width(), 1), color);
    painter.fillRect(QRect(rect.x(), rect.y(), 1, rect.height()), color);
    painter.fillRect(QRect(KavRight(rect) - 1, rect.y(), 1, rect.height()), color);
}

void Menu_DrawBackGround(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin, bool selected,
                         const QPalette &palette)
{
    if (selected) {
        painter.fillRect(rect, KavMenuColor(skin.selectedColor, palette));
        Menu_DrawBorder(painter, rect, KavMenuColor(skin.selectedBorderColor, palette));
        return;
    }
    const int bar = qBound(0, skin.barWidth, rect.width());
    if (bar > 0)
        painter.fillRect(QRect(rect.x(), rect.y(), bar, rect.height()), KavMenuColor(skin.barColor, palette));
    painter.fillRect(QRect(rect.x() + bar, rect.y(), rect.width() - bar, rect.height()),
                     KavMenuColor(skin.color, palette));
}

void Menu_DrawLineItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin, const QPalette &palette)
{
    Menu_DrawBackGround(painter, rect, skin, false, palette);
    const int left = rect.x() + skin.barWidth + M::MenuCaptionOffset;
    const int right = KavRight(rect) - M::MenuSeparatorLineRightGap;
    if (right > left)
        painter.fillRect(QRect(left, rect.y() + M::MenuSeparatorLineTop, right - left, 1),
                         KavMenuColor(skin.separatorColor, palette));
}

void Menu_DrawMacOSLineItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin)
{
    stretch(painter, rect, skin.macSeparator);
}

void Menu_DrawMacOSSelectedItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin)
{
    stretch(painter, rect, skin.macSelected);
}

void Menu_DrawMacOSNonSelectedItem(QPainter &painter, const QRect &rect, const TkavMenuSkin &skin)
{
    stretch(painter, rect, skin.macItem);
}

void Menu_DrawWindowBorder(QPainter &painter, const QRect &rect, const QColor &outer, const QColor &line)
{
    const int left = rect.x();
    const int top = rect.y();
    const int right = KavRight(rect);
    const int bottom = KavBottom(rect);
    if (rect.width() < 4 || rect.height() < 4)
        return;
    Menu_DrawBorder(painter, KavRect(left, top + 1, right - 1, bottom - 1), outer);
    Menu_DrawBorder(painter, KavRect(left + 1, top + 2, right - 2, bottom - 2), Qt::white);
    // Bottom from the left, up the right side, and back along the top to the second column.
    painter.fillRect(KavRect(left, bottom - 1, right - 1, bottom), line);
    painter.fillRect(KavRect(right - 1, top, right, bottom), line);
    painter.fillRect(KavRect(left + 1, top, right, top + 1), line);
}

void Menu_DrawItem(QPainter &painter, const MenuItemFace &item, const TkavMenuSkin &skin,
                   const QPalette &palette, const QFont &font)
{
    const QRect &rect = item.rect;
    if (item.separator) {
        if (skin.pictureMenus)
            Menu_DrawMacOSLineItem(painter, rect, skin);
        else
            Menu_DrawLineItem(painter, rect, skin, palette);
        return;
    }

    // A disabled item never shows the selection, even under the mouse.
    const bool selected = item.selected && item.enabled;
    if (!skin.pictureMenus)
        Menu_DrawBackGround(painter, rect, skin, selected, palette);
    else if (selected)
        Menu_DrawMacOSSelectedItem(painter, rect, skin);
    else
        Menu_DrawMacOSNonSelectedItem(painter, rect, skin);

    QFont itemFont = font;
    if (item.defaultItem)
        itemFont.setBold(true);
    painter.setFont(itemFont);
    const QColor textColour = !item.enabled ? KavMenuColor(clMenuGrey, palette)
                              : selected    ? KavMenuColor(skin.selectedFontColor, palette)
                                            : KavMenuColor(skin.fontColor, palette);
    painter.setPen(textColour);

    const int right = KavRight(rect);
    const int textTop = rect.y() + M::MenuCaptionOffset;
    const QRect captionRect = KavRect(rect.x() + skin.barWidth + M::MenuCaptionOffset, textTop, right, KavBottom(rect));
    painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | textFlags(item.showMnemonic), item.caption);

    if (!item.shortcut.isEmpty()) {
        const int width = painter.fontMetrics().horizontalAdvance(item.shortcut);
        const int x = right - width - M::MenuShortcutRightGap;
        painter.drawText(KavRect(x, textTop, right, KavBottom(rect)), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         item.shortcut);
    }

    const QPoint glyph = rect.topLeft() + M::MenuGlyphOffset;
    if (item.checked) {
        if (!item.icon.isNull()) {
            // A box behind the icon tells that the item is checked.
            const QRect box(rect.topLeft() + M::MenuIconBoxOffset, M::MenuIconBoxSize);
            Menu_DrawBorder(painter, box, Qt::black);
            painter.fillRect(box.adjusted(1, 1, -1, -1), KavMenuColor(skin.selectedColor, palette));
        } else {
            const TkavPicture &mark = item.enabled ? skin.checkMark : skin.checkMarkGreyed;
            if (!mark.isNull())
                painter.drawImage(glyph, mark.image());
        }
    }
    if (!item.icon.isNull())
        painter.drawImage(glyph, item.icon);

    if (item.subMenu)
        drawSubMenuArrow(painter, right - M::MenuArrowRightGap, rect.y() + rect.height() / 2, textColour);
}

void Menu_DrawBarBackground(QPainter &painter, const QRect &rect, const QRect &barRect, const TkavMenuSkin &skin,
                            const QPalette &palette)
{
    if (skin.pictureMenus && !skin.macBar.isNull()) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        stretch(painter, barRect, skin.macBar);
        painter.restore();
        return;
    }
    painter.fillRect(rect, KavMenuColor(skin.menuBarColor, palette));
}

void Menu_DrawBarItem(QPainter &painter, const MenuBarItemFace &item, const TkavMenuSkin &skin,
                      const QPalette &palette, const QFont &font)
{
    Menu_DrawBarBackground(painter, item.rect, item.barRect, skin, palette);
    painter.setFont(font);
    const int flags = Qt::AlignCenter | textFlags(item.showMnemonic);
    if (!(item.hot || item.pressed) || !item.enabled) {
        // A resting item: its caption in the menu's text colour.
        // The look's menu text colour, as the drop-down items have (the bar's palette may carry
        // the look's control text colour).
        const QColor colour = !item.enabled ? KavMenuColor(clMenuGrey, palette) : KavMenuColor(skin.fontColor, palette);
        painter.setPen(colour);
        painter.drawText(item.rect, flags, item.caption);
        return;
    }

    painter.setPen(KavMenuColor(skin.selectedFontColor, palette));
    if (skin.pictureMenus) {
        stretch(painter, item.rect, skin.macBarSelected);
        painter.drawText(item.rect.adjusted(0, 0, 0, M::MenuBarHotTextDrop), flags, item.caption);
        return;
    }
    QRect face = item.rect;
    if (item.pressed)
        face.setWidth(face.width() - M::MenuBarPressedInset);
    painter.fillRect(face, KavMenuColor(skin.selectedColor, palette));
    Menu_DrawBorder(painter, face, KavMenuColor(skin.selectedBorderColor, palette));
    QRect text = face;
    if (item.pressed)
        text.setLeft(text.left() + M::MenuBarPressedInset);
    text.setTop(text.top() + M::MenuBarHotTextDrop);
    painter.drawText(text, flags, item.caption);
}

void Menu_SetItemEvent(QMenu *menu, TkavMenuSkinner *skinner)
{
    if (menu != nullptr && skinner != nullptr)
        skinner->hookMenu(menu);
}

bool KavOpenMenuBar(QMenuBar *menuBar)
{
    if (menuBar == nullptr || !menuBar->isVisible())
        return false;
    for (QAction *action : menuBar->actions()) {
        if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
            menuBar->setActiveAction(action);
            return true;
        }
    }
    return false;
}

} // namespace Kav

// --- TkavMenuStyle ----------------------------------------------------------------------------

namespace {
// The edge around a menu window that is not flat.
constexpr int MenuEdgeWidth = 1;
} // namespace

TkavMenuStyle::TkavMenuStyle(const Kav::TkavMenuSkin *skin, QObject *owner) : m_skin(skin)
{
    setParent(owner);
}

QSize TkavMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                      const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (item != nullptr && type == CT_MenuItem) {
        const Kav::MenuItemFace face = Kav::KavMenuItemFace(*item);
        return Kav::Menu_MeasureItem(*m_skin, item->fontMetrics, face.caption, face.separator);
    }
    if (item != nullptr && type == CT_MenuBarItem)
        return {size.width() + 2 * Kav::Metrics::MenuBarItemPadding, m_skin->menuBarHeight};
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TkavMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    // Items lie edge to edge inside the window's frame, so their rectangles are what they measure.
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuBarPanelWidth:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuBarItemSpacing:
        return 0;
    case PM_MenuPanelWidth:
        // A one-pixel edge in the look's border colour shows where the menu ends over content of
        // its own colour.
        return m_skin->flatMenu ? Kav::Metrics::MenuFlatFrameWidth : MenuEdgeWidth;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int TkavMenuStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                             QStyleHintReturn *returnData) const
{
    // The pointer and the keyboard may rest on a disabled item (it shows no selection).
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void TkavMenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    const QFont font = widget != nullptr ? widget->font() : m_skin->font();
    const bool mnemonics = styleHint(SH_UnderlineShortcut, option, widget) != 0;
    switch (element) {
    case CE_MenuItem:
        if (item != nullptr) {
            Kav::MenuItemFace face = Kav::KavMenuItemFace(*item);
            face.showMnemonic = mnemonics;
            Kav::Menu_DrawItem(*painter, face, *m_skin, option->palette, font);
            return;
        }
        break;
    case CE_MenuEmptyArea:
        drawPrimitive(PE_PanelMenu, option, painter, widget);
        return;
    case CE_MenuBarItem:
        if (item != nullptr) {
            Kav::MenuBarItemFace face;
            face.rect = option->rect;
            face.barRect = item->menuRect.isValid() ? item->menuRect : option->rect;
            face.caption = item->text;
            face.hot = option->state.testFlag(State_Selected);
            face.pressed = option->state.testFlag(State_Sunken);
            face.enabled = option->state.testFlag(State_Enabled);
            face.showMnemonic = mnemonics;
            Kav::Menu_DrawBarItem(*painter, face, *m_skin, option->palette, font);
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        Kav::Menu_DrawBarBackground(*painter, option->rect, option->rect, *m_skin, option->palette);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TkavMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    // What shows of the menu window around and between its items.
    const auto panel = [&] {
        return m_skin->pictureMenus ? middleColour(m_skin->macItem, Qt::white)
                                 : Kav::KavMenuColor(m_skin->color, option->palette);
    };
    switch (element) {
    case PE_PanelMenu:
        painter->fillRect(option->rect, panel());
        return;
    case PE_FrameMenu: {
        const QColor line = Kav::KavMenuColor(m_skin->frameLineColor, option->palette);
        if (m_skin->flatMenu) {
            painter->fillRect(option->rect, panel()); // QMenu clips this to the frame band
            Kav::Menu_DrawWindowBorder(*painter, option->rect, Qt::black, line);
        } else {
            Kav::Menu_DrawBorder(*painter, option->rect, line);
        }
        return;
    }
    case PE_PanelMenuBar:
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

// --- TkavMenuSkinner --------------------------------------------------------------------------

TkavMenuSkinner::TkavMenuSkinner(QWidget *root)
    : QObject(root), m_root(root), m_style(new TkavMenuStyle(&m_skin, this))
{
    hookWidget(root);
}

void TkavMenuSkinner::hookTree()
{
    hookActionsOf(m_root);
    for (const QPointer<QWidget> &widget : QList<QPointer<QWidget>>(m_hooked))
        if (widget)
            hookActionsOf(widget);
}

void TkavMenuSkinner::hookMenu(QMenu *menu)
{
    if (menu == nullptr || menu == m_root)
        return;
    for (const QPointer<QWidget> &hooked : std::as_const(m_hooked))
        if (hooked == menu)
            return;
    // A skinned menu used as a sub-menu keeps its own look.
    if (menu->findChild<TkavMenuSkinner *>(QString(), Qt::FindDirectChildrenOnly) != nullptr)
        return;
    hookWidget(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { hookActionsOf(menu); });
}

void TkavMenuSkinner::hookWidget(QWidget *widget)
{
    m_hooked.removeAll(nullptr);
    m_hooked.append(widget);
    widget->setStyle(m_style);
    widget->setFont(m_skin.font());
    widget->installEventFilter(this);
    hookActionsOf(widget);
}

void TkavMenuSkinner::hookActionsOf(QWidget *widget)
{
    const QList<QAction *> actions = widget->actions();
    for (QAction *action : actions)
        hookActionMenu(action);
}

void TkavMenuSkinner::hookActionMenu(QAction *action)
{
    if (action != nullptr)
        hookMenu(action->menu<QMenu *>());
}

void TkavMenuSkinner::refresh()
{
    const QFont font = m_skin.font();
    for (const QPointer<QWidget> &widget : std::as_const(m_hooked)) {
        if (!widget)
            continue;
        widget->setFont(font);
        // Item sizes are cached by the menus; a style change makes them measure again.
        QEvent styleChange(QEvent::StyleChange);
        QCoreApplication::sendEvent(widget, &styleChange);
        widget->updateGeometry();
        widget->update();
    }
}

QList<QWidget *> TkavMenuSkinner::hookedWidgets() const
{
    QList<QWidget *> widgets;
    for (const QPointer<QWidget> &widget : m_hooked)
        if (widget)
            widgets.append(widget);
    return widgets;
}

bool TkavMenuSkinner::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged)
        hookActionMenu(static_cast<QActionEvent *>(event)->action());
    return QObject::eventFilter(watched, event);
}

// --- TkavMenuAppearance -----------------------------------------------------------------------

TkavMenuAppearance::TkavMenuAppearance(QWidget *root) : m_skinner(new TkavMenuSkinner(root))
{
    m_look.attach(root, [this](const KavThemeValues &values) {
        Kav::KavApplyMenuLook(m_skinner->skin(), values);
        m_skinner->refresh();
    });
}

void TkavMenuAppearance::setMenuItemHeight(int height)
{
    if (!skin().pictureMenus)
        store(&Kav::TkavMenuSkin::menuItemHeight, qMax(0, height));
}

void TkavMenuAppearance::setSeparatorHeight(int height)
{
    if (!skin().pictureMenus)
        store(&Kav::TkavMenuSkin::separatorHeight, qMax(0, height));
}

void TkavMenuAppearance::setBarWidth(int width)
{
    store(&Kav::TkavMenuSkin::barWidth, qMax(0, width));
}

void TkavMenuAppearance::setMenuBarHeight(int height)
{
    store(&Kav::TkavMenuSkin::menuBarHeight, qMax(0, height));
}
