#include "KAVArrowButton.h"
#include "KAVButton.h"
#include "KAVEdit.h"
#include "KAVEditMask.h"
#include "KAVErrorBox.h"
#include "KAVForm.h"
#include "KAVMgr.h"
#include "KAVNumberFormat.h"
#include "KAVSpinEdit.h"
#include "tst_kavedit_fixtures.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaProperty>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTest>

#include <climits>
#include <memory>

using namespace fixtures;

namespace {

// A window shown and active, so that focus moves as for the user.
struct ShownWindow {
    QWidget window;
    ShownWindow() { window.resize(260, 120); }
    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

void sendFocus(QWidget *widget, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent event(type, reason);
    QCoreApplication::sendEvent(widget, &event);
}

// Drags text in and drops it, as the mouse would; Qt delivers the drop only to a widget that took
// the drag when it entered.
void dropText(QWidget *widget, const QString &text)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
}

// The edit's actions of a menu by their text without mnemonic and shortcut ("Paste").
bool menuEntryEnabled(QMenu *menu, const QString &entry)
{
    for (const QAction *action : menu->actions()) {
        QString text = action->text().section(u'\t', 0, 0);
        text.remove(u'&');
        if (text == entry)
            return action->isEnabled();
    }
    return false;
}

std::unique_ptr<QWidget> makeControl(const QString &className)
{
    if (className == u"TkavEdit")
        return std::make_unique<TkavEdit>();
    if (className == u"TkavMaskEdit")
        return std::make_unique<TkavMaskEdit>();
    if (className == u"TkavNumberEdit")
        return std::make_unique<TkavNumberEdit>();
    if (className == u"TKavSpinEdit")
        return std::make_unique<TKavSpinEdit>();
    if (className == u"TKavSpinButtons")
        return std::make_unique<TKavSpinButtons>();
    return nullptr;
}

} // namespace

class tst_KavEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void formatFloat_data();
    void formatFloat();
    void strToFloat_data();
    void strToFloat();
    void editMask_data();
    void editMask();
    void maskEditText_data();
    void maskEditText();

    void propertiesByName_data();
    void propertiesByName();
    void lookSetsBorderColour();
    void fileThemeRemovalFallsBackToDeepBlue();
    void border_data();
    void border();
    void keyPressHandlerReplacesOrRefuses();
    void entering_data();
    void entering();

    void numberEditStartsAtZero();
    void numberEditValue_data();
    void numberEditValue();
    void numberKeyFilter_data();
    void numberKeyFilter();
    void numberEditPutsBackNonNumbers_data();
    void numberEditPutsBackNonNumbers();
    void numberEditLeaving_data();
    void numberEditLeaving();
    void numberEditClickSelectsDecimals();

    void spinSteps_data();
    void spinSteps();
    void spinKeyFilter_data();
    void spinKeyFilter();
    void spinEditorDisabled_data();
    void spinEditorDisabled();
    void spinHeldButtonRepeats();
    void spinReadOnlyBeeps();
    void spinLeavingClamps_data();
    void spinLeavingClamps();
    void spinButtonsLayout_data();
    void spinButtonsLayout();
    void spinEditPlacesItsButtons_data();
    void spinEditPlacesItsButtons();
    void spinButtonsKeys();
    void spinAccessibility();
    void spinReturnBeepsAndStaysInTheEdit();
    void spinPasteTakesOnlyWhatCanBeTyped_data();
    void spinPasteTakesOnlyWhatCanBeTyped();
    void conversionErrorIsShown_data();
    void conversionErrorIsShown();
    void readOnlyEditIsNotEditable();

    void everyLookAndState();
};

void tst_KavEdit::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

// --- Pure functions ----------------------------------------------------------------------------

void tst_KavEdit::formatFloat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("expected");

    QTest::addRow("two decimals") << 1.234 << "0.00" << "1.23";
    QTest::addRow("zero") << 0.0 << "0.00" << "0.00";
    QTest::addRow("half away from zero") << 0.125 << "0.00" << "0.13";
    QTest::addRow("negative") << -2.5 << "0.00" << "-2.50";
    QTest::addRow("negative rounding to zero shows no minus") << -0.001 << "0.00" << "0.00";
    QTest::addRow("whole number rounds") << 2.5 << "0" << "3";
    QTest::addRow("leading zeros") << 7.0 << "000" << "007";
    QTest::addRow("more digits than placeholders") << 1234567.0 << "0" << "1234567";
    QTest::addRow("optional digits") << 0.5 << "#.##" << ".5";
    QTest::addRow("optional decimal kept") << 1.25 << "0.0#" << "1.25";
    QTest::addRow("optional decimal dropped") << 1.5 << "0.0#" << "1.5";
    QTest::addRow("point dropped without decimals") << 3.0 << "0.##" << "3";
    QTest::addRow("groups") << 1234567.891 << "#,##0.00" << "1,234,567.89";
    QTest::addRow("groups, small number") << 12.0 << "#,##0" << "12";
    QTest::addRow("quoted literal") << 3.0 << "\"$\"0.00" << "$3.00";
    QTest::addRow("plain literal") << 1.5 << "0.00 kg" << "1.50 kg";
    QTest::addRow("no integer placeholder") << 12.5 << ".00" << "12.50";
    QTest::addRow("negative section") << -1.0 << "0.00;(0.00)" << "(1.00)";
    QTest::addRow("zero section") << 0.0 << "0.00;(0.00);\"nil\"" << "nil";
    QTest::addRow("zero section after rounding") << 0.001 << "0.00;;\"nil\"" << "nil";
    QTest::addRow("empty negative section") << -1.0 << "0.00;;\"nil\"" << "-1.00";
    QTest::addRow("quoted semicolon") << 1.0 << "0\";\"0" << "0;1";
    QTest::addRow("scientific") << 12345.0 << "0.00E+00" << "1.23E+04";
    QTest::addRow("scientific negative exponent") << 0.00012345 << "0.00E-00" << "1.23E-04";
    QTest::addRow("scientific minus-only sign") << 1234.0 << "0.0e-0" << "1.2e3";
    QTest::addRow("scientific two integer digits") << 12345.0 << "00.0E+0" << "12.3E+3";
    QTest::addRow("scientific zero") << 0.0 << "0.00E+00" << "0.00E+00";
    QTest::addRow("empty picture") << 1.5 << "" << "1.5";
    QTest::addRow("infinity") << qInf() << "0.00" << "INF";
    QTest::addRow("not a number") << qQNaN() << "0.00" << "NAN";
    QTest::addRow("decimals capped") << 1.0 << QString(200, u'0').prepend(u"0.") << QStringLiteral("1.") + QString(40, u'0');
}

