// MacOS: light grey pinstripes, glossy capsules, aqua blue for what is chosen or pressed, and
// red, amber and green title-bar lights.

#include "Looks.h"

namespace lookgen {

namespace {

constexpr TkavUIStyle kLook = TkavUIStyle::MacOS;
const QColor kBackground(233, 233, 233); // the pinstriped form, averaged
const QColor kScrollBackground(0xC9, 0xC9, 0xC9);

Face whiteCapsule()
{
    Face f;
    f.base = stops({{0.0, grey(246)}, {0.42, grey(228)}, {0.43, grey(218)}, {1.0, grey(246)}});
    f.border = grey(128);
    f.gloss = 0.55;
    f.glossEnd = 0.42;
    f.glow = QColor(255, 255, 255, 200);
    return f;
}

Face aqua()
{
    Face f;
    f.base = stops({{0.0, QColor(150, 190, 240)},
                    {0.42, QColor(105, 160, 232)},
                    {0.43, QColor(78, 138, 222)},
                    {1.0, QColor(150, 205, 252)}});
    f.border = QColor(56, 88, 140);
    f.gloss = 0.75;
    f.glossEnd = 0.42;
    f.glow = QColor(200, 235, 255, 220);
    return f;
}

Face aquaPressed()
{
    Face f = aqua();
    f.base = stops({{0.0, QColor(95, 140, 210)},
                    {0.42, QColor(70, 120, 200)},
                    {0.43, QColor(50, 100, 188)},
                    {1.0, QColor(110, 170, 235)}});
    f.border = QColor(36, 62, 110);
    f.gloss = 0.45;
    f.glow = QColor(160, 210, 250, 200);
    return f;
}

Face disabledOf(Face f)
{
    for (auto &stop : f.base)
        stop.second = mix(stop.second, grey(238), 0.6);
    f.border = mix(f.border, grey(238), 0.55);
    f.glow = QColor();
    f.gloss *= 0.5;
    return f;
}

Profile titleRows()
{
    Profile rows;
    rows.append(grey(150));
    rows.append(grey(252));
    const Profile body = sampleRows(20, {{0.0, grey(241)}, {1.0, grey(204)}});
    for (int i = 0; i < body.size(); ++i)
        rows.append(i % 2 == 1 ? darker(body.at(i), 0.025) : body.at(i));
    rows.append(grey(128));
    return rows; // 23 rows
}

struct Light {
    QColor top, bottom, border;
};

Light lightOf(TitleKind kind)
{
    switch (kind) {
    case TitleKind::Close:
        return {QColor(255, 130, 118), QColor(222, 52, 40), QColor(160, 40, 34)};
    case TitleKind::Minimise:
        return {QColor(255, 222, 120), QColor(232, 162, 20), QColor(170, 112, 16)};
    case TitleKind::Maximise:
    case TitleKind::Restore:
        return {QColor(140, 226, 128), QColor(42, 170, 52), QColor(30, 116, 40)};
    case TitleKind::Help:
        return {QColor(160, 198, 245), QColor(70, 130, 215), QColor(46, 84, 146)};
    case TitleKind::ControlBox:
        return {QColor(214, 218, 226), QColor(138, 148, 164), QColor(96, 102, 114)};
    }
    return {};
}

QImage titleButtons()
{
    TitleButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TitleBarButtonImage);
    recipe.rows = titleRows().mid(GetInsideThemeInt(kLook, KavKey::TitleBarButtonTopInt),
                                  recipe.frame.height());
    recipe.paint = [](QPainter &p, TitleKind kind, int state, const QRectF &) {
        const Light light = lightOf(kind);
        Face f = face(light.top, light.bottom, light.border);
        f.gloss = 0.8;
        f.glossEnd = 0.48;
        f.glow = QColor(255, 255, 255, 150);
        if (state == 2) {
            f.base = stops({{0.0, darker(light.top, 0.25)}, {1.0, darker(light.bottom, 0.2)}});
            f.gloss = 0.5;
        }
        paintFace(p, Shape{Shape::Ellipse}, QRectF(1.5, 1.5, 14, 14), f);
        // The marks appear when the pointer is over the lights.
        if (state > 0)
            drawGlyph(p, titleGlyph(kind), QRect(4, 4, 9, 9), darker(light.bottom, 0.62), 1);
    };
    return titleButtonStrip(recipe);
}

QImage checkBoxes(QSize frame, QRectF bounds, QRect markBox, qreal radius)
{
    BoxRecipe recipe;
    recipe.frame = frame;
    recipe.bounds = bounds;
    recipe.shape = Shape{Shape::Round, radius};
    recipe.on = aqua();
    recipe.off = whiteCapsule();
    recipe.onDisabled = disabledOf(aqua());
    recipe.offDisabled = disabledOf(whiteCapsule());
    recipe.mark = Glyph::Check;
    recipe.markBox = markBox;
    recipe.markColour = grey(20);
    recipe.markDisabled = grey(150);
    recipe.weight = 1;
    recipe.behind = Behind{kBackground, false};
    return boxStrip(recipe);
}

QImage radioButtons()
{
    BoxRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::RadioButtonImage);
    recipe.bounds = QRectF(1, 2, 14, 14);
    recipe.shape = Shape{Shape::Ellipse};
    recipe.on = aqua();
    recipe.off = whiteCapsule();
    recipe.onDisabled = disabledOf(aqua());
    recipe.offDisabled = disabledOf(whiteCapsule());
    recipe.mark = Glyph::Dot;
    recipe.markBox = QRect(1, 2, 14, 14);
    recipe.markColour = QColor(20, 30, 50);
    recipe.markDisabled = grey(150);
    recipe.behind = Behind{kBackground, true};
    return boxStrip(recipe);
}

