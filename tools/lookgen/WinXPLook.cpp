// WinXP: a rounded, saturated blue title bar with white marks and a red-orange close button;
// beige-white buttons with a dark blue outline and an orange glow under the mouse; green
// checks; light blue scroll bars.

#include "Looks.h"

namespace lookgen {

namespace {

constexpr TkavUIStyle kLook = TkavUIStyle::WinXP;
const QColor kBackground(239, 235, 222);
const QColor kScrollBackground(249, 249, 249);
const QColor kOutline(0, 60, 116);
const QColor kBoxOutline(28, 81, 128);
const QColor kGreen(33, 161, 33);
const QColor kHover(248, 179, 48);
const QColor kArrow(77, 97, 133);
const QColor kTabBorder(145, 155, 156);

Profile titleRows()
{
    return sampleRows(29, {{0.0, QColor(8, 49, 217)},
                           {1.0 / 28, QColor(74, 152, 255)},
                           {3.0 / 28, QColor(28, 118, 250)},
                           {8.0 / 28, QColor(2, 92, 238)},
                           {0.5, QColor(0, 84, 227)},
                           {0.82, QColor(0, 82, 225)},
                           {0.93, QColor(0, 68, 208)},
                           {1.0, QColor(0, 48, 186)}});
}

Face blueFace(qreal light)
{
    Face f;
    f.base = stops({{0.0, lighter(QColor(92, 146, 255), light)},
                    {0.45, lighter(QColor(40, 110, 248), light)},
                    {1.0, lighter(QColor(16, 82, 226), light)}});
    f.border = Qt::white;
    f.gloss = 0.35;
    f.glossEnd = 0.45;
    f.glow = withAlpha(lighter(QColor(120, 180, 255), light), 200);
    return f;
}

Face redFace(qreal light)
{
    Face f;
    f.base = stops({{0.0, lighter(QColor(236, 126, 94), light)},
                    {0.45, lighter(QColor(224, 86, 52), light)},
                    {1.0, lighter(QColor(196, 56, 26), light)}});
    f.border = Qt::white;
    f.gloss = 0.3;
    f.glossEnd = 0.45;
    f.glow = withAlpha(lighter(QColor(250, 150, 110), light), 200);
    return f;
}

QImage titleButtons()
{
    TitleButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TitleBarButtonImage);
    recipe.rows = titleRows().mid(GetInsideThemeInt(kLook, KavKey::TitleBarButtonTopInt),
                                  recipe.frame.height());
    recipe.paint = [](QPainter &p, TitleKind kind, int state, const QRectF &r) {
        const qreal light = state == 1 ? 0.22 : state == 2 ? -0.0 : 0.0;
        if (kind == TitleKind::ControlBox) {
            // The window menu: an application mark on the bar, framed under the mouse.
            if (state > 0) {
                Face f = face(withAlpha(Qt::white, state == 1 ? 70 : 30),
                              withAlpha(Qt::white, state == 1 ? 40 : 10),
                              withAlpha(Qt::white, 150));
                paintFace(p, Shape{Shape::Round, 3.0}, r, f);
            }
            drawGlyph(p, Glyph::Window, QRect(4, 4, 13, 13), QColor(255, 196, 64));
            return;
        }
        Face f = kind == TitleKind::Close ? redFace(light) : blueFace(light);
        if (state == 2) {
            for (auto &stop : f.base)
                stop.second = darker(stop.second, 0.28);
            f.gloss = 0.1;
            f.glow = QColor();
        }
        paintFace(p, Shape{Shape::Round, 3.0}, r, f);
        drawGlyph(p, titleGlyph(kind), QRect(4, 4, 13, 13), Qt::white, 2);
    };
    return titleButtonStrip(recipe);
}

QImage buttons()
{
    Face normal;
    normal.base = stops({{0.0, QColor(255, 255, 255)}, {0.8, QColor(240, 240, 234)},
                         {1.0, QColor(214, 208, 197)}});
    normal.border = kOutline;
    Face over = normal;
    over.ring = kHover;
    over.ringWidth = 2.0;
    over.innerLight = QColor(255, 240, 207);
    Face pressed = normal;
    pressed.base = stops({{0.0, QColor(209, 204, 193)}, {0.2, QColor(226, 225, 218)},
                          {1.0, QColor(242, 241, 238)}});
    ButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::ButtonImage);
    recipe.shape = Shape{Shape::Round, 3.0};
    recipe.faces = {normal, over, pressed};
    recipe.behind = Behind{kBackground, false};
    return buttonStrip(recipe);
}

