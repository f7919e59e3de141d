#pragma once

#include "KAVColor.h"
#include "KAVComboBox.h"
#include "KAVDataSet.h"
#include "KAVLook.h"
#include "KAVScrollBar.h"
#include "KAVThemes.h"

#include <QList>
#include <QListWidget>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QAbstractScrollArea;

namespace Kav {

// Where a list box's attached vertical bar stands, in the coordinates host is given in: along the
// right edge inside the border, one pixel short of the top and bottom lines.
QRect KavListBarGeometry(const QRect &host, int barWidth);

// One choice of a lookup list: the key written into the data field and the text shown for it.
struct LookupEntry {
    QVariant key;
    QString text;
};
// The key and list fields of every record of dataSet that has a key, in record order, read from
// its model so that its current record stays where it is. Empty when either field is unknown.
QList<LookupEntry> KavReadLookupList(TkavDataSet *dataSet, const QString &keyField, const QString &listField);
// Keys as a data set holds them: a number read back from the database may come as another integer
// type, or as text, than the one it was written as.
bool KavSameKey(const QVariant &a, const QVariant &b);

// A link that reports any change of a whole data set (opened, closed, refreshed, posted) but not
// its moves from record to record: what a list of all its records needs to be read again.
class TkavListDataLink : public TkavDataLink {
public:
    std::function<void()> OnListChange;

protected:
    void ActiveChanged() override { notify(); }
    void DataSetChanged() override { notify(); }
    void DataSetScrolled() override {}
    void RecordChanged(int) override { notify(); }

private:
    void notify()
    {
        if (OnListChange)
            OnListChange();
    }
};

} // namespace Kav

// The skinned vertical bar of a list box, standing on the list box's parent over its right edge.
// The list box keeps its own scroll bar as Qt sets it; the skinned bar mirrors it (range, page,
// position, and a slider as long as the share of the track Qt's thumb would take) and hides while
// the list needs no scrolling, is disabled or is hidden. Moving the skinned bar scrolls the list. The bar is not owned: a
// destroyed bar is dropped.
class TkavListScrollBarLink : public QObject {
    Q_OBJECT

public:
    explicit TkavListScrollBarLink(QAbstractScrollArea *host);
    ~TkavListScrollBarLink() override;

    TkavScrollBar *bar() const { return m_bar; }
    // Attaches bar (vertical, in front, placed and synchronised), releasing the one before it;
    // nullptr detaches. Returns whether anything changed.
    bool setBar(TkavScrollBar *bar);

