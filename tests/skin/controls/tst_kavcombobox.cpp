#include "KAVComboBox.h"
#include "KAVForm.h"
#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVPictureStore.h"
#include "tst_kavedit_fixtures.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTest>

#include <memory>

using namespace fixtures;

namespace {

struct ShownWindow {
    QWidget window;
    ShownWindow() { window.resize(420, 160); }
    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

// The pixel a picture stretched over rect shows at point (pixel replication).
QRgb stretchedPixel(const QImage &picture, const QRect &rect, QPoint point)
{
    const int x = (point.x() - rect.x()) * picture.width() / rect.width();
    const int y = (point.y() - rect.y()) * picture.height() / rect.height();
    return picture.pixel(x, y) | 0xFF000000;
}

QList<TkavVolume> volumes(const QStringList &roots)
{
    QList<TkavVolume> list;
    for (const QString &root : roots)
        list.append({root, root == u"/media/stick" ? QStringLiteral("STICK") : QString(), "ext4"});
    return list;
}

} // namespace

class tst_KavComboBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rects_data();
    void rects();
    void face_data();
    void face();
    void focusedChoosingBoxShowsSelection();
    void simpleBoxIsLeftToQt();
    void lookResetsColours();
    void fileThemeRemovalFallsBackToDeepBlue();
    void propertiesByName_data();
    void propertiesByName();
    void colourVariantsConvert_data();
    void colourVariantsConvert();
    void drawnAndHitPartsAgree();
    void openListHasBorder();
    void comboBoxProperties();

    void userVolumes_data();
    void userVolumes();
    void driveList();
    void vanishedVolume_data();
    void vanishedVolume();
    void droppedDownReadsTheListAgain();

    void everyLookAndState();
};

// --- Geometry and faces ------------------------------------------------------------------------

void tst_KavComboBox::rects_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("field");
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QPoint>("arrow");

    QTest::addRow("usual") << QSize(145, 21) << QRect(2, 2, 124, 17) << QRect(126, 2, 17, 17) << QPoint(131, 8);
    QTest::addRow("tall") << QSize(145, 30) << QRect(2, 2, 124, 26) << QRect(126, 2, 17, 26) << QPoint(131, 13);
    QTest::addRow("narrower than the button") << QSize(15, 21) << QRect(2, 2, 0, 17) << QRect(2, 2, 11, 17) << QPoint(4, 8);
    QTest::addRow("empty") << QSize(0, 0) << QRect(2, 2, 0, 0) << QRect(2, 2, 0, 0) << QPoint(-1, 0);
}

void tst_KavComboBox::rects()
{
    QFETCH(QSize, size);
    const Kav::ComboBoxRects rects = Kav::KavComboBoxRects(QRect(QPoint(0, 0), size));
    QCOMPARE(rects.frame, QRect(QPoint(0, 0), size));
    QTEST(rects.field, "field");
    QTEST(rects.button, "button");
    QTEST(rects.arrow, "arrow");
}

void tst_KavComboBox::face_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<bool>("enabled");
    for (TkavUIStyle look : builtInLooks()) {
        QTest::addRow("%s", qPrintable(lookName(look))) << look << true;
        QTest::addRow("%s disabled", qPrintable(lookName(look))) << look << false;
    }
}

