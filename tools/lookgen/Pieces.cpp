#include "Pieces.h"

#include <QPainter>

namespace lookgen {

QImage finish(const QImage &argb, const Behind &behind)
{
    return behind.keyed ? keyed(argb, behind.colour) : flatten(argb, behind.colour);
}

QImage buttonStrip(const ButtonSpec &spec)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, spec.frame.width(), spec.frame.height());
    for (const Face &f : spec.faces) {
        QImage image = canvas(spec.frame.width(), spec.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, spec.shape, bounds, f);
        p.end();
        frames.append(finish(image, spec.behind));
    }
    return strip(frames);
}

QImage boxStrip(const BoxSpec &spec)
{
    QList<QImage> frames;
    const struct {
        const Face *face;
        bool checked;
        bool enabled;
    } states[4] = {{&spec.on, true, true},
                   {&spec.off, false, true},
                   {&spec.onDisabled, true, false},
                   {&spec.offDisabled, false, false}};
    for (const auto &state : states) {
        QImage image = canvas(spec.frame.width(), spec.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, spec.shape, spec.bounds, *state.face);
        if (state.checked)
            drawGlyph(p, spec.mark, spec.markBox,
                      state.enabled ? spec.markColour : spec.markDisabled, spec.weight);
        p.end();
        frames.append(finish(image, spec.behind));
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

QImage titleButtonStrip(const TitleButtonSpec &spec)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, spec.frame.width(), spec.frame.height());
    const TitleKind kinds[] = {TitleKind::ControlBox, TitleKind::Help,     TitleKind::Maximise,
                               TitleKind::Restore,    TitleKind::Minimise, TitleKind::Close};
    for (TitleKind kind : kinds) {
        for (int state = 0; state < 3; ++state) {
            QImage image = canvas(spec.frame.width(), spec.frame.height());
            if (!spec.rows.isEmpty())
                fillProfile(image, spec.rows);
            QPainter p;
            beginPainter(p, image);
            spec.paint(p, kind, state, bounds);
            p.end();
            frames.append(spec.rows.isEmpty() ? finish(image, spec.behind)
                                              : flatten(image, spec.rows.first()));
        }
    }
    return strip(frames);
}

QImage arrowButtonStrip(const ArrowButtonSpec &spec)
{
    QList<QImage> frames;
    for (Glyph arrow : {Glyph::ArrowUp, Glyph::ArrowDown}) {
        for (int state = 0; state < 3; ++state) {
            QImage image = canvas(spec.frame.width(), spec.frame.height());
            QPainter p;
            beginPainter(p, image);
            paintFace(p, spec.shape, spec.bounds, spec.faces[state]);
            // Pressed arrows move down and right by one pixel, like a pushed key.
            const int shift = state == 2 ? 1 : 0;
            drawArrow(p, arrow, spec.bounds.toRect().translated(shift, shift), spec.arrowHeight,
                      spec.arrows[state]);
            p.end();
            frames.append(finish(image, spec.behind));
        }
    }
    return strip(frames);
}

QImage thumbStrip(const ThumbSpec &spec)
{
    const int width = spec.sliceWidth * 3;
    QImage image = canvas(width, spec.height);
    QPainter p;
    beginPainter(p, image);
    paintFace(p, spec.shape, spec.bounds, spec.face);
    if (spec.grip.isValid()) {
        // Two short grip lines on each end slice; the stretched body stays plain.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int top = int(spec.bounds.top()) + spec.height / 4 + 1;
        const int bottom = int(spec.bounds.bottom()) - spec.height / 4 - 1;
        for (int x : {spec.sliceWidth - 3, 2 * spec.sliceWidth + 1}) {
            p.fillRect(QRect(x, top, 1, bottom - top), spec.grip);
            p.fillRect(QRect(x + 1, top, 1, bottom - top), withAlpha(lighter(spec.grip, 0.9), 150));
        }
    }
    p.end();
    return finish(image, spec.behind);
}

QImage threePartBar(int partWidth, int height, const QRectF &bounds, const Shape &shape,
                    const Face &face, const Behind &behind)
{
    QImage image = canvas(partWidth * 3, height);
    QPainter p;
    beginPainter(p, image);
    paintFace(p, shape, bounds, face);
    p.end();
    QImage bar = finish(image, behind);
    // The stretched middle part is drawn without a key, so it must hold none.
    for (int y = 0; y < bar.height(); ++y)
        for (int x = partWidth; x < 2 * partWidth; ++x)
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

QImage scrollButtonStrip(const ScrollButtonSpec &spec)
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
        QImage image = canvas(spec.frame.width(), spec.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, spec.shape, spec.bounds, state.over ? spec.over : spec.normal);
        drawArrow(p, state.arrow, spec.bounds.toRect(), spec.arrowHeight,
                  state.over ? spec.arrowOver : spec.arrow);
        p.end();
        frames.append(finish(image, spec.behind));
    }
    return strip(frames);
}

QImage tabStrip(const TabSpec &spec)
{
    QList<QImage> frames;
    const QRectF bounds(0, 0, spec.frame.width(), spec.frame.height());
    for (bool selected : {true, false}) {
        QImage image = canvas(spec.frame.width(), spec.frame.height());
        QPainter p;
        beginPainter(p, image);
        paintFace(p, spec.shape, bounds, selected ? spec.selected : spec.other);
        if (spec.decorate) {
            p.setClipPath(spec.shape.path(bounds, 1.0));
            spec.decorate(p, selected, bounds);
        }
        p.end();
        QImage frame = finish(image, spec.behind);
        // The stretched middle part is drawn without a key, so it must hold none.
        const int part = spec.frame.width() / 3;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = part; x < 2 * part; ++x)
                if (frame.pixel(x, y) == kMagenta)
                    frame.setPixel(x, y, spec.behind.colour.rgb());
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
    QImage image(size, QImage::Format_RGB32);
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

} // namespace lookgen
