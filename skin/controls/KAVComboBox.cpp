#include "KAVComboBox.h"

#include "KAVFunctions.h"
#include "KAVMetrics.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QEvent>
#include <QFrame>
#include <QItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStorageInfo>
#include <QStyleOptionComboBox>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Geometry and painting

namespace Kav {

QRect KavComboBoxSubControlRect(const QRect &whole, QStyle::SubControl part)
{
    const ComboBoxRects rects = KavComboBoxRects(whole);
    switch (part) {
    case QStyle::SC_ComboBoxFrame:
    case QStyle::SC_ComboBoxListBoxPopup:
        return rects.frame;
    case QStyle::SC_ComboBoxEditField:
        return rects.field;
    case QStyle::SC_ComboBoxArrow:
        return rects.button;
    default:
        return QRect();
    }
}

ComboBoxRects KavComboBoxRects(const QRect &whole)
{
    const int frame = Metrics::ComboBoxFrameWidth;
    const int left = whole.x() + frame;
    const int top = whole.y() + frame;
    const int right = std::max(left, Kav::KavRight(whole) - frame);
    const int bottom = std::max(top, Kav::KavBottom(whole) - frame);
    const int buttonLeft = std::max(left, right - Metrics::ComboBoxButtonWidth);

    ComboBoxRects rects;
    rects.frame = whole;
    rects.field = Kav::KavRect(left, top, buttonLeft, bottom);
    rects.button = Kav::KavRect(buttonLeft, top, right, bottom);
    // Centred across the button; down from the button's height alone, which puts the arrow at
    // the button's middle for the usual heights.
    const QRect &b = rects.button;
    rects.arrow = QPoint(b.width() / 2 + b.x() - 3, b.height() / 2);
    return rects;
}

namespace {

void frameRect(QPainter &painter, const QRect &rect, const QColor &colour)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.x(), Kav::KavBottom(rect) - 1, rect.width(), 1), colour);
    painter.fillRect(QRect(rect.x(), rect.y(), 1, rect.height()), colour);
    painter.fillRect(QRect(Kav::KavRight(rect) - 1, rect.y(), 1, rect.height()), colour);
}

// picture stretched to size by pixel replication: target offset i shows source offset
// i * source / target, the rule of every stretching helper of the skin.
QImage stretched(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || size.isEmpty())
        return {};
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage target(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(source.constScanLine(y * source.height() / size.height()));
        auto *to = reinterpret_cast<QRgb *>(target.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            to[x] = from[x * source.width() / size.width()];
    }
    return target;
}

// The arrow's rows, top to bottom: 7, 5, 3 and 1 pixels, each one pixel further in.
void fillArrow(QPainter &painter, QPoint origin, const QColor &colour)
{
    const QSize size = Metrics::ComboBoxArrowSize;
    for (int row = 0; row < size.height(); ++row)
        painter.fillRect(QRect(origin.x() + row, origin.y() + row, size.width() - 2 * row, 1), colour);
}

} // namespace

void KavPaintComboBoxArrow(QPainter &painter, QPoint origin, const QColor &colour, bool enabled)
{
    if (enabled) {
        fillArrow(painter, origin, colour);
        return;
    }
    // Embossed: a white arrow one pixel down and right, under a grey one.
    fillArrow(painter, origin + QPoint(1, 1), Qt::white);
    fillArrow(painter, origin, QColor(128, 128, 128));
}

void KavPaintComboBoxFrame(QPainter &painter, const ComboBoxFace &face)
{
    const ComboBoxRects rects = KavComboBoxRects(face.rect);
    frameRect(painter, rects.frame, face.border);
    frameRect(painter, rects.frame.adjusted(1, 1, -1, -1), face.inner);

    const QRect &button = rects.button;
    if (button.isEmpty())
        return;
    if (!face.buttonPicture.isNull()) {
        // On a dense screen the double-density picture, stretched to the button's device pixels.
        const bool dense = painter.device()->devicePixelRatioF() > 1.0 && face.buttonPicture.has2x();
        QImage pixels = dense ? stretched(face.buttonPicture.image2x(), button.size() * 2)
                              : stretched(face.buttonPicture.image(), button.size());
        pixels.setDevicePixelRatio(dense ? 2.0 : 1.0);
        painter.drawImage(button.topLeft(), pixels);
    } else {
        painter.fillRect(button, face.button);
        // The separator runs on across the inner frame line, up to the border.
        painter.fillRect(QRect(button.x(), button.y() - 1, 1, button.height() + 2), face.border);
    }
    if (face.drawArrow)
        KavPaintComboBoxArrow(painter, rects.arrow, face.arrow, face.enabled);
}

