// Every control that draws its border in the look's ControlBorderColor draws a system colour from
// a theme file alike: as the palette colour it names, never as the bare index, and its BorderColor
// property reads the colour its pixels show.
#include "KAVComboBox.h"
#include "KAVDBEdits.h"
#include "KAVDBGrid.h"
#include "KAVDBLists.h"
#include "KAVEdit.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVMemo.h"
#include "KAVPageControl.h"
#include "KAVProgressBar.h"
#include "KAVRadioGroup.h"
#include "KAVTabControl.h"
#include "kav_fixture_theme.h"

#include <QGuiApplication>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// clHighlight, as a theme file stores it.
constexpr TColor SystemHighlight(0x8000000D);

using MakeControl = std::function<QWidget *(QWidget *window)>;

template <typename Control>
MakeControl make()
{
    return [](QWidget *window) -> QWidget * { return new Control(window); };
}

} // namespace

Q_DECLARE_METATYPE(MakeControl)

class TestBorderColour : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_theme = KavTest::writeFixtureTheme(m_dir, QStringLiteral("system"), {},
                                             {{KavKey::ControlBorderColor, SystemHighlight}});
        QVERIFY(m_theme);
    }

    void systemColourDrawnAlike_data()
    {
        QTest::addColumn<MakeControl>("makeControl");
        // A point of the border, away from corners that pictures or captions may cover.
        QTest::addColumn<QPoint>("border");
        QTest::addRow("edit") << make<TkavEdit>() << QPoint(0, 10);
        QTest::addRow("memo") << make<TkavMemo>() << QPoint(0, 5);
        QTest::addRow("combo box") << make<TkavComboBox>() << QPoint(0, 10);
        QTest::addRow("group box") << make<TkavGroupBox>() << QPoint(0, 60);
        QTest::addRow("radio group") << make<TkavRadioGroup>() << QPoint(0, 60);
        QTest::addRow("tab control") << make<TkavTabControl>() << QPoint(0, 70);
        QTest::addRow("page control") << make<TkavPageControl>() << QPoint(0, 70);
        QTest::addRow("panel") << make<TkavPanel>() << QPoint(0, 60);
        QTest::addRow("progress bar") << make<TkavProgressBar>() << QPoint(0, 5);
        QTest::addRow("data image") << make<TkavDBImage>() << QPoint(0, 40);
        QTest::addRow("data list box") << make<TkavDBListBox>() << QPoint(0, 40);
        QTest::addRow("data grid") << make<TkavDBGrid>() << QPoint(0, 60);
    }

    void systemColourDrawnAlike()
    {
        QFETCH(MakeControl, makeControl);
        QFETCH(QPoint, border);
        QWidget window;
        window.resize(300, 200);
        QWidget *control = makeControl(&window);
        control->setProperty("FileTheme", QVariant::fromValue(m_theme.get()));
        control->setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::FromThemeFile));
        const QColor highlight = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
        // The property reads as the colour the system colour names.
        QCOMPARE(control->property("BorderColor").value<QColor>(), highlight);

        const QImage face = control->grab().toImage();
        QCOMPARE(face.pixelColor(border), highlight);
        // A disabled control draws it alike: a system colour names one colour.
        control->setEnabled(false);
        QCOMPARE(control->grab().toImage().pixelColor(border), highlight);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TkavFileTheme> m_theme;
};

QTEST_MAIN(TestBorderColour)
#include "tst_kavbordercolour.moc"