    void updatePlacement();
    void synchronise();
    bool isSynchronising() const { return m_synchronising; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();
    void barMoved();

    QAbstractScrollArea *m_host;
    QPointer<TkavScrollBar> m_bar;
    QList<QMetaObject::Connection> m_connections;
    bool m_synchronising = false;
};

// What the two data-aware list boxes share: the skin's flat border (an outer line in BorderColor
// and an inner one in Color, 2 pixels in all), the look, and an attached vertical bar.
class TkavCustomDBListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(TkavFileTheme *FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(Kav::TkavUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(TkavScrollBar *VScrollBar READ VScrollBar WRITE setVScrollBar)

public:
    explicit TkavCustomDBListBox(QWidget *parent = nullptr);
    ~TkavCustomDBListBox() override;

    TkavFileTheme *FileTheme() const { return m_look.fileTheme(); }
    // Hands the theme to the attached bar, then applies UIStyle again.
    void setFileTheme(TkavFileTheme *fileTheme) { m_look.setFileTheme(fileTheme); }
    TkavUIStyle UIStyle() const { return m_look.uiStyle(); }
    // BorderColor becomes the look's ControlBorderColor; the attached bar takes the look.
    void setUIStyle(TkavUIStyle style) { m_look.setUIStyle(style); }

    TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(TColor color);
    void setBorderColor(const QColor &color) { setBorderColor(TColor::fromQColor(color)); }
    // The background of the list (and of the border's inner line): the palette's Base.
    TColor Color() const;
    void setColor(TColor color);
    void setColor(const QColor &color) { setColor(TColor::fromQColor(color)); }

    TkavScrollBar *VScrollBar() const { return m_bar->bar(); }
    void setVScrollBar(TkavScrollBar *bar);
    TkavListScrollBarLink *scrollBarLink() const { return m_bar; }

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyLook(const KavThemeValues &values);
    TkavLook m_look;
    TColor m_borderColor;
    TkavListScrollBarLink *m_bar;
};

// A list box bound to a field: the item whose text equals the field's text is the current one
// (failing that, one that differs only in letter case; none when no item matches); choosing an item puts the data set into edit mode and hands the
// item's text to the field when the control is left or the record posted. A choice the data set
// refuses (read-only, not editable) beeps and shows the field's item again; Escape drops a choice
// not yet handed over.
class TkavDBListBox : public TkavCustomDBListBox {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(QStringList Items READ Items WRITE setItems)

public:
    explicit TkavDBListBox(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_link.DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_link.ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_link.Field(); }

    QStringList Items() const;
    // Replaces the items and shows the field's item among them.
    void setItems(const QStringList &items);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void dataChange();
    void updateData();
    void rowChosen(int row);

    TkavFieldDataLink m_link;
    bool m_showing = false;
};

namespace Kav {

// The records of a second data set (ListSource) as a list to choose from: each shows its
// ListField; the current one is the record whose KeyField equals the DataField's value, and
// choosing one writes its key into DataField (on leaving the control, or when the record is
// posted). Without a DataField the choice only sets KeyValue. The list is read again whenever the
// list data set changes as a whole. Lookup list box and lookup combo box both hold one.
class TkavLookupBinding {
public:
    TkavLookupBinding();
    TkavLookupBinding(const TkavLookupBinding &) = delete;
    TkavLookupBinding &operator=(const TkavLookupBinding &) = delete;

    TkavFieldDataLink &link() { return m_link; }
    const TkavFieldDataLink &link() const { return m_link; }

    TkavDataSource *ListSource() const { return m_listLink.DataSource(); }
    void setListSource(TkavDataSource *listSource);
    QString KeyField() const { return m_keyField; }
    void setKeyField(const QString &keyField);
    QString ListField() const { return m_listField; }
    void setListField(const QString &listField);

    const QList<LookupEntry> &entries() const { return m_entries; }
    // The index of the entry whose key is KeyValue; -1 when none.
    int currentIndex() const;

    QVariant KeyValue() const { return m_keyValue; }
    // Shows the entry of this key without touching the data field.
    void setKeyValue(const QVariant &keyValue);
    // The user chose entry index: false (and nothing changes) when the data set refuses to edit.
    bool choose(int index);

    // The list was read again (OnListChange) or another entry became current (OnKeyChange).
    std::function<void()> OnListChange;
    std::function<void()> OnKeyChange;

private:
    void readList();
    void keyChange();

    TkavFieldDataLink m_link;
    TkavListDataLink m_listLink;
    QString m_keyField;
    QString m_listField;
    QList<LookupEntry> m_entries;
    QVariant m_keyValue;
};

} // namespace Kav

// A list box showing a lookup list (see Kav::TkavLookupBinding).
class TkavDBLookupListBox : public TkavCustomDBListBox {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(TkavDataSource *ListSource READ ListSource WRITE setListSource)
    Q_PROPERTY(QString KeyField READ KeyField WRITE setKeyField)
    Q_PROPERTY(QString ListField READ ListField WRITE setListField)
    Q_PROPERTY(QVariant KeyValue READ KeyValue WRITE setKeyValue)

public:
    explicit TkavDBLookupListBox(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_lookup.link().DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_lookup.link().FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_lookup.link().ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_lookup.link().Field(); }

    TkavDataSource *ListSource() const { return m_lookup.ListSource(); }
    void setListSource(TkavDataSource *listSource) { m_lookup.setListSource(listSource); }
    QString KeyField() const { return m_lookup.KeyField(); }
    void setKeyField(const QString &keyField) { m_lookup.setKeyField(keyField); }
    QString ListField() const { return m_lookup.ListField(); }
    void setListField(const QString &listField) { m_lookup.setListField(listField); }
    QVariant KeyValue() const { return m_lookup.KeyValue(); }
    void setKeyValue(const QVariant &keyValue) { m_lookup.setKeyValue(keyValue); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void fillList();
    void showKey();
    void rowChosen(int row);

    Kav::TkavLookupBinding m_lookup;
    bool m_showing = false;
};

// A drop-down list (not editable) showing a lookup list (see Kav::TkavLookupBinding), drawn as the
// skinned combo box.
class TkavDBLookupComboBox : public TkavCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(TkavDataSource *DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString DataField READ DataField WRITE setDataField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(TkavField Field READ Field)
    Q_PROPERTY(TkavDataSource *ListSource READ ListSource WRITE setListSource)
    Q_PROPERTY(QString KeyField READ KeyField WRITE setKeyField)
    Q_PROPERTY(QString ListField READ ListField WRITE setListField)
    Q_PROPERTY(QVariant KeyValue READ KeyValue WRITE setKeyValue)

public:
    explicit TkavDBLookupComboBox(QWidget *parent = nullptr);

    TkavDataSource *DataSource() const { return m_lookup.link().DataSource(); }
    void setDataSource(TkavDataSource *dataSource);
    QString DataField() const { return m_lookup.link().FieldName(); }
    void setDataField(const QString &fieldName);
    bool ReadOnly() const { return m_lookup.link().ReadOnly(); }
    void setReadOnly(bool readOnly);
    TkavField Field() const { return m_lookup.link().Field(); }

    TkavDataSource *ListSource() const { return m_lookup.ListSource(); }
    void setListSource(TkavDataSource *listSource) { m_lookup.setListSource(listSource); }
    QString KeyField() const { return m_lookup.KeyField(); }
    void setKeyField(const QString &keyField) { m_lookup.setKeyField(keyField); }
    QString ListField() const { return m_lookup.ListField(); }
    void setListField(const QString &listField) { m_lookup.setListField(listField); }
    QVariant KeyValue() const { return m_lookup.KeyValue(); }
    void setKeyValue(const QVariant &keyValue) { m_lookup.setKeyValue(keyValue); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void fillList();
    void showKey();
    void indexChosen(int index);

    Kav::TkavLookupBinding m_lookup;
    bool m_showing = false;
};