// ---------------------------------------------------------------------------------------------
// Volumes

bool KavIsUserVolume(const QString &rootPath, const QByteArray &fileSystemType)
{
    if (rootPath == QStringLiteral("/"))
        return true;
    static const QByteArray pseudo[] = {
        "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts",
        "devtmpfs", "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "overlay", "proc",
        "pstore", "ramfs", "rpc_pipefs", "securityfs", "squashfs", "sysfs", "tmpfs", "tracefs",
    };
    if (std::find(std::begin(pseudo), std::end(pseudo), fileSystemType) != std::end(pseudo))
        return false;
    auto under = [&rootPath](const char *folder) {
        const QString prefix = QLatin1StringView(folder);
        return rootPath == prefix || rootPath.startsWith(prefix + u'/');
    };
    if (under("/run/media"))
        return true;
    return !(under("/proc") || under("/sys") || under("/dev") || under("/run") || under("/snap"));
}

QList<TkavVolume> KavMountedVolumes()
{
    QList<TkavVolume> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &storage : mounted) {
        if (!storage.isValid() || !storage.isReady())
            continue;
        if (!KavIsUserVolume(storage.rootPath(), storage.fileSystemType()))
            continue;
        volumes.append({storage.rootPath(), storage.name(), storage.fileSystemType()});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const TkavVolume &a, const TkavVolume &b) { return a.rootPath < b.rootPath; });
    return volumes;
}

} // namespace Kav