void tst_KavEdit::formatFloat()
{
    QFETCH(double, value);
    QFETCH(QString, picture);
    QTEST(Kav::KavFormatFloat(value, picture, QLocale::c()), "expected");
}

void tst_KavEdit::strToFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");

    QTest::addRow("decimal") << "1.5" << QLocale::c() << true << 1.5;
    QTest::addRow("trailing point") << "12." << QLocale::c() << true << 12.0;
    QTest::addRow("blanks around") << " 3 " << QLocale::c() << true << 3.0;
    QTest::addRow("groups read back") << "1,234.50" << QLocale::c() << true << 1234.5;
    QTest::addRow("locale separator") << "1,5" << QLocale(QLocale::German) << true << 1.5;
    QTest::addRow("point alone") << "." << QLocale::c() << false << 0.0;
    QTest::addRow("minus alone") << "-" << QLocale::c() << false << 0.0;
    QTest::addRow("letters") << "abc" << QLocale::c() << false << 0.0;
    QTest::addRow("infinity") << "inf" << QLocale::c() << false << 0.0;
    QTest::addRow("nan") << "nan" << QLocale::c() << false << 0.0;
    QTest::addRow("overflow") << "1e999" << QLocale::c() << false << 0.0;
}

void tst_KavEdit::strToFloat()
{
    QFETCH(QString, text);
    QFETCH(QLocale, locale);
    double value = 0;
    QTEST(Kav::KavStrToFloat(text, locale, &value), "ok");
    QTEST(value, "value");
}

void tst_KavEdit::editMask_data()
{
    QTest::addColumn<QString>("editMask");
    QTest::addColumn<QString>("inputMask");
    QTest::addColumn<bool>("saveLiterals");
    QTest::addColumn<QChar>("blank");

    QTest::addRow("empty") << "" << "" << true << QChar(u'_');
    QTest::addRow("letters") << "LLll" << "AAaa;_" << true << QChar(u'_');
    QTest::addRow("letters or digits") << "Aa" << "Nn;_" << true << QChar(u'_');
    QTest::addRow("any character") << "Cc" << "Xx;_" << true << QChar(u'_');
    QTest::addRow("digits swap meaning") << "0099" << "9900;_" << true << QChar(u'_');
    QTest::addRow("digit or sign") << "#0" << "#9;_" << true << QChar(u'_');
    QTest::addRow("case") << ">LL<ll<>L" << ">AA<aa!A;_" << true << QChar(u'_');
    QTest::addRow("escaped mask character") << "\\A0" << "\\A9;_" << true << QChar(u'_');
    QTest::addRow("escaped plain character") << "\\L0" << "L9;_" << true << QChar(u'_');
    QTest::addRow("literal that Qt reads as mask") << "H-D" << "\\H-\\D;_" << true << QChar(u'_');
    QTest::addRow("Qt's reserved brackets") << "[0]" << "\\[9\\];_" << true << QChar(u'_');
    QTest::addRow("blank placeholder") << "00_00" << "99 99;_" << true << QChar(u'_');
    QTest::addRow("separators") << "00:00/00" << "99:99/99;_" << true << QChar(u'_');
    QTest::addRow("leading blanks flag dropped") << "!999" << "000;_" << true << QChar(u'_');
    QTest::addRow("phone") << "!\\(999\\)000-0000;1;_" << "(000)999-9999;_" << true << QChar(u'_');
    QTest::addRow("literals not saved") << "000;0" << "999;_" << false << QChar(u'_');
    QTest::addRow("own blank") << "000;1;*" << "999;*" << true << QChar(u'*');
    QTest::addRow("blank without flag") << "000;;#" << "999;#" << true << QChar(u'#');
    QTest::addRow("escaped semicolon") << "0\\;0" << "9\\;9;_" << true << QChar(u'_');
    QTest::addRow("lone backslash at end") << "00\\" << "99;_" << true << QChar(u'_');
    QTest::addRow("only fields") << ";0;_" << "" << false << QChar(u'_');
}

void tst_KavEdit::editMask()
{
    QFETCH(QString, editMask);
    const Kav::EditMaskMapping mapping = Kav::KavMapEditMask(editMask);
    QTEST(mapping.inputMask, "inputMask");
    QTEST(mapping.saveLiterals, "saveLiterals");
    QTEST(mapping.blank, "blank");
}

void tst_KavEdit::maskEditText_data()
{
    QTest::addColumn<QString>("editMask");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("editText");

    QTest::addRow("literals saved") << "!\\(999\\)000-0000;1;_" << "5551234567" << "(555)123-4567" << "(555)123-4567";
    QTest::addRow("literals not saved") << "!\\(999\\)000-0000;0;_" << "5551234567" << "5551234567" << "(555)123-4567";
    QTest::addRow("partly filled") << "00-00;0;_" << "12" << "12" << "12-__";
    QTest::addRow("upper case") << ">LLL;1;_" << "abc" << "ABC" << "ABC";
    QTest::addRow("no mask") << "" << "free text" << "free text" << "free text";
}

void tst_KavEdit::maskEditText()
{
    QFETCH(QString, editMask);
    QFETCH(QString, input);
    TkavMaskEdit edit;
    edit.setEditMask(editMask);
    edit.setText(input);
    QTEST(edit.property("Text").toString(), "text");
    QTEST(edit.property("EditText").toString(), "editText");
    QCOMPARE(edit.property("IsMasked").toBool(), !editMask.isEmpty());
}

// --- Properties and looks ----------------------------------------------------------------------

void tst_KavEdit::propertiesByName_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("names");

    const QStringList edit = {"FileTheme", "UIStyle", "BorderColor", "Color", "AutoSelect", "ReadOnly",
                              "MaxLength", "PasswordChar", "Text", "Font", "Enabled", "Visible", "TabStop"};
    QTest::addRow("edit") << "TkavEdit" << edit;
    QTest::addRow("mask edit") << "TkavMaskEdit" << edit + QStringList{"EditMask", "EditText", "IsMasked"};
    QTest::addRow("number edit") << "TkavNumberEdit" << edit + QStringList{"Mask", "Value", "AutoSelectSigns"};
    QTest::addRow("spin edit") << "TKavSpinEdit"
                               << edit + QStringList{"EditorEnabled", "Increment", "MaxValue", "MinValue", "Value"};
    QTest::addRow("spin buttons") << "TKavSpinButtons" << QStringList{"FileTheme", "UIStyle"};
}

