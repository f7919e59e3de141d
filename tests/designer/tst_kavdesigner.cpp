// The Designer plugin, loaded from the build folder the way Designer and QUiLoader load it.
#include <QtTest>

#include <QBuffer>
#include <QMetaEnum>
#include <QPluginLoader>
#include <QWidget>
#include <QXmlStreamReader>

#include "KAVColor.h"

#ifdef KAV_DESIGNER_PLUGIN
#include "KAVDesignerPages.h"
#include "KAVImagePanel.h"
#include "KAVPageControl.h"

#include <QAction>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiTools/QUiLoader>
#endif

namespace {

#ifdef KAV_DESIGNER_PLUGIN
// Every class the widget box must offer, and whether it holds child widgets.
const QList<QPair<QString, bool>> kOffered = {
    {"TkavButton", false},          {"TKavArrowButton", false},      {"TkavControlButton", false},
    {"TkavImageButton", false},     {"TkavToolBarSpeedButton", false}, {"TkavCheckBox", false},
    {"TkavRadioButton", false},     {"TkavCheckGroup", false},       {"TkavRadioGroup", false},
    {"TkavEdit", false},            {"TkavMaskEdit", false},         {"TkavNumberEdit", false},
    {"TKavSpinEdit", false},        {"TkavComboBox", false},         {"TkavDriveComboBox", false},
    {"TkavMemo", false},            {"TkavURLLabel", false},         {"TkavProgressBar", false},
    {"TkavScrollBar", false},       {"TkavTrackBar", false},         {"TkavScrollTrackBar", false},
    {"TkavTabControl", false},      {"TkavToolBar", false},          {"TkavPanel", true},
    {"TkavImagePanel", true},       {"TkavGroupBox", true},          {"TkavPageControl", true},
    {"TkavTabSheet", true},         {"TkavForm", true},              {"TkavTitleBar", false},
    {"TkavMainMenu", false},        {"TkavDBEdit", false},           {"TkavDBMemo", false},
    {"TkavDBImage", false},         {"TkavDBComboBox", false},       {"TkavDBCheckBox", false},
    {"TkavDBRadioGroup", false},    {"TkavDBListBox", false},        {"TkavDBLookupListBox", false},
    {"TkavDBLookupComboBox", false}, {"TkavDBGrid", false},          {"TkavDBNavigator", false},
};

QDesignerCustomWidgetCollectionInterface *collection()
{
    // Loaded once and never unloaded, as Designer does: widgets made by the plugin point into it.
    static QPluginLoader loader(QStringLiteral(KAV_DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
}

QDesignerCustomWidgetInterface *offered(const QString &className)
{
    const auto widgets = collection()->customWidgets();
    for (QDesignerCustomWidgetInterface *widget : widgets) {
        if (widget->name() == className)
            return widget;
    }
    return nullptr;
}

QString uiStyleKey(const QWidget *widget)
{
    const QMetaObject *meta = widget->metaObject();
    const int index = meta->indexOfProperty("UIStyle");
    if (index < 0)
        return {};
    const QMetaProperty property = meta->property(index);
    return QString::fromLatin1(property.enumerator().valueToKey(property.read(widget).toInt()));
}

// The colour properties of widget's class: every property named like a colour except the
// switches (ParentColor), whatever type the class declares it with.
QList<QMetaProperty> colourProperties(const QWidget *widget)
{
    QList<QMetaProperty> found;
    const QMetaObject *meta = widget->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const bool named = QByteArray(property.name()).endsWith("Color");
        if ((named && property.metaType() != QMetaType::fromType<bool>())
            || property.metaType() == QMetaType::fromType<TColor>())
            found.append(property);
    }
    return found;
}

// A colour of its own for the index-th property, so that a write reaching the wrong property shows.
QColor distinctColour(int index)
{
    return QColor(10 + 7 * index, 200 - 5 * index, 3 * index + 1);
}

std::unique_ptr<QWidget> loadUi(const QByteArray &ui, QString *error)
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(KAV_DESIGNER_PLUGIN_DIR));
    QBuffer buffer;
    buffer.setData(ui);
    std::unique_ptr<QWidget> loaded(loader.load(&buffer));
    *error = loader.errorString();
    return loaded;
}
#endif

} // namespace