void tst_KavComboBox::face()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(bool, enabled);
    TkavComboBox box;
    box.setUIStyle(look);
    box.resize(60, 21);
    box.setEnabled(enabled);
    const QImage face = render(&box);
    const Kav::ComboBoxRects rects = Kav::KavComboBoxRects(box.rect());
    const QRect &button = rects.button;
    const QPoint a = rects.arrow;
    QCOMPARE(button, QRect(41, 2, 17, 17));

    const QRgb border = rgb(GetInsideThemeColor(look, KavKey::ControlBorderColor));
    for (const QPoint &p : {QPoint(0, 0), QPoint(59, 0), QPoint(0, 20), QPoint(59, 20), QPoint(30, 0), QPoint(30, 20),
                            QPoint(0, 10), QPoint(59, 10)})
        QCOMPARE(face.pixel(p), border);
    QStyleOption option;
    option.initFrom(&box);
    const QRgb inner = option.palette.color(QPalette::Base).rgb();
    for (const QPoint &p : {QPoint(1, 1), QPoint(10, 1), QPoint(1, 19), QPoint(58, 10), QPoint(58, 1)})
        QCOMPARE(face.pixel(p), inner);

    const bool picture = look == TkavUIStyle::MacOS || look == TkavUIStyle::WinXP;
    if (picture) {
        const QImage source = Kav::TkavPictureStore::instance()
                                  .resourcePicture(look == TkavUIStyle::MacOS ? QStringLiteral("MACOS_COMBOBOX_BUTTON")
                                                                               : QStringLiteral("WINXP_COMBOBOX_BUTTON"))
                                  .image();
        QVERIFY(!source.isNull());
        for (const QPoint &p : {button.topLeft(), QPoint(Kav::KavRight(button) - 1, Kav::KavBottom(button) - 1), QPoint(43, 15),
                                QPoint(55, 4)})
            QCOMPARE(face.pixel(p), stretchedPixel(source, button, p));
        // The separator is part of the picture: the inner line runs on above the button.
        QCOMPARE(face.pixel(41, 1), inner);
        if (look == TkavUIStyle::WinXP) {
            // The picture carries its own arrow.
            QCOMPARE(face.pixel(a), stretchedPixel(source, button, a));
            return;
        }
    } else {
        const QRgb flat = rgb(GetInsideThemeColor(look, KavKey::FormBackgroundColor));
        for (const QPoint &p : {QPoint(42, 2), QPoint(57, 18), QPoint(43, 15)})
            QCOMPARE(face.pixel(p), flat);
        for (int y = 1; y <= 19; ++y)
            QCOMPARE(face.pixel(41, y), border);
    }

    // The arrow: rows of 7, 5, 3 and 1 pixels; disabled, grey over a white copy one pixel off.
    const QRgb arrow = enabled ? qRgb(0, 0, 0) : qRgb(128, 128, 128);
    for (const QPoint &p : {a, a + QPoint(6, 0), a + QPoint(1, 1), a + QPoint(5, 1), a + QPoint(3, 3)})
        QCOMPARE(face.pixel(p), arrow);
    if (enabled) {
        QVERIFY(face.pixel(a + QPoint(7, 0)) != arrow);
        QVERIFY(face.pixel(a + QPoint(3, 4)) != arrow);
    } else {
        for (const QPoint &p : {a + QPoint(6, 1), a + QPoint(7, 1), a + QPoint(4, 4), a + QPoint(5, 3)})
            QCOMPARE(face.pixel(p), qRgb(255, 255, 255));
    }
}

void tst_KavComboBox::focusedChoosingBoxShowsSelection()
{
    ShownWindow shown;
    auto *box = new TkavComboBox(&shown.window);
    box->setStyle(TkavComboBox::csDropDownList);
    box->setItems({QStringLiteral("one"), QStringLiteral("two")});
    box->resize(80, 21);
    QVERIFY(shown.show());
    box->setFocus();
    QVERIFY(box->hasFocus());
    QStyleOption option;
    option.initFrom(box);
    const QImage face = render(box);
    // Inside the field, clear of the text at its left.
    QCOMPARE(face.pixel(55, 4), option.palette.color(QPalette::Highlight).rgb());
}