void tst_KavEdit::propertiesByName()
{
    QFETCH(QString, className);
    QFETCH(QStringList, names);
    const std::unique_ptr<QWidget> control = makeControl(className);
    QVERIFY(control);
    const QMetaObject *meta = control->metaObject();
    QCOMPARE(QString::fromLatin1(meta->className()), className);
    for (const QString &name : names) {
        const int index = meta->indexOfProperty(name.toLatin1().constData());
        QVERIFY2(index >= 0, qPrintable(name));
        if (name != u"EditText" && name != u"IsMasked")
            QVERIFY2(meta->property(index).isWritable(), qPrintable(name));
    }
    QVERIFY(meta->property(meta->indexOfProperty("UIStyle")).isEnumType());

    // The look as the theme manager writes it: by name.
    Kav::KavWriteUIStyle(control.get(), TkavUIStyle::WinXP);
    QCOMPARE(control->property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::WinXP);
    if (auto *spin = qobject_cast<TKavSpinEdit *>(control.get())) {
        QCOMPARE(spin->Button()->upButton()->UIStyle(), TkavUIStyle::WinXP);
        QCOMPARE(spin->Button()->downButton()->UIStyle(), TkavUIStyle::WinXP);
    }
    if (meta->indexOfProperty("BorderColor") >= 0)
        QCOMPARE(control->property("BorderColor").value<TColor>(),
                 GetInsideThemeColor(TkavUIStyle::WinXP, KavKey::ControlBorderColor));
}

void tst_KavEdit::lookSetsBorderColour()
{
    QWidget window;
    auto *form = new TkavForm(&window);
    form->setUIStyle(TkavUIStyle::MacOS);
    auto *edit = new TkavEdit(&window);
    QCOMPARE(edit->UIStyle(), TkavUIStyle::MacOS);
    edit->ensurePolished(); // which brings the look
    QCOMPARE(edit->BorderColor(), GetInsideThemeColor(TkavUIStyle::MacOS, KavKey::ControlBorderColor));

    // A colour set after the look stays; the next look change replaces it.
    edit->setBorderColor(TColor::fromRgb(127, 127, 127));
    QCOMPARE(edit->BorderColor(), TColor::fromRgb(127, 127, 127));
    edit->setUIStyle(TkavUIStyle::Protein);
    QCOMPARE(edit->BorderColor(), GetInsideThemeColor(TkavUIStyle::Protein, KavKey::ControlBorderColor));

    // Without a file theme, FromThemeFile looks like DeepBlue.
    edit->setUIStyle(TkavUIStyle::FromThemeFile);
    QCOMPARE(edit->BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));

    auto *spin = new TKavSpinEdit(&window);
    QCOMPARE(spin->Button()->UIStyle(), TkavUIStyle::MacOS);
}

void tst_KavEdit::fileThemeRemovalFallsBackToDeepBlue()
{
    QTemporaryDir dir;
    std::unique_ptr<TkavFileTheme> theme = colourTheme(dir, TColor::fromRgb(10, 200, 30), TColor::fromRgb(1, 2, 3));
    QVERIFY(theme);
    TKavSpinEdit spin;
    spin.setUIStyle(TkavUIStyle::FromThemeFile);
    Kav::KavWriteFileTheme(&spin, theme.get());
    QCOMPARE(spin.FileTheme(), theme.get());
    QCOMPARE(spin.BorderColor(), TColor::fromRgb(10, 200, 30));
    QCOMPARE(spin.Button()->FileTheme(), theme.get());
    spin.resize(40, 21);
    QCOMPARE(render(&spin).pixel(0, 0), qRgb(10, 200, 30));

    theme.reset();
    QCOMPARE(spin.FileTheme(), nullptr);
    QCOMPARE(spin.UIStyle(), TkavUIStyle::DeepBlue);
    QCOMPARE(spin.BorderColor(), GetInsideThemeColor(TkavUIStyle::DeepBlue, KavKey::ControlBorderColor));
    QCOMPARE(spin.Button()->FileTheme(), nullptr);
    QCOMPARE(spin.Button()->UIStyle(), TkavUIStyle::DeepBlue);
}

void tst_KavEdit::border_data()
{
    QTest::addColumn<TkavUIStyle>("look");
    QTest::addColumn<QString>("state");
    for (TkavUIStyle look : builtInLooks()) {
        for (const char *state : {"normal", "focused", "disabled", "read-only"})
            QTest::addRow("%s %s", qPrintable(lookName(look)), state) << look << QString::fromLatin1(state);
    }
}

void tst_KavEdit::border()
{
    QFETCH(TkavUIStyle, look);
    QFETCH(QString, state);
    ShownWindow shown;
    auto *edit = new TkavEdit(&shown.window);
    edit->setGeometry(10, 10, 40, 21);
    edit->setUIStyle(look);
    edit->setColor(TColor::fromRgb(250, 240, 230));
    // Text wider than the edit must not run over the frame.
    edit->setText(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    auto *other = new QLineEdit(&shown.window);
    other->move(10, 60);
    QVERIFY(shown.show());
    other->setFocus();
    if (state == u"focused")
        edit->setFocus();
    edit->setEnabled(state != u"disabled");
    edit->setReadOnly(state == u"read-only");
    QCOMPARE(edit->hasFocus(), state == u"focused");

    QStyleOption option;
    option.initFrom(edit);
    const QRgb inner = option.palette.color(QPalette::Base).rgb();
    const QRgb outer = rgb(GetInsideThemeColor(look, KavKey::ControlBorderColor));
    const QImage face = render(edit);
    const int r = face.width() - 1, b = face.height() - 1;
    for (const QPoint &p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b), QPoint(20, 0), QPoint(20, b),
                            QPoint(0, 10), QPoint(r, 10)})
        QCOMPARE(face.pixel(p), outer);
    for (const QPoint &p : {QPoint(1, 1), QPoint(r - 1, 1), QPoint(1, b - 1), QPoint(r - 1, b - 1), QPoint(20, 1),
                            QPoint(20, b - 1), QPoint(1, 10), QPoint(r - 1, 10)})
        QCOMPARE(face.pixel(p), inner);
    if (state != u"disabled")
        QCOMPARE(inner, qRgb(250, 240, 230));
}

