#include "KAVDBEdits.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFocusEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QTextDocument>

namespace {

bool isEscape(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
}

} // namespace

namespace Kav {

QImage KavDecodeBlobPicture(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > DBImageMaxBytes)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header's size is checked before any pixel is allocated; the allocation limit (in MB:
    // the largest picture at four bytes a pixel) stops a reader that would allocate more anyway.
    reader.setAllocationLimit(DBImageMaxSide / 1024 * DBImageMaxSide / 1024 * 4);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > DBImageMaxSide || size.height() > DBImageMaxSide)
        return {};
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

bool KavUpdateRecordOnLeave(QWidget *control, TkavFieldDataLink &link, QWidget *focusBack)
{
    if (!link.IsModified() || link.UpdateRecord())
        return true;
    if (focusBack)
        focusBack->setFocus(Qt::OtherFocusReason);
    KavShowDataError(control, link.DataSet());
    return false;
}

bool KavFocusLeavesForControl(Qt::FocusReason reason)
{
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

bool KavKeyChangesText(const QKeyEvent *event)
{
    for (const auto sequence : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
                                QKeySequence::Delete, QKeySequence::DeleteStartOfWord,
                                QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine,
                                QKeySequence::DeleteCompleteLine, QKeySequence::Backspace}) {
        if (event->matches(sequence))
            return true;
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint()
           && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

} // namespace Kav

// ---------------------------------------------------------------------------------------------
// TkavDBEdit

TkavDBEdit::TkavDBEdit(QWidget *parent) : TkavEdit(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.Field().setAsString(text()); };
    connect(this, &QLineEdit::textEdited, this, [this] { textEditedByUser(); });
}

void TkavDBEdit::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBEdit::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBEdit::setReadOnly(bool readOnly)
{
    m_link.setReadOnly(readOnly);
    QLineEdit::setReadOnly(readOnly);
}

void TkavDBEdit::dataChange()
{
    const TkavField field = m_link.Field();
    const QString shown = field ? field.AsString() : QString();
    if (shown != text())
        setText(shown);
}

void TkavDBEdit::textEditedByUser()
{
    // Keys asked the link before they changed anything; a change from the context menu or a drop
    // asks now, and one the link refuses is taken back.
    if (!m_link.Editing() && !m_link.Edit()) {
        Kav::KavMessageBeep(this);
        dataChange();
        return;
    }
    m_link.Modified();
}

bool TkavDBEdit::acceptsEditing() const
{
    return !m_link.ReadOnly() && m_link.CanModify();
}

void TkavDBEdit::keyPressEvent(QKeyEvent *event)
{
    if (isEscape(event) && m_link.IsModified()) {
        m_link.Reset();
        selectAll();
        event->accept();
        return;
    }
    if (Kav::KavKeyChangesText(event) && !m_link.Edit()) {
        Kav::KavMessageBeep(this);
        event->accept();
        return;
    }
    TkavEdit::keyPressEvent(event);
}

void TkavDBEdit::DoExit()
{
    if (Kav::KavUpdateRecordOnLeave(this, m_link, this))
        TkavEdit::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TkavDBMemo

TkavDBMemo::TkavDBMemo(QWidget *parent) : TkavMemo(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    attachedScrollBars()->setHideWhenCramped(false);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.Field().setAsString(toPlainText()); };
    connect(document(), &QTextDocument::contentsChanged, this, [this] { contentsChangedByUser(); });
}

void TkavDBMemo::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBMemo::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBMemo::setReadOnly(bool readOnly)
{
    m_link.setReadOnly(readOnly);
    QPlainTextEdit::setReadOnly(readOnly);
}

void TkavDBMemo::dataChange()
{
    const TkavField field = m_link.Field();
    const QString shown = field ? field.AsString() : QString();
    if (shown == toPlainText())
        return;
    m_showingField = true;
    setPlainText(shown);
    m_showingField = false;
}