class TestKavDesigner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void offersEveryWidget();
    void describesEachWidget_data();
    void describesEachWidget();
    void createsEachWidget_data() { describesEachWidget_data(); }
    void createsEachWidget();
    void colourPropertiesAreColours_data() { describesEachWidget_data(); }
    void colourPropertiesAreColours();
    void uiFileColoursReachTheControl_data() { describesEachWidget_data(); }
    void uiFileColoursReachTheControl();
    void secondFormOnAWindowIsRefused();
    void loadsUiFile_data();
    void loadsUiFile();
    void uiFileLooksFollowUIStyle();
    void uiFilePagesJoinTheirPageControl();
    void formInUiFileSkinsItsWindow();
    // Last: it tells the plugin it runs inside Designer.
    void formInDesignerLeavesTheEditorAlone();
    void pageControlContainerInsertsAndRemovesSheets();
    void pageControlTaskMenuOffersPages();
};

void TestKavDesigner::initTestCase()
{
#ifndef KAV_DESIGNER_PLUGIN
    QSKIP("Built without Qt Designer development files: no plugin to test");
#else
    QVERIFY2(collection(), "the plugin does not load or is no widget collection");
#endif
}

void TestKavDesigner::offersEveryWidget()
{
#ifdef KAV_DESIGNER_PLUGIN
    QStringList names;
    for (QDesignerCustomWidgetInterface *widget : collection()->customWidgets())
        names.append(widget->name());
    QStringList expected;
    for (const auto &entry : kOffered)
        expected.append(entry.first);
    names.sort();
    expected.sort();
    QCOMPARE(names, expected);
#endif
}

void TestKavDesigner::describesEachWidget_data()
{
#ifdef KAV_DESIGNER_PLUGIN
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("container");
    for (const auto &entry : kOffered)
        QTest::addRow("%s", qPrintable(entry.first)) << entry.first << entry.second;
#endif
}

void TestKavDesigner::describesEachWidget()
{
#ifdef KAV_DESIGNER_PLUGIN
    QFETCH(QString, className);
    QFETCH(bool, container);
    QDesignerCustomWidgetInterface *widget = offered(className);
    QVERIFY(widget);
    QCOMPARE(widget->group(), QStringLiteral("KavSkin"));
    QCOMPARE(widget->isContainer(), container);
    QVERIFY(!widget->toolTip().isEmpty());

    // The include file is an installed header that declares the class.
    const QString sourceDir = qEnvironmentVariable("KAV_SOURCE_DIR");
    QVERIFY2(!sourceDir.isEmpty(), "KAV_SOURCE_DIR is not set");
    bool declared = false;
    for (const char *folder : {"core", "windows", "dialogs", "controls", "data"}) {
        QFile header(sourceDir + "/skin/" + folder + '/' + widget->includeFile());
        if (header.open(QIODevice::ReadOnly))
            declared = declared || header.readAll().contains("class " + className.toLatin1() + ' ');
    }
    QVERIFY2(declared, qPrintable(widget->includeFile() + " does not declare " + className));

    // Its picture in the widget box comes from the looks, not Qt's generic one.
    const QIcon icon = widget->icon();
    QVERIFY(!icon.isNull());
    const QImage iconImage = icon.pixmap(24, 24).toImage();
    QVERIFY(!iconImage.isNull());
    bool drawn = false;
    for (int y = 0; y < iconImage.height() && !drawn; ++y) {
        for (int x = 0; x < iconImage.width() && !drawn; ++x)
            drawn = qAlpha(iconImage.pixel(x, y)) != 0;
    }
    QVERIFY2(drawn, "the icon is empty");

    // The dropped widget is of the class and starts at a usable size.
    QXmlStreamReader xml(widget->domXml());
    QString droppedClass, droppedName, droppedCaption;
    bool hasCaption = false;
    QMap<QString, int> geometry;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("widget") && droppedClass.isEmpty()) {
            droppedClass = xml.attributes().value("class").toString();
            droppedName = xml.attributes().value("name").toString();
        } else if (xml.name() == QLatin1String("property") && xml.attributes().value("name") == QLatin1String("Caption")) {
            hasCaption = true;
            if (xml.readNextStartElement() && xml.name() == QLatin1String("string"))
                droppedCaption = xml.readElementText();
        } else if (xml.name() == QLatin1String("width") || xml.name() == QLatin1String("height")) {
            const QString key = xml.name().toString();
            geometry[key] = xml.readElementText().toInt();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(droppedClass, className);
    QVERIFY(!droppedName.isEmpty());
    QVERIFY(geometry.value("width") > 0);
    QVERIFY(geometry.value("height") > 0);

    // A class with a caption starts with its object name as caption (a button is not blank).
    static const QStringList captioned{"TkavButton",   "TkavImageButton", "TkavCheckBox",
                                       "TkavRadioButton", "TkavGroupBox", "TkavPanel",          "TkavTabSheet",
                                       "TkavURLLabel", "TkavForm",        "TkavTitleBar",           "TkavDBCheckBox"};
    if (captioned.contains(className))
        QCOMPARE(droppedCaption, droppedName);
    else
        QVERIFY2(!hasCaption || !droppedCaption.isEmpty(), "an empty caption");
#endif
}