void tst_KavEdit::keyPressHandlerReplacesOrRefuses()
{
    TkavEdit edit;
    QSignalSpy keyDowns(&edit, &TkavEdit::OnKeyDown);
    connect(&edit, &TkavEdit::OnKeyPress, &edit, [](QObject *, QChar &key) {
        if (key == u'a')
            key = u'A';
        else if (key == u'x')
            key = QChar();
    });
    pressKey(&edit, Qt::Key_A, QStringLiteral("a"));
    QVERIFY(pressKey(&edit, Qt::Key_X, QStringLiteral("x")));
    pressKey(&edit, Qt::Key_B, QStringLiteral("b"));
    QCOMPARE(edit.text(), QStringLiteral("Ab"));
    QCOMPARE(keyDowns.count(), 3);
    // Delete types no character: it edits, whatever the handler does with characters.
    edit.setCursorPosition(0);
    pressKey(&edit, Qt::Key_Delete, QStringLiteral("\x7f"));
    QCOMPARE(edit.text(), QStringLiteral("b"));
}

void tst_KavEdit::entering_data()
{
    QTest::addColumn<bool>("autoSelect");
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<bool>("comingBack");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("enters");

    QTest::addRow("by Tab") << true << Qt::TabFocusReason << false << true << 1;
    QTest::addRow("by program") << true << Qt::OtherFocusReason << false << true << 1;
    QTest::addRow("by the mouse") << true << Qt::MouseFocusReason << false << false << 1;
    QTest::addRow("by Tab without AutoSelect") << false << Qt::TabFocusReason << false << false << 1;
    QTest::addRow("window comes back") << true << Qt::ActiveWindowFocusReason << true << false << 0;
    QTest::addRow("menu closes") << true << Qt::PopupFocusReason << true << false << 0;
    QTest::addRow("window shown first") << true << Qt::ActiveWindowFocusReason << false << true << 1;
}

void tst_KavEdit::entering()
{
    QFETCH(bool, autoSelect);
    QFETCH(Qt::FocusReason, reason);
    QFETCH(bool, comingBack);
    TkavEdit edit;
    edit.setText(QStringLiteral("hello"));
    edit.setAutoSelect(autoSelect);
    edit.setCursorPosition(2);
    QSignalSpy enters(&edit, &TkavEdit::OnEnter);
    QSignalSpy exits(&edit, &TkavEdit::OnExit);
    if (comingBack)
        sendFocus(&edit, QEvent::FocusOut, reason);
    sendFocus(&edit, QEvent::FocusIn, reason);
    QTEST(edit.selectedText() == edit.text(), "selected");
    QTEST(int(enters.count()), "enters");
    QCOMPARE(exits.count(), 0);
}

// --- Number edit -------------------------------------------------------------------------------

void tst_KavEdit::numberEditStartsAtZero()
{
    TkavNumberEdit edit;
    QCOMPARE(edit.text(), QStringLiteral("0.00"));
    QCOMPARE(edit.Value(), 0.0);
    QCOMPARE(edit.Mask(), QStringLiteral("0.00"));
    QCOMPARE(edit.AutoSelectSigns(), 2);
    QVERIFY(edit.alignment() & Qt::AlignRight);
    sendFocus(&edit, QEvent::FocusIn, Qt::TabFocusReason);
    QCOMPARE(edit.selectedText(), QStringLiteral("00"));
}

void tst_KavEdit::numberEditValue_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("readBack");

    QTest::addRow("rounded as shown") << "0.00" << 0.0 << 1.234 << "1.23" << 1.23;
    QTest::addRow("half away from zero") << "0.00" << 0.0 << 0.125 << "0.13" << 0.13;
    QTest::addRow("negative") << "0.00" << 0.0 << -2.5 << "-2.50" << -2.5;
    QTest::addRow("whole numbers") << "0" << 0.0 << 2.5 << "3" << 3.0;
    QTest::addRow("same text keeps the number") << "0.00" << 1.0 << 1.004 << "1.00" << 1.004;
    QTest::addRow("groups read back") << "#,##0.00" << 0.0 << 1234.5 << "1,234.50" << 1234.5;
    QTest::addRow("literal keeps the number") << "0.00 kg" << 0.0 << 1.5 << "1.50 kg" << 1.5;
    QTest::addRow("infinity refused") << "0.00" << 2.0 << qInf() << "2.00" << 2.0;
    QTest::addRow("nan refused") << "0.00" << 2.0 << qQNaN() << "2.00" << 2.0;
}

void tst_KavEdit::numberEditValue()
{
    QFETCH(QString, mask);
    QFETCH(double, before);
    QFETCH(double, value);
    BeepCounter beeps;
    TkavNumberEdit edit;
    QSignalSpy errors(&edit, &TkavNumberEdit::OnConversionError);
    edit.setMask(mask);
    edit.setValue(before);
    edit.setValue(value);
    QTEST(edit.text(), "text");
    QTEST(edit.Value(), "readBack");
    QCOMPARE(errors.count(), 0);
    QCOMPARE(beeps.count, 0);
}

void tst_KavEdit::numberKeyFilter_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("goesOn");

    QTest::addRow("digit replaces the decimals") << "0.00" << "1.00" << 2 << 2 << int(Qt::Key_5) << "5" << "1.5" << 0 << false;
    QTest::addRow("first separator") << "0.00" << "12" << 2 << 0 << int(Qt::Key_Period) << "." << "12." << 0 << false;
    QTest::addRow("second separator") << "0.00" << "1.00" << 1 << 0 << int(Qt::Key_Period) << "." << "1.00" << 1 << false;
    QTest::addRow("separator without point in mask") << "0" << "5" << 1 << 0 << int(Qt::Key_Period) << "." << "5" << 1 << false;
    QTest::addRow("minus without minus in mask") << "0.00" << "5.00" << 0 << 0 << int(Qt::Key_Minus) << "-" << "5.00" << 1 << false;
    QTest::addRow("minus at the start") << "0.00;-0.00" << "5.00" << 0 << 0 << int(Qt::Key_Minus) << "-" << "-5.00" << 0 << false;
    QTest::addRow("minus inside") << "0.00;-0.00" << "5.00" << 1 << 0 << int(Qt::Key_Minus) << "-" << "5.00" << 1 << false;
    QTest::addRow("second minus") << "0.00;-0.00" << "-5.00" << 0 << 0 << int(Qt::Key_Minus) << "-" << "-5.00" << 1 << false;
    QTest::addRow("letter") << "0.00" << "1.00" << 4 << 0 << int(Qt::Key_A) << "a" << "1.00" << 1 << false;
    QTest::addRow("blank") << "0.00" << "1.00" << 4 << 0 << int(Qt::Key_Space) << " " << "1.00" << 1 << false;
    QTest::addRow("backspace") << "0.00" << "1.50" << 4 << 0 << int(Qt::Key_Backspace) << "\b" << "1.5" << 0 << false;
    QTest::addRow("return goes on to the window") << "0.00" << "1.00" << 4 << 0 << int(Qt::Key_Return) << "\r" << "1.00" << 1 << true;
    QTest::addRow("paste shortcut") << "0.00" << "1.00" << 4 << 0 << int(Qt::Key_V) << "\x16" << "1.00" << 1 << true;
}

