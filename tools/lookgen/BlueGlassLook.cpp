// BlueGlass: everything looks cut from blue glass: a sharp light/dark break halfway down, a
// bright rim along the bottom, a reflection sweeping over the title bar's left end, and round
// glass drops for the title-bar buttons.

#include "Looks.h"

namespace lookgen {

namespace {

constexpr TkavUIStyle kLook = TkavUIStyle::BlueGlass;
const QColor kBackground(231, 231, 231);
const QColor kScrollBackground(244, 244, 244);
const QColor kOutline(40, 76, 150);
const QColor kInk(16, 40, 110);

Profile titleRows()
{
    Profile rows;
    rows.append(QColor(10, 22, 56));
    rows.append(sampleRows(15, {{0.0, QColor(132, 176, 246)}, {1.0, QColor(74, 124, 222)}}));
    rows.append(sampleRows(14, {{0.0, QColor(24, 68, 176)}, {1.0, QColor(44, 102, 214)}}));
    rows.append(QColor(96, 156, 240));
    rows.append(QColor(72, 130, 226));
    rows.append(QColor(16, 44, 120));
    return rows; // 33 rows
}

const QColor kTitleMiddle(50, 96, 200);

// Left end: a reflection arc over the upper part, gone before the joining column.
QImage titleLeft()
{
    const QSize size = pictureSize(kLook, KavKey::TitleBarLeftImage);
    QImage image = canvas(size.width(), size.height());
    fillProfile(image, titleRows());
    QPainter p;
    beginPainter(p, image);
    p.setClipRect(QRect(0, 1, size.width(), size.height() - 2));
    QPainterPath sweep;
    sweep.moveTo(0, 1);
    sweep.lineTo(120, 1);
    sweep.cubicTo(90, 12, 40, 22, 0, 26);
    sweep.closeSubpath();
    p.fillPath(sweep, horizontal(QRectF(0, 0, 130, 1), {{0.0, QColor(255, 255, 255, 80)},
                                                        {0.7, QColor(255, 255, 255, 30)},
                                                        {1.0, QColor(255, 255, 255, 0)}}));
    QRadialGradient spot(QPointF(14, 8), 40);
    spot.setColorAt(0.0, QColor(200, 230, 255, 90));
    spot.setColorAt(1.0, QColor(200, 230, 255, 0));
    p.fillRect(image.rect(), spot);
    p.end();
    return flatten(image, Qt::black);
}

// Right end: the glass darkens a little into the corner, behind the buttons.
QImage titleRight()
{
    const QSize size = pictureSize(kLook, KavKey::TitleBarRightImage);
    QImage image = canvas(size.width(), size.height());
    fillProfile(image, titleRows());
    QPainter p;
    beginPainter(p, image);
    p.setClipRect(QRect(0, 1, size.width(), size.height() - 2));
    p.fillRect(image.rect(), horizontal(QRectF(0, 0, size.width(), 1), {{0.0, QColor(0, 10, 60, 0)},
                                                               {1.0, QColor(0, 10, 60, 60)}}));
    p.end();
    return flatten(image, Qt::black);
}

QImage titleButtons()
{
    TitleButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TitleBarButtonImage);
    recipe.behind = Behind{kTitleMiddle, true};
    recipe.paint = [](QPainter &p, TitleKind kind, int state, const QRectF &) {
        QColor top = kind == TitleKind::Close ? QColor(244, 128, 110) : QColor(150, 196, 252);
        QColor bottom = kind == TitleKind::Close ? QColor(176, 30, 24) : QColor(30, 84, 196);
        if (kind == TitleKind::ControlBox) {
            top = QColor(120, 170, 240);
            bottom = QColor(28, 70, 170);
        }
        if (state == 1) {
            top = lighter(top, 0.3);
            bottom = lighter(bottom, 0.25);
        } else if (state == 2) {
            top = darker(top, 0.3);
            bottom = darker(bottom, 0.3);
        }
        Face f = face(top, bottom, QColor(12, 30, 80));
        f.gloss = state == 2 ? 0.3 : 0.7;
        f.glossEnd = 0.5;
        f.glow = withAlpha(lighter(top, 0.4), 200);
        paintFace(p, Shape{Shape::Ellipse}, QRectF(1, 1, 17, 17), f);
        if (kind == TitleKind::ControlBox)
            drawGlyph(p, Glyph::Window, QRect(4, 4, 11, 11), QColor(255, 200, 72));
        else
            drawGlyph(p, titleGlyph(kind), QRect(4, 4, 11, 11), Qt::white, 1);
    };
    return titleButtonStrip(recipe);
}

Face glass(QColor top, QColor upper, QColor lower, QColor bottom, QColor border)
{
    Face f;
    f.base = stops({{0.0, top}, {0.41, upper}, {0.42, lower}, {1.0, bottom}});
    f.border = border;
    f.innerLight = QColor(255, 255, 255, 200);
    return f;
}

Face glassAcross(QColor edge, QColor middle, QColor border)
{
    Face f;
    f.base = stops({{0.0, edge}, {0.45, middle}, {0.55, middle}, {1.0, edge}});
    f.across = true;
    f.border = border;
    return f;
}

BoxRecipe boxRecipe(QSize frame, Shape shape, bool keyedCorners)
{
    Face enabled = glass(Qt::white, QColor(236, 242, 252), QColor(214, 228, 250),
                         QColor(236, 244, 255), kOutline);
    enabled.innerLight = QColor();
    return boxStripRecipe(frame, shape, keyedCorners,
                          {enabled,
                           face(QColor(240, 240, 242), QColor(236, 236, 240), QColor(168, 176, 196)),
                           kInk, QColor(168, 176, 196), kBackground});
}

} // namespace