void TestKavDesigner::createsEachWidget()
{
#ifdef KAV_DESIGNER_PLUGIN
    QFETCH(QString, className);
    QDesignerCustomWidgetInterface *offer = offered(className);
    QVERIFY(offer);
    QWidget window;
    window.resize(400, 300);
    QWidget *widget = offer->createWidget(&window);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget(), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    widget->grab(); // paints without a data set, a theme file or a form around it

    // Designer also makes a parentless instance to learn the default property values.
    std::unique_ptr<QWidget> loose(offer->createWidget(nullptr));
    QVERIFY(loose);
#endif
}

void TestKavDesigner::colourPropertiesAreColours()
{
#ifdef KAV_DESIGNER_PLUGIN
    // Designer's property editor offers its colour editor, and form files store <color>, only for
    // QColor properties. A write through the meta-object keeps red, green and blue exactly.
    QFETCH(QString, className);
    QDesignerCustomWidgetInterface *offer = offered(className);
    QVERIFY(offer);
    QWidget window;
    QWidget *widget = offer->createWidget(&window);
    QVERIFY(widget);
    const QList<QMetaProperty> colours = colourProperties(widget);
    for (int i = 0; i < colours.size(); ++i) {
        const QMetaProperty &property = colours.at(i);
        QVERIFY2(property.metaType() == QMetaType::fromType<QColor>(), property.name());
        QVERIFY2(property.isWritable() && property.isDesignable(), property.name());
        QColor written = distinctColour(i);
        written.setAlpha(90); // kept by a control that stores a QColor, dropped by a TColor
        QVERIFY2(property.write(widget, written), property.name());
        QCOMPARE(property.read(widget).value<QColor>().rgb(), written.rgb());
        QCOMPARE(property.read(widget).value<TColor>(), TColor::fromQColor(distinctColour(i)));
    }
#endif
}