void tst_KavEdit::numberKeyFilter()
{
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(int, key);
    QFETCH(QString, typed);
    QFETCH(bool, goesOn);
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    BeepCounter beeps;
    TkavNumberEdit edit;
    edit.setMask(mask);
    edit.setText(text);
    if (selectionLength > 0)
        edit.setSelection(selectionStart, selectionLength);
    else
        edit.setCursorPosition(selectionStart);
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_V ? Qt::ControlModifier : Qt::NoModifier;
    QCOMPARE(pressKey(&edit, key, typed, modifiers), !goesOn);
    QTEST(edit.text(), "result");
    QTEST(beeps.count, "beeps");
}

void tst_KavEdit::numberEditPutsBackNonNumbers_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("separator typed into an empty edit") << "type";
    QTest::addRow("letters pasted") << "paste";
    QTest::addRow("letters dropped") << "drop";
    QTest::addRow("text set by the program") << "program";
}

void tst_KavEdit::numberEditPutsBackNonNumbers()
{
    QFETCH(QString, path);
    BeepCounter beeps;
    TkavNumberEdit edit;
    edit.setValue(4.5);
    QSignalSpy changes(&edit, &TkavEdit::OnChange);
    QSignalSpy errors(&edit, &TkavNumberEdit::OnConversionError);
    QStringList changedTexts;
    connect(&edit, &TkavEdit::OnChange, &edit, [&] { changedTexts << edit.text(); });

    if (path == u"type") {
        edit.clear();
        changedTexts.clear();
        pressKey(&edit, Qt::Key_Period, QStringLiteral("."));
    } else if (path == u"paste") {
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        edit.selectAll();
        edit.paste();
    } else if (path == u"drop") {
        edit.selectAll();
        dropText(&edit, QStringLiteral("x1"));
    } else {
        edit.setText(QStringLiteral("twelve"));
    }
    QCOMPARE(edit.text(), QStringLiteral("4.50"));
    QCOMPARE(edit.Value(), 4.5);
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.first().at(1).toString().endsWith(QStringLiteral("' is not a valid floating point value")));
    QCOMPARE(beeps.count, 1);
    // OnChange follows the put-back text only, never the text that is no number.
    QCOMPARE(changedTexts, QStringList{QStringLiteral("4.50")});
}

void tst_KavEdit::numberEditLeaving_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");

    QTest::addRow("cleared") << "" << "0.00" << 0.0;
    QTest::addRow("minus alone") << "-" << "0.00" << 0.0;
    QTest::addRow("one decimal") << "1.5" << "1.50" << 1.5;
    QTest::addRow("whole number") << "7" << "7.00" << 7.0;
    QTest::addRow("trailing point") << "12." << "12.00" << 12.0;
}

void tst_KavEdit::numberEditLeaving()
{
    QFETCH(QString, text);
    ShownWindow shown;
    auto *edit = new TkavNumberEdit(&shown.window);
    auto *other = new QLineEdit(&shown.window);
    other->move(0, 40);
    QVERIFY(shown.show());
    edit->setFocus();
    QVERIFY(edit->hasFocus());
    edit->setText(text);
    QSignalSpy exits(edit, &TkavEdit::OnExit);
    other->setFocus();
    QCOMPARE(exits.count(), 1);
    QVERIFY(!edit->hasSelectedText());
    QTEST(edit->text(), "shown");
    QTEST(edit->Value(), "value");
}

void tst_KavEdit::numberEditClickSelectsDecimals()
{
    ShownWindow shown;
    auto *other = new QLineEdit(&shown.window);
    auto *edit = new TkavNumberEdit(&shown.window);
    edit->setGeometry(0, 40, 80, 21);
    QVERIFY(shown.show());
    other->setFocus();
    edit->setValue(12.5);
    QSignalSpy clicks(edit, &TkavEdit::OnClick);
    QSignalSpy enters(edit, &TkavEdit::OnEnter);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(edit->selectedText(), QStringLiteral("50"));
    // The click enters again, after the focus did.
    QCOMPARE(enters.count(), 2);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(12, 10));
    QCOMPARE(edit->selectedText(), QStringLiteral("50"));
}

// --- Spin edit ---------------------------------------------------------------------------------

void tst_KavEdit::spinSteps_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("increment");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("result");

    QTest::addRow("no limits") << 0 << 0 << 1 << "5" << "up" << "6";
    QTest::addRow("no limits, far below zero") << 0 << 0 << 1 << "-100" << "down" << "-101";
    QTest::addRow("at the top stays") << 1 << 10 << 1 << "10" << "up" << "10";
    QTest::addRow("at the bottom stays") << 1 << 10 << 1 << "1" << "down" << "1";
    QTest::addRow("step clamped") << 1 << 10 << 4 << "8" << "up" << "10";
    QTest::addRow("no number reads as MinValue") << 1 << 10 << 3 << "abc" << "up" << "4";
    QTest::addRow("empty reads as MinValue") << 0 << 0 << 1 << "" << "up" << "1";
    QTest::addRow("end of the int range") << 0 << 0 << 1 << "2147483647" << "up" << "2147483647";
    QTest::addRow("start of the int range") << 0 << 0 << 5 << "-2147483646" << "down" << "-2147483648";
    QTest::addRow("huge increment") << 0 << 0 << INT_MAX << "10" << "up" << "2147483647";
    QTest::addRow("huge negative increment down") << 0 << 0 << INT_MIN << "10" << "down" << "2147483647";
    QTest::addRow("number out of int range") << 0 << 0 << 1 << "99999999999" << "up" << "1";
    QTest::addRow("up key") << 0 << 0 << 1 << "7" << "upKey" << "8";
    QTest::addRow("down key") << 0 << 0 << 1 << "7" << "downKey" << "6";
    QTest::addRow("up button") << 0 << 0 << 2 << "7" << "upButton" << "9";
    QTest::addRow("down button") << 0 << 0 << 2 << "7" << "downButton" << "5";
}

