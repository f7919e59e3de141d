#pragma once

#include "KAVColor.h"
#include "KAVComboBox.h"
#include "KAVDataSet.h"
#include "KAVEdit.h"
#include "KAVLook.h"
#include "KAVMemo.h"
#include "KAVThemes.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

class QKeyEvent;

namespace Kav {

// The largest picture a data image decodes: bigger ones (a corrupt header can claim anything) are
// shown as no picture rather than allocated.
inline constexpr qint64 DBImageMaxBytes = 16 * 1024 * 1024;
inline constexpr int DBImageMaxSide = 8192;

// Decodes a picture held in a BLOB; a null image when the bytes are no picture or too large.
QImage KavDecodeBlobPicture(const QByteArray &bytes);

// The control is being left: the link hands over what it holds. When the field or the record
// refuses it, the focus goes back to focusBack (the control, or a part of it), the data set's
// reason is shown and false is returned; the control keeps what was typed.
bool KavUpdateRecordOnLeave(QWidget *control, TkavFieldDataLink &link, QWidget *focusBack);

// Whether a focus change with this reason leaves the control for another control of the form
// (not for a menu or another window, from which the focus comes back).
bool KavFocusLeavesForControl(Qt::FocusReason reason);

// Whether a key would change the text of an edit (a character, Backspace, Delete, paste, cut,
// undo): the data-aware edits ask the link to edit before letting it through.
bool KavKeyChangesText(const QKeyEvent *event);

} // namespace Kav

// An edit that shows and edits one field of the current record. Typing first puts the data set
// into edit mode (a key is refused with a beep when it cannot); Escape shows the stored value
// again; leaving the edit hands the text to the field, and when the field refuses it (no number
// for a number field, say) the focus stays and the reason is shown.
class TkavDBEdit : public TkavEdit {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)

public:
    explicit TkavDBEdit(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_link.Field(); }

    // The link, for the data set's tests and for code that drives the control.
    TkavFieldDataLink &dataLink() { return m_link; }

protected:
    void DoExit() override;
    bool acceptsEditing() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void dataChange();
    void textEditedByUser();

    TkavFieldDataLink m_link;
};

// A memo that shows and edits one (text) field of the current record, with the binding of
// TkavDBEdit. Its attached scroll bars stay shown however small the memo is.
class TkavDBMemo : public TkavMemo {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)

public:
    explicit TkavDBMemo(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_link.Field(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void dataChange();
    void contentsChangedByUser();

    TkavFieldDataLink m_link;
    bool m_showingField = false;
};

// Shows the picture held in a BLOB field, framed by a two-pixel border (BorderColor outside,
// Color inside). The picture is decoded once when the field changes, never while painting; bytes
// that are no picture, or a picture larger than DBImageMaxSide or DBImageMaxBytes, show nothing.
// Ctrl+C copies the picture, Ctrl+X cuts it, Ctrl+V pastes one from the clipboard and Delete
// clears the field; the last three edit the record like typing into an edit.
class TkavDBImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool Center READ Center WRITE setCenter)
    Q_PROPERTY(bool Proportional READ Proportional WRITE setProportional)

public:
    explicit TkavDBImage(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly) { m_link.setReadOnly(readOnly); }
    TkavField Field() const { return m_link.Field(); }

    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }
    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    // Stretch fills the inside with the picture; with Proportional as well its shape is kept.
    // Proportional alone only shrinks pictures that do not fit. Center centres what does not fill.
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    bool Center() const { return m_center; }
    void setCenter(bool center);
    bool Proportional() const { return m_proportional; }
    void setProportional(bool proportional);

    // The picture as shown (null when there is none).
    QImage Picture() const { return m_picture; }
    // Where the picture is drawn inside the border.
    QRect pictureRect() const;

    void CopyToClipboard() const;
    void CutToClipboard();
    void PasteFromClipboard();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void dataChange();
    // The user replaces the field's bytes (null clears it); refused with a beep when the link
    // cannot edit.
    void userSetBytes(const QByteArray &bytes);

    TkavFieldDataLink m_link;
    TkavLook m_look;
    TColor m_borderColor;
    QByteArray m_bytes;
    QImage m_picture;
    bool m_stretch = false;
    bool m_center = true;
    bool m_proportional = false;
};

// A combo box whose text is one field of the current record. Items offers texts to choose; the
// text may also be typed. Choosing or typing puts the data set into edit mode first (refused with
// a beep when it cannot); Escape shows the stored value again; leaving the box hands the text to
// the field.
class TkavDBComboBox : public TkavCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)
    Q_PROPERTY(QString Text READ currentText)

public:
    explicit TkavDBComboBox(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_link.Field(); }

    QStringList Items() const;
    // Replaces the items; the text stays the field's.
    void setItems(const QStringList &items);

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void dataChange();
    void showText(const QString &text);
    void chosen(int index);

    TkavFieldDataLink m_link;
    bool m_showingField = false;
};