void TestKavDesigner::uiFileColoursReachTheControl()
{
#ifdef KAV_DESIGNER_PLUGIN
    // Each colour property in turn, as Designer writes it into a form file.
    QFETCH(QString, className);
    QDesignerCustomWidgetInterface *offer = offered(className);
    QVERIFY(offer);
    std::unique_ptr<QWidget> probe(offer->createWidget(nullptr));
    QVERIFY(probe);
    const QList<QMetaProperty> colours = colourProperties(probe.get());
    for (int i = 0; i < colours.size(); ++i) {
        const QColor colour = distinctColour(i);
        const QByteArray ui = QStringLiteral(R"(<ui version="4.0"><widget class="QWidget" name="Sheet">
  <widget class="%1" name="control"><property name="%2"><color alpha="64">
   <red>%3</red><green>%4</green><blue>%5</blue></color></property></widget></widget></ui>)")
                                  .arg(className, QString::fromLatin1(colours.at(i).name()))
                                  .arg(colour.red())
                                  .arg(colour.green())
                                  .arg(colour.blue())
                                  .toUtf8();
        QString error;
        std::unique_ptr<QWidget> sheet = loadUi(ui, &error);
        QVERIFY2(sheet, qPrintable(error));
        const QWidget *control = sheet->findChild<QWidget *>("control");
        QVERIFY(control);
        QCOMPARE(control->property(colours.at(i).name()).value<TColor>(),
                 TColor::fromRgb(colour.red(), colour.green(), colour.blue()));
    }
#endif
}

void TestKavDesigner::secondFormOnAWindowIsRefused()
{
#ifdef KAV_DESIGNER_PLUGIN
    QDesignerCustomWidgetInterface *form = offered("TkavForm");
    QVERIFY(form);
    QWidget window;
    QVERIFY(form->createWidget(&window));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("only one TkavForm"));
    QCOMPARE(form->createWidget(&window), nullptr); // and no exception into the host
#endif
}

void TestKavDesigner::loadsUiFile_data()
{
    QTest::addColumn<QString>("enumText");
    QTest::addRow("plain key") << "MacOS";
    QTest::addRow("scoped key") << "TkavUIStyle::MacOS";
    QTest::addRow("qualified key") << "Kav::TkavUIStyle::MacOS";
}

void TestKavDesigner::loadsUiFile()
{
#ifdef KAV_DESIGNER_PLUGIN
    QFETCH(QString, enumText);
    const QString ui = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Sheet</class>
 <widget class="QWidget" name="Sheet">
  <property name="geometry"><rect><x>0</x><y>0</y><width>320</width><height>200</height></rect></property>
  <widget class="TkavButton" name="okButton">
   <property name="geometry"><rect><x>10</x><y>10</y><width>75</width><height>25</height></rect></property>
   <property name="Caption"><string>OK</string></property>
   <property name="UIStyle"><enum>%1</enum></property>
   <property name="Color"><color><red>255</red><green>128</green><blue>0</blue></color></property>
  </widget>
  <widget class="TkavPanel" name="panel">
   <property name="geometry"><rect><x>10</x><y>50</y><width>200</width><height>100</height></rect></property>
   <widget class="TkavEdit" name="answer">
    <property name="geometry"><rect><x>5</x><y>5</y><width>120</width><height>21</height></rect></property>
    <property name="text"><string>42</string></property>
   </widget>
   <widget class="TkavCheckBox" name="sure">
    <property name="geometry"><rect><x>5</x><y>40</y><width>97</width><height>17</height></rect></property>
    <property name="UIStyle"><enum>WinXP</enum></property>
   </widget>
  </widget>
 </widget>
</ui>)").arg(enumText);

    QString error;
    const std::unique_ptr<QWidget> sheet = loadUi(ui.toUtf8(), &error);
    QVERIFY2(sheet, qPrintable(error));

    const struct {
        const char *name;
        const char *className;
        const char *parentName;
    } expected[] = {{"okButton", "TkavButton", "Sheet"},
                    {"panel", "TkavPanel", "Sheet"},
                    {"answer", "TkavEdit", "panel"},
                    {"sure", "TkavCheckBox", "panel"}};
    for (const auto &entry : expected) {
        const QWidget *widget = sheet->findChild<QWidget *>(entry.name);
        QVERIFY2(widget, entry.name);
        QCOMPARE(widget->metaObject()->className(), entry.className);
        QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(entry.parentName));
    }
    const QWidget *button = sheet->findChild<QWidget *>("okButton");
    QCOMPARE(uiStyleKey(button), QStringLiteral("MacOS"));
    QCOMPARE(button->property("Caption").toString(), QStringLiteral("OK"));
    QCOMPARE(button->property("Color").value<QColor>(), QColor(255, 128, 0));
    QCOMPARE(uiStyleKey(sheet->findChild<QWidget *>("sure")), QStringLiteral("WinXP"));
    QCOMPARE(sheet->findChild<QWidget *>("answer")->property("text").toString(), QStringLiteral("42"));