void tst_KavEdit::spinSteps()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, increment);
    QFETCH(QString, text);
    QFETCH(QString, action);
    TKavSpinEdit spin;
    spin.setMinValue(minValue);
    spin.setMaxValue(maxValue);
    spin.setIncrement(increment);
    spin.setText(text);
    if (action == u"up")
        spin.UpClick(&spin);
    else if (action == u"down")
        spin.DownClick(&spin);
    else if (action == u"upKey")
        QVERIFY(pressKey(&spin, Qt::Key_Up));
    else if (action == u"downKey")
        QVERIFY(pressKey(&spin, Qt::Key_Down));
    else if (action == u"upButton")
        spin.Button()->upButton()->Click();
    else
        spin.Button()->downButton()->Click();
    QTEST(spin.text(), "result");
}

void tst_KavEdit::spinKeyFilter_data()
{
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("beeps");

    QTest::addRow("digit") << true << int(Qt::Key_7) << "7" << "127" << 0;
    QTest::addRow("minus") << true << int(Qt::Key_Minus) << "-" << "12-" << 0;
    QTest::addRow("letter") << true << int(Qt::Key_A) << "a" << "12" << 1;
    QTest::addRow("return") << true << int(Qt::Key_Return) << "\r" << "12" << 1;
    QTest::addRow("backspace") << true << int(Qt::Key_Backspace) << "\b" << "1" << 0;
    QTest::addRow("digit, editor off") << false << int(Qt::Key_7) << "7" << "12" << 1;
    QTest::addRow("minus, editor off") << false << int(Qt::Key_Minus) << "-" << "12" << 1;
    QTest::addRow("backspace, editor off") << false << int(Qt::Key_Backspace) << "\b" << "12" << 1;
}

void tst_KavEdit::spinKeyFilter()
{
    QFETCH(bool, editorEnabled);
    QFETCH(int, key);
    QFETCH(QString, typed);
    BeepCounter beeps;
    TKavSpinEdit spin;
    spin.setEditorEnabled(editorEnabled);
    spin.setText(QStringLiteral("12"));
    spin.setCursorPosition(2);
    pressKey(&spin, key, typed);
    QTEST(spin.text(), "result");
    QTEST(beeps.count, "beeps");
}

void tst_KavEdit::spinEditorDisabled_data()
{
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("result");

    for (bool enabled : {true, false}) {
        const char *suffix = enabled ? "" : ", editor off";
        QTest::addRow("paste key%s", suffix) << enabled << "pasteKey" << (enabled ? "99" : "12");
        QTest::addRow("paste by Shift+Insert%s", suffix) << enabled << "pasteInsert" << (enabled ? "99" : "12");
        QTest::addRow("cut key%s", suffix) << enabled << "cutKey" << (enabled ? "" : "12");
        QTest::addRow("delete key%s", suffix) << enabled << "delete" << (enabled ? "" : "12");
        QTest::addRow("drop%s", suffix) << enabled << "drop" << (enabled ? "9912" : "12");
    }
}

void tst_KavEdit::spinEditorDisabled()
{
    QFETCH(bool, editorEnabled);
    QFETCH(QString, path);
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    TKavSpinEdit spin;
    spin.setEditorEnabled(editorEnabled);
    spin.setText(QStringLiteral("12"));
    spin.selectAll();
    if (path == u"pasteKey") {
        pressKey(&spin, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    } else if (path == u"pasteInsert") {
        pressKey(&spin, Qt::Key_Insert, {}, Qt::ShiftModifier);
    } else if (path == u"cutKey") {
        pressKey(&spin, Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    } else if (path == u"delete") {
        pressKey(&spin, Qt::Key_Delete, QStringLiteral("\x7f"));
    } else {
        spin.setCursorPosition(0);
        dropText(&spin, QStringLiteral("99"));
    }
    QTEST(spin.text(), "result");

    // The context menu offers no entry that changes the text while the editor is off.
    spin.setText(QStringLiteral("12"));
    spin.selectAll();
    const std::unique_ptr<QMenu> menu(spin.createContextMenu());
    for (const char *entry : {"Paste", "Cut", "Delete"})
        QCOMPARE(menuEntryEnabled(menu.get(), QString::fromLatin1(entry)), editorEnabled);
    QVERIFY(menuEntryEnabled(menu.get(), QStringLiteral("Copy")));

    // The buttons and the arrow keys step whatever the editor.
    spin.Button()->upButton()->Click();
    QCOMPARE(spin.text(), QStringLiteral("13"));
    pressKey(&spin, Qt::Key_Up);
    QCOMPARE(spin.text(), QStringLiteral("14"));
}

void tst_KavEdit::spinHeldButtonRepeats()
{
    DrivenRepeat repeat;
    TKavSpinEdit spin;
    spin.resize(60, 21);
    TKavArrowButton *up = spin.Button()->upButton();
    QCOMPARE(up->MouseContinuouslyDownInterval(), TKavSpinButtons::RepeatInterval);
    const QPoint middle = up->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, middle, up->mapToGlobal(middle), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(up, &press);
    repeat.clock.advance(399);
    QCOMPARE(spin.Value(), 0);
    repeat.clock.advance(1300 - 399);
    QCOMPARE(spin.Value(), 3);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, up->mapToGlobal(middle), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(up, &release);
    QCOMPARE(spin.Value(), 4);
    repeat.clock.advance(2000);
    QCOMPARE(spin.Value(), 4);
}

void tst_KavEdit::spinReadOnlyBeeps()
{
    BeepCounter beeps;
    TKavSpinEdit spin;
    spin.setReadOnly(true);
    spin.setValue(5);
    spin.UpClick(&spin);
    pressKey(&spin, Qt::Key_Down);
    spin.Button()->upButton()->Click();
    QCOMPARE(spin.Value(), 5);
    QCOMPARE(beeps.count, 3);
}

void tst_KavEdit::spinLeavingClamps_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");

    QTest::addRow("above the top") << 1 << 10 << "50" << "10";
    QTest::addRow("below the bottom") << 1 << 10 << "-3" << "1";
    QTest::addRow("within") << 1 << 10 << "5" << "5";
    QTest::addRow("no limits") << 0 << 0 << "50" << "50";
    QTest::addRow("no number stays") << 1 << 10 << "1-2" << "1-2";
}

void tst_KavEdit::spinLeavingClamps()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(QString, typed);
    TKavSpinEdit spin;
    spin.setMinValue(minValue);
    spin.setMaxValue(maxValue);
    sendFocus(&spin, QEvent::FocusIn, Qt::TabFocusReason);
    spin.clear();
    QTest::keyClicks(&spin, typed);
    QCOMPARE(spin.text(), typed);
    // A menu or another window taking the focus is no leaving.
    sendFocus(&spin, QEvent::FocusOut, Qt::PopupFocusReason);
    QCOMPARE(spin.text(), typed);
    sendFocus(&spin, QEvent::FocusIn, Qt::PopupFocusReason);
    sendFocus(&spin, QEvent::FocusOut, Qt::TabFocusReason);
    QTEST(spin.text(), "result");
}

