// Pictures that belong to no single look: the tab scroll buttons that DeepBlue, Protein and
// BlueGlass share, the menu check mark, the MDI child's control buttons, the panel caption's
// roll-up button, the pop-up notification window and the data navigator's button marks.

#include "Looks.h"

namespace lookgen {

namespace {

QImage moreScrollButtons()
{
    ScrollButtonRecipe recipe;
    // The looks that share this picture all give it one size; DeepBlue stands for them.
    recipe.frame = frameSize(TkavUIStyle::DeepBlue, KavKey::ScrollButtonImage);
    recipe.bounds = QRectF(1, 0.5, 16, 16);
    recipe.shape = Shape{Shape::Ellipse};
    recipe.normal = face(QColor(252, 252, 253), QColor(212, 216, 226), QColor(118, 126, 146));
    recipe.normal.gloss = 0.5;
    recipe.normal.glossEnd = 0.5;
    recipe.over = face(QColor(236, 244, 255), QColor(160, 194, 246), QColor(46, 86, 170));
    recipe.over.gloss = 0.6;
    recipe.over.glossEnd = 0.5;
    recipe.arrow = QColor(60, 66, 82);
    recipe.arrowOver = QColor(20, 40, 104);
    recipe.arrowHeight = 4;
    recipe.behind = Behind{QColor(232, 232, 232), true};
    return scrollButtonStrip(recipe);
}

// White is the menu check mark's transparent colour.
QImage menuCheck()
{
    const QSize size = fixedPictureSize("MENU_CHECKED");
    QImage image = canvas(size.width(), size.height());
    QPainter p;
    beginPainter(p, image);
    drawGlyph(p, Glyph::Check, QRect(3, 3, 10, 10), QColor(24, 24, 24), 2);
    p.end();
    return keyed(image, QColor(200, 200, 200), 0xFFFFFFFF);
}

// Minimise, restore and close for a maximised MDI child: black marks, the rest keyed.
QImage mdiButtons()
{
    const QSize frame = fixedFrameSize("MDI_CONTROL_BUTTON");
    QList<QImage> frames;
    for (Glyph g : {Glyph::Minimise, Glyph::Restore, Glyph::Close}) {
        QImage image = canvas(frame.width(), frame.height());
        QPainter p;
        beginPainter(p, image);
        drawGlyph(p, g, QRect(3, 3, 10, 10), Qt::black, 1);
        p.end();
        frames.append(keyed(image, QColor(212, 208, 200)));
    }
    return strip(frames);
}

// Square plates, so they sit well on every look's caption bar: chevrons up while the panel is
// open, down while it is rolled up, each also highlighted for the mouse.
QImage panelButtons()
{
    const QSize frame = fixedFrameSize("PANEL_BUTTON");
    const QRect bounds(QPoint(0, 0), frame);
    QList<QImage> frames;
    for (Glyph g : {Glyph::DoubleUp, Glyph::DoubleDown}) {
        for (bool over : {false, true}) {
            QImage image = canvas(frame.width(), frame.height());
            QPainter p;
            beginPainter(p, image);
            Face f = over ? face(Qt::white, QColor(204, 222, 252), QColor(46, 96, 200))
                          : face(QColor(252, 252, 252), QColor(222, 226, 234), QColor(112, 120, 140));
            paintFace(p, Shape{Shape::Round, 0.0}, QRectF(bounds), f);
            drawGlyph(p, g, bounds, over ? QColor(24, 60, 170) : QColor(60, 68, 88));
            p.end();
            frames.append(flatten(image, Qt::white));
        }
    }
    return strip(frames);
}

// The notification window: a light blue card with a title band and a close box at
// (162, 6)-(175, 19), where the window takes clicks as "close".
QImage popupWindow()
{
    const QSize size = fixedPictureSize("MSNPOPFORM");
    const QRectF all(QPointF(0, 0), size);
    QImage image = canvas(size.width(), size.height());
    QPainter p;
    beginPainter(p, image);
    p.fillRect(all, vertical(all, {{0.0, QColor(246, 250, 255)}, {1.0, QColor(206, 222, 250)}}));
    QRadialGradient shine(QPointF(150, 110), 90);
    shine.setColorAt(0.0, QColor(255, 255, 255, 150));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(all, shine);
    const QRectF band(1, 1, size.width() - 2, 25);
    p.fillRect(band, vertical(band, {{0.0, QColor(214, 230, 255)}, {0.5, QColor(190, 212, 250)},
                                     {0.51, QColor(176, 202, 246)}, {1.0, QColor(196, 216, 250)}}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(1, 26, size.width() - 2, 1), QColor(120, 156, 222));
    p.fillRect(QRect(1, 27, size.width() - 2, 1), QColor(255, 255, 255));
    p.setPen(QColor(70, 110, 190));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    p.setRenderHint(QPainter::Antialiasing, true);
    Face box = face(QColor(250, 252, 255), QColor(204, 220, 248), QColor(70, 100, 170));
    paintFace(p, Shape{Shape::Round, 2.0}, QRectF(162, 6, 14, 14), box);
    drawGlyph(p, Glyph::Close, QRect(164, 8, 10, 10), QColor(20, 40, 100), 1);
    p.end();
    return flatten(image, Qt::white);
}


// The data navigator's ten marks, 16 x 16 each: first, prior, next, last, insert, delete, edit,
// post, cancel, refresh. Dark marks on whole pixels; the rest keyed (magenta, the top-left pixel).
QImage navigatorGlyphs()
{
    const QSize frame = fixedFrameSize("DBNAV_BUTTON");
    const QColor ink(24, 32, 48);
    const QColor behind(212, 208, 200);
    const auto fill = [&](QPainter &p, const QRect &r) { p.fillRect(r, ink); };
    QList<QImage> frames;
    for (int index = 0; index < 10; ++index) {
        QImage image = canvas(frame.width(), frame.height());
        QPainter p;
        beginPainter(p, image);
        p.setRenderHint(QPainter::Antialiasing, false);
        switch (index) {
        case 0: // first: a bar, then an arrow to the left
            fill(p, QRect(3, 3, 2, 10));
            drawArrow(p, Glyph::ArrowLeft, QRect(5, 0, 8, 16), 5, ink);
            break;
        case 1: // prior
            drawArrow(p, Glyph::ArrowLeft, QRect(0, 0, 16, 16), 5, ink);
            break;
        case 2: // next
            drawArrow(p, Glyph::ArrowRight, QRect(0, 0, 16, 16), 5, ink);
            break;
        case 3: // last: an arrow to the right, then a bar
            drawArrow(p, Glyph::ArrowRight, QRect(3, 0, 8, 16), 5, ink);
            fill(p, QRect(11, 3, 2, 10));
            break;
        case 4: // insert: a plus
            fill(p, QRect(7, 3, 2, 10));
            fill(p, QRect(3, 7, 10, 2));
            break;
        case 5: // delete: a minus
            fill(p, QRect(3, 7, 10, 2));
            break;
        case 6: // edit: a triangle pointing up
            drawArrow(p, Glyph::ArrowUp, QRect(0, 0, 16, 16), 5, ink);
            break;
        case 7: // post: a check mark
            drawGlyph(p, Glyph::Check, QRect(3, 3, 10, 10), ink, 2);
            break;
        case 8: // cancel: a cross
            drawGlyph(p, Glyph::Close, QRect(3, 3, 10, 10), ink, 2);
            break;
        default: { // refresh: three quarters of a ring, with an arrow head at its open end
            p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRect(3, 3, 10, 10), 90 * 16, 270 * 16);
            fill(p, QRect(8, 1, 1, 5));
            fill(p, QRect(9, 2, 1, 3));
            fill(p, QRect(10, 3, 1, 1));
            break;
        }
        }
        p.end();
        frames.append(keyed(image, behind));
    }
    return strip(frames);
}

} // namespace

void addSharedPictures(Pictures &out)
{
    out["MORE_SCROLLBUTTON"] = moreScrollButtons();
    out["MENU_CHECKED"] = menuCheck();
    out["MDI_CONTROL_BUTTON"] = mdiButtons();
    out["PANEL_BUTTON"] = panelButtons();
    out["MSNPOPFORM"] = popupWindow();
    out["DBNAV_BUTTON"] = navigatorGlyphs();
}

} // namespace lookgen