void tst_KavComboBox::simpleBoxIsLeftToQt()
{
    const TColor marker = TColor::fromRgb(0, 255, 0);
    auto markerPixels = [marker](QWidget *box) {
        const QImage face = render(box);
        int count = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                count += face.pixel(x, y) == rgb(marker);
        return count;
    };
    TkavComboBox skinned;
    skinned.resize(80, 24);
    skinned.ensurePolished(); // its look first: the colour given after it stays
    skinned.setBorderColor(marker);
    QVERIFY(markerPixels(&skinned) > 0);

    TkavComboBox simple;
    simple.setStyle(TkavComboBox::csSimple);
    simple.resize(80, 24);
    simple.setBorderColor(marker);
    QVERIFY(!simple.isSkinned());
    QVERIFY(simple.isEditable());
    QCOMPARE(markerPixels(&simple), 0);
    QVERIFY(simple.lineEdit()->geometry() != Kav::KavComboBoxRects(simple.rect()).field);
}

void tst_KavComboBox::lookResetsColours()
{
    QWidget window;
    auto *form = new TkavForm(&window);
    form->setUIStyle(TkavUIStyle::MacOS);
    auto *box = new TkavComboBox(&window);
    QCOMPARE(box->UIStyle(), TkavUIStyle::MacOS);

    // As the exam window's definition writes them: the look first, then the colours, which stay.
    box->setUIStyle(TkavUIStyle::MacOS);
    box->setBorderColor(TColor::fromRgb(127, 127, 127));
    box->setArrowColor(TColor::fromRgb(200, 0, 0));
    box->setButtonColor(TColor::fromRgb(231, 231, 231));
    QCOMPARE(box->ArrowColor(), TColor::fromRgb(200, 0, 0));

    box->setUIStyle(TkavUIStyle::Protein);
    QCOMPARE(box->ArrowColor(), TColor(0x000000));
    QCOMPARE(box->BorderColor(), GetInsideThemeColor(TkavUIStyle::Protein, KavKey::ControlBorderColor));
    QCOMPARE(box->ButtonColor(), GetInsideThemeColor(TkavUIStyle::Protein, KavKey::FormBackgroundColor));
    QVERIFY(box->face().buttonPicture.isNull());
    box->setUIStyle(TkavUIStyle::MacOS);
    QVERIFY(!box->face().buttonPicture.isNull());
}

void tst_KavComboBox::fileThemeRemovalFallsBackToDeepBlue()
{
    QTemporaryDir dir;
    std::unique_ptr<TkavFileTheme> theme = colourTheme(dir, TColor::fromRgb(10, 200, 30), TColor::fromRgb(90, 80, 70));
    QVERIFY(theme);
    for (TkavCustomComboBox *box : {static_cast<TkavCustomComboBox *>(new TkavComboBox),
                                    static_cast<TkavCustomComboBox *>(new TkavDriveComboBox)}) {
        const std::unique_ptr<TkavCustomComboBox> owned(box);
        box->setUIStyle(TkavUIStyle::FromThemeFile);
        Kav::KavWriteFileTheme(box, theme.get());
        QCOMPARE(box->BorderColor(), TColor::fromRgb(10, 200, 30));
        QCOMPARE(box->ButtonColor(), TColor::fromRgb(90, 80, 70));
        box->resize(60, 21);
        QCOMPARE(render(box).pixel(45, 10), qRgb(90, 80, 70));
    }

    TkavComboBox box;
    box.setUIStyle(TkavUIStyle::FromThemeFile);
    box.setFileTheme(theme.get());
    theme.reset();
    QCOMPARE(box.FileTheme(), nullptr);
    QCOMPARE(box.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(box.BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));
    QCOMPARE(box.ButtonColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::FormBackgroundColor));
}

void tst_KavComboBox::propertiesByName_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("names");

    const QStringList skin = {"FileTheme", "UIStyle", "BorderColor", "ArrowColor", "ButtonColor"};
    QTest::addRow("custom") << "TkavCustomComboBox" << skin;
    QTest::addRow("combo box") << "TkavComboBox"
                               << skin + QStringList{"Style", "Items", "ItemIndex", "Text", "DropDownCount",
                                                     "ItemHeight", "Sorted", "MaxLength", "AutoComplete", "Color",
                                                     "Font", "Enabled", "Visible", "TabStop"};
    QTest::addRow("drive combo box") << "TkavDriveComboBox"
                                     << skin + QStringList{"Drive", "DroppedDown", "Color", "Font", "Enabled", "Visible"};
}