void TkavDBMemo::contentsChangedByUser()
{
    if (m_showingField)
        return;
    if (!m_link.Editing() && !m_link.Edit()) {
        // A change that did not come through the keys (the context menu's cut, say) and that the
        // link refuses is taken back once the document has finished changing.
        Kav::KavMessageBeep(this);
        QMetaObject::invokeMethod(this, [this] { dataChange(); }, Qt::QueuedConnection);
        return;
    }
    m_link.Modified();
}

void TkavDBMemo::keyPressEvent(QKeyEvent *event)
{
    if (isEscape(event) && m_link.IsModified()) {
        m_link.Reset();
        event->accept();
        return;
    }
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool isTab = event->key() == Qt::Key_Tab && WantTabs();
    const bool changes = Kav::KavKeyChangesText(event) || (isReturn && WantReturns()) || isTab;
    if (changes && !isReadOnly() && !m_link.Edit()) {
        Kav::KavMessageBeep(this);
        event->accept();
        return;
    }
    TkavMemo::keyPressEvent(event);
}

void TkavDBMemo::insertFromMimeData(const QMimeData *source)
{
    if (!m_link.Edit()) {
        Kav::KavMessageBeep(this);
        return;
    }
    TkavMemo::insertFromMimeData(source);
}

void TkavDBMemo::focusOutEvent(QFocusEvent *event)
{
    TkavMemo::focusOutEvent(event);
    if (Kav::KavFocusLeavesForControl(event->reason()))
        Kav::KavUpdateRecordOnLeave(this, m_link, this);
}

// ---------------------------------------------------------------------------------------------
// TkavDBImage

TkavDBImage::TkavDBImage(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    Kav::KavSetPaletteColor(this, QPalette::Base, TColor(0xFFFFFF));
    resize(Kav::Metrics::DBImageSize);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] {
        m_link.Field().setValue(m_bytes.isEmpty() ? QVariant() : QVariant(m_bytes));
    };
    m_look.attach(this, [this](const KavThemeValues &values) {
        m_borderColor = values.color(KavKey::ControlBorderColor);
        update();
    });
}

void TkavDBImage::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBImage::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBImage::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

TColor TkavDBImage::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavDBImage::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
    update();
}

void TkavDBImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TkavDBImage::setCenter(bool center)
{
    m_center = center;
    update();
}

void TkavDBImage::setProportional(bool proportional)
{
    m_proportional = proportional;
    update();
}

void TkavDBImage::dataChange()
{
    const TkavField field = m_link.Field();
    m_bytes = field ? field.AsBytes() : QByteArray();
    m_picture = Kav::KavDecodeBlobPicture(m_bytes);
    update();
}

QRect TkavDBImage::pictureRect() const
{
    const int border = Kav::Metrics::DBImageBorderWidth;
    const QRect inside = rect().adjusted(border, border, -border, -border);
    if (m_picture.isNull() || inside.isEmpty())
        return {};
    QSize size = m_picture.size();
    const bool tooBig = size.width() > inside.width() || size.height() > inside.height();
    if (m_stretch && !m_proportional)
        size = inside.size();
    else if ((m_stretch && m_proportional) || (m_proportional && tooBig))
        size.scale(inside.size(), Qt::KeepAspectRatio);
    QRect target(inside.topLeft(), size);
    if (m_center)
        target.moveCenter(inside.center());
    return target;
}

void TkavDBImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Color().resolved(palette()));
    const QRect target = pictureRect();
    if (!target.isEmpty()) {
        const int border = Kav::Metrics::DBImageBorderWidth;
        painter.save();
        painter.setClipRect(rect().adjusted(border, border, -border, -border));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
        painter.restore();
    }
    DrawControlBorder(this, painter, m_borderColor, Color(), true);
}

void TkavDBImage::userSetBytes(const QByteArray &bytes)
{
    if (!m_link.Edit()) {
        Kav::KavMessageBeep(this);
        return;
    }
    m_bytes = bytes;
    m_picture = Kav::KavDecodeBlobPicture(m_bytes);
    m_link.Modified();
    update();
}

void TkavDBImage::CopyToClipboard() const
{
    if (!m_picture.isNull())
        QApplication::clipboard()->setImage(m_picture);
}