#endif
}

void TestKavDesigner::uiFileLooksFollowUIStyle()
{
#ifdef KAV_DESIGNER_PLUGIN
    // Two buttons alike but for their look: the look set in the .ui reaches the pictures.
    const QString button = QStringLiteral(R"(
  <widget class="TkavButton" name="%1">
   <property name="geometry"><rect><x>%2</x><y>0</y><width>75</width><height>25</height></rect></property>
   <property name="UIStyle"><enum>%1</enum></property>
  </widget>)");
    const QString ui = QStringLiteral(R"(<ui version="4.0"><widget class="QWidget" name="Sheet">
  <property name="geometry"><rect><x>0</x><y>0</y><width>160</width><height>25</height></rect></property>
  %1 %2</widget></ui>)")
                           .arg(button.arg("MacOS").arg(0), button.arg("WinXP").arg(80));
    QString error;
    const std::unique_ptr<QWidget> sheet = loadUi(ui.toUtf8(), &error);
    QVERIFY2(sheet, qPrintable(error));
    QWidget *macButton = sheet->findChild<QWidget *>("MacOS");
    QWidget *xpButton = sheet->findChild<QWidget *>("WinXP");
    QVERIFY(macButton && xpButton);
    const QImage mac = macButton->grab().toImage();
    const QImage xp = xpButton->grab().toImage();
    QCOMPARE(mac.size(), QSize(75, 25));
    QVERIFY(mac != xp);
#endif
}

void TestKavDesigner::uiFilePagesJoinTheirPageControl()
{
#ifdef KAV_DESIGNER_PLUGIN
    // Designer keeps pages as plain children of the page control; they must become its pages.
    const QByteArray ui = R"(<ui version="4.0"><widget class="QWidget" name="Sheet">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>200</height></rect></property>
  <widget class="TkavPageControl" name="pages">
   <property name="geometry"><rect><x>0</x><y>0</y><width>289</width><height>193</height></rect></property>
   <widget class="TkavTabSheet" name="first"><property name="Caption"><string>Sums</string></property></widget>
   <widget class="TkavTabSheet" name="second"><property name="Caption"><string>Results</string></property></widget>
  </widget></widget></ui>)";
    QString error;
    const std::unique_ptr<QWidget> sheet = loadUi(ui, &error);
    QVERIFY2(sheet, qPrintable(error));
    const QWidget *pages = sheet->findChild<QWidget *>("pages");
    QVERIFY(pages);
    QCOMPARE(pages->property("PageCount").toInt(), 2);
    QCOMPARE(sheet->findChild<QWidget *>("first")->property("PageIndex").toInt(), 0);
    QCOMPARE(sheet->findChild<QWidget *>("second")->property("PageIndex").toInt(), 1);
    QCOMPARE(sheet->findChild<QWidget *>("second")->property("Caption").toString(),
             QStringLiteral("Results"));
#endif
}

void TestKavDesigner::formInUiFileSkinsItsWindow()
{
#ifdef KAV_DESIGNER_PLUGIN
    const QByteArray ui = R"(<ui version="4.0"><widget class="QWidget" name="Sheet">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="TkavForm" name="form"/></widget></ui>)";
    QString error;
    const std::unique_ptr<QWidget> sheet = loadUi(ui, &error);
    QVERIFY2(sheet, qPrintable(error));
    QVERIFY(sheet->findChild<QWidget *>("form"));
    QVERIFY(sheet->windowFlags() & Qt::FramelessWindowHint);
#endif
}

