#include "KAVDBEdits.h"
#include "KAVScrollBar.h"
#include "KAVThemeValues.h"
#include "tst_kavdbedits_fixtures.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QTest>

#include <memory>

using KavTest::BoundPupils;

namespace {

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture header (binary PPM, which has no checksum) claiming width x height, with a few pixels.
QByteArray headerClaiming(int width, int height)
{
    return QStringLiteral("P6 %1 %2 255\n").arg(width).arg(height).toLatin1() + QByteArray(12, '\x7f');
}

void storePhoto(BoundPupils &bound, int id, const QByteArray &bytes)
{
    QSqlQuery query(bound.db.database());
    query.prepare(QStringLiteral("UPDATE pupils SET photo = ? WHERE id = ?"));
    query.addBindValue(bytes);
    query.addBindValue(id);
    QVERIFY(query.exec());
}

template <typename Control>
Control *bind(BoundPupils &bound, const char *field, QRect geometry = QRect(10, 10, 150, 24))
{
    auto *control = new Control(&bound.window);
    control->setGeometry(geometry);
    control->setDataSource(bound.source.get());
    control->setDataField(QString::fromLatin1(field));
    return control;
}

} // namespace

class TestKavDBEdits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editTypesPostsAndReadsBack();
    void escapeAndCancelShowTheStoredValue();
    void twoControlsOnOneFieldStayInStep();
    void refusedValueKeepsFocusAndText_data();
    void refusedValueKeepsFocusAndText();
    void inactiveOrReadOnlyRefusesKeys();
    void destroyedSourceLeavesControlsEmptyAndSafe();
    void memoEditsAndKeepsCrampedBarsShown();
    void imageShowsBlobAndSurvivesGarbage_data();
    void imageShowsBlobAndSurvivesGarbage();
    void imagePlacesThePicture_data();
    void imagePlacesThePicture();
    void imageKeysEditTheField();
    void comboChoosingAndTypingEdit();
    void looksGiveTheColours();
};

void TestKavDBEdits::editTypesPostsAndReadsBack()
{
    BoundPupils bound;
    auto *edit = bind<TkavDBEdit>(bound, "name");
    QCOMPARE(edit->text(), QStringLiteral("Anna"));
    QVERIFY(bound.dataSet->Next());
    QCOMPARE(edit->text(), QStringLiteral("Ben"));

    edit->setCursorPosition(3);
    QTest::keyClicks(edit, QStringLiteral("jamin"));
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsEdit);
    QVERIFY2(bound.dataSet->Post(), qPrintable(bound.dataSet->LastError()));
    QCOMPARE(bound.stored(QStringLiteral("name"), 2).toString(), QStringLiteral("Benjamin"));
    QCOMPARE(edit->text(), QStringLiteral("Benjamin"));
    QVERIFY(bound.errors.isEmpty());
}

void TestKavDBEdits::escapeAndCancelShowTheStoredValue()
{
    BoundPupils bound;
    auto *edit = bind<TkavDBEdit>(bound, "name");
    QTest::keyClicks(edit, QStringLiteral("zz"));
    QVERIFY(edit->text() != QStringLiteral("Anna"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), QStringLiteral("Anna"));

    QTest::keyClicks(edit, QStringLiteral("zz"));
    bound.dataSet->Cancel();
    QCOMPARE(edit->text(), QStringLiteral("Anna"));
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);
    QCOMPARE(bound.stored(QStringLiteral("name"), 1).toString(), QStringLiteral("Anna"));
}

void TestKavDBEdits::twoControlsOnOneFieldStayInStep()
{
    BoundPupils bound;
    auto *first = bind<TkavDBEdit>(bound, "name");
    auto *second = bind<TkavDBEdit>(bound, "name", QRect(10, 40, 150, 24));
    auto *memo = bind<TkavDBMemo>(bound, "name", QRect(10, 70, 150, 60));
    QVERIFY(bound.show());
    first->setFocus();
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("Ada"));
    second->setFocus(); // leaving hands the text to the field, which every control shows
    QCOMPARE(second->text(), QStringLiteral("Ada"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("Ada"));
    QVERIFY(bound.dataSet->Post());
    QVERIFY(bound.dataSet->Last());
    QCOMPARE(first->text(), QStringLiteral("Dev"));
    QCOMPARE(second->text(), QStringLiteral("Dev"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("Dev"));
    QCOMPARE(bound.stored(QStringLiteral("name"), 1).toString(), QStringLiteral("Ada"));
}

void TestKavDBEdits::refusedValueKeepsFocusAndText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("readOnlyFile");
    QTest::addColumn<bool>("refusedOnLeave"); // else refused when the record is posted
    QTest::addRow("text into a number") << "score" << "abc" << false << true;
    QTest::addRow("check constraint") << "score" << "150" << false << false;
    QTest::addRow("read-only file") << "name" << "Zed" << true << false;
}

