#include "Pieces.h"

#include <QPainter>

namespace lookgen {

QImage finish(const QImage &argb, const Behind &behind)
{
    return behind.keyed ? keyed(argb, behind.colour) : flatten(argb, behind.colour);
}

QImage buttonStrip(const ButtonRecipe &recipe)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, recipe.frame.width(), recipe.frame.height());
    for (const Face &f : recipe.faces) {
        QImage image = canvas(recipe.frame.width(), recipe.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, recipe.shape, bounds, f);
        p.end();
        frames.append(finish(image, recipe.behind));
    }
    return strip(frames);
}

QImage boxStrip(const BoxRecipe &recipe)
{
    QList<QImage> frames;
    const struct {
        const Face *face;
        bool checked;
        bool enabled;
    } states[4] = {{&recipe.on, true, true},
                   {&recipe.off, false, true},
                   {&recipe.onDisabled, true, false},
                   {&recipe.offDisabled, false, false}};
    for (const auto &state : states) {
        QImage image = canvas(recipe.frame.width(), recipe.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, recipe.shape, recipe.bounds, *state.face);
        if (state.checked)
            drawGlyph(p, recipe.mark, recipe.markBox,
                      state.enabled ? recipe.markColour : recipe.markDisabled, recipe.weight);
        p.end();
        frames.append(finish(image, recipe.behind));
    }
    return strip(frames);
}

Glyph titleGlyph(TitleKind kind)
{
    switch (kind) {
    case TitleKind::ControlBox:
        return Glyph::Window;
    case TitleKind::Help:
        return Glyph::Help;
    case TitleKind::Maximise:
        return Glyph::Maximise;
    case TitleKind::Restore:
        return Glyph::Restore;
    case TitleKind::Minimise:
        return Glyph::Minimise;
    case TitleKind::Close:
        return Glyph::Close;
    }
    return Glyph::Close;
}

QImage titleButtonStrip(const TitleButtonRecipe &recipe)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, recipe.frame.width(), recipe.frame.height());
    const TitleKind kinds[] = {TitleKind::ControlBox, TitleKind::Help,     TitleKind::Maximise,
                               TitleKind::Restore,    TitleKind::Minimise, TitleKind::Close};
    for (TitleKind kind : kinds) {
        for (int state = 0; state < 3; ++state) {
            QImage image = canvas(recipe.frame.width(), recipe.frame.height());
            if (!recipe.rows.isEmpty())
                fillProfile(image, recipe.rows);
            QPainter p;
            beginPainter(p, image);
            recipe.paint(p, kind, state, bounds);
            p.end();
            frames.append(recipe.rows.isEmpty() ? finish(image, recipe.behind)
                                              : flatten(image, recipe.rows.first()));
        }
    }
    return strip(frames);
}

QImage arrowButtonStrip(const ArrowButtonRecipe &recipe)
{
    QList<QImage> frames;
    for (Glyph arrow : {Glyph::ArrowUp, Glyph::ArrowDown}) {
        for (int state = 0; state < 3; ++state) {
            QImage image = canvas(recipe.frame.width(), recipe.frame.height());
            QPainter p;
            beginPainter(p, image);
            paintFace(p, recipe.shape, recipe.bounds, recipe.faces[state]);
            // Pressed arrows move down and right by one pixel, like a pushed key.
            const int shift = state == 2 ? 1 : 0;
            drawArrow(p, arrow, recipe.bounds.toRect().translated(shift, shift), recipe.arrowHeight,
                      recipe.arrows[state]);
            p.end();
            frames.append(finish(image, recipe.behind));
        }
    }
    return strip(frames);
}

QImage thumbStrip(const ThumbRecipe &recipe)
{
    const int sliceWidth = recipe.slice.width();
    const int height = recipe.slice.height();
    QImage image = canvas(sliceWidth * 3, height);
    QPainter p;
    beginPainter(p, image);
    paintFace(p, recipe.shape, recipe.bounds, recipe.face);
    if (recipe.grip.isValid()) {
        // Two short grip lines on each end slice; the stretched body stays plain.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int top = int(recipe.bounds.top()) + height / 4 + 1;
        const int bottom = int(recipe.bounds.bottom()) - height / 4 - 1;
        for (int x : {sliceWidth - 3, 2 * sliceWidth + 1}) {
            p.fillRect(QRect(x, top, 1, bottom - top), recipe.grip);
            p.fillRect(QRect(x + 1, top, 1, bottom - top), withAlpha(lighter(recipe.grip, 0.9), 150));
        }
    }
    p.end();
    return finish(image, recipe.behind);
}