void tst_KavComboBox::propertiesByName()
{
    QFETCH(QString, className);
    QFETCH(QStringList, names);
    std::unique_ptr<QWidget> box;
    if (className == u"TkavCustomComboBox")
        box = std::make_unique<TkavCustomComboBox>();
    else if (className == u"TkavComboBox")
        box = std::make_unique<TkavComboBox>();
    else
        box = std::make_unique<TkavDriveComboBox>();
    const QMetaObject *meta = box->metaObject();
    QCOMPARE(QString::fromLatin1(meta->className()), className);
    for (const QString &name : names) {
        const int index = meta->indexOfProperty(name.toLatin1().constData());
        QVERIFY2(index >= 0, qPrintable(name));
        QVERIFY2(meta->property(index).isWritable(), qPrintable(name));
    }
    Kav::KavWriteUIStyle(box.get(), TkavUIStyle::BlueGlass);
    QCOMPARE(box->property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::BlueGlass);
    QCOMPARE(box->property("BorderColor").value<TColor>(),
             GetInsideThemeColor(TkavUIStyle::BlueGlass, KavKey::ControlBorderColor));
    QVERIFY(box->setProperty("ArrowColor", QVariant::fromValue(TColor::fromRgb(1, 2, 3))));
    QCOMPARE(box->property("ArrowColor").value<TColor>(), TColor::fromRgb(1, 2, 3));
    // The colour properties are QColor to the meta-object (what Designer edits); alpha is not kept.
    QCOMPARE(meta->property(meta->indexOfProperty("ArrowColor")).metaType(), QMetaType::fromType<QColor>());
    QVERIFY(box->setProperty("ArrowColor", QColor(4, 5, 6, 7)));
    QCOMPARE(box->property("ArrowColor"), QVariant(QColor(4, 5, 6)));
}

void tst_KavComboBox::colourVariantsConvert_data()
{
    // The library registers the conversions itself: no plugin, no control made first.
    QTest::addColumn<QVariant>("from");
    QTest::addColumn<QVariant>("expected");
    QTest::addRow("TColor to QColor") << QVariant::fromValue(TColor(0x336699)) << QVariant(QColor(0x99, 0x66, 0x33));
    QTest::addRow("QColor to TColor, alpha dropped")
        << QVariant(QColor(1, 2, 3, 4)) << QVariant::fromValue(TColor::fromRgb(1, 2, 3));
    // A system colour (0x80000000 | index) shows as the palette's colour, not as its index.
    QTest::addRow("system colour to QColor")
        << QVariant::fromValue(TColor(0x8000000D)) << QVariant(QGuiApplication::palette().color(QPalette::Highlight));
}

void tst_KavComboBox::colourVariantsConvert()
{
    QFETCH(QVariant, from);
    QFETCH(QVariant, expected);
    QVERIFY(from.canConvert(expected.metaType()));
    QVariant converted = from;
    QVERIFY(converted.convert(expected.metaType()));
    QCOMPARE(converted, expected);
}