void TestKavDBEdits::refusedValueKeepsFocusAndText()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, readOnlyFile);
    QFETCH(bool, refusedOnLeave);

    BoundPupils bound;
    if (readOnlyFile)
        bound.makeFileReadOnly();
    const QVariant before = bound.stored(field, 1);
    auto *edit = bind<TkavDBEdit>(bound, field.toLatin1().constData());
    auto *other = new TkavEdit(&bound.window);
    other->move(10, 60);
    QVERIFY(bound.show());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    other->setFocus();

    if (refusedOnLeave) {
        QCOMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(bound.errors.size(), 1);
        QVERIFY2(bound.errors.first().contains(typed), qPrintable(bound.errors.first()));
    } else {
        QCOMPARE(QApplication::focusWidget(), other);
        QVERIFY(!bound.dataSet->Post());
        QVERIFY(!bound.dataSet->LastError().isEmpty());
        QCOMPARE(bound.dataSet->State(), TkavDataSet::dsEdit);
    }
    QCOMPARE(edit->text(), typed);
    QCOMPARE(bound.stored(field, 1), before);
}

void TestKavDBEdits::inactiveOrReadOnlyRefusesKeys()
{
    BoundPupils bound;
    auto *edit = bind<TkavDBEdit>(bound, "name");
    edit->setReadOnly(true);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(edit->text(), QStringLiteral("Anna"));
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);

    edit->setReadOnly(false);
    bound.dataSet->Close();
    QCOMPARE(edit->text(), QString());
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(edit->text(), QString());
    QCOMPARE(bound.beeps, 2); // each refused key
}

void TestKavDBEdits::destroyedSourceLeavesControlsEmptyAndSafe()
{
    BoundPupils bound;
    auto *edit = bind<TkavDBEdit>(bound, "name");
    auto *memo = bind<TkavDBMemo>(bound, "notes", QRect(10, 40, 150, 60));
    auto *combo = bind<TkavDBComboBox>(bound, "colour", QRect(10, 110, 150, 24));
    storePhoto(bound, 1, pngBytes(filled(QSize(4, 4), Qt::blue)));
    bound.openPupils();
    auto *image = bind<TkavDBImage>(bound, "photo", QRect(200, 10, 60, 60));
    QVERIFY(!image->Picture().isNull());
    QCOMPARE(memo->toPlainText(), QStringLiteral("Reads well"));
    QTest::keyClicks(edit, QStringLiteral("x")); // a pending edit when the source goes

    bound.source.reset();
    QCOMPARE(edit->DataSource(), nullptr);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(memo->toPlainText(), QString());
    QCOMPARE(combo->currentText(), QString());
    QVERIFY(image->Picture().isNull());
    QVERIFY(!edit->Field().isValid());

    // Still usable: keys are refused, leaving and painting do nothing harmful.
    QTest::keyClicks(edit, QStringLiteral("y"));
    QTest::keyClicks(memo, QStringLiteral("y"));
    QTest::keyClicks(combo, QStringLiteral("y"));
    QTest::keyClick(image, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(memo->toPlainText(), QString());
    QCOMPARE(combo->currentText(), QString());
    QVERIFY(bound.show());
    edit->setFocus();
    memo->setFocus();
    image->setFocus();
    edit->setFocus();
    edit->grab();
    image->grab();
    QVERIFY(bound.errors.isEmpty());
}

void TestKavDBEdits::memoEditsAndKeepsCrampedBarsShown()
{
    BoundPupils bound;
    auto *memo = bind<TkavDBMemo>(bound, "notes", QRect(10, 10, 150, 80));
    auto *bar = new TkavScrollBar(&bound.window);
    memo->setVScrollBar(bar);
    QVERIFY(bound.show());
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, QStringLiteral(" aloud"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("and fast"));
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("notes"), 1).toString(), QStringLiteral("Reads well aloud\nand fast"));

    QTest::keyClicks(memo, QStringLiteral("!"));
    QTest::keyClick(memo, Qt::Key_Escape);
    QCOMPARE(memo->toPlainText(), QStringLiteral("Reads well aloud\nand fast"));

    // Too short for the bar's buttons: a plain memo hides its bar, this one keeps it.
    memo->resize(150, 12);
    QVERIFY(bar->isVisible());
}

