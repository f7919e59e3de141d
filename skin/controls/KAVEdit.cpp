#include "KAVEdit.h"

#include "KAVAccessible.h"
#include "KAVEditMask.h"
#include "KAVErrorBox.h"
#include "KAVFunctions.h"
#include "KAVMetrics.h"
#include "KAVNumberFormat.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QDragEnterEvent>
#include <QMetaMethod>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace Kav {

namespace {

BeepHandler &beepHandler()
{
    static BeepHandler handler;
    return handler;
}

} // namespace

BeepHandler KavSetBeepHandler(BeepHandler handler)
{
    BeepHandler previous = std::move(beepHandler());
    beepHandler() = std::move(handler);
    return previous;
}

void KavMessageBeep(QWidget *control)
{
    if (const BeepHandler &handler = beepHandler())
        handler(control);
    else
        QApplication::beep();
}

} // namespace Kav

namespace {

// What a key types, as the classic key-press handlers saw it: printable text and control
// characters such as backspace, Return and the Ctrl+letter codes. Delete, Escape and Tab type
// nothing there (X reports Delete with the text "\x7f"), nor do keys without text.
QString typedText(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return {};
    default:
        return event->text();
    }
}

// Keys that change the text without typing a character.
bool isEditingKey(QKeyEvent *event)
{
    static const QKeySequence::StandardKey editing[] = {
        QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
        QKeySequence::Delete, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine, QKeySequence::Backspace,
    };
    return event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace
        || std::any_of(std::begin(editing), std::end(editing),
                       [event](QKeySequence::StandardKey key) { return event->matches(key); });
}

// Whether a context-menu entry of QLineEdit's standard menu changes the text. The entries carry
// no names in every Qt version; their texts are Qt's own, translated as Qt translates them.
bool isEditingAction(const QAction *action)
{
    const QString text = action->text().section(u'\t', 0, 0);
    for (const char *source : {"&Undo", "&Redo", "Cu&t", "&Paste", "Delete"}) {
        if (text == QCoreApplication::translate("QLineEdit", source))
            return true;
    }
    return false;
}

bool isPasteAction(const QAction *action)
{
    return action->text().section(u'\t', 0, 0) == QCoreApplication::translate("QLineEdit", "&Paste");
}

// Focus that leaves for a menu or another window, and comes back from there.
bool isAwayReason(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TkavEdit

TkavEdit::TkavEdit(QWidget *parent) : QLineEdit(parent)
{
    Kav::KavInstallAccessibility();
    setFrame(false);
    // Qt's text stays clear of the frame drawn over the edge.
    const int border = Kav::Metrics::EditBorderWidth;
    setTextMargins(border, border, border, border);
    resize(Kav::Metrics::EditSize);
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
    m_look.attach(this, [this](const KavThemeValues &values) {
        m_borderColor = values.color(KavKey::ControlBorderColor);
        UIStyleChanged();
        update();
    });
}

void TkavEdit::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavEdit::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavEdit::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
}

void TkavEdit::setPasswordChar(QChar passwordChar)
{
    m_passwordChar = passwordChar;
    setEchoMode(passwordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TkavEdit::setTabStop(bool tabStop)
{
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

QMenu *TkavEdit::createContextMenu()
{
    QMenu *menu = createStandardContextMenu();
    const bool pasteRefused = !acceptsPaste(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (!acceptsEditing() && isEditingAction(action))
            action->setEnabled(false);
        else if (pasteRefused && isPasteAction(action))
            action->setEnabled(false);
    }
    return menu;
}

void TkavEdit::Change()
{
    Q_EMIT OnChange(this);
}

void TkavEdit::Click()
{
    Q_EMIT OnClick(this);
}

void TkavEdit::DoEnter()
{
    Q_EMIT OnEnter(this);
}

void TkavEdit::DoExit()
{
    Q_EMIT OnExit(this);
}

void TkavEdit::KeyPress(QChar &key)
{
    Q_EMIT OnKeyPress(this, key);
}

void TkavEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    // The inner line takes the colour Qt filled the edit with in this state.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    DrawControlBorder(this, painter, m_borderColor, TColor::fromQColor(option.palette.color(QPalette::Base)),
                      true);
}

void TkavEdit::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT OnKeyDown(this, event->key(), event->modifiers());
    const QString typed = typedText(event);
    QString kept;
    for (const QChar c : typed) {
        QChar key = c;
        KeyPress(key);
        if (!key.isNull())
            kept += key;
    }
    if (!typed.isEmpty() && kept.isEmpty()) {
        // A refused Return or other control character goes on to the window (default buttons,
        // dialog keys); a refused printable character goes nowhere.
        event->setAccepted(typed.at(0).isPrint());
        return;
    }
    // A key that passed as a character may still be a paste (Ctrl+V types "\x16").
    if (!acceptsEditing() && isEditingKey(event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste) && !isReadOnly()
        && !acceptsPaste(QGuiApplication::clipboard()->text(QClipboard::Clipboard))) {
        Kav::KavMessageBeep(this);
        event->accept();
        return;
    }
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                       event->nativeVirtualKey(), event->nativeModifiers(), kept, event->isAutoRepeat(),
                       event->count());
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void TkavEdit::keyReleaseEvent(QKeyEvent *event)
{
    Q_EMIT OnKeyUp(this, event->key(), event->modifiers());
    QLineEdit::keyReleaseEvent(event);
}