void tst_KavComboBox::drawnAndHitPartsAgree()
{
    ShownWindow shown;
    auto *box = new TkavComboBox(&shown.window);
    box->setItems({QStringLiteral("a"), QStringLiteral("b")});
    box->setGeometry(10, 10, 100, 22);
    QVERIFY(shown.show());
    const Kav::ComboBoxRects rects = Kav::KavComboBoxRects(box->rect());
    QCOMPARE(box->lineEdit()->geometry(), rects.field);
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    QCOMPARE(box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box), rects.button);
    QCOMPARE(box->style()->hitTestComplexControl(QStyle::CC_ComboBox, &option, rects.button.center(), box),
             QStyle::SC_ComboBoxArrow);

    // A press on the drawn button opens the list.
    QSignalSpy drops(box, &TkavCustomComboBox::OnDropDown);
    QTest::mousePress(box, Qt::LeftButton, {}, rects.button.center());
    QVERIFY(box->view()->isVisible());
    QCOMPARE(drops.count(), 1);
    box->hidePopup();

    // A box that only chooses has no line edit and opens from anywhere; its text is in the field.
    box->setStyle(TkavComboBox::csDropDownList);
    QVERIFY(!box->lineEdit());
    QCOMPARE(box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box),
             rects.field);
}

void tst_KavComboBox::openListHasBorder()
{
    ShownWindow shown;
    auto *box = new TkavComboBox(&shown.window);
    box->setItems({QStringLiteral("a"), QStringLiteral("b")});
    box->setUIStyle(TkavUIStyle::WinXP);
    box->setBorderColor(TColor::fromRgb(200, 10, 10));
    QVERIFY(shown.show());
    QSignalSpy closes(box, &TkavCustomComboBox::OnCloseUp);
    box->showPopup();
    auto *list = qobject_cast<QFrame *>(box->view()->parentWidget());
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QCOMPARE(list->frameShape(), QFrame::Box);
    QCOMPARE(list->lineWidth(), 1);
    const QImage face = list->grab().toImage();
    QCOMPARE(face.pixel(0, 0) | 0xFF000000, qRgb(200, 10, 10));
    QCOMPARE(face.pixel(face.width() - 1, face.height() - 1) | 0xFF000000, qRgb(200, 10, 10));
    // The list drops down under the box.
    QVERIFY(list->mapToGlobal(QPoint(0, 0)).y() >= box->mapToGlobal(QPoint(0, box->height())).y() - 1);
    box->hidePopup();
    QCOMPARE(closes.count(), 1);
}

void tst_KavComboBox::comboBoxProperties()
{
    TkavComboBox box;
    QCOMPARE(box.Style(), TkavComboBox::csDropDown);
    QVERIFY(box.isEditable());
    QCOMPARE(box.currentIndex(), -1);
    QCOMPARE(box.maxVisibleItems(), 8);

    // As the exam window sets its time box: items, then the text.
    const QStringList items = {QStringLiteral("5  分钟"), QStringLiteral("10 分钟"), QStringLiteral("不限时")};
    box.setProperty("Items", items);
    box.setProperty("Text", QStringLiteral("5  分钟"));
    QCOMPARE(box.property("Items").toStringList(), items);
    QCOMPARE(box.property("Text").toString(), QStringLiteral("5  分钟"));
    QCOMPARE(box.property("ItemIndex").toInt(), 0);
    box.setProperty("ItemIndex", 2);
    QCOMPARE(box.currentText(), QStringLiteral("不限时"));

    box.setSorted(true);
    QCOMPARE(box.Items(), (QStringList{QStringLiteral("10 分钟"), QStringLiteral("5  分钟"), QStringLiteral("不限时")}));

    box.setMaxLength(4);
    QCOMPARE(box.lineEdit()->maxLength(), 4);
    box.setAutoComplete(false);
    QVERIFY(!box.completer());
    box.setAutoComplete(true);
    QVERIFY(box.completer());

    box.setItemHeight(13);
    QStyleOptionViewItem option;
    QCOMPARE(box.view()->itemDelegate()->sizeHint(option, box.model()->index(0, 0)).height(), 13);

    box.setStyle(TkavComboBox::csDropDownList);
    QVERIFY(!box.isEditable());
    box.setStyle(TkavComboBox::csDropDown);
    QVERIFY(box.isEditable());
    // Settings of the line edit survive its being made again.
    QCOMPARE(box.lineEdit()->maxLength(), 4);
}