void tst_KavEdit::spinButtonsLayout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("up");
    QTest::addColumn<QRect>("down");

    QTest::addRow("even height") << QSize(15, 20) << QRect(0, 0, 15, 11) << QRect(0, 10, 15, 10);
    QTest::addRow("odd height") << QSize(15, 21) << QRect(0, 0, 15, 11) << QRect(0, 10, 15, 11);
    QTest::addRow("one pixel high") << QSize(15, 1) << QRect(0, 0, 15, 1) << QRect(0, 0, 15, 1);
    QTest::addRow("too narrow") << QSize(10, 20) << QRect(0, 0, 15, 11) << QRect(0, 10, 15, 10);
    QTest::addRow("wide") << QSize(30, 25) << QRect(0, 0, 30, 13) << QRect(0, 12, 30, 13);
}

void tst_KavEdit::spinButtonsLayout()
{
    QFETCH(QSize, size);
    TKavSpinButtons buttons;
    QCOMPARE(buttons.size(), Kav::Metrics::SpinButtonsSize);
    buttons.resize(size);
    QCoreApplication::sendPostedEvents();
    buttons.show();
    QTEST(buttons.upButton()->geometry(), "up");
    QTEST(buttons.downButton()->geometry(), "down");
    QCOMPARE(buttons.upButton()->Arrow(), TKavArrowButton::kavUp);
    QCOMPARE(buttons.downButton()->Arrow(), TKavArrowButton::kavDown);
    QVERIFY(!buttons.upButton()->TabStop());
}

void tst_KavEdit::spinEditPlacesItsButtons_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("buttons");

    QTest::addRow("usual") << QSize(60, 21) << QRect(43, 2, 15, 17);
    QTest::addRow("tall") << QSize(121, 30) << QRect(104, 2, 15, 26);
}

void tst_KavEdit::spinEditPlacesItsButtons()
{
    QFETCH(QSize, size);
    QFETCH(QRect, buttons);
    ShownWindow shown;
    auto *spin = new TKavSpinEdit(&shown.window);
    spin->resize(size);
    spin->setText(QStringLiteral("8888888888888888888888"));
    spin->setCursorPosition(0);
    QVERIFY(shown.show());
    QCOMPARE(spin->Button()->geometry(), buttons);
    // However long the text, the gap before the buttons stays clear.
    QStyleOption option;
    option.initFrom(spin);
    const QImage face = render(spin);
    for (int x = buttons.x() - Kav::Metrics::SpinEditButtonsGap; x < buttons.x(); ++x) {
        for (int y = buttons.y(); y < buttons.y() + buttons.height(); ++y)
            QCOMPARE(face.pixel(x, y), option.palette.color(QPalette::Base).rgb());
    }
}

void tst_KavEdit::spinButtonsKeys()
{
    TKavSpinButtons buttons;
    QSignalSpy ups(&buttons, &TKavSpinButtons::OnUpClick);
    QSignalSpy downs(&buttons, &TKavSpinButtons::OnDownClick);
    pressKey(&buttons, Qt::Key_Up);
    pressKey(&buttons, Qt::Key_Down);
    pressKey(&buttons, Qt::Key_Down);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(downs.count(), 2);
    QCOMPARE(ups.first().first().value<QObject *>(), &buttons);
}

void tst_KavEdit::spinAccessibility()
{
    TKavSpinEdit spin;
    spin.setAccessibleName(QStringLiteral("Count"));
    spin.setMinValue(1);
    spin.setMaxValue(10);
    spin.setIncrement(2);
    spin.setValue(5);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&spin);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::SpinBox);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Count"));
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("5"));
    QVERIFY(accessible->state().editable);
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 5);
    QCOMPARE(value->minimumValue().toInt(), 1);
    QCOMPARE(value->maximumValue().toInt(), 10);
    QCOMPARE(value->minimumStepSize().toInt(), 2);
    value->setCurrentValue(8);
    QCOMPARE(spin.Value(), 8);
    QAccessibleActionInterface *actions = accessible->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(spin.Value(), 10);
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    QCOMPARE(spin.Value(), 8);
    // Its text reads as an edit's, so a reader can tell what is typed.
    QAccessibleTextInterface *typed = accessible->textInterface();
    QVERIFY(typed);
    QCOMPARE(typed->text(0, typed->characterCount()), QStringLiteral("8"));
    QVERIFY(accessible->editableTextInterface());
    spin.setEditorEnabled(false);
    QVERIFY(!accessible->state().editable);
    accessible->editableTextInterface()->insertText(0, QStringLiteral("1"));
    QCOMPARE(spin.text(), QStringLiteral("8"));

    // The plain edits stay Qt's editable text.
    TkavNumberEdit number;
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(&number);
    QCOMPARE(text->role(), QAccessible::EditableText);
    QVERIFY(text->textInterface());
}

void tst_KavEdit::spinReturnBeepsAndStaysInTheEdit()
{
    // Return is no character a spin edit takes: it beeps and ends there, where a plain edit
    // passes it on to the window's Default button.
    ShownWindow shown;
    auto *defaultButton = new TkavButton(&shown.window);
    defaultButton->setDefault(true);
    auto *spin = new TKavSpinEdit(&shown.window);
    spin->move(0, 40);
    auto *plain = new TkavEdit(&shown.window);
    plain->move(0, 80);
    QSignalSpy clicks(defaultButton, &TkavCustomButton::OnClick);
    QVERIFY(shown.show());
    BeepCounter beeps;
    spin->setFocus();
    spin->setText(QStringLiteral("12"));
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(beeps.count, 1);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(spin->text(), QStringLiteral("12"));
    plain->setFocus();
    QTest::keyClick(plain, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
}

void tst_KavEdit::spinPasteTakesOnlyWhatCanBeTyped_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("beeps");
    QTest::addRow("letters") << "abc" << "0" << 1;
    QTest::addRow("digits and letters") << "4a" << "0" << 1;
    QTest::addRow("blanks") << " 42" << "0" << 1;
    QTest::addRow("digits") << "42" << "042" << 0;
    QTest::addRow("minus and digits") << "-3" << "0-3" << 0;
}

