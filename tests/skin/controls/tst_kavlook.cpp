// The look rule every skinned control shares (TkavLook): the first look is taken when the control
// is polished, from the skinned form on its window whenever that form was made; a look given
// before wins; a control's whole class takes part in its first look, which is fetched once.
#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVComboBox.h"
#include "KAVDBEdits.h"
#include "KAVDBGrid.h"
#include "KAVDBLists.h"
#include "KAVDBNavigator.h"
#include "KAVEdit.h"
#include "KAVForm.h"
#include "KAVGroupBox.h"
#include "KAVImagePanel.h"
#include "KAVMainMenu.h"
#include "KAVMemo.h"
#include "KAVPageControl.h"
#include "KAVPopupMenu.h"
#include "KAVProgressBar.h"
#include "KAVRadioGroup.h"
#include "KAVScrollBar.h"
#include "KAVSpinEdit.h"
#include "KAVTabControl.h"
#include "KAVTitleBar.h"
#include "KAVToolBar.h"
#include "KAVTrackBar.h"

#include <QTest>

#include <functional>

namespace {

using MakeControl = std::function<QWidget *(QWidget *window)>;

template <typename Control>
MakeControl make()
{
    return [](QWidget *window) -> QWidget * { return new Control(window); };
}

TkavUIStyle styleOf(const QObject *control)
{
    return control->property("UIStyle").value<TkavUIStyle>();
}

// A push button that counts how often its look reaches it.
class CountingButton : public TkavButton {
public:
    using TkavButton::TkavButton;
    int looks = 0;

protected:
    void UIStyleChanged() override
    {
        ++looks;
        TkavButton::UIStyleChanged();
    }
};

// A push button whose face at rest is its mouse-over face (as a gallery shows the states).
class HoverFaceButton : public TkavButton {
public:
    using TkavButton::TkavButton;

protected:
    void PaintButtonNormal(QImage &picture) override { PaintButtonMouseOn(picture); }
};

} // namespace

Q_DECLARE_METATYPE(MakeControl)

class TestLook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstLookWhenPolished_data()
    {
        QTest::addColumn<MakeControl>("makeControl");
        QTest::addRow("button") << make<TkavButton>();
        QTest::addRow("arrow button") << make<TKavArrowButton>();
        QTest::addRow("check box") << make<TkavCheckBox>();
        QTest::addRow("radio button") << make<TkavRadioButton>();
        QTest::addRow("group box") << make<TkavGroupBox>();
        QTest::addRow("check group") << make<TkavCheckGroup>();
        QTest::addRow("radio group") << make<TkavRadioGroup>();
        QTest::addRow("panel") << make<TkavPanel>();
        QTest::addRow("edit") << make<TkavEdit>();
        QTest::addRow("spin edit") << make<TKavSpinEdit>();
        QTest::addRow("memo") << make<TkavMemo>();
        QTest::addRow("combo box") << make<TkavComboBox>();
        QTest::addRow("scroll bar") << make<TkavScrollBar>();
        QTest::addRow("track bar") << make<TkavTrackBar>();
        QTest::addRow("progress bar") << make<TkavProgressBar>();
        QTest::addRow("tab control") << make<TkavTabControl>();
        QTest::addRow("page control") << make<TkavPageControl>();
        QTest::addRow("toolbar") << make<TkavToolBar>();
        QTest::addRow("title bar") << make<TkavTitleBar>();
        QTest::addRow("pop-up menu") << make<TkavPopupMenu>();
        QTest::addRow("data grid") << make<TkavDBGrid>();
        QTest::addRow("data image") << make<TkavDBImage>();
        QTest::addRow("data list box") << make<TkavDBListBox>();
        QTest::addRow("data navigator") << make<TkavDBNavigator>();
    }

    void firstLookWhenPolished()
    {
        QFETCH(MakeControl, makeControl);
        QWidget window;
        // Made before the window has its skinned form: the form's look still reaches it.
        QWidget *control = makeControl(&window);
        QWidget *given = makeControl(&window);
        QCOMPARE(styleOf(control), TkavUIStyle::DeepBlue);
        auto *form = new TkavForm(&window);
        form->setUIStyle(TkavUIStyle::MacOS);
        // Before its polish a control reads the look it will take; one given a look keeps it.
        QCOMPARE(styleOf(control), TkavUIStyle::MacOS);
        given->setProperty("UIStyle", QVariant::fromValue(TkavUIStyle::WinXP));
        form->setUIStyle(TkavUIStyle::Protein);
        QCOMPARE(styleOf(control), TkavUIStyle::Protein);

        window.ensurePolished();
        QCOMPARE(styleOf(control), TkavUIStyle::Protein);
        QCOMPARE(styleOf(given), TkavUIStyle::WinXP);
        // Taken: a later change of the form's look is the form's own.
        form->setUIStyle(TkavUIStyle::BlueGlass);
        QCOMPARE(styleOf(control), TkavUIStyle::Protein);
    }

    void buttonFetchesItsLookOnce()
    {
        QWidget window;
        auto *form = new TkavForm(&window);
        form->setUIStyle(TkavUIStyle::MacOS);
        auto *button = new CountingButton(form);
        QCOMPARE(button->looks, 0);
        button->ensurePolished();
        QCOMPARE(button->looks, 1);
        // The look reached the push button's own part: MacOS buttons are transparent.
        QVERIFY(button->Transparent());
        button->ensurePolished();
        QCOMPARE(button->looks, 1);
        button->setUIStyle(TkavUIStyle::WinXP);
        QCOMPARE(button->looks, 2);
        QVERIFY(!button->Transparent());
    }

    void firstLookReachesTheSubclassFaces_data()
    {
        QTest::addColumn<TkavUIStyle>("look");
        // DeepBlue is the look a control has before any is given: its first look comes with no
        // change of look at all.
        QTest::addRow("DeepBlue") << TkavUIStyle::DeepBlue;
        QTest::addRow("WinXP") << TkavUIStyle::WinXP;
    }

    void firstLookReachesTheSubclassFaces()
    {
        QFETCH(TkavUIStyle, look);
        QWidget window;
        auto *form = new TkavForm(&window);
        form->setUIStyle(look);
        auto *plain = new TkavButton(form);
        auto *hover = new HoverFaceButton(form);
        for (TkavButton *button : {plain, static_cast<TkavButton *>(hover)}) {
            button->setCaption(QStringLiteral("Hover"));
            button->resize(80, 27);
        }
        window.ensurePolished();
        // The subclass's face hook draws the first face, not the plain button's.
        QVERIFY(hover->grab().toImage() != plain->grab().toImage());
    }

    void fileThemeAssignedAgainIsReadAgain()
    {
        // A file theme re-assigns itself after loading another file; each assignment re-reads.
        QWidget window;
        auto *button = new CountingButton(&window);
        auto *theme = new TkavFileTheme(&window);
        button->setFileTheme(theme);
        button->setFileTheme(theme);
        QCOMPARE(button->looks, 2);
        // A destroyed theme leaves DeepBlue.
        button->setUIStyle(TkavUIStyle::FromThemeFile);
        delete theme;
        QCOMPARE(button->FileTheme(), nullptr);
        QCOMPARE(button->UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(button->looks, 4);
    }
};

QTEST_MAIN(TestLook)
#include "tst_kavlook.moc"