void TestKavDesigner::formInDesignerLeavesTheEditorAlone()
{
#ifdef KAV_DESIGNER_PLUGIN
    QDesignerCustomWidgetInterface *offer = offered("TkavForm");
    QVERIFY(offer);
    QDesignerFormEditorInterface formEditor;
    offer->initialize(&formEditor);
    QWidget editorWindow;
    QWidget *form = offer->createWidget(&editorWindow);
    QVERIFY(form);
    QCOMPARE(form->parentWidget(), &editorWindow);
    QVERIFY(!form->isWindow());
    QVERIFY(!(editorWindow.windowFlags() & Qt::FramelessWindowHint));
    form->resize(200, 120);
    form->grab(); // draws its border and title bar as a preview
#endif
}

void TestKavDesigner::pageControlContainerInsertsAndRemovesSheets()
{
#ifdef KAV_DESIGNER_PLUGIN
    QExtensionManager manager;
    manager.registerExtensions(new TkavPageControlExtensionFactory(&manager), Q_TYPEID(QDesignerContainerExtension));
    QWidget window;
    window.resize(300, 200);
    auto *pages = new TkavPageControl(&window);
    pages->setGeometry(0, 0, 289, 193);
    auto *first = new TkavTabSheet(pages);
    auto *second = new TkavTabSheet(pages);
    auto *panel = new TkavPanel(&window);
    QVERIFY(!qt_extension<QDesignerContainerExtension *>(&manager, panel));
    auto *container = qt_extension<QDesignerContainerExtension *>(&manager, pages);
    QVERIFY(container);

    QCOMPARE(container->count(), 2);
    QCOMPARE(container->widget(0), first);
    QCOMPARE(container->widget(1), second);
    container->setCurrentIndex(1);
    QCOMPARE(pages->ActivePage(), second);
    QCOMPARE(container->currentIndex(), 1);

    // Only sheets are pages: Designer's plain QWidget page is refused.
    QVERIFY(!container->canAddWidget());
    QWidget plain;
    container->addWidget(&plain);
    QCOMPARE(container->count(), 2);

    // A sheet Designer hands back (undo) goes where it was and shows.
    auto *inserted = new TkavTabSheet;
    container->insertWidget(0, inserted);
    QCOMPARE(container->count(), 3);
    QCOMPARE(container->widget(0), inserted);
    QCOMPARE(inserted->parentWidget(), pages);
    QCOMPARE(container->currentIndex(), 0);
    QCOMPARE(container->widget(2), second);

    // Removing takes the sheet out without destroying it; Designer still shows a page.
    QVERIFY(container->canRemove(2));
    QVERIFY(!container->canRemove(3));
    container->remove(0);
    QCOMPARE(container->count(), 2);
    QCOMPARE(inserted->parentWidget(), nullptr);
    QCOMPARE(inserted->PageControl(), nullptr);
    QCOMPARE(pages->ActivePage(), first);
    delete inserted;
    QCOMPARE(container->count(), 2);
#endif
}

void TestKavDesigner::pageControlTaskMenuOffersPages()
{
#ifdef KAV_DESIGNER_PLUGIN
    QExtensionManager manager;
    manager.registerExtensions(new TkavPageControlExtensionFactory(&manager), Q_TYPEID(QDesignerTaskMenuExtension));
    TkavPageControl pages;
    auto *menu = qt_extension<QDesignerTaskMenuExtension *>(&manager, &pages);
    QVERIFY(menu);
    QList<QAction *> actions = menu->taskActions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QStringLiteral("Insert Page"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Delete Page"));
    QVERIFY(!actions[1]->isEnabled()); // no page to delete yet
    new TkavTabSheet(&pages);
    actions = menu->taskActions();
    QVERIFY(actions[1]->isEnabled());
    // Outside a form (no form window around the control) the actions do nothing.
    actions[0]->trigger();
    actions[1]->trigger();
    QCOMPARE(pages.PageCount(), 1);
    TkavPanel panel;
    QVERIFY(!qt_extension<QDesignerTaskMenuExtension *>(&manager, &panel));
#endif
}

QTEST_MAIN(TestKavDesigner)
#include "tst_kavdesigner.moc"
