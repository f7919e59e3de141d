// Protein: a clean, nearly white look. A blue title bar that darkens towards its left end,
// plain white faces with thin grey-blue outlines, and one blue for checks and highlights.

#include "Looks.h"

namespace lookgen {

namespace {

constexpr TkavUIStyle kLook = TkavUIStyle::Protein;
const QColor kBackground(251, 251, 251);
const QColor kScrollBackground(245, 245, 245);
const QColor kBlue(52, 84, 200);
const QColor kOutline(150, 158, 176);
const QColor kSoftOutline(196, 200, 210);

Profile titleRows()
{
    Profile rows;
    rows.append(QColor(24, 36, 120));
    rows.append(sampleRows(10, {{0.0, QColor(118, 152, 238)}, {1.0, QColor(78, 114, 222)}}));
    rows.append(sampleRows(11, {{0.0, QColor(50, 82, 202)}, {1.0, QColor(66, 102, 218)}}));
    rows.append(QColor(24, 36, 120));
    return rows; // 23 rows
}

const QColor kTitleMiddle(70, 104, 214);

// The left end runs 441 pixels: deep blue at the window's edge, fading into the bar's own
// colour well before its last column, so that it reads well cut at any width.
QImage titleLeft()
{
    const QSize size = pictureSize(kLook, KavKey::TitleBarLeftImage);
    QImage image = canvas(size.width(), size.height());
    fillProfile(image, titleRows());
    QPainter p;
    beginPainter(p, image);
    p.setClipRect(QRect(0, 1, size.width(), size.height() - 2));
    p.fillRect(image.rect(),
               horizontal(QRectF(0, 0, 380, 23), {{0.0, QColor(10, 20, 90, 150)},
                                                  {0.45, QColor(10, 20, 90, 60)},
                                                  {1.0, QColor(10, 20, 90, 0)}}));
    // A thin light line along the top of the darker part.
    p.fillRect(QRect(0, 1, size.width(), 1), horizontal(QRectF(0, 0, 300, 1),
                                               {{0.0, QColor(255, 255, 255, 90)},
                                                {1.0, QColor(255, 255, 255, 0)}}));
    p.end();
    return flatten(image, Qt::black);
}

QImage titleButtons()
{
    TitleButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TitleBarButtonImage);
    recipe.behind = Behind{kTitleMiddle, true};
    recipe.paint = [](QPainter &p, TitleKind kind, int state, const QRectF &) {
        // Only the mark shows until the pointer comes; then a light (red for close) plate.
        if (state > 0) {
            QColor plate = kind == TitleKind::Close ? QColor(222, 68, 58) : mix(kTitleMiddle, Qt::white, 0.28);
            if (state == 2)
                plate = kind == TitleKind::Close ? QColor(170, 36, 30) : darker(kTitleMiddle, 0.3);
            Face f = face(lighter(plate, 0.12), plate, mix(plate, Qt::white, 0.55));
            paintFace(p, Shape{Shape::Round, 3.0}, QRectF(1, 1, 17, 17), f);
        }
        if (kind == TitleKind::ControlBox)
            drawGlyph(p, Glyph::Window, QRect(4, 4, 11, 11), QColor(255, 204, 84));
        else
            drawGlyph(p, titleGlyph(kind), QRect(4, 4, 11, 11), Qt::white, 1);
    };
    return titleButtonStrip(recipe);
}

BoxRecipe boxRecipe(QSize frame, Shape shape, bool keyedCorners)
{
    return boxStripRecipe(frame, shape, keyedCorners,
                          {face(QColor(240, 242, 247), Qt::white, QColor(140, 148, 168)),
                           face(QColor(246, 246, 246), QColor(250, 250, 250), QColor(206, 208, 214)),
                           kBlue, QColor(190, 194, 204), kBackground});
}

} // namespace