BoxRecipe boxRecipe(QSize frame, Shape shape, bool keyedCorners)
{
    return boxStripRecipe(frame, shape, keyedCorners,
                          {face(QColor(220, 220, 215), Qt::white, kBoxOutline),
                           face(QColor(245, 244, 234), QColor(245, 244, 234), QColor(202, 200, 187)),
                           kGreen, QColor(202, 200, 187), kBackground});
}

} // namespace

void addWinXPLook(Pictures &out)
{
    out["WINXP_BUTTON"] = buttons();

    BoxRecipe check =
        boxRecipe(frameSize(kLook, KavKey::CheckBoxImage), Shape{Shape::Round, 0.0}, false);
    check.mark = Glyph::Check;
    check.markBox = QRect(2, 2, 9, 9);
    check.weight = 1;
    out["WINXP_CHECKBOX"] = boxStrip(check);

    BoxRecipe radio =
        boxRecipe(frameSize(kLook, KavKey::RadioButtonImage), Shape{Shape::Ellipse}, true);
    radio.mark = Glyph::Dot;
    radio.markBox = QRect(QPoint(0, 0), radio.frame);
    out["WINXP_RADIOBUTTON"] = boxStrip(radio);

    out["WINXP_TITLEBTN"] = titleButtons();
    const Profile title = titleRows();
    out["WINXP_TITLE_LEFT"] = columnPicture(pictureSize(kLook, KavKey::TitleBarLeftImage), title);
    out["WINXP_TITLE_CLIENT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarClientImage), title);
    out["WINXP_TITLE_RIGHT"] = columnPicture(pictureSize(kLook, KavKey::TitleBarRightImage), title);

    out["WINXP_PROGRESSBAR"] = columnPicture(
        pictureSize(kLook, KavKey::ProgressBarImage),
        {{0.0, QColor(150, 228, 150)}, {0.35, QColor(44, 204, 64)},
         {0.7, QColor(22, 180, 40)}, {1.0, QColor(96, 214, 104)}});

    Face groove = face(QColor(196, 194, 184), QColor(250, 250, 246), QColor(157, 156, 150));
    // The groove runs through the middle rows of its picture.
    const QSize groovePicture = pictureSize(kLook, KavKey::TrackBarBarImage);
    out["WINXP_TRACKBAR_BAR"] = threePartBar(groovePicture, QRectF(0, 2, groovePicture.width(), 4),
                                             Shape{Shape::Round, 2.0}, groove,
                                             Behind{kBackground, true});
    Face slider = face(Qt::white, QColor(230, 228, 218), QColor(112, 128, 150));
    slider.glow = QColor(120, 220, 120, 150);
    out["WINXP_TRACKBAR_SLIDER"] =
        sliderPicture(pictureSize(kLook, KavKey::TrackBarSliderImage),
                      Shape{Shape::Pointer, 2.0, 5.0}, slider, Behind{kBackground, true});
    out["WINXP_TRACKBAR_SLIDER_V"] =
        sliderPictureVertical(pictureSize(kLook, KavKey::TrackBarSliderVImage),
                              Shape{Shape::Pointer, 2.0, 5.0}, slider, kBackground);

    ArrowButtonRecipe arrows;
    arrows.frame = frameSize(kLook, KavKey::ScrollBarButtonImage);
    arrows.bounds = QRectF(QPointF(0, 0), arrows.frame);
    arrows.shape = Shape{Shape::Round, 2.5};
    arrows.faces = {faceAcross(QColor(196, 212, 252), QColor(226, 236, 255), QColor(170, 192, 240)),
                    faceAcross(QColor(214, 228, 255), QColor(244, 248, 255), QColor(140, 170, 236)),
                    faceAcross(QColor(150, 176, 242), QColor(176, 198, 248), QColor(110, 140, 220))};
    arrows.arrows = {kArrow, kArrow, QColor(40, 56, 96)};
    arrows.arrowHeight = 4;
    arrows.behind = Behind{kScrollBackground, false};
    out["WINXP_SCROLLBAR_BUTTON"] = arrowButtonStrip(arrows);

    ThumbRecipe thumb;
    thumb.slice = frameSize(kLook, KavKey::ScrollBarSliderImage);
    thumb.bounds = QRectF(QPointF(0, 0), pictureSize(kLook, KavKey::ScrollBarSliderImage));
    thumb.shape = Shape{Shape::Round, 2.5};
    thumb.face = face(QColor(200, 214, 252), QColor(200, 214, 252), QColor(170, 192, 240));
    thumb.face.base = stops({{0.0, QColor(196, 212, 252)}, {0.5, QColor(226, 236, 255)},
                             {1.0, QColor(196, 212, 252)}});
    thumb.behind = Behind{kScrollBackground, false};
    out["WINXP_SCROLLBAR_TRACK"] = thumbStrip(thumb);

    // Drawn like the check box strip, so with as many frames.
    BoxRecipe list = boxRecipe(stripFrame(pictureSize(kLook, KavKey::CheckListBoxImage),
                                          Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage)),
                               Shape{Shape::Round, 0.0}, false);
    list.markBox = QRect(2, 2, 7, 7);
    out["WINXP_CHECKLIST"] = boxStrip(list);

    ScrollButtonRecipe scroll;
    scroll.frame = frameSize(kLook, KavKey::ScrollButtonImage);
    scroll.bounds = QRectF(1, 1, 16, 16);
    scroll.shape = Shape{Shape::Round, 3.0};
    scroll.normal = faceAcross(QColor(196, 212, 252), QColor(226, 236, 255), QColor(170, 192, 240));
    scroll.normal.across = false;
    scroll.over = scroll.normal;
    scroll.over.ring = kHover;
    scroll.arrow = kArrow;
    scroll.arrowOver = QColor(40, 56, 96);
    scroll.behind = Behind{kBackground, true};
    out["WINXP_SCROLLBUTTON"] = scrollButtonStrip(scroll);

    TabRecipe tab;
    tab.frame = frameSize(kLook, KavKey::TabControlTabImage);
    tab.shape = Shape{Shape::TopRound, 3.0};
    tab.selected = face(Qt::white, QColor(252, 252, 254), kTabBorder);
    tab.other = face(Qt::white, QColor(236, 235, 230), kTabBorder);
    tab.decorate = [](QPainter &p, bool selected, const QRectF &r) {
        if (!selected)
            return;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), QColor(230, 139, 44));
        p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 2), QColor(255, 199, 60));
    };
    tab.behind = Behind{kBackground, true};
    out["WINXP_TAB"] = tabStrip(tab);
    out["WINXP_TAB_LINE"] =
        columnPicture(pictureSize(kLook, KavKey::TabControlBarImage), Profile{kTabBorder});

    out["WINXP_SIDECHENNEL_HANDLE"] = handlePicture(
        pictureSize(kLook, KavKey::SideChannelHandleImage),
        faceAcross(QColor(196, 212, 252), QColor(236, 242, 255), QColor(140, 170, 236)),
        kArrow, Behind{kBackground, true});
    Profile bar{QColor(104, 104, 104)};
    bar.append(sampleRows(20, {{0.0, Qt::white}, {1.0, QColor(198, 211, 247)}}));
    out["WINXP_SIDECHENNEL_BAR"] =
        columnPicture(pictureSize(kLook, KavKey::SideChannelBarImage), bar);

    // The combo box's drop-down button carries its own arrow.
    Face combo = faceAcross(QColor(196, 212, 252), QColor(226, 236, 255), QColor(170, 192, 240));
    combo.across = false;
    combo.base = stops({{0.0, QColor(226, 236, 255)}, {1.0, QColor(186, 204, 250)}});
    const QSize comboSize = fixedPictureSize("WINXP_COMBOBOX_BUTTON");
    QImage comboImage = canvas(comboSize.width(), comboSize.height());
    QPainter p;
    beginPainter(p, comboImage);
    paintFace(p, Shape{Shape::Round, 2.5}, QRectF(QPointF(0, 0), comboSize), combo);
    drawArrow(p, Glyph::ArrowDown, QRect(QPoint(0, 0), comboSize), 4, kArrow);
    p.end();
    out["WINXP_COMBOBOX_BUTTON"] = flatten(comboImage, Qt::white);
}

} // namespace lookgen