void tst_KavEdit::spinPasteTakesOnlyWhatCanBeTyped()
{
    QFETCH(QString, clipboard);
    BeepCounter beeping;
    TKavSpinEdit spin;
    QGuiApplication::clipboard()->setText(clipboard);
    spin.setCursorPosition(1);
    pressKey(&spin, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    QTEST(spin.text(), "result");
    QTEST(beeping.count, "beeps");
    // A drop is a paste too, and the context menu offers no paste it would refuse.
    spin.setText(QStringLiteral("0"));
    spin.setCursorPosition(1);
    dropText(&spin, clipboard);
    QFETCH(int, beeps);
    QCOMPARE(spin.text() == QStringLiteral("0"), beeps > 0);
    const std::unique_ptr<QMenu> menu(spin.createContextMenu());
    QCOMPARE(menuEntryEnabled(menu.get(), QStringLiteral("Paste")), QTest::currentDataTag() == QLatin1String("digits")
                                                                          || QTest::currentDataTag() == QLatin1String("minus and digits"));
}

void tst_KavEdit::conversionErrorIsShown_data()
{
    QTest::addColumn<bool>("programHandles");
    QTest::addColumn<int>("boxes");
    QTest::addRow("nobody handles it: the error box") << false << 1;
    QTest::addRow("the program handles it: no box") << true << 0;
}

void tst_KavEdit::conversionErrorIsShown()
{
    QFETCH(bool, programHandles);
    QStringList shown;
    const Kav::ErrorBoxHandler previous =
        Kav::KavSetErrorBoxHandler([&shown](QWidget *, const QString &text) { shown << text; });
    BeepCounter beeps;
    {
        TkavNumberEdit edit;
        QStringList told;
        if (programHandles)
            connect(&edit, &TkavNumberEdit::OnConversionError, &edit, [&told](QObject *, const QString &message) { told << message; });
        edit.setText(QStringLiteral("1x"));
        QCOMPARE(edit.text(), QStringLiteral("0.00"));
        // Not while the text is being changed: once that is over.
        QVERIFY(shown.isEmpty());
        QCoreApplication::processEvents();
        QTEST(int(shown.size()), "boxes");
        if (!shown.isEmpty())
            QCOMPARE(shown.first(), QStringLiteral("'1x' is not a valid floating point value"));
        QCOMPARE(int(told.size()), programHandles ? 1 : 0);
    }
    // An edit gone before the box was due shows none.
    shown.clear();
    {
        TkavNumberEdit edit;
        edit.setText(QStringLiteral("y"));
    }
    QCoreApplication::processEvents();
    QVERIFY(shown.isEmpty());
    Kav::KavSetErrorBoxHandler(previous);
}

void tst_KavEdit::readOnlyEditIsNotEditable()
{
    TkavEdit edit;
    edit.setText(QStringLiteral("Sums"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&edit);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().editable);
    QVERIFY(!accessible->state().readOnly);
    edit.setReadOnly(true);
    QVERIFY(!accessible->state().editable);
    QVERIFY(accessible->state().readOnly);
    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 4);
    QCOMPARE(text->text(0, 4), QStringLiteral("Sums"));
    // A read-only edit takes no text from assistive tools either.
    accessible->editableTextInterface()->insertText(0, QStringLiteral("x"));
    QCOMPARE(edit.text(), QStringLiteral("Sums"));
}

// --- Every look and state ----------------------------------------------------------------------

// Paints every edit in every look and state (a crash or sanitizer report fails the test). With
// KAV_EDIT_SHOTS set to a folder, the sheets are saved there to be looked at.
void tst_KavEdit::everyLookAndState()
{
    const QString folder = qEnvironmentVariable("KAV_EDIT_SHOTS");
    const QStringList classes = {"TkavEdit", "TkavMaskEdit", "TkavNumberEdit", "TKavSpinEdit"};
    const QStringList states = {"normal", "focused", "disabled", "read-only"};
    for (TkavUIStyle look : builtInLooks()) {
        ShownWindow shown;
        shown.window.resize(4 * 130 + 10, 4 * 32 + 10);
        shown.window.setAutoFillBackground(true);
        Kav::KavSetPaletteColor(&shown.window, QPalette::Window, GetInsideThemeColor(look, KavKey::FormBackgroundColor));
        QList<QLineEdit *> edits;
        for (int row = 0; row < classes.size(); ++row) {
            for (int column = 0; column < states.size(); ++column) {
                QWidget *control = makeControl(classes[row]).release();
                control->setParent(&shown.window);
                control->setGeometry(10 + column * 130, 10 + row * 32, 121, 21);
                control->setProperty("UIStyle", QVariant::fromValue(look));
                auto *edit = static_cast<QLineEdit *>(control);
                if (auto *mask = qobject_cast<TkavMaskEdit *>(control)) {
                    mask->setEditMask(QStringLiteral("!\\(999\\)000-0000;1;_"));
                    mask->setText(QStringLiteral("5551234"));
                } else if (auto *number = qobject_cast<TkavNumberEdit *>(control)) {
                    number->setValue(1234.5);
                } else if (auto *spin = qobject_cast<TKavSpinEdit *>(control)) {
                    spin->setValue(42);
                } else {
                    edit->setText(states[column]);
                }
                edit->setEnabled(states[column] != u"disabled");
                edit->setReadOnly(states[column] == u"read-only");
                edits << edit;
            }
        }
        auto *elsewhere = new QLineEdit(&shown.window);
        elsewhere->setGeometry(0, shown.window.height() - 8, 8, 8);
        QVERIFY(shown.show());
        QImage sheet(shown.window.size(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        for (int i = 0; i < edits.size(); ++i) {
            QLineEdit *edit = edits[i];
            const bool focused = states[i % states.size()] == u"focused";
            (focused ? static_cast<QWidget *>(edit) : elsewhere)->setFocus();
            QCOMPARE(edit->hasFocus(), focused);
            QPainter(&sheet).drawImage(edit->pos(), render(edit));
        }
        if (!folder.isEmpty())
            QVERIFY(sheet.save(QDir(folder).filePath(QStringLiteral("edits-%1.png").arg(lookName(look)))));
    }
}

QTEST_MAIN(tst_KavEdit)
#include "tst_kavedit.moc"