void TkavEdit::focusInEvent(QFocusEvent *event)
{
    const bool returning = m_focusAway && isAwayReason(event->reason());
    m_focusAway = false;
    if (!m_autoSelect) {
        // Qt selects the whole text when the focus comes by Tab or shortcut; without AutoSelect
        // the caret stays where it was.
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
    } else {
        QLineEdit::focusInEvent(event);
    }
    if (returning)
        return;
    // A click places the caret itself; every other entry selects, as Tab does in Qt.
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason && inputMask().isEmpty())
        selectAll();
    DoEnter();
}

void TkavEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (isAwayReason(event->reason())) {
        m_focusAway = true;
        return;
    }
    // Only the edit with the focus shows a selection; Qt would keep showing it, and an edit left
    // selected looks like the one being typed into. Entering selects again.
    deselect();
    DoExit();
}

void TkavEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // A middle click pastes the X selection.
    if (event->button() == Qt::MiddleButton
        && (!acceptsEditing()
            || (!isReadOnly() && !acceptsPaste(QGuiApplication::clipboard()->text(QClipboard::Selection))))) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

void TkavEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TkavEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsEditing())
        QLineEdit::dragEnterEvent(event);
    else
        event->ignore();
}

void TkavEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsEditing())
        QLineEdit::dragMoveEvent(event);
    else
        event->ignore();
}

void TkavEdit::dropEvent(QDropEvent *event)
{
    if (acceptsEditing() && acceptsPaste(event->mimeData()->text()))
        QLineEdit::dropEvent(event);
    else
        event->ignore();
}

// ---------------------------------------------------------------------------------------------
// TkavMaskEdit

TkavMaskEdit::TkavMaskEdit(QWidget *parent) : TkavEdit(parent) {}

void TkavMaskEdit::setEditMask(const QString &editMask)
{
    m_editMask = editMask;
    setInputMask(Kav::KavMapEditMask(editMask).inputMask);
}

QString TkavMaskEdit::Text() const
{
    const Kav::EditMaskMapping mapping = Kav::KavMapEditMask(m_editMask);
    if (mapping.saveLiterals || mapping.inputMask.isEmpty())
        return text();
    return Kav::KavStripMaskLiterals(mapping.inputMask, displayText(), mapping.blank);
}

// ---------------------------------------------------------------------------------------------
// TkavNumberEdit

TkavNumberEdit::TkavNumberEdit(QWidget *parent) : TkavEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_mask = QStringLiteral("0.00");
    setValue(0);
}

void TkavNumberEdit::setMask(const QString &mask)
{
    m_mask = mask;
    setValue(m_value);
}

void TkavNumberEdit::setValue(double value)
{
    if (!std::isfinite(value))
        return;
    m_value = value;
    const QString shown = Kav::KavFormatFloat(value, m_mask, locale());
    if (shown == text())
        return;
    // Change reads the value back from the text, so that Value is the number as shown.
    m_showingValue = true;
    setText(shown);
    m_showingValue = false;
}

void TkavNumberEdit::Change()
{
    const QString current = text();
    if (!current.isEmpty() && current != QStringLiteral("-")) {
        double number = 0;
        if (Kav::KavStrToFloat(current, locale(), &number)) {
            m_value = number;
        } else if (!m_showingValue) {
            // Put the last good value back (its change is reported as usual), then tell.
            setValue(m_value);
            Kav::KavMessageBeep(this);
            const QString message = QStringLiteral("'%1' is not a valid floating point value").arg(current);
            Q_EMIT OnConversionError(this, message);
            reportConversionError(message);
            return;
        }
        // else: a picture with literals shows what does not read back; the value stays as set.
    }
    TkavEdit::Change();
}

void TkavNumberEdit::reportConversionError(const QString &message)
{
    // A program that handles OnConversionError tells the user itself; otherwise the user is told
    // here, as an error escaping an event handler is. The box waits until the text change is
    // over, so that its event loop never runs inside the edit's own change.
    if (isSignalConnected(QMetaMethod::fromSignal(&TkavNumberEdit::OnConversionError)))
        return;
    QMetaObject::invokeMethod(
        this, [this, message] { Kav::KavErrorBox(this, message); }, Qt::QueuedConnection);
}

void TkavNumberEdit::Click()
{
    TkavEdit::Click();
    DoEnter();
}

void TkavNumberEdit::DoEnter()
{
    TkavEdit::DoEnter();
    selectDecimals();
}

void TkavNumberEdit::selectDecimals()
{
    if (m_autoSelectSigns <= 0 || !AutoSelect())
        return;
    const int length = int(text().size());
    const int start = std::max(0, length - m_autoSelectSigns);
    setSelection(start, length - start);
}

void TkavNumberEdit::DoExit()
{
    TkavEdit::DoExit();
    const QString current = text();
    if (current.isEmpty() || current == QStringLiteral("-"))
        setText(QStringLiteral("0"));
    double number = m_value;
    Kav::KavStrToFloat(text(), locale(), &number);
    setValue(number);
}

void TkavNumberEdit::KeyPress(QChar &key)
{
    TkavEdit::KeyPress(key);
    if (key.isNull())
        return;
    const QString current = text();
    const QString separator = locale().decimalPoint();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    const bool accepted = (key >= u'0' && key <= u'9') || key == QChar(8)
        || (QString(key) == separator && m_mask.contains(u'.')
            && !current.contains(separator, Qt::CaseInsensitive))
        || (key == u'-' && m_mask.contains(u'-') && caret == 0 && !current.contains(u'-'));
    if (!accepted) {
        Kav::KavMessageBeep(this);
        key = QChar();
    }
}
