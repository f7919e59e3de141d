#pragma once

#include "KAVColor.h"
#include "KAVComposer.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QWidget>

// How a control sits in its parent (Align) and how a caption sits in its line (Alignment).
//
// Qt widgets have no Align of their own; ours works like this:
// - When the parent has no QLayout, a control whose Align is not alNone is placed by its parent's
//   contents rectangle (QWidget::contentsRect(), i.e. less the parent's contents margins): every
//   alTop control from the top down and every alBottom control from the bottom up, each across
//   the whole width and keeping its height; then alLeft and alRight controls in what is left,
//   over its whole height and keeping their widths; alClient controls take the rest. Controls
//   are taken in creation order; hidden ones take no room. This is redone whenever the parent is
//   resized and whenever an aligned control changes its Align, size or visibility.
// - When the parent has a QLayout (or is a QSplitter), the layout places the control and Align
//   does not move it. Align still says which sides the parent decides: a panel aligned alLeft,
//   alRight or alClient cannot be rolled up, and AutoSize leaves those sides alone.
namespace KavLayout {
Q_NAMESPACE

enum TAlign : quint8 { alNone = 0, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

enum TAlignment : quint8 { taLeftJustify = 0, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

// Places the direct children of container that publish an "Align" property within client, as
// described above. Children whose Align is alNone (or that have none) are left alone.
void KavAlignControls(QWidget *container, const QRect &client);
} // namespace KavLayout

using KavLayout::TAlign;
using KavLayout::TAlignment;

namespace Kav {
// Sets one colour of widget's own palette, unless the widget already has that very colour as its
// own: a palette change is handed down to every child, which a look switch of many controls must
// not pay for nothing.
void KavUpdatePaletteColor(QWidget *widget, QPalette::ColorRole role, TColor color);
} // namespace Kav

// What every panel has from the windowing layer: a place in its parent by Align, a background
// Color, its Font, the mouse events and OnResize. Qt has no such panel, so the skinned panels
// stand on this one. A panel composes its face off screen in paintPanel, over its backdrop, and
// shows it in one go (Kav::KavPaintFace).
//
// Color lives in the panel's palette (QPalette::Window), so the controls inside it that keep
// their parent's colour (ParentColor) take it by Qt's palette inheritance.
class TkavPlatformPanel : public QWidget, public Kav::KavFaceSource {
    Q_OBJECT
    Q_PROPERTY(KavLayout::TAlign Align READ Align WRITE setAlign)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)

public:
    TAlign Align() const { return m_align; }
    void setAlign(TAlign align);
    // Whether Align leaves the panel's width (alTop, alBottom, alClient) or its height (alLeft,
    // alRight, alClient) to the parent.
    bool parentSetsWidth() const;
    bool parentSetsHeight() const;

    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    void paintOwnFace(QPainter &painter, const QRect &part) const override;

Q_SIGNALS:
    void OnClick(QObject *sender);
    void OnDblClick(QObject *sender);
    void OnMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                     int y);
    void OnMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                   int y);
    void OnResize(QObject *sender);

protected:
    explicit TkavPlatformPanel(QWidget *parent);

    // What the face is composed over: Color by default.
    virtual Kav::Backdrop backdrop() const;
    // Composes the panel's face onto canvas (of the panel's size, the backdrop already there).
    // Painting only reads the panel.
    virtual void paintPanel(QImage &canvas) const = 0;
    // Called after Align has changed and the panel has been placed by it.
    virtual void AlignChanged();

    // Places the aligned children within the contents rectangle, unless a layout places them.
    void alignChildren();
    // Whether the parent places the panel itself (a layout or a splitter), so Align must not.
    bool placedByLayout() const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The panel and its aligned siblings within the parent, unless the parent's layout places them.
    void alignInParent();
    // An aligned panel watches its parent's size (through its eventFilter) to follow it.
    void watchParent(bool watch);
    // The first child of the parent that has an Align (the one that aligns them all).
    const QWidget *firstAlignedSibling() const;

    TAlign m_align = KavLayout::alNone;
    bool m_pressed = false;
};