void addProteinLook(Pictures &out)
{
    Face normal = face(Qt::white, QColor(234, 236, 242), kOutline);
    normal.innerLight = Qt::white;
    Face over = face(Qt::white, QColor(220, 230, 252), kBlue);
    over.innerLight = Qt::white;
    Face pressed = face(QColor(204, 214, 242), QColor(232, 238, 252), QColor(40, 60, 160));
    ButtonRecipe button;
    button.frame = frameSize(kLook, KavKey::ButtonImage);
    button.shape = Shape{Shape::Round, 3.0};
    button.faces = {normal, over, pressed};
    button.behind = Behind{kBackground, false};
    out["PROTEIN_BUTTON"] = buttonStrip(button);

    BoxRecipe check =
        boxRecipe(frameSize(kLook, KavKey::CheckBoxImage), Shape{Shape::Round, 1.5}, false);
    check.mark = Glyph::Check;
    check.markBox = QRect(2, 2, 9, 9);
    out["PROTEIN_CHECKBOX"] = boxStrip(check);
    BoxRecipe radio =
        boxRecipe(frameSize(kLook, KavKey::RadioButtonImage), Shape{Shape::Ellipse}, true);
    radio.mark = Glyph::Dot;
    radio.markBox = QRect(QPoint(0, 0), radio.frame);
    out["PROTEIN_RADIOBUTTON"] = boxStrip(radio);

    out["PROTEIN_TITLEBTN"] = titleButtons();
    out["PROTEIN_TITLE_LEFT"] = titleLeft();
    out["PROTEIN_TITLE_CLIENT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarClientImage), titleRows());
    out["PROTEIN_TITLE_RIGHT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarRightImage), titleRows());

    out["PROTEIN_PROGRESSBAR"] =
        columnPicture(pictureSize(kLook, KavKey::ProgressBarImage),
                      {{0.0, QColor(132, 162, 244)}, {0.5, QColor(70, 104, 220)},
                       {1.0, QColor(48, 80, 204)}});

    const QSize groovePicture = pictureSize(kLook, KavKey::TrackBarBarImage);
    out["PROTEIN_TRACKBAR_BAR"] =
        threePartBar(groovePicture, QRectF(QPointF(0, 0), groovePicture), Shape{Shape::Round, 1.5},
                     face(QColor(212, 216, 224), QColor(246, 247, 250), QColor(168, 174, 190)),
                     Behind{kBackground, true});
    Face slider = face(Qt::white, QColor(224, 228, 238), QColor(116, 126, 152));
    out["PROTEIN_TRACKBAR_SLIDER"] =
        sliderPicture(pictureSize(kLook, KavKey::TrackBarSliderImage),
                      Shape{Shape::Pointer, 2.0, 5.0}, slider, Behind{kBackground, true});
    out["PROTEIN_TRACKBAR_SLIDER_V"] =
        sliderPictureVertical(pictureSize(kLook, KavKey::TrackBarSliderVImage),
                              Shape{Shape::Pointer, 2.0, 5.0}, slider, kBackground);

    ArrowButtonRecipe arrows;
    arrows.frame = frameSize(kLook, KavKey::ScrollBarButtonImage);
    arrows.bounds = QRectF(QPointF(0, 0), arrows.frame);
    arrows.shape = Shape{Shape::Round, 2.0};
    arrows.faces = {faceAcross(QColor(232, 234, 240), QColor(250, 251, 253), kSoftOutline),
                    faceAcross(QColor(226, 234, 252), QColor(248, 250, 255), kBlue),
                    faceAcross(QColor(48, 80, 196), QColor(88, 120, 224), QColor(36, 56, 160))};
    arrows.arrows = {QColor(88, 94, 110), kBlue, Qt::white};
    arrows.arrowHeight = 4;
    arrows.behind = Behind{kScrollBackground, false};
    out["PROTEIN_SCROLLBAR_BUTTON"] = arrowButtonStrip(arrows);

    ThumbRecipe thumb;
    thumb.slice = frameSize(kLook, KavKey::ScrollBarSliderImage);
    thumb.bounds = QRectF(0, 1, pictureSize(kLook, KavKey::ScrollBarSliderImage).width(), 14);
    thumb.shape = Shape{Shape::Round, 3.0};
    thumb.face.base = stops({{0.0, QColor(212, 218, 232)}, {0.5, QColor(238, 241, 248)},
                             {1.0, QColor(212, 218, 232)}});
    thumb.face.border = QColor(160, 168, 188);
    thumb.behind = Behind{kScrollBackground, false};
    out["PROTEIN_SCROLLBAR_TRACK"] = thumbStrip(thumb);

    // Drawn like the check box strip, so with as many frames.
    BoxRecipe list = boxRecipe(stripFrame(pictureSize(kLook, KavKey::CheckListBoxImage),
                                          Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage)),
                               Shape{Shape::Round, 1.0}, false);
    list.markBox = QRect(2, 2, 7, 7);
    out["PROTEIN_CHECKLIST"] = boxStrip(list);

    TabRecipe tab;
    tab.frame = frameSize(kLook, KavKey::TabControlTabImage);
    tab.shape = Shape{Shape::TopRound, 3.0};
    tab.selected = face(Qt::white, Qt::white, QColor(160, 168, 188));
    tab.other = face(QColor(244, 245, 248), QColor(226, 229, 236), QColor(160, 168, 188));
    tab.decorate = [](QPainter &p, bool selected, const QRectF &r) {
        if (!selected)
            return;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 3), kBlue);
    };
    tab.behind = Behind{kBackground, true};
    out["PROTEIN_TAB"] = tabStrip(tab);
    out["PROTEIN_TAB_LINE"] =
        columnPicture(pictureSize(kLook, KavKey::TabControlBarImage),
                      Profile{QColor(160, 168, 188), Qt::white, Qt::white,
                              QColor(248, 249, 251), QColor(226, 229, 236)});

    out["PROTEIN_SIDECHENNEL_HANDLE"] = handlePicture(
        pictureSize(kLook, KavKey::SideChannelHandleImage),
        faceAcross(QColor(232, 234, 240), QColor(252, 252, 254), kSoftOutline),
        QColor(88, 94, 110), Behind{kBackground, true});
    Profile bar{QColor(24, 36, 120)};
    bar.append(sampleRows(10, {{0.0, QColor(112, 146, 236)}, {1.0, QColor(78, 112, 222)}}));
    bar.append(sampleRows(10, {{0.0, QColor(52, 84, 204)}, {1.0, QColor(64, 98, 216)}}));
    out["PROTEIN_SIDECHENNEL_BAR"] =
        columnPicture(pictureSize(kLook, KavKey::SideChannelBarImage), bar);

    // A barely-there dot grid keeps large white forms from looking empty.
    QImage tile = scaledImage(fixedPictureSize("PROTEIN_FORM_BACKGROUND"), QImage::Format_RGB32);
    tile.fill(kBackground);
    {
        QPainter dots(&tile);
        dots.fillRect(QRect(0, 0, 1, 1), QColor(240, 241, 244));
        dots.fillRect(QRect(4, 4, 1, 1), QColor(240, 241, 244));
        if (scale() > 1) {
            // Twice as dense, each dot has a brighter top-left: a round grain, not a square.
            dots.fillRect(QRectF(0, 0, 0.5, 0.5), QColor(246, 247, 250));
            dots.fillRect(QRectF(4, 4, 0.5, 0.5), QColor(246, 247, 250));
        }
    }
    out["PROTEIN_FORM_BACKGROUND"] = tile;
}

} // namespace lookgen
