// DeepBlue: a deep navy title bar with a glassy break and a soft glow at its ends, steel-blue
// controls outlined in navy, white faces for what the pupil reads.

#include "Looks.h"

namespace lookgen {

namespace {

constexpr TkavUIStyle kLook = TkavUIStyle::DeepBlue;
const QColor kBackground(232, 232, 232);
const QColor kScrollBackground(245, 245, 245);
const QColor kNavy(36, 56, 120);
const QColor kDeepNavy(20, 36, 96);

Profile titleRows()
{
    Profile rows;
    rows.append(QColor(8, 16, 52));
    rows.append(QColor(100, 132, 214));
    rows.append(sampleRows(14, {{0.0, QColor(62, 96, 184)}, {1.0, QColor(36, 64, 150)}}));
    rows.append(sampleRows(13, {{0.0, QColor(20, 42, 116)}, {1.0, QColor(14, 30, 92)}}));
    rows.append(QColor(26, 50, 128));
    rows.append(QColor(40, 70, 156));
    rows.append(QColor(6, 12, 40));
    return rows; // 32 rows
}

// The title bar's ends: the profile with a soft light that fades out before the joining edge.
QImage titleEnd(QSize size, QPointF centre, int strength)
{
    QImage image = canvas(size.width(), size.height());
    fillProfile(image, titleRows());
    QPainter p;
    beginPainter(p, image);
    QRadialGradient glow(centre, size.width() * 0.8);
    glow.setColorAt(0.0, QColor(150, 190, 255, strength));
    glow.setColorAt(1.0, QColor(150, 190, 255, 0));
    p.setClipRect(QRect(0, 1, size.width(), 28));
    p.fillRect(image.rect(), glow);
    p.end();
    return flatten(image, Qt::black);
}

Face titleFace(QColor top, QColor bottom, QColor border, int state)
{
    Face f = face(top, bottom, border);
    f.gloss = 0.45;
    f.glossEnd = 0.5;
    if (state == 1) {
        f.base = stops({{0.0, lighter(top, 0.25)}, {1.0, lighter(bottom, 0.2)}});
        f.glow = QColor(170, 210, 255, 170);
    } else if (state == 2) {
        f.base = stops({{0.0, darker(top, 0.35)}, {1.0, darker(bottom, 0.25)}});
        f.gloss = 0.15;
    }
    return f;
}

QImage titleButtons()
{
    TitleButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TitleBarButtonImage);
    recipe.rows = titleRows().mid(GetInsideThemeInt(kLook, KavKey::TitleBarButtonTopInt),
                                  recipe.frame.height());
    recipe.paint = [](QPainter &p, TitleKind kind, int state, const QRectF &) {
        const bool close = kind == TitleKind::Close;
        const Face f = close ? titleFace(QColor(226, 96, 84), QColor(150, 30, 30),
                                         QColor(246, 180, 170), state)
                             : titleFace(QColor(76, 110, 204), QColor(28, 52, 132),
                                         QColor(150, 176, 235), state);
        paintFace(p, Shape{Shape::Round, 3.0}, QRectF(1, 1, 17, 17), f);
        if (kind == TitleKind::ControlBox)
            drawGlyph(p, Glyph::Window, QRect(4, 4, 11, 11), QColor(255, 196, 64));
        else
            drawGlyph(p, titleGlyph(kind), QRect(4, 4, 11, 11), Qt::white, 1);
    };
    return titleButtonStrip(recipe);
}

BoxRecipe boxRecipe(QSize frame, Shape shape, bool keyedCorners)
{
    return boxStripRecipe(frame, shape, keyedCorners,
                          {face(QColor(214, 222, 240), Qt::white, kNavy),
                           face(QColor(236, 236, 238), QColor(246, 246, 246), QColor(160, 166, 180)),
                           kDeepNavy, QColor(160, 166, 180), kBackground});
}

} // namespace