void TkavDBImage::CutToClipboard()
{
    if (m_picture.isNull() && m_bytes.isEmpty())
        return;
    CopyToClipboard();
    userSetBytes(QByteArray());
}

void TkavDBImage::PasteFromClipboard()
{
    const QImage pasted = QApplication::clipboard()->image();
    if (pasted.isNull() || pasted.width() > Kav::DBImageMaxSide || pasted.height() > Kav::DBImageMaxSide)
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (pasted.save(&buffer, "PNG"))
        userSetBytes(bytes);
}

void TkavDBImage::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
    } else if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
    } else if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        userSetBytes(QByteArray());
    } else if (isEscape(event) && m_link.IsModified()) {
        m_link.Reset();
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TkavDBImage::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TkavDBImage::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (Kav::KavFocusLeavesForControl(event->reason()))
        Kav::KavUpdateRecordOnLeave(this, m_link, this);
}

// ---------------------------------------------------------------------------------------------
// TkavDBComboBox

TkavDBComboBox::TkavDBComboBox(QWidget *parent) : TkavCustomComboBox(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.Field().setAsString(currentText()); };
    connect(this, &QComboBox::activated, this, &TkavDBComboBox::chosen);
    if (QLineEdit *edit = lineEdit()) {
        connect(edit, &QLineEdit::textEdited, this, [this] {
            if (m_link.Editing() || m_link.Edit()) {
                m_link.Modified();
            } else {
                Kav::KavMessageBeep(this);
                dataChange();
            }
        });
    }
}

void TkavDBComboBox::setDataSource(TkavDataSource *dataSource)
{
    m_link.setDataSource(dataSource);
    dataChange();
}

void TkavDBComboBox::setDataField(const QString &fieldName)
{
    m_link.setFieldName(fieldName);
    dataChange();
}

void TkavDBComboBox::setReadOnly(bool readOnly)
{
    m_link.setReadOnly(readOnly);
    if (QLineEdit *edit = lineEdit())
        edit->setReadOnly(readOnly);
}

QStringList TkavDBComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    return items;
}

void TkavDBComboBox::setItems(const QStringList &items)
{
    m_showingField = true;
    clear();
    addItems(items);
    m_showingField = false;
    dataChange();
}

void TkavDBComboBox::showText(const QString &text)
{
    m_showingField = true;
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    if (isEditable())
        setEditText(text);
    m_showingField = false;
}

void TkavDBComboBox::dataChange()
{
    const TkavField field = m_link.Field();
    showText(field ? field.AsString() : QString());
}

void TkavDBComboBox::chosen(int index)
{
    if (m_showingField)
        return;
    const QString text = itemText(index);
    // Going into edit mode may show the stored record again: the choice is put back after it.
    if (!m_link.Edit()) {
        Kav::KavMessageBeep(this);
        dataChange();
        return;
    }
    showText(text);
    m_link.Modified();
}

void TkavDBComboBox::showPopup()
{
    if (!m_link.Edit()) {
        Kav::KavMessageBeep(this);
        return;
    }
    TkavCustomComboBox::showPopup();
}

void TkavDBComboBox::keyPressEvent(QKeyEvent *event)
{
    if (isEscape(event) && m_link.IsModified()) {
        m_link.Reset();
        event->accept();
        return;
    }
    const bool choosing = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down
                          || event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
    if ((Kav::KavKeyChangesText(event) || choosing) && !m_link.Edit()) {
        Kav::KavMessageBeep(this);
        event->accept();
        return;
    }
    TkavCustomComboBox::keyPressEvent(event);
    // Up and Down change the choice without activated(): the text is the user's now.
    if (choosing && currentIndex() >= 0)
        m_link.Modified();
}

void TkavDBComboBox::focusOutEvent(QFocusEvent *event)
{
    TkavCustomComboBox::focusOutEvent(event);
    if (Kav::KavFocusLeavesForControl(event->reason()))
        Kav::KavUpdateRecordOnLeave(this, m_link, this);
}