// --- Drive combo box ---------------------------------------------------------------------------

void tst_KavComboBox::userVolumes_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("user");

    QTest::addRow("root") << "/" << QByteArray("ext4") << true;
    QTest::addRow("root on overlay") << "/" << QByteArray("overlay") << true;
    QTest::addRow("home") << "/home" << QByteArray("ext4") << true;
    QTest::addRow("stick") << "/media/user/STICK" << QByteArray("vfat") << true;
    QTest::addRow("stick under run/media") << "/run/media/user/STICK" << QByteArray("exfat") << true;
    QTest::addRow("network share") << "/mnt/share" << QByteArray("cifs") << true;
    QTest::addRow("proc") << "/proc" << QByteArray("proc") << false;
    QTest::addRow("sysfs") << "/sys" << QByteArray("sysfs") << false;
    QTest::addRow("cgroups") << "/sys/fs/cgroup" << QByteArray("cgroup2") << false;
    QTest::addRow("device nodes") << "/dev" << QByteArray("devtmpfs") << false;
    QTest::addRow("tmpfs") << "/tmp" << QByteArray("tmpfs") << false;
    QTest::addRow("run") << "/run/lock" << QByteArray("tmpfs") << false;
    QTest::addRow("desktop fuse under run") << "/run/user/1000/doc" << QByteArray("fuse.portal") << false;
    QTest::addRow("snap") << "/snap/core/123" << QByteArray("squashfs") << false;
    QTest::addRow("bind under dev") << "/dev/shm" << QByteArray("ext4") << false;
    QTest::addRow("name starting like proc") << "/process" << QByteArray("ext4") << true;
}

void tst_KavComboBox::userVolumes()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, type);
    QTEST(Kav::KavIsUserVolume(root, type), "user");
}

void tst_KavComboBox::driveList()
{
    TkavDriveComboBox box;
    QVERIFY(!box.isEditable());
    // The machine's own volumes: at least the root file system is there.
    QVERIFY(box.count() > 0);
    QVERIFY(!box.Drive().isEmpty());

    QSignalSpy changes(&box, &TkavCustomComboBox::OnChange);
    box.setVolumeSource([] { return volumes({"/", "/home", "/media/stick"}); });
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.itemText(2), QStringLiteral("/media/stick [STICK]"));
    box.setDrive(QStringLiteral("/home"));
    QCOMPARE(box.Drive(), QStringLiteral("/home"));
    QCOMPARE(box.property("Drive").toString(), QStringLiteral("/home"));
    box.setDrive(QStringLiteral("/nowhere"));
    QCOMPARE(box.Drive(), QStringLiteral("/home"));

    box.setVolumeSource([] { return QList<TkavVolume>(); });
    QCOMPARE(box.count(), 0);
    QCOMPARE(box.Drive(), QString());
    QCOMPARE(box.currentIndex(), -1);
}

void tst_KavComboBox::vanishedVolume_data()
{
    QTest::addColumn<QStringList>("mountedAfter");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("finalDrive");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("items");

    QTest::addRow("still there") << QStringList{"/", "/home", "/media/stick"} << "/media/stick" << false
                                 << "/media/stick" << "/media/stick" << 1 << 3;
    QTest::addRow("gone") << QStringList{"/", "/home"} << "/media/stick" << false << "/home" << "/home" << 0 << 2;
    QTest::addRow("gone, by key") << QStringList{"/", "/home"} << "/media/stick" << true << "/home" << "/home" << 0 << 2;
    QTest::addRow("gone with the drive before") << QStringList{"/"} << "/media/stick" << false << "/home" << "/" << 1 << 1;
    QTest::addRow("everything gone") << QStringList{} << "/media/stick" << false << "/home" << "" << 1 << 0;
}