void addBlueGlassLook(Pictures &out)
{
    ButtonRecipe button;
    button.frame = frameSize(kLook, KavKey::ButtonImage);
    button.shape = Shape{Shape::Round, 6.0};
    Face over = glass(QColor(244, 252, 255), QColor(208, 236, 255), QColor(166, 212, 252),
                      QColor(214, 242, 255), QColor(30, 92, 192));
    over.glow = QColor(190, 240, 255, 230);
    Face pressed = glass(QColor(168, 196, 240), QColor(140, 172, 232), QColor(118, 154, 224),
                         QColor(160, 192, 242), QColor(20, 50, 120));
    pressed.innerLight = QColor();
    button.faces = {glass(QColor(248, 251, 255), QColor(224, 234, 252), QColor(198, 216, 248),
                          QColor(228, 238, 255), kOutline),
                    over, pressed};
    button.behind = Behind{kBackground, true};
    out["BLUEGLASS_BUTTON"] = buttonStrip(button);

    BoxRecipe check =
        boxRecipe(frameSize(kLook, KavKey::CheckBoxImage), Shape{Shape::Round, 2.0}, false);
    check.mark = Glyph::Check;
    check.markBox = QRect(2, 2, 9, 9);
    out["BLUEGLASS_CHECKBOX"] = boxStrip(check);
    BoxRecipe radio =
        boxRecipe(frameSize(kLook, KavKey::RadioButtonImage), Shape{Shape::Ellipse}, true);
    radio.mark = Glyph::Dot;
    radio.markBox = QRect(QPoint(0, 0), radio.frame);
    out["BLUEGLASS_RADIOBUTTON"] = boxStrip(radio);

    out["BLUEGLASS_TITLEBTN"] = titleButtons();
    out["BLUEGLASS_TITLE_LEFT"] = titleLeft();
    out["BLUEGLASS_TITLE_CLIENT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarClientImage), titleRows());
    out["BLUEGLASS_TITLE_RIGHT"] = titleRight();

    out["BLUEGLASS_PROGRESSBAR"] =
        columnPicture(pictureSize(kLook, KavKey::ProgressBarImage),
                      {{0.0, QColor(160, 206, 255)}, {0.45, QColor(86, 146, 240)},
                       {0.5, QColor(40, 100, 220)}, {1.0, QColor(110, 178, 252)}});

    const QSize groovePicture = pictureSize(kLook, KavKey::TrackBarBarImage);
    out["BLUEGLASS_TRACKBAR_BAR"] =
        threePartBar(groovePicture, QRectF(QPointF(0, 0), groovePicture), Shape{Shape::Round, 1.5},
                     face(QColor(80, 100, 150), QColor(176, 194, 232), QColor(30, 50, 100)),
                     Behind{kBackground, true});
    Face slider = face(QColor(160, 200, 252), QColor(36, 90, 200), kInk);
    slider.gloss = 0.6;
    slider.glossEnd = 0.45;
    out["BLUEGLASS_TRACKBAR_SLIDER"] =
        sliderPicture(pictureSize(kLook, KavKey::TrackBarSliderImage),
                      Shape{Shape::Pointer, 2.0, 5.0}, slider, Behind{kBackground, true});
    out["BLUEGLASS_TRACKBAR_SLIDER_V"] =
        sliderPictureVertical(pictureSize(kLook, KavKey::TrackBarSliderVImage),
                              Shape{Shape::Pointer, 2.0, 5.0}, slider, kBackground);

    ArrowButtonRecipe arrows;
    arrows.frame = frameSize(kLook, KavKey::ScrollBarButtonImage);
    arrows.bounds = QRectF(QPointF(0, 0), arrows.frame);
    arrows.shape = Shape{Shape::Round, 2.5};
    arrows.faces = {glassAcross(QColor(176, 200, 240), QColor(238, 245, 255), QColor(60, 90, 160)),
                    glassAcross(QColor(160, 212, 255), QColor(242, 251, 255), QColor(40, 110, 210)),
                    glassAcross(QColor(56, 98, 190), QColor(124, 164, 232), QColor(20, 50, 120))};
    arrows.arrows = {kInk, QColor(20, 64, 156), Qt::white};
    arrows.arrowHeight = 4;
    arrows.behind = Behind{kScrollBackground, false};
    out["BLUEGLASS_SCROLLBAR_BUTTON"] = arrowButtonStrip(arrows);

    ThumbRecipe thumb;
    thumb.slice = frameSize(kLook, KavKey::ScrollBarSliderImage);
    thumb.bounds = QRectF(QPointF(0, 0), pictureSize(kLook, KavKey::ScrollBarSliderImage));
    thumb.shape = Shape{Shape::Round, 3.0};
    thumb.face.base = stops({{0.0, QColor(62, 112, 206)}, {0.45, QColor(172, 206, 252)},
                             {0.55, QColor(172, 206, 252)}, {1.0, QColor(62, 112, 206)}});
    thumb.face.border = QColor(20, 50, 120);
    thumb.behind = Behind{kScrollBackground, false};
    out["BLUEGLASS_SCROLLBAR_TRACK"] = thumbStrip(thumb);

    // Drawn like the check box strip, so with as many frames.
    BoxRecipe list = boxRecipe(stripFrame(pictureSize(kLook, KavKey::CheckListBoxImage),
                                          Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage)),
                               Shape{Shape::Round, 1.5}, false);
    list.markBox = QRect(2, 2, 7, 7);
    out["BLUEGLASS_CHECKLIST"] = boxStrip(list);

    TabRecipe tab;
    tab.frame = frameSize(kLook, KavKey::TabControlTabImage);
    tab.shape = Shape{Shape::TopRound, 3.0};
    tab.selected = glass(Qt::white, QColor(236, 244, 255), QColor(220, 234, 252),
                         QColor(214, 230, 252), kOutline);
    tab.other = glass(QColor(236, 242, 252), QColor(214, 226, 248), QColor(192, 210, 240),
                      QColor(200, 216, 244), kOutline);
    tab.other.innerLight = QColor();
    tab.behind = Behind{kBackground, true};
    out["BLUEGLASS_TAB"] = tabStrip(tab);
    out["BLUEGLASS_TAB_LINE"] =
        columnPicture(pictureSize(kLook, KavKey::TabControlBarImage),
                      Profile{kOutline, QColor(214, 230, 252), QColor(206, 224, 250),
                              QColor(196, 216, 248), QColor(120, 150, 210)});

    out["BLUEGLASS_SIDECHENNEL_HANDLE"] = handlePicture(
        pictureSize(kLook, KavKey::SideChannelHandleImage),
        glassAcross(QColor(176, 200, 240), QColor(240, 246, 255), QColor(60, 90, 160)),
        kInk, Behind{kBackground, true});
    Profile bar{QColor(10, 22, 56)};
    bar.append(sampleRows(9, {{0.0, QColor(132, 176, 246)}, {1.0, QColor(80, 130, 226)}}));
    bar.append(sampleRows(10, {{0.0, QColor(28, 72, 180)}, {1.0, QColor(50, 110, 220)}}));
    bar.append(QColor(96, 156, 240));
    out["BLUEGLASS_SIDECHENNEL_BAR"] =
        columnPicture(pictureSize(kLook, KavKey::SideChannelBarImage), bar);
}

} // namespace lookgen