void TestKavDBEdits::imageShowsBlobAndSurvivesGarbage_data()
{
    QTest::addColumn<QByteArray>("blob");
    QTest::addColumn<bool>("shown");
    QTest::addRow("png") << pngBytes(filled(QSize(8, 6), Qt::blue)) << true;
    QTest::addRow("garbage") << QByteArray("\x89PNG not really a picture at all", 32) << false;
    QTest::addRow("empty") << QByteArray("") << false;
    QTest::addRow("header claims a giant") << headerClaiming(100000, 100000) << false;
    QTest::addRow("above the side limit") << headerClaiming(Kav::DBImageMaxSide + 1, 1) << false;
    QTest::addRow("pixels missing") << headerClaiming(64, 64) << false;
}

void TestKavDBEdits::imageShowsBlobAndSurvivesGarbage()
{
    QFETCH(QByteArray, blob);
    QFETCH(bool, shown);
    BoundPupils bound;
    storePhoto(bound, 1, blob);
    bound.openPupils();
    auto *image = bind<TkavDBImage>(bound, "photo", QRect(10, 10, 40, 30));
    image->ensurePolished(); // its look first: the colour given after it stays
    image->setBorderColor(TColor(0x0000FF));
    QCOMPARE(!image->Picture().isNull(), shown);

    const QImage face = image->grab().toImage();
    QCOMPARE(face.pixelColor(0, 0), QColor(Qt::red));               // BorderColor outside
    QCOMPARE(face.pixelColor(1, 1), image->Color().resolved());       // Color inside it
    const QColor middle = face.pixelColor(20, 15);
    QCOMPARE(middle, shown ? QColor(Qt::blue) : image->Color().resolved());
}

void TestKavDBEdits::imagePlacesThePicture_data()
{
    // The image is 40 x 40; inside its border the picture has (2, 2) to (37, 37).
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("proportional");
    QTest::addColumn<bool>("center");
    QTest::addColumn<QRect>("drawn");
    QTest::addRow("small, top left") << QSize(8, 6) << false << false << false << QRect(2, 2, 8, 6);
    QTest::addRow("small, centred") << QSize(8, 6) << false << false << true << QRect(16, 17, 8, 6);
    QTest::addRow("large, clipped") << QSize(72, 18) << false << false << false << QRect(2, 2, 72, 18);
    QTest::addRow("stretched") << QSize(8, 6) << true << false << false << QRect(2, 2, 36, 36);
    QTest::addRow("stretched keeping shape") << QSize(72, 18) << true << true << false << QRect(2, 2, 36, 9);
    QTest::addRow("stretched keeping shape, centred") << QSize(72, 18) << true << true << true << QRect(2, 15, 36, 9);
    QTest::addRow("proportional keeps a small one") << QSize(8, 6) << false << true << false << QRect(2, 2, 8, 6);
    QTest::addRow("proportional shrinks a large one") << QSize(72, 18) << false << true << false << QRect(2, 2, 36, 9);
}

void TestKavDBEdits::imagePlacesThePicture()
{
    QFETCH(QSize, picture);
    QFETCH(bool, stretch);
    QFETCH(bool, proportional);
    QFETCH(bool, center);
    QFETCH(QRect, drawn);
    BoundPupils bound;
    storePhoto(bound, 1, pngBytes(filled(picture, Qt::blue)));
    bound.openPupils();
    auto *image = bind<TkavDBImage>(bound, "photo", QRect(10, 10, 40, 40));
    image->setStretch(stretch);
    image->setProportional(proportional);
    image->setCenter(center);
    QCOMPARE(image->pictureRect(), drawn);
    // Nothing is drawn over the border.
    const QImage face = image->grab().toImage();
    QCOMPARE(face.pixelColor(1, 1), image->Color().resolved());
    QCOMPARE(face.pixelColor(38, 38), image->Color().resolved());
}