namespace {

// Puts the parts of a skinned combo box where KavComboBoxRects says, so that Qt places the line
// edit, hits the button and sizes the list as they are drawn; and drops the list down under the
// box rather than over it. Other widgets and csSimple boxes get the application's style.
class TkavComboBoxStyle : public QProxyStyle {
public:
    explicit TkavComboBoxStyle(const QString &baseKey) : QProxyStyle(baseKey) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        if (control == CC_ComboBox && skinned(widget)) {
            const QRect rect = Kav::KavComboBoxSubControlRect(option->rect, part);
            if (!rect.isNull())
                return rect;
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup && skinned(widget))
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    static bool skinned(const QWidget *widget)
    {
        const auto *box = qobject_cast<const TkavCustomComboBox *>(widget);
        return box && box->isSkinned();
    }
};

// One style for every skinned combo box, on the application's style.
QStyle *comboBoxStyle()
{
    static QPointer<TkavComboBoxStyle> style;
    if (!style) {
        style = new TkavComboBoxStyle(QApplication::style()->name());
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// Rows of the open list of a given height (0: the font's).
class TkavItemHeightDelegate : public QItemDelegate {
public:
    TkavItemHeightDelegate(int height, QObject *parent) : QItemDelegate(parent), m_height(height) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QItemDelegate::sizeHint(option, index);
        if (m_height > 0)
            size.setHeight(m_height);
        return size;
    }

private:
    int m_height;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TkavCustomComboBox

TkavCustomComboBox::TkavCustomComboBox(QWidget *parent) : QComboBox(parent)
{
    setStyle(comboBoxStyle());
    setEditable(true);
    setMaxVisibleItems(8);
    resize(Kav::Metrics::ComboBoxSize);
    connect(this, &QComboBox::currentTextChanged, this, [this] { Change(); });
    connect(this, &QComboBox::activated, this, [this] { Q_EMIT OnSelect(this); });
    m_look.attach(this, [this](const KavThemeValues &values) { applyLook(values); });
}

void TkavCustomComboBox::applyLook(const KavThemeValues &values)
{
    m_arrowColor = TColor(0x000000);
    m_borderColor = values.color(KavKey::ControlBorderColor);
    m_buttonColor = values.color(KavKey::FormBackgroundColor);
    // Only some looks have a button picture (a theme file brings none).
    const Kav::TkavLookTraits &traits = values.traits();
    m_buttonPicture = traits.comboButtonPicture
        ? Kav::TkavPictureStore::instance().resourcePicture(QLatin1String(traits.comboButtonPicture))
        : Kav::TkavPicture();
    m_buttonArrow = traits.comboButtonArrow;
    update();
}

void TkavCustomComboBox::Change()
{
    Q_EMIT OnChange(this);
}

void TkavCustomComboBox::setBorderColor(TColor color)
{
    m_borderColor = color;
    update();
}

void TkavCustomComboBox::setArrowColor(TColor color)
{
    m_arrowColor = color;
    update();
}

void TkavCustomComboBox::setButtonColor(TColor color)
{
    m_buttonColor = color;
    update();
}

void TkavCustomComboBox::setComboStyle(TComboBoxStyle style)
{
    m_style = style;
    setEditable(style == csDropDown || style == csSimple);
    if (isVisible())
        nameTheEdit(); // a new line edit
    // The style's rectangles depend on the kind of box: have Qt place the line edit again.
    QEvent styleChange(QEvent::StyleChange);
    QCoreApplication::sendEvent(this, &styleChange);
    update();
}

Kav::ComboBoxFace TkavCustomComboBox::face() const
{
    QStyleOption option;
    option.initFrom(this);
    Kav::ComboBoxFace face;
    face.rect = rect();
    face.border = m_borderColor.resolved(option.palette);
    face.inner = option.palette.color(QPalette::Base);
    face.button = m_buttonColor.resolved(option.palette);
    face.arrow = m_arrowColor.resolved(option.palette);
    face.buttonPicture = m_buttonPicture;
    face.drawArrow = m_buttonArrow;
    face.enabled = isEnabled();
    return face;
}

void TkavCustomComboBox::showPopup()
{
    if (isSkinned()) {
        // The open list gets a one-pixel border in BorderColor.
        if (auto *container = qobject_cast<QFrame *>(view()->parentWidget())) {
            container->setFrameStyle(QFrame::Box | QFrame::Plain);
            container->setLineWidth(1);
            Kav::KavSetPaletteColor(container, QPalette::WindowText, m_borderColor);
        }
    }
    Q_EMIT OnDropDown(this);
    QComboBox::showPopup();
}

void TkavCustomComboBox::hidePopup()
{
    QComboBox::hidePopup();
    update();
    Q_EMIT OnCloseUp(this);
}

void TkavCustomComboBox::paintEvent(QPaintEvent *event)
{
    if (!isSkinned()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const Kav::ComboBoxRects rects = Kav::KavComboBoxRects(rect());
    QPainter painter(this);
    painter.fillRect(rect(), option.palette.color(QPalette::Base));
    // A box that only chooses shows its focus as a selected text, as a line edit would, while its
    // list is closed (State_On: the list is open).
    const bool selected = !isEditable() && hasFocus() && !(option.state & QStyle::State_On);
    if (selected)
        painter.fillRect(rects.field.adjusted(1, 1, -1, -1), option.palette.color(QPalette::Highlight));
    painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
    Kav::KavPaintComboBoxFrame(painter, face());
}

void TkavCustomComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

void TkavCustomComboBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    nameTheEdit();
}

void TkavCustomComboBox::nameTheEdit()
{
    // A screen reader names a combo box by its value (Qt's way on Linux) and lands on the line
    // edit inside it, which has no name of its own: it takes the box's name, or its label's.
    QLineEdit *edit = lineEdit();
    if (edit == nullptr || !edit->accessibleName().isEmpty())
        return;
    QString name = accessibleName();
    if (name.isEmpty()) {
        const QList<QLabel *> labels = window()->findChildren<QLabel *>();
        const auto label = std::find_if(labels.begin(), labels.end(), [this](QLabel *l) { return l->buddy() == this; });
        if (label != labels.end())
            name = QString((*label)->text()).remove(QLatin1Char('&'));
    }
    edit->setAccessibleName(name);
}

// ---------------------------------------------------------------------------------------------
// TkavComboBox

TkavComboBox::TkavComboBox(QWidget *parent) : TkavCustomComboBox(parent)
{
    applyEditSettings();
}

void TkavComboBox::setStyle(TComboBoxStyle style)
{
    setComboStyle(style);
    applyEditSettings();
}

QStringList TkavComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    return items;
}

void TkavComboBox::setItems(const QStringList &items)
{
    const QString text = currentText();
    clear();
    QStringList sorted = items;
    if (m_sorted)
        sorted.sort(Qt::CaseInsensitive);
    addItems(sorted);
    // New items choose none (Qt would choose the first); the text of an editable box stays.
    setCurrentIndex(-1);
    if (isEditable())
        setEditText(text);
}

void TkavComboBox::setText(const QString &text)
{
    // The item of exactly this text becomes the chosen one; an editable box takes any text.
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        setCurrentIndex(index);
    else if (isEditable())
        setEditText(text);
}

void TkavComboBox::setItemHeight(int height)
{
    m_itemHeight = std::max(0, height);
    QAbstractItemDelegate *old = itemDelegate();
    setItemDelegate(new TkavItemHeightDelegate(m_itemHeight, this));
    if (old && old->parent() == this)
        old->deleteLater();
}

void TkavComboBox::setSorted(bool sorted)
{
    m_sorted = sorted;
    setInsertPolicy(sorted ? QComboBox::InsertAlphabetically : QComboBox::InsertAtBottom);
    if (sorted)
        setItems(Items());
}

void TkavComboBox::setMaxLength(int length)
{
    m_maxLength = std::max(0, length);
    applyEditSettings();
}

void TkavComboBox::setAutoComplete(bool autoComplete)
{
    m_autoComplete = autoComplete;
    applyEditSettings();
}

void TkavComboBox::applyEditSettings()
{
    QLineEdit *edit = lineEdit();
    if (!edit)
        return;
    edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    if (!m_autoComplete) {
        setCompleter(nullptr);
    } else if (!completer()) {
        // Completes within the line as it is typed, whatever the case, as Qt's own does.
        auto *completer = new QCompleter(model(), this);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        setCompleter(completer);
    }
}

TColor TkavComboBox::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavComboBox::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
}

// ---------------------------------------------------------------------------------------------
// TkavDriveComboBox

TkavDriveComboBox::TkavDriveComboBox(QWidget *parent) : TkavCustomComboBox(parent)
{
    setComboStyle(csDropDownList);
    connect(this, &QComboBox::currentIndexChanged, this, &TkavDriveComboBox::indexChosen);
    setVolumeSource({});
}

void TkavDriveComboBox::setVolumeSource(VolumeSource source)
{
    m_source = source ? std::move(source) : VolumeSource(&Kav::KavMountedVolumes);
    Refresh();
}

QString TkavDriveComboBox::Drive() const
{
    return m_drive;
}

void TkavDriveComboBox::setDrive(const QString &rootPath)
{
    const int index = findData(rootPath);
    if (index >= 0)
        setCurrentIndex(index);
}

bool TkavDriveComboBox::DroppedDown() const
{
    // Asked of the style option, which knows without making the list as view() would.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return option.state & QStyle::State_On;
}

void TkavDriveComboBox::setDroppedDown(bool droppedDown)
{
    if (droppedDown)
        showPopup();
    else
        hidePopup();
}

TColor TkavDriveComboBox::Color() const
{
    return Kav::KavPaletteColor(this, QPalette::Base);
}

void TkavDriveComboBox::setColor(TColor color)
{
    Kav::KavSetPaletteColor(this, QPalette::Base, color);
}

void TkavDriveComboBox::showPopup()
{
    Refresh();
    TkavCustomComboBox::showPopup();
}

void TkavDriveComboBox::Refresh()
{
    const QString previous = m_drive;
    m_filling = true;
    clear();
    for (const TkavVolume &volume : m_source()) {
        const QString label = volume.name.isEmpty()
            ? volume.rootPath
            : QStringLiteral("%1 [%2]").arg(volume.rootPath, volume.name);
        addItem(label, volume.rootPath);
    }
    const int kept = findData(previous);
    setCurrentIndex(kept >= 0 ? kept : (count() > 0 ? 0 : -1));
    m_filling = false;
    confirm(currentIndex() >= 0 ? currentData().toString() : QString());
}

void TkavDriveComboBox::confirm(const QString &rootPath)
{
    if (rootPath == m_drive)
        return;
    m_drive = rootPath;
    Q_EMIT DriveChanged(m_drive);
    Q_EMIT OnChange(this);
}

void TkavDriveComboBox::indexChosen(int index)
{
    if (m_filling)
        return;
    const QString chosen = index >= 0 ? itemData(index).toString() : QString();
    const QList<TkavVolume> volumes = m_source();
    const bool mounted = std::any_of(volumes.cbegin(), volumes.cend(),
                                     [&chosen](const TkavVolume &v) { return v.rootPath == chosen; });
    if (mounted) {
        confirm(chosen);
        return;
    }
    // Gone since it was listed: Drive stays the drive chosen before. The list is read again once
    // Qt has finished its own change of the index, which must not see its items replaced.
    QMetaObject::invokeMethod(this, &TkavDriveComboBox::Refresh, Qt::QueuedConnection);
}