void tst_KavComboBox::vanishedVolume()
{
    QFETCH(QStringList, mountedAfter);
    QFETCH(QString, chosen);
    QFETCH(bool, byKey);
    QStringList mounted = {"/", "/home", "/media/stick"};
    TkavDriveComboBox box;
    box.setVolumeSource([&mounted] { return volumes(mounted); });
    box.setDrive(QStringLiteral("/home"));
    QSignalSpy changes(&box, &TkavCustomComboBox::OnChange);

    mounted = mountedAfter;
    if (byKey)
        pressKey(&box, Qt::Key_Down);
    else
        box.setCurrentIndex(box.findData(chosen));
    QTEST(box.Drive(), "drive");
    QCoreApplication::processEvents();
    QTEST(box.Drive(), "finalDrive");
    QCOMPARE(box.currentData().toString(), box.Drive());
    QTEST(int(changes.count()), "changes");
    QTEST(box.count(), "items");
}

void tst_KavComboBox::droppedDownReadsTheListAgain()
{
    ShownWindow shown;
    QStringList mounted = {"/", "/home"};
    auto *box = new TkavDriveComboBox(&shown.window);
    box->setVolumeSource([&mounted] { return volumes(mounted); });
    QVERIFY(shown.show());
    mounted.append(QStringLiteral("/media/stick"));
    QVERIFY(!box->DroppedDown());
    box->setProperty("DroppedDown", true);
    QVERIFY(box->DroppedDown());
    QCOMPARE(box->count(), 3);
    box->setDroppedDown(false);
    QVERIFY(!box->DroppedDown());
}

// --- Every look and state ----------------------------------------------------------------------

// Paints the combo boxes in every look and state (a crash or sanitizer report fails the test).
// With KAV_EDIT_SHOTS set to a folder, the sheets are saved there to be looked at.
void tst_KavComboBox::everyLookAndState()
{
    const QString folder = qEnvironmentVariable("KAV_EDIT_SHOTS");
    const QStringList states = {"normal", "focused", "disabled", "simple"};
    for (TkavUIStyle look : builtInLooks()) {
        ShownWindow shown;
        QList<QComboBox *> boxes;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < states.size(); ++column) {
                TkavCustomComboBox *box = nullptr;
                if (row == 2) {
                    auto *drive = new TkavDriveComboBox(&shown.window);
                    drive->setVolumeSource([] { return volumes({"/", "/home"}); });
                    box = drive;
                } else {
                    auto *combo = new TkavComboBox(&shown.window);
                    combo->setItems({QStringLiteral("5  分钟"), QStringLiteral("10 分钟")});
                    combo->setStyle(states[column] == u"simple" ? TkavComboBox::csSimple
                                    : row == 0                   ? TkavComboBox::csDropDown
                                                                 : TkavComboBox::csDropDownList);
                    combo->setCurrentIndex(0);
                    box = combo;
                }
                box->setUIStyle(look);
                box->setGeometry(10 + column * 100, 10 + row * 32, 90, 21);
                box->setEnabled(states[column] != u"disabled");
                boxes << box;
            }
        }
        auto *elsewhere = new QLineEdit(&shown.window);
        elsewhere->setGeometry(0, shown.window.height() - 20, 20, 20);
        QVERIFY(shown.show());
        QImage sheet(shown.window.size(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        for (int i = 0; i < boxes.size(); ++i) {
            const bool focused = states[i % states.size()] == u"focused";
            (focused ? static_cast<QWidget *>(boxes[i]) : elsewhere)->setFocus();
            QCOMPARE(boxes[i]->hasFocus(), focused);
            QPainter(&sheet).drawImage(boxes[i]->pos(), render(boxes[i]));
        }
        if (!folder.isEmpty())
            QVERIFY(sheet.save(QDir(folder).filePath(QStringLiteral("combos-%1.png").arg(lookName(look)))));
    }
}

QTEST_MAIN(tst_KavComboBox)
#include "tst_kavcombobox.moc"