QImage scrollArrows()
{
    Face normal;
    normal.base = stops({{0.0, grey(176)}, {0.18, grey(232)}, {0.5, grey(250)}, {0.82, grey(226)},
                         {1.0, grey(180)}});
    normal.across = true;
    normal.border = grey(132);
    Face over = normal;
    over.base = stops({{0.0, QColor(160, 180, 210)}, {0.18, QColor(212, 228, 250)},
                       {0.5, QColor(236, 244, 255)}, {0.82, QColor(206, 222, 246)},
                       {1.0, QColor(160, 182, 214)}});
    over.border = QColor(98, 120, 160);
    Face pressed = normal;
    pressed.base = stops({{0.0, QColor(52, 98, 170)}, {0.2, QColor(110, 160, 232)},
                          {0.5, QColor(160, 200, 250)}, {0.8, QColor(104, 154, 228)},
                          {1.0, QColor(52, 98, 170)}});
    pressed.border = QColor(46, 76, 128);
    ArrowButtonRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::ScrollBarButtonImage);
    recipe.bounds = QRectF(QPointF(0, 0), recipe.frame);
    recipe.shape = Shape{Shape::Round, 2.0};
    recipe.faces = {normal, over, pressed};
    recipe.arrows = {grey(70), QColor(30, 56, 104), Qt::white};
    recipe.arrowHeight = 4;
    recipe.behind = Behind{kScrollBackground, false};
    return arrowButtonStrip(recipe);
}

QImage scrollThumb()
{
    Face f;
    f.base = stops({{0.0, QColor(74, 126, 204)}, {0.25, QColor(140, 186, 244)},
                    {0.5, QColor(176, 212, 252)}, {0.75, QColor(140, 186, 244)},
                    {1.0, QColor(74, 126, 204)}});
    f.border = QColor(46, 80, 136);
    ThumbRecipe recipe;
    recipe.slice = frameSize(kLook, KavKey::ScrollBarSliderImage);
    recipe.bounds = QRectF(0.5, 1, 32, 14);
    recipe.shape = Shape{Shape::Round, 7.0};
    recipe.face = f;
    recipe.behind = Behind{kScrollBackground, false};
    return thumbStrip(recipe);
}