QImage threePartBar(QSize size, const QRectF &bounds, const Shape &shape, const Face &face,
                    const Behind &behind)
{
    const int partWidth = size.width() / 3;
    QImage image = canvas(size.width(), size.height());
    QPainter p;
    beginPainter(p, image);
    paintFace(p, shape, bounds, face);
    p.end();
    QImage bar = finish(image, behind);
    // The stretched middle part is drawn without a key, so it must hold none.
    for (int y = 0; y < bar.height(); ++y)
        for (int x = partWidth * scale(); x < 2 * partWidth * scale(); ++x)
            if (bar.pixel(x, y) == kMagenta)
                bar.setPixel(x, y, behind.colour.rgb());
    return bar;
}

QImage sliderPicture(QSize size, const Shape &shape, const Face &face, const Behind &behind)
{
    QImage image = canvas(size.width(), size.height());
    QPainter p;
    beginPainter(p, image);
    paintFace(p, shape, QRectF(0, 0, size.width(), size.height()), face);
    p.end();
    return finish(image, behind);
}

QImage sliderPictureVertical(QSize size, const Shape &shape, const Face &face, QColor background)
{
    // Drawn pointing down in the turned size, then turned so that it points right.
    QImage down = sliderPicture(size.transposed(), shape, face, Behind{background, false});
    return rotatedLeft(down);
}

QImage scrollButtonStrip(const ScrollButtonRecipe &recipe)
{
    QList<QImage> frames;
    const struct {
        Glyph arrow;
        bool over;
    } frameStates[4] = {{Glyph::ArrowRight, false},
                        {Glyph::ArrowRight, true},
                        {Glyph::ArrowLeft, false},
                        {Glyph::ArrowLeft, true}};
    for (const auto &state : frameStates) {
        QImage image = canvas(recipe.frame.width(), recipe.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, recipe.shape, recipe.bounds, state.over ? recipe.over : recipe.normal);
        drawArrow(p, state.arrow, recipe.bounds.toRect(), recipe.arrowHeight,
                  state.over ? recipe.arrowOver : recipe.arrow);
        p.end();
        frames.append(finish(image, recipe.behind));
    }
    return strip(frames);
}

QImage tabStrip(const TabRecipe &recipe)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, recipe.frame.width(), recipe.frame.height());
    for (bool selected : {true, false}) {
        QImage image = canvas(recipe.frame.width(), recipe.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, recipe.shape, bounds, selected ? recipe.selected : recipe.other);
        if (recipe.decorate) {
            p.setClipPath(recipe.shape.path(bounds, 1.0));
            recipe.decorate(p, selected, bounds);
        }
        p.end();
        QImage frame = finish(image, recipe.behind);
        // The stretched middle part is drawn without a key, so it must hold none.
        const int part = recipe.frame.width() / 3;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = part * scale(); x < 2 * part * scale(); ++x)
                if (frame.pixel(x, y) == kMagenta)
                    frame.setPixel(x, y, recipe.behind.colour.rgb());
        frames.append(frame);
    }
    return strip(frames);
}

QImage columnPicture(QSize size, Stops rows)
{
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    p.fillRect(image.rect(), vertical(QRectF(0, 0, size.width(), size.height()), rows));
    p.end();
    return flatten(image, Qt::white);
}

QImage columnPicture(QSize size, const Profile &rows)
{
    QImage image = scaledImage(size, QImage::Format_RGB32);
    fillProfile(image, rows);
    return image;
}

QImage handlePicture(QSize size, const Face &face, QColor grip, const Behind &behind)
{
    QImage image = canvas(size.width(), size.height());
    QPainter p;
    beginPainter(p, image);
    const QRectF bounds(0, 0, size.width(), size.height());
    Shape shape{Shape::Round, 3.0};
    paintFace(p, shape, bounds, face);
    const int cy = size.height() / 2;
    p.setRenderHint(QPainter::Antialiasing, false);
    // Grip lines above and below a small arrow that points into the channel.
    for (int i = 1; i <= 3; ++i) {
        for (int sign : {-1, 1}) {
            const int y = cy + sign * (6 + i * 3);
            p.fillRect(QRect(2, y, size.width() - 4, 1), grip);
            p.fillRect(QRect(2, y + 1, size.width() - 4, 1), lighter(grip, 0.85));
        }
    }
    drawArrow(p, Glyph::ArrowLeft, QRect(0, cy - 4, size.width(), 8), 3, grip);
    p.end();
    return finish(image, behind);
}

BoxRecipe boxStripRecipe(QSize frame, Shape shape, bool keyedCorners, const BoxColours &colours)
{
    BoxRecipe recipe;
    recipe.frame = frame;
    recipe.bounds = QRectF(0, 0, frame.width(), frame.height());
    recipe.shape = shape;
    recipe.on = recipe.off = colours.enabled;
    recipe.onDisabled = recipe.offDisabled = colours.disabled;
    recipe.markColour = colours.mark;
    recipe.markDisabled = colours.markDisabled;
    recipe.behind = Behind{colours.background, keyedCorners};
    return recipe;
}

} // namespace lookgen