void addDeepBlueLook(Pictures &out)
{
    Face normal;
    normal.base = stops({{0.0, Qt::white}, {0.42, QColor(234, 238, 248)}, {0.43, QColor(220, 228, 244)},
                         {1.0, QColor(204, 214, 238)}});
    normal.border = kNavy;
    normal.innerLight = Qt::white;
    // Under the mouse the face lights up in a clear sky blue with a bright rim; pressed, it sinks
    // into a darker blue lit from below. The three must tell apart at a glance.
    Face over = normal;
    over.base = stops({{0.0, QColor(246, 251, 255)}, {0.42, QColor(206, 228, 255)}, {0.43, QColor(170, 208, 254)},
                       {1.0, QColor(126, 182, 250)}});
    over.border = QColor(28, 88, 204);
    over.glow = QColor(206, 236, 255, 240);
    Face pressed = normal;
    pressed.base = stops({{0.0, QColor(104, 130, 196)}, {0.5, QColor(140, 164, 220)}, {1.0, QColor(188, 204, 240)}});
    pressed.border = kDeepNavy;
    pressed.innerLight = QColor();
    ButtonRecipe button;
    button.frame = frameSize(kLook, KavKey::ButtonImage);
    button.shape = Shape{Shape::Round, 3.0};
    button.faces = {normal, over, pressed};
    button.behind = Behind{kBackground, false};
    out["DEEPBLUE_BUTTON"] = buttonStrip(button);

    BoxRecipe check =
        boxRecipe(frameSize(kLook, KavKey::CheckBoxImage), Shape{Shape::Round, 0.0}, false);
    check.mark = Glyph::Check;
    check.markBox = QRect(2, 2, 9, 9);
    out["DEEPBLUE_CHECKBOX"] = boxStrip(check);
    BoxRecipe radio =
        boxRecipe(frameSize(kLook, KavKey::RadioButtonImage), Shape{Shape::Ellipse}, true);
    radio.mark = Glyph::Dot;
    radio.markBox = QRect(QPoint(0, 0), radio.frame);
    out["DEEPBLUE_RADIOBUTTON"] = boxStrip(radio);

    out["DEEPBLUE_TITLEBTN"] = titleButtons();
    out["DEEPBLUE_TITLE_LEFT"] =
        titleEnd(pictureSize(kLook, KavKey::TitleBarLeftImage), QPointF(8, 4), 90);
    out["DEEPBLUE_TITLE_CLIENT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarClientImage), titleRows());
    out["DEEPBLUE_TITLE_RIGHT"] =
        titleEnd(pictureSize(kLook, KavKey::TitleBarRightImage), QPointF(92, 30), 45);

    out["DEEPBLUE_PROGRESSBAR"] =
        columnPicture(pictureSize(kLook, KavKey::ProgressBarImage),
                      {{0.0, QColor(136, 176, 252)}, {0.45, QColor(62, 102, 212)},
                       {0.5, QColor(38, 72, 182)}, {1.0, QColor(84, 134, 232)}});

    const QSize groovePicture = pictureSize(kLook, KavKey::TrackBarBarImage);
    out["DEEPBLUE_TRACKBAR_BAR"] =
        threePartBar(groovePicture, QRectF(QPointF(0, 0), groovePicture), Shape{Shape::Round, 1.5},
                     face(QColor(92, 102, 134), QColor(196, 202, 220), QColor(40, 52, 90)),
                     Behind{kBackground, true});
    Face slider = face(QColor(110, 146, 228), QColor(30, 58, 144), QColor(14, 28, 80));
    slider.gloss = 0.55;
    slider.glossEnd = 0.45;
    out["DEEPBLUE_TRACKBAR_SLIDER"] =
        sliderPicture(pictureSize(kLook, KavKey::TrackBarSliderImage),
                      Shape{Shape::Pointer, 2.0, 5.0}, slider, Behind{kBackground, true});
    out["DEEPBLUE_TRACKBAR_SLIDER_V"] =
        sliderPictureVertical(pictureSize(kLook, KavKey::TrackBarSliderVImage),
                              Shape{Shape::Pointer, 2.0, 5.0}, slider, kBackground);

    ArrowButtonRecipe arrows;
    arrows.frame = frameSize(kLook, KavKey::ScrollBarButtonImage);
    arrows.bounds = QRectF(QPointF(0, 0), arrows.frame);
    arrows.shape = Shape{Shape::Round, 2.0};
    arrows.faces = {faceAcross(QColor(196, 206, 232), QColor(238, 242, 250), QColor(70, 90, 150)),
                    faceAcross(QColor(206, 222, 252), QColor(250, 252, 255), QColor(44, 90, 196)),
                    faceAcross(QColor(60, 90, 170), QColor(110, 140, 214), kDeepNavy)};
    arrows.arrows = {kDeepNavy, QColor(24, 60, 170), Qt::white};
    arrows.arrowHeight = 4;
    arrows.behind = Behind{kScrollBackground, false};
    out["DEEPBLUE_SCROLLBAR_BUTTON"] = arrowButtonStrip(arrows);

    ThumbRecipe thumb;
    thumb.slice = frameSize(kLook, KavKey::ScrollBarSliderImage);
    thumb.bounds = QRectF(QPointF(0, 0), pictureSize(kLook, KavKey::ScrollBarSliderImage));
    thumb.shape = Shape{Shape::Round, 3.0};
    thumb.face.base = stops({{0.0, QColor(64, 96, 178)}, {0.5, QColor(150, 178, 240)},
                             {1.0, QColor(64, 96, 178)}});
    thumb.face.border = kDeepNavy;
    thumb.behind = Behind{kScrollBackground, false};
    out["DEEPBLUE_SCROLLBAR_TRACK"] = thumbStrip(thumb);

    // Drawn like the check box strip, so with as many frames.
    BoxRecipe list = boxRecipe(stripFrame(pictureSize(kLook, KavKey::CheckListBoxImage),
                                          Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage)),
                               Shape{Shape::Round, 0.0}, false);
    list.markBox = QRect(2, 2, 7, 7);
    out["DEEPBLUE_CHECKLIST"] = boxStrip(list);

    TabRecipe tab;
    tab.frame = frameSize(kLook, KavKey::TabControlTabImage);
    tab.shape = Shape{Shape::TopRound, 2.0};
    tab.selected = face(Qt::white, QColor(236, 240, 250), kNavy);
    tab.other = face(QColor(222, 228, 244), QColor(186, 198, 228), kNavy);
    tab.decorate = [](QPainter &p, bool selected, const QRectF &r) {
        if (!selected)
            return;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 2), QColor(64, 104, 204));
    };
    tab.behind = Behind{kBackground, true};
    out["DEEPBLUE_TAB"] = tabStrip(tab);
    out["DEEPBLUE_TAB_LINE"] = columnPicture(
        pictureSize(kLook, KavKey::TabControlBarImage),
        Profile{kNavy, QColor(236, 240, 250), QColor(236, 240, 250),
                QColor(230, 234, 246), QColor(150, 162, 196)});

    out["DEEPBLUE_SIDECHENNEL_HANDLE"] = handlePicture(
        pictureSize(kLook, KavKey::SideChannelHandleImage),
        faceAcross(QColor(196, 206, 232), QColor(240, 244, 252), kNavy), kDeepNavy,
        Behind{kBackground, true});
    Profile bar{QColor(10, 16, 40)};
    bar.append(sampleRows(9, {{0.0, QColor(84, 118, 206)}, {1.0, QColor(48, 78, 164)}}));
    bar.append(sampleRows(10, {{0.0, QColor(28, 52, 132)}, {1.0, QColor(36, 64, 150)}}));
    out["DEEPBLUE_SIDECHENNEL_BAR"] =
        columnPicture(pictureSize(kLook, KavKey::SideChannelBarImage), bar);
}

} // namespace lookgen