QImage tabs()
{
    TabRecipe recipe;
    recipe.frame = frameSize(kLook, KavKey::TabControlTabImage);
    recipe.shape = Shape{Shape::TopRound, 5.0};
    Face selected = face(QColor(196, 222, 252), QColor(118, 168, 238), QColor(56, 90, 146));
    selected.gloss = 0.6;
    selected.glossEnd = 0.45;
    Face other = face(grey(250), grey(214), grey(140));
    other.gloss = 0.5;
    other.glossEnd = 0.45;
    recipe.selected = selected;
    recipe.other = other;
    recipe.behind = Behind{kBackground, true};
    return tabStrip(recipe);
}

Profile tabLineRows()
{
    Profile rows;
    rows.append(QColor(56, 90, 146));
    for (const QColor &c : sampleRows(5, {{0.0, QColor(118, 168, 238)}, {1.0, QColor(96, 146, 224)}}))
        rows.append(c);
    rows.append(QColor(56, 90, 146));
    return rows; // 7 rows
}

} // namespace

void addMacOSLook(Pictures &out)
{
    // Nine-part drawing keeps a button's corners at most half its size, so the arrow buttons
    // (16 x 11) show only the outer 8 x 5 of each corner: the corners are rounded within that,
    // where a capsule's ends would come apart into a diamond. The glow runs evenly along the
    // bottom, so that the stretched middle of a button matches what its corners hold.
    ButtonRecipe button;
    button.frame = frameSize(kLook, KavKey::ButtonImage);
    button.shape = Shape{Shape::Round, 6.0};
    button.faces = {whiteCapsule(), aqua(), aquaPressed()};
    for (Face &f : button.faces)
        f.glowEven = true;
    button.behind = Behind{kBackground, true};
    out["MACOS_BUTTON"] = buttonStrip(button);

    // Check boxes are drawn opaque, so every pixel of their frames shows wherever the box stands
    // (white panels, grey forms, pictures behind a transparent check box): the box fills its
    // frame edge to edge, with square corners, and holds no colour of a background.
    const QSize checkFrame = frameSize(kLook, KavKey::CheckBoxImage);
    out["MACOS_CHECKBOX"] =
        checkBoxes(checkFrame, QRectF(QPointF(0, 0), checkFrame), QRect(3, 4, 9, 9), 0.0);
    out["MACOS_RADIOBUTTON"] = radioButtons();
    out["MACOS_TITLEBTN"] = titleButtons();

    const Profile title = titleRows();
    out["MACOS_TITLE_LEFT"] = columnPicture(pictureSize(kLook, KavKey::TitleBarLeftImage), title);
    out["MACOS_TITLE_CLIENT"] =
        columnPicture(pictureSize(kLook, KavKey::TitleBarClientImage), title);
    out["MACOS_TITLE_RIGHT"] = columnPicture(pictureSize(kLook, KavKey::TitleBarRightImage), title);

    out["MACOS_PROGRESSBAR"] = columnPicture(
        pictureSize(kLook, KavKey::ProgressBarImage),
        {{0.0, QColor(190, 222, 252)}, {0.45, QColor(120, 172, 240)},
         {0.5, QColor(76, 136, 224)}, {1.0, QColor(150, 206, 255)}});

    Face groove = face(grey(150), grey(218), grey(112));
    const QSize groovePicture = pictureSize(kLook, KavKey::TrackBarBarImage);
    out["MACOS_TRACKBAR_BAR"] = threePartBar(groovePicture, QRectF(QPointF(0, 0), groovePicture),
                                             Shape{Shape::Round, 2.5}, groove,
                                             Behind{kBackground, true});
    Face slider = aqua();
    slider.gloss = 0.7;
    slider.glossEnd = 0.45;
    out["MACOS_TRACKBAR_SLIDER"] =
        sliderPicture(pictureSize(kLook, KavKey::TrackBarSliderImage),
                      Shape{Shape::Pointer, 2.5, 5.0}, slider, Behind{kBackground, true});
    out["MACOS_TRACKBAR_SLIDER_V"] =
        sliderPictureVertical(pictureSize(kLook, KavKey::TrackBarSliderVImage),
                              Shape{Shape::Pointer, 2.5, 5.0}, slider, kBackground);

    out["MACOS_SCROLLBAR_BUTTON"] = scrollArrows();
    out["MACOS_SCROLLBAR_TRACK"] = scrollThumb();
    // Drawn like the check box strip, so with as many frames.
    out["MACOS_CHECKLIST"] = checkBoxes(
        stripFrame(pictureSize(kLook, KavKey::CheckListBoxImage),
                   Kav::KavThemeKeyFrameCount(KavKey::CheckBoxImage)),
        QRectF(0, 1, 10, 10), QRect(2, 3, 7, 7), 2.0);

    ScrollButtonRecipe scroll;
    scroll.frame = frameSize(kLook, KavKey::ScrollButtonImage);
    scroll.bounds = QRectF(1, 1, 16, 16);
    scroll.shape = Shape{Shape::Ellipse};
    scroll.normal = whiteCapsule();
    scroll.over = aqua();
    scroll.arrow = grey(70);
    scroll.arrowOver = QColor(20, 40, 80);
    scroll.arrowHeight = 4;
    scroll.behind = Behind{kBackground, true};
    out["MACOS_SCROLLBUTTON"] = scrollButtonStrip(scroll);

    out["MACOS_TAB"] = tabs();
    out["MACOS_TAB_LINE"] =
        columnPicture(pictureSize(kLook, KavKey::TabControlBarImage), tabLineRows());

    out["MACOS_SIDECHENNEL_HANDLE"] =
        handlePicture(pictureSize(kLook, KavKey::SideChannelHandleImage), whiteCapsule(), grey(96),
                      Behind{kBackground, true});
    Profile bar;
    bar.append(grey(127));
    for (const QColor &c : sampleRows(19, {{0.0, grey(252)}, {0.5, grey(236)}, {0.52, grey(226)},
                                           {1.0, grey(242)}}))
        bar.append(c);
    bar.append(grey(170));
    out["MACOS_SIDECHENNEL_BAR"] =
        columnPicture(pictureSize(kLook, KavKey::SideChannelBarImage), bar);

    // Fixed-name pictures of this look.
    QImage stripes = scaledImage(fixedPictureSize("MACOS_FORM_BACKGROUND"), QImage::Format_RGB32);
    // Pinstripes: a light row and a darker one. Twice as dense, the darker line fades into the
    // light one below it, so it reads as a fine line rather than a band.
    const QRgb light = qRgb(237, 237, 237), dark = qRgb(228, 228, 228), fading = qRgb(232, 232, 232);
    for (int y = 0; y < stripes.height(); ++y) {
        const bool darkRow = (y / scale()) % 2 == 1;
        const bool lowerHalf = scale() > 1 && y % scale() == scale() - 1;
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, !darkRow ? light : lowerHalf ? fading : dark);
    }
    out["MACOS_FORM_BACKGROUND"] = stripes;

    // A gradient painted as such (not row by row): its steps are one grey level apart, finer
    // than a row-by-row profile can show twice as dense. The last row is the bar's lower edge.
    const QSize menuBarSize = fixedPictureSize("MACOS_MENU_BAR");
    const qreal edge = 1.0 - 1.0 / menuBarSize.height();
    out["MACOS_MENU_BAR"] = columnPicture(
        menuBarSize, {{0.0, grey(250)}, {edge - 0.001, grey(230)}, {edge, grey(176)}, {1.0, grey(176)}});
    out["MACOS_MENU_SELECT"] = columnPicture(
        fixedPictureSize("MACOS_MENU_SELECT"),
        {{0.0, QColor(112, 162, 236)}, {0.48, QColor(74, 128, 216)},
         {0.5, QColor(52, 106, 200)}, {1.0, QColor(82, 144, 228)}});

    Face combo = aqua();
    combo.gloss = 0.6;
    out["MACOS_COMBOBOX_BUTTON"] = sliderPicture(fixedPictureSize("MACOS_COMBOBOX_BUTTON"),
                                                 Shape{Shape::Round, 0.0}, combo,
                                                 Behind{kBackground, false});
}

} // namespace lookgen