void TestKavDBEdits::imageKeysEditTheField()
{
    BoundPupils bound;
    storePhoto(bound, 1, pngBytes(filled(QSize(4, 4), Qt::blue)));
    bound.openPupils();
    auto *image = bind<TkavDBImage>(bound, "photo", QRect(10, 10, 40, 40));

    QTest::keyClick(image, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(4, 4));
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse); // copying edits nothing

    QTest::keyClick(image, Qt::Key_Delete);
    QVERIFY(image->Picture().isNull());
    QTest::keyClick(image, Qt::Key_Escape);
    QVERIFY(!image->Picture().isNull());
    QTest::keyClick(image, Qt::Key_Delete);
    QVERIFY(bound.dataSet->Post());
    QVERIFY(bound.stored(QStringLiteral("photo"), 1).isNull());

    QApplication::clipboard()->setImage(filled(QSize(7, 5), Qt::green));
    QTest::keyClick(image, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(bound.dataSet->Post());
    const QImage stored = QImage::fromData(bound.stored(QStringLiteral("photo"), 1).toByteArray());
    QCOMPARE(stored.size(), QSize(7, 5));

    image->setReadOnly(true);
    QTest::keyClick(image, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!image->Picture().isNull());
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsBrowse);
}

void TestKavDBEdits::comboChoosingAndTypingEdit()
{
    BoundPupils bound;
    auto *combo = bind<TkavDBComboBox>(bound, "colour");
    combo->setItems({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Yes")});
    QCOMPARE(combo->currentText(), QStringLiteral("Yes"));
    QVERIFY(bound.dataSet->Next());
    QCOMPARE(combo->currentText(), QStringLiteral("no")); // not among the items: shown as it is
    QCOMPARE(combo->currentIndex(), -1);

    // Choosing an item (as the list does) edits the record.
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    QCOMPARE(bound.dataSet->State(), TkavDataSet::dsEdit);
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("colour"), 2).toString(), QStringLiteral("Green"));

    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("Blue"));
    QCOMPARE(combo->currentText(), QStringLiteral("Blue"));
    QTest::keyClick(combo, Qt::Key_Escape);
    QCOMPARE(combo->currentText(), QStringLiteral("Green"));
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("Blue"));
    QVERIFY(bound.dataSet->Post());
    QCOMPARE(bound.stored(QStringLiteral("colour"), 2).toString(), QStringLiteral("Blue"));
}

void TestKavDBEdits::looksGiveTheColours()
{
    QWidget parent;
    TkavDBEdit edit(&parent);
    TkavDBMemo memo(&parent);
    TkavDBImage image(&parent);
    TkavDBComboBox combo(&parent);
    for (const TkavUIStyle style : {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                    TkavUIStyle::Protein, TkavUIStyle::BlueGlass}) {
        const KavThemeValues values(style, nullptr);
        const TColor border = values.color(KavKey::ControlBorderColor);
        edit.setBorderColor(TColor(0x123456));
        image.setBorderColor(TColor(0x123456));
        combo.setArrowColor(TColor(0x123456));
        edit.setUIStyle(style);
        memo.setUIStyle(style);
        image.setUIStyle(style);
        combo.setUIStyle(style);
        const QByteArray look = QByteArray::number(int(style));
        QVERIFY2(edit.BorderColor() == border, look);
        QVERIFY2(memo.BorderColor() == border, look);
        QVERIFY2(image.BorderColor() == border, look);
        QVERIFY2(combo.BorderColor() == border, look);
        QVERIFY2(combo.ArrowColor() == TColor(0x000000), look);
        QVERIFY2(combo.ButtonColor() == values.color(KavKey::FormBackgroundColor), look);
    }
}

QTEST_MAIN(TestKavDBEdits)
#include "tst_kavdbedits.moc"
