#include "KAVMemo.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

TkavMemo::TkavMemo(QWidget *parent) : QPlainTextEdit(parent), m_bars(new TkavAttachedScrollBars(this))
{
    // A plain frame only keeps the border's room around the text and Qt's bars (a frame's width is
    // how a scroll area leaves a margin); the skinned border is painted over it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(Kav::Metrics::MemoBorderWidth);
    setTabChangesFocus(true);
    connect(m_bars, &TkavAttachedScrollBars::barsChanged, this, [this] { UpdateInnerScrollBars(); });
    connect(m_bars, &TkavAttachedScrollBars::roomChanged, this, [this] { applyScrollBars(); });
    // The text scrolls itself to follow the cursor with its bars' signals blocked; every scroll
    // of the text area is announced here, whatever moved it.
    connect(this, &QPlainTextEdit::updateRequest, m_bars, [this](const QRect &, int dy) {
        if (dy != 0)
            m_bars->synchronise();
    });
    applyScrollBars();
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

TkavMemo::~TkavMemo()
{
    // Qt's bars and the text go after this; nothing may be mirrored into the bars from a memo
    // that is half gone.
    delete m_bars;
}

// --- Look -------------------------------------------------------------------------------------

void TkavMemo::applyLook(const KavThemeValues &values)
{
    m_borderColor = values.color(KavKey::ControlBorderColor);
    for (TkavScrollBar *bar : {VScrollBar(), HScrollBar()}) {
        if (!bar)
            continue;
        // The bars are handed the file theme when it is assigned, and the look each time.
        if (m_look.applyingFileTheme())
            bar->setFileTheme(FileTheme());
        bar->setUIStyle(values.resolvedStyle());
    }
    update();
}

void TkavMemo::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavMemo::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavMemo::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
    update();
}

// --- Text -------------------------------------------------------------------------------------

QStringList TkavMemo::Lines() const
{
    const QString text = toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TkavMemo::setLines(const QStringList &lines)
{
    setPlainText(lines.join(QLatin1Char('\n')));
}

void TkavMemo::setWordWrap(bool wordWrap)
{
    setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

// --- Scroll bars ------------------------------------------------------------------------------

TkavScrollBar *TkavMemo::VScrollBar() const
{
    return m_bars->bar(Qt::Vertical);
}

void TkavMemo::setVScrollBar(TkavScrollBar *bar)
{
    if (bar && FileTheme())
        bar->setFileTheme(FileTheme());
    m_bars->setBar(Qt::Vertical, bar);
}

TkavScrollBar *TkavMemo::HScrollBar() const
{
    return m_bars->bar(Qt::Horizontal);
}

void TkavMemo::setHScrollBar(TkavScrollBar *bar)
{
    if (bar && FileTheme())
        bar->setFileTheme(FileTheme());
    m_bars->setBar(Qt::Horizontal, bar);
}

void TkavMemo::setScrollBars(TScrollStyle scrollBars)
{
    m_scrollBars = scrollBars;
    applyScrollBars();
}

void TkavMemo::UpdateInnerScrollBars()
{
    // Qt's bars in the attached directions keep the scroll state the skinned ones show.
    const bool vertical = VScrollBar() != nullptr, horizontal = HScrollBar() != nullptr;
    m_scrollBars = vertical && horizontal ? ssBoth : vertical ? ssVertical : horizontal ? ssHorizontal : ssNone;
    applyScrollBars();
}

void TkavMemo::applyScrollBars()
{
    const bool vertical = m_scrollBars == ssVertical || m_scrollBars == ssBoth;
    const bool horizontal = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    // Qt's own bar shows only where no skinned bar stands in for it.
    setVerticalScrollBarPolicy(vertical && !VScrollBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal && !HScrollBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QMargins room = m_bars->reservedMargins();
    if (viewportMargins() != room)
        setViewportMargins(room);
    m_bars->synchronise();
}

// --- Events -----------------------------------------------------------------------------------

void TkavMemo::paintBorder()
{
    QPainter painter(this);
    // Where both attached bars meet, the square between them is the memo's own: in its colour,
    // not the window's (which Qt fills the room it keeps for the bars with).
    const TkavScrollBar *vertical = VScrollBar(), *horizontal = HScrollBar();
    if (vertical && horizontal && vertical->isVisible() && horizontal->isVisible()) {
        const QRect corner(vertical->x() - x(), horizontal->y() - y(), vertical->width(), horizontal->height());
        painter.fillRect(corner.intersected(rect().adjusted(2, 2, -2, -2)), Color().resolved(palette()));
    }
    DrawControlBorder(this, painter, m_borderColor, Color(), true);
}

bool TkavMemo::event(QEvent *event)
{
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint)
        paintBorder();
    return handled;
}

void TkavMemo::resizeEvent(QResizeEvent *event)
{
    // Also reached when the text area alone changes size: Qt's bars take a new page step then,
    // which they do not signal.
    QPlainTextEdit::resizeEvent(event);
    m_bars->synchronise();
}

void TkavMemo::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && !m_wantReturns && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    m_bars->synchronise();
}

void TkavMemo::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::FontChange:
        m_bars->synchronise();
        break;
    default:
        break;
    }
}
