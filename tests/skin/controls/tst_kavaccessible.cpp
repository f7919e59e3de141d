#include "KAVAccessible.h"
#include "KAVArrowButton.h"
#include "KAVComboBox.h"
#include "KAVControlButton.h"
#include "KAVEdit.h"
#include "KAVImageButton.h"
#include "KAVImagePanel.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVSpinEdit.h"
#include "KAVThemes.h"
#include "KAVToolBarSpeedButton.h"
#include "KAVTrackBar.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// A control on a window of its own, with the label that names it where it has one.
using ControlMaker = std::function<QWidget *(QWidget *window)>;

QImage picture()
{
    QImage image(20, 12, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
}

template <typename Control>
Control *labelled(QWidget *window, Control *control, const QString &text)
{
    auto *label = new QLabel(text, window);
    label->setBuddy(control);
    return control;
}

} // namespace

Q_DECLARE_METATYPE(ControlMaker)

// What a screen reader meets on each control: its role, its name, and whether it takes the
// focus, in one table over the controls.
class tst_KavAccessible : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesAndRoles_data()
    {
        QTest::addColumn<ControlMaker>("make");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("focusable");

        // Pictures without a caption: the hint (tool tip), else the action's text.
        QTest::addRow("image button, hint") << ControlMaker([](QWidget *w) {
            auto *play = new TkavImageButton(w);
            play->setPicNormal(picture());
            play->setToolTip(QStringLiteral("Play"));
            return play;
        }) << int(QAccessible::Button) << "Play" << true;
        QTest::addRow("image button, action") << ControlMaker([](QWidget *w) {
            auto *play = new TkavImageButton(w);
            play->setPicNormal(picture());
            auto *action = new QAction(QStringLiteral("&Stop"), w);
            play->setAction(action);
            return play;
        }) << int(QAccessible::Button) << "Stop" << true;
        QTest::addRow("arrow button") << ControlMaker([](QWidget *w) {
            auto *arrow = new TKavArrowButton(w);
            arrow->setArrow(TKavArrowButton::kavDown);
            return arrow;
        }) << int(QAccessible::Button) << "Down" << true;
        QTest::addRow("control button, title frame") << ControlMaker([](QWidget *w) {
            auto *close = new TkavControlButton(w);
            close->setThemeID(KavKey::TitleBarButtonImage);
            close->setPicCount(18);
            close->setPicIndex(16);
            close->setTabStop(true);
            return close;
        }) << int(QAccessible::Button) << "Close" << true;
        QTest::addRow("control button, hint") << ControlMaker([](QWidget *w) {
            auto *control = new TkavControlButton(w);
            control->setThemeID(KavKey::ButtonImage);
            control->setPicCount(3);
            control->setPicIndex(1);
            control->setToolTip(QStringLiteral("Lock"));
            return control;
        }) << int(QAccessible::Button) << "Lock" << false;
        QTest::addRow("speed button") << ControlMaker([](QWidget *w) {
            auto *speed = new TkavToolBarSpeedButton(w);
            speed->setToolTip(QStringLiteral("Restore"));
            return speed;
        }) << int(QAccessible::Button) << "Restore" << false;
        // Fields named by their labels.
        QTest::addRow("edit") << ControlMaker([](QWidget *w) {
            return labelled(w, new TkavEdit(w), QStringLiteral("&Name"));
        }) << int(QAccessible::EditableText) << "Name" << true;
        QTest::addRow("spin edit") << ControlMaker([](QWidget *w) {
            return labelled(w, new TKavSpinEdit(w), QStringLiteral("&Count"));
        }) << int(QAccessible::SpinBox) << "Count" << true;
        QTest::addRow("track bar") << ControlMaker([](QWidget *w) {
            return labelled(w, new TkavTrackBar(w), QStringLiteral("Volume"));
        }) << int(QAccessible::Slider) << "Volume" << true;
        QTest::addRow("progress bar") << ControlMaker([](QWidget *w) {
            return labelled(w, new TkavProgressBar(w), QStringLiteral("Done"));
        }) << int(QAccessible::ProgressBar) << "Done" << false;
        QTest::addRow("scroll bar") << ControlMaker([](QWidget *w) {
            return labelled(w, new TkavScrollBar(w), QStringLiteral("Lines"));
        }) << int(QAccessible::ScrollBar) << "Lines" << false;
    }

    void namesAndRoles()
    {
        QFETCH(ControlMaker, make);
        QWidget window;
        QWidget *control = make(&window);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible);
        QTEST(int(accessible->role()), "role");
        QTEST(accessible->text(QAccessible::Name), "name");
        QTEST(bool(accessible->state().focusable), "focusable");
    }

    void comboBoxEditNamed_data()
    {
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::addRow("by the box's name") << "Time limit" << "" << "Time limit";
        QTest::addRow("by the box's label") << "" << "&Time" << "Time";
        QTest::addRow("the box's name before its label") << "Time limit" << "&Time" << "Time limit";
    }

    // Qt names a combo box by its value on Linux; the line edit a reader lands on in an editable
    // one takes the box's name or its label's, once shown.
    void comboBoxEditNamed()
    {
        QFETCH(QString, accessibleName);
        QFETCH(QString, label);
        QWidget window;
        auto *combo = new TkavComboBox(&window);
        combo->setItems({QStringLiteral("5 minutes"), QStringLiteral("No limit")});
        combo->setAccessibleName(accessibleName);
        if (!label.isEmpty())
            labelled(&window, combo, label);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(combo->lineEdit());
        QAccessibleInterface *edit = QAccessible::queryAccessibleInterface(combo->lineEdit());
        QVERIFY(edit);
        QCOMPARE(edit->role(), QAccessible::EditableText);
        QTEST(edit->text(QAccessible::Name), "name");
    }

    void panelRollButtonIsExposed()
    {
        QWidget window;
        auto *panel = new TkavPanel(&window);
        panel->setCaption(QStringLiteral("Settings"));
        panel->setShowButton(true);
        panel->setAnimationInterval(0);
        panel->resize(160, 120);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(panel);
        QVERIFY(accessible);
        QAccessibleInterface *button = accessible->child(accessible->childCount() - 1);
        QVERIFY(button);
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Roll up"));
        QCOMPARE(accessible->indexOfChild(button), accessible->childCount() - 1);
        QAccessibleActionInterface *actions = button->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{QStringLiteral("Alt+Up")});
        actions->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(panel->Pushed());
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Roll down"));

        // The key: Alt+Down from the panel (or a control in it) rolls it down again.
        QTest::keyClick(panel, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(!panel->Pushed());
        QTest::keyClick(panel, Qt::Key_Up, Qt::AltModifier);
        QTRY_VERIFY(panel->Pushed());

        // Without its button shown there is nothing to expose.
        panel->setShowButton(false);
        const int children = accessible->childCount();
        for (int i = 0; i < children; ++i)
            QVERIFY(accessible->child(i) == nullptr || accessible->child(i)->role() != QAccessible::Button);
    }
};

QTEST_MAIN(tst_KavAccessible)

#include "tst_kavaccessible.moc"
