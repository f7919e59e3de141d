#include "KAVFunctions.h"
#include "KAVMgr.h"
#include "KAVThemeFile.h"
#include "KAVThemeValues.h"
#include "frmThemeMgr.h"
#include "tst_kavmgr_fakecontrol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

namespace {

// The values of one small theme file. Its button picture is a strip of three 2 x 2 frames, each
// filled with one colour.
struct ThemeData {
    quint32 border;
    int minWidth;
    bool transparent;
    QRgb frames[3];
};

const ThemeData ThemeA = {0x112233, 111, true, {qRgb(10, 0, 0), qRgb(20, 0, 0), qRgb(30, 0, 0)}};
const ThemeData ThemeB = {0x445566, 222, false, {qRgb(0, 10, 0), qRgb(0, 20, 0), qRgb(0, 30, 0)}};

QImage strip(const QRgb (&frames)[3])
{
    QImage picture(6, 2, QImage::Format_RGB32);
    for (int frame = 0; frame < 3; ++frame)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                picture.setPixel(frame * 2 + x, y, frames[frame]);
    return picture;
}

QImage filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool writeTheme(const QString &path, const ThemeData &data)
{
    const QString picture = path + QStringLiteral(".button.bmp");
    if (!strip(data.frames).save(picture, "BMP"))
        return false;
    TkavThemeFileWriter writer(path);
    writer.AddFile(Kav::KavThemeKeyName(KavKey::ButtonImage), picture);
    writer.AddInteger(Kav::KavThemeKeyName(KavKey::ControlBorderColor), qint32(data.border));
    writer.AddInteger(Kav::KavThemeKeyName(KavKey::FormMinWidthInt), data.minWidth);
    writer.AddBool(Kav::KavThemeKeyName(KavKey::ButtonTransparentBool), data.transparent);
    return writer.Save();
}

// A theme file with one integer entry and nothing else.
bool writeSparseTheme(const QString &path)
{
    TkavThemeFileWriter writer(path);
    writer.AddInteger(Kav::KavThemeKeyName(KavKey::FormMinWidthInt), 5);
    return writer.Save();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool hasBuiltInPictures()
{
    return QFile::exists(QStringLiteral(":/looks/DEEPBLUE_BUTTON"));
}

void compareWithTheme(const TkavFakeControl &control, const ThemeData &data)
{
    QCOMPARE(control.borderColor, TColor(data.border));
    QCOMPARE(control.minWidth, data.minWidth);
    QCOMPARE(control.buttonTransparent, data.transparent);
    QCOMPARE(control.buttonFrame, filled(2, 2, data.frames[1]));
}

void compareWithLook(const TkavFakeControl &control, TkavUIStyle look)
{
    QCOMPARE(control.borderColor, GetInsideThemeColor(look, KavKey::ControlBorderColor));
    QCOMPARE(control.minWidth, GetInsideThemeInt(look, KavKey::FormMinWidthInt));
    QCOMPARE(control.buttonTransparent, GetInsideThemeBool(look, KavKey::ButtonTransparentBool));
}

} // namespace

class tst_KAVMgr : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_themeA;
    QString m_themeB;
    QString m_sparse;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    std::unique_ptr<TkavFileTheme> loadedTheme(const QString &file, QObject *parent = nullptr)
    {
        auto theme = std::make_unique<TkavFileTheme>(parent);
        theme->setThemeFile(file);
        return theme;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_themeA = path(QStringLiteral("a.kav"));
        m_themeB = path(QStringLiteral("b.kav"));
        m_sparse = path(QStringLiteral("sparse.kav"));
        QVERIFY(writeTheme(m_themeA, ThemeA));
        QVERIFY(writeTheme(m_themeB, ThemeB));
        QVERIFY(writeSparseTheme(m_sparse));
    }

    // --- UsingFileTheme and the values a component reads --------------------------------------

    void usingFileTheme_data()
    {
        QTest::addColumn<TkavUIStyle>("uiStyle");
        QTest::addColumn<QString>("theme"); // "none", "unloaded" or "loaded"
        QTest::addColumn<bool>("usesFile");
        QTest::addColumn<TkavUIStyle>("style");

        QTest::addRow("built-in look, no theme") << TkavUIStyle::MacOS << "none" << false << TkavUIStyle::MacOS;
        QTest::addRow("built-in look, loaded theme") << TkavUIStyle::WinXP << "loaded" << false << TkavUIStyle::WinXP;
        QTest::addRow("from file, loaded theme")
            << TkavUIStyle::FromThemeFile << "loaded" << true << TkavUIStyle::FromThemeFile;
        QTest::addRow("from file, no theme") << TkavUIStyle::FromThemeFile << "none" << false << TkavUIStyle::DeepBlue;
        QTest::addRow("from file, theme without file")
            << TkavUIStyle::FromThemeFile << "unloaded" << false << TkavUIStyle::DeepBlue;
    }

    void usingFileTheme()
    {
        QFETCH(TkavUIStyle, uiStyle);
        QFETCH(QString, theme);
        QFETCH(bool, usesFile);
        QFETCH(TkavUIStyle, style);

        TkavFileTheme fileTheme;
        if (theme == QLatin1String("loaded"))
            fileTheme.setThemeFile(m_themeA);
        TkavUIStyle resolved = TkavUIStyle::BlueGlass;
        QCOMPARE(UsingFileTheme(theme == QLatin1String("none") ? nullptr : &fileTheme, uiStyle, resolved), usesFile);
        QCOMPARE(resolved, style);

        const KavThemeValues values(uiStyle, theme == QLatin1String("none") ? nullptr : &fileTheme);
        QCOMPARE(values.usesFile(), usesFile);
        QCOMPARE(values.resolvedStyle(), style);
    }

    void fromThemeFileWithoutFileIsDeepBlue()
    {
        TkavFileTheme unloaded;
        for (const TkavFileTheme *theme : {static_cast<const TkavFileTheme *>(nullptr),
                                           static_cast<const TkavFileTheme *>(&unloaded)}) {
            const KavThemeValues fromFile(TkavUIStyle::FromThemeFile, theme);
            const KavThemeValues deepBlue(TkavUIStyle::DeepBlue, nullptr);
            for (int key = 1; key <= KavThemeKeyCount; ++key) {
                QCOMPARE(fromFile.integer(key), deepBlue.integer(key));
                QCOMPARE(fromFile.color(key), deepBlue.color(key));
                QCOMPARE(fromFile.boolean(key), deepBlue.boolean(key));
                if (hasBuiltInPictures() && Kav::KavThemeKeyKind(key) == TkavType::Str) {
                    QCOMPARE(fromFile.bitmap(key), deepBlue.bitmap(key));
                    QCOMPARE(fromFile.bitmap(key, 2, 1), deepBlue.bitmap(key, 2, 1));
                }
            }
        }
        TkavFakeControl control;
        control.setUIStyle(TkavUIStyle::FromThemeFile);
        compareWithLook(control, TkavUIStyle::DeepBlue);
    }

    void valuesComeFromTheFile()
    {
        const auto theme = loadedTheme(m_themeA);
        QVERIFY(theme->CanUse());
        const KavThemeValues values(TkavUIStyle::FromThemeFile, theme.get());
        QCOMPARE(values.color(KavKey::ControlBorderColor), TColor(ThemeA.border));
        QCOMPARE(values.integer(KavKey::FormMinWidthInt), ThemeA.minWidth);
        QCOMPARE(values.boolean(KavKey::ButtonTransparentBool), ThemeA.transparent);
        QCOMPARE(values.bitmap(KavKey::ButtonImage), strip(ThemeA.frames));
        QCOMPARE(values.bitmap(KavKey::ButtonImage, 0, 0), strip(ThemeA.frames));
        QCOMPARE(values.bitmap(KavKey::ButtonImage, 3, 1), filled(2, 2, ThemeA.frames[0]));
        QCOMPARE(values.bitmap(KavKey::ButtonImage, 3, 3), filled(2, 2, ThemeA.frames[2]));
        // Kinds are not converted: a colour key asked as an integer is a missing integer entry.
        QCOMPARE(values.integer(KavKey::ControlBorderColor), int(ThemeA.border));
        QCOMPARE(values.boolean(KavKey::FormMinWidthInt), false);
    }

    void missingEntriesGiveNeutralValues_data()
    {
        QTest::addColumn<int>("key");
        QTest::addRow("colour") << int(KavKey::ControlBorderColor);
        QTest::addRow("integer") << int(KavKey::TitleBarButtonTopInt);
        QTest::addRow("boolean") << int(KavKey::ButtonTransparentBool);
        QTest::addRow("picture") << int(KavKey::ButtonImage);
        QTest::addRow("key 0") << 0;
        QTest::addRow("key 43") << 43;
    }

    void missingEntriesGiveNeutralValues()
    {
        QFETCH(int, key);
        const auto theme = loadedTheme(m_sparse);
        QVERIFY(theme->CanUse());
        QCOMPARE(theme->GetColor(key), TColor(0xFFFFFFFF));
        QCOMPARE(theme->GetInt(key), -1);
        QCOMPARE(theme->GetBool(key), false);
        QImage picture = filled(3, 3, qRgb(1, 2, 3));
        theme->GetBitmap(key, &picture);
        QVERIFY(picture.isNull());
        picture = filled(3, 3, qRgb(1, 2, 3));
        theme->GetBitmap(key, &picture, 3, 1);
        QVERIFY(picture.isNull());

        // A control is given the built-in look's picture instead (DeepBlue's, the file theme's
        // fall-back look); keys that are no picture stay without one.
        const KavThemeValues values(TkavUIStyle::FromThemeFile, theme.get());
        QImage whole, frame;
        GetInsideThemeBitmap(TkavUIStyle::DeepBlue, key, &whole, 0, 0);
        GetInsideThemeBitmap(TkavUIStyle::DeepBlue, key, &frame, 3, 2);
        QCOMPARE(whole.isNull(), Kav::KavThemeKeyKind(key) != TkavType::Str || key == 0 || key == 43);
        QCOMPARE(values.bitmap(key), whole);
        QCOMPARE(values.bitmap(key, 3, 2), frame);
        QCOMPARE(values.integer(key), -1);
    }

    void withoutLoadedFile()
    {
        const TkavFileTheme theme;
        QVERIFY(!theme.CanUse());
        QCOMPARE(theme.ThemeFile(), QString());
        QCOMPARE(theme.GetColor(KavKey::ControlBorderColor), TColor(0));
        QCOMPARE(theme.GetInt(KavKey::FormMinWidthInt), 0);
        QCOMPARE(theme.GetBool(KavKey::ButtonTransparentBool), false);
        const QImage before = filled(3, 3, qRgb(1, 2, 3));
        QImage picture = before;
        theme.GetBitmap(KavKey::ButtonImage, &picture);
        QCOMPARE(picture, before);
        theme.GetBitmap(KavKey::ButtonImage, nullptr);
        theme.GetBitmap(KavKey::ButtonImage, nullptr, 3, 1);
    }

    // --- ThemeFile ----------------------------------------------------------------------------

    void bareFileNameIsFoundNextToTheProgram_data()
    {
        QTest::addColumn<QString>("given"); // %1 stands for the file name
        QTest::addRow("bare name") << "%1";
        QTest::addRow("path in a folder that does not exist") << "no/such/folder/%1";
    }

    void bareFileNameIsFoundNextToTheProgram()
    {
        QFETCH(QString, given);
        const QString name = QStringLiteral("tst_kavmgr_%1.kav").arg(QCoreApplication::applicationPid());
        const QString nextToProgram = QDir(QCoreApplication::applicationDirPath()).filePath(name);
        QVERIFY(QFile::copy(m_themeB, nextToProgram));
        const auto removeCopy = qScopeGuard([&] { QFile::remove(nextToProgram); });
        // Tests run in the program's folder; move away so that the name is not found as given.
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const auto restoreCurrent = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });

        TkavFileTheme theme;
        theme.setThemeFile(given.arg(name));
        QVERIFY(theme.CanUse());
        QCOMPARE(theme.ThemeFile(), nextToProgram);
        QCOMPARE(theme.GetInt(KavKey::FormMinWidthInt), ThemeB.minWidth);
    }

    void fileFoundNowhereIsIgnored()
    {
        TkavFileTheme fresh;
        fresh.setThemeFile(path(QStringLiteral("missing.kav")));
        QVERIFY(!fresh.CanUse());
        QCOMPARE(fresh.ThemeFile(), QString());

        const auto theme = loadedTheme(m_themeA);
        theme->setThemeFile(path(QStringLiteral("missing.kav")));
        QVERIFY(theme->CanUse());
        QCOMPARE(theme->ThemeFile(), m_themeA);
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeA.minWidth);
        // A folder is no file either, nor a FIFO, which is not even opened (nobody writes to it).
        theme->setThemeFile(m_dir.path());
        QCOMPARE(theme->ThemeFile(), m_themeA);
        QVERIFY2(theme->errorString().contains(QStringLiteral("is not a regular file")), qPrintable(theme->errorString()));
        const QString fifo = path(QStringLiteral("pipe.kav"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        theme->setThemeFile(fifo);
        QCOMPARE(theme->ThemeFile(), m_themeA);
        QCOMPARE(theme->errorString(), QStringLiteral("\"%1\" is not a regular file (a folder, pipe or device)").arg(fifo));
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeA.minWidth);
    }

    void sameStringTwiceLoadsOnce()
    {
        const QString file = path(QStringLiteral("changing.kav"));
        QVERIFY(writeAll(file, readAll(m_themeA)));
        const auto theme = loadedTheme(file);
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeA.minWidth);

        QVERIFY(writeAll(file, readAll(m_themeB)));
        theme->setThemeFile(file);
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeA.minWidth);

        // The same file under another spelling is another string, so it loads.
        theme->setThemeFile(m_dir.path() + QStringLiteral("/./changing.kav"));
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeB.minWidth);
    }

    // A file that exists but cannot be loaded leaves the file theme as it was: the file in use
    // keeps serving, and a theme that had none stays unusable.
    void damagedFileKeepsTheFileInUse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = readAll(m_themeB);
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("cut in the middle") << good.left(good.size() / 2);
        QTest::addRow("header only") << good.left(24);
        QTest::addRow("chain loops") << [&] {
            QByteArray bytes = good;
            qToLittleEndian<qint32>(24, bytes.data() + 24 + 73); // first record points to itself
            return bytes;
        }();
    }

    void damagedFileKeepsTheFileInUse()
    {
        QFETCH(QByteArray, bytes);
        const QString damaged = path(QStringLiteral("damaged.kav"));
        QVERIFY(writeAll(damaged, bytes));

        const auto theme = loadedTheme(m_themeA);
        theme->setThemeFile(damaged);
        QVERIFY(theme->CanUse());
        QCOMPARE(theme->ThemeFile(), m_themeA);
        QVERIFY(!theme->errorString().isEmpty());
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeA.minWidth);
        QCOMPARE(theme->GetBool(KavKey::ButtonTransparentBool), ThemeA.transparent);

        TkavFileTheme fresh;
        fresh.setThemeFile(damaged);
        QVERIFY(!fresh.CanUse());
        QCOMPARE(fresh.ThemeFile(), QString());
        QCOMPARE(fresh.GetInt(KavKey::FormMinWidthInt), 0);

        // Once repaired, the same name loads.
        QVERIFY(writeAll(damaged, readAll(m_themeB)));
        theme->setThemeFile(damaged);
        QCOMPARE(theme->ThemeFile(), damaged);
        QVERIFY(theme->errorString().isEmpty());
        QCOMPARE(theme->GetInt(KavKey::FormMinWidthInt), ThemeB.minWidth);
    }

    void secondFileReappliesTheFormsSkinnedComponents()
    {
        QWidget form;
        auto *theme = new TkavFileTheme(&form);
        theme->setThemeFile(m_themeA);
        auto *direct = new TkavFakeControl(&form, QStringLiteral("direct"));
        auto *panel = new QWidget(&form);
        auto *nested = new TkavFakeControl(panel, QStringLiteral("nested"));
        auto *unthemed = new TkavFakeControl(&form, QStringLiteral("unthemed"));
        auto *other = new OtherFakeControl(&form, QStringLiteral("other"));
        for (TkavFakeControl *control : {direct, nested, static_cast<TkavFakeControl *>(other)}) {
            control->setUIStyle(TkavUIStyle::FromThemeFile);
            control->setFileTheme(theme);
            compareWithTheme(*control, ThemeA);
            control->resetCounts();
        }
        unthemed->resetCounts();

        theme->setThemeFile(m_themeB);
        for (TkavFakeControl *control : {direct, nested}) {
            QCOMPARE(control->writes, QStringList{QStringLiteral("FileTheme")});
            compareWithTheme(*control, ThemeB);
        }
        QCOMPARE(unthemed->writes, QStringList());
        // Every component that publishes a look is re-assigned, whatever its class is called.
        QCOMPARE(other->writes, QStringList{QStringLiteral("FileTheme")});
        compareWithTheme(*other, ThemeB);

        // A load that fails re-assigns nothing.
        direct->resetCounts();
        theme->setThemeFile(path(QStringLiteral("missing.kav")));
        QCOMPARE(direct->themeWrites, 0);
    }

    void fileThemeOffAWindowReappliesNothing()
    {
        QWidget form;
        auto *panel = new QWidget(&form);
        auto *theme = new TkavFileTheme(panel); // its parent is no window, so it has no owner form
        theme->setThemeFile(m_themeA);
        auto *control = new TkavFakeControl(panel, QStringLiteral("control"));
        control->setFileTheme(theme);
        control->resetCounts();
        theme->setThemeFile(m_themeB);
        QCOMPARE(control->themeWrites, 0);
    }

    void freeingTheFileThemeTurnsItsUsersDeepBlue()
    {
        QWidget form;
        auto *theme = new TkavFileTheme(&form);
        theme->setThemeFile(m_themeA);
        auto *user = new TkavFakeControl(&form, QStringLiteral("user"));
        user->setUIStyle(TkavUIStyle::FromThemeFile);
        user->setFileTheme(theme);
        auto *bystander = new TkavFakeControl(&form, QStringLiteral("bystander"));
        auto *manager = new TkavThemeManager(&form);
        manager->setCompList({QStringLiteral("bystander")});
        manager->setUIStyle(TkavUIStyle::FromThemeFile);
        manager->setFileTheme(theme);
        bystander->resetCounts();
        QSignalSpy changed(manager, &TkavThemeManager::OnUIStyleChanged);

        delete theme;

        QCOMPARE(user->FileTheme(), nullptr);
        QCOMPARE(user->UIStyle(), TkavUIStyle::DeepBlue);
        compareWithLook(*user, TkavUIStyle::DeepBlue);
        QCOMPARE(manager->FileTheme(), nullptr);
        QCOMPARE(manager->UIStyle(), TkavUIStyle::DeepBlue);
        // The manager only forgets the theme: no UpdateAll, no event.
        QCOMPARE(changed.count(), 0);
        QCOMPARE(bystander->styleWrites, 0);
        QCOMPARE(bystander->themeWrites, 0);
        // The control it handed the theme to falls back by itself.
        QCOMPARE(bystander->FileTheme(), nullptr);
    }

    // --- Properties by name -------------------------------------------------------------------

    void propertiesByName_data()
    {
        QTest::addColumn<QVariant>("style");
        QTest::addRow("enumeration") << QVariant::fromValue(TkavUIStyle::WinXP);
        QTest::addRow("number") << QVariant(int(TkavUIStyle::WinXP));
    }

    void propertiesByName()
    {
        QFETCH(QVariant, style);
        const auto theme = loadedTheme(m_themeA);

        TkavFakeControl control;
        QVERIFY(control.setProperty("FileTheme", QVariant::fromValue<TkavFileTheme *>(theme.get())));
        QCOMPARE(control.FileTheme(), theme.get());
        QCOMPARE(control.property("FileTheme").value<TkavFileTheme *>(), theme.get());
        QVERIFY(control.setProperty("UIStyle", style));
        QCOMPARE(control.UIStyle(), TkavUIStyle::WinXP);
        QCOMPARE(control.property("UIStyle").value<TkavUIStyle>(), TkavUIStyle::WinXP);

        TkavThemeManager manager;
        QVERIFY(manager.setProperty("UIStyle", style));
        QCOMPARE(manager.UIStyle(), TkavUIStyle::WinXP);
        QVERIFY(manager.setProperty("FileTheme", QVariant::fromValue<TkavFileTheme *>(theme.get())));
        QCOMPARE(manager.FileTheme(), theme.get());
        const QStringList names{QStringLiteral("x"), QStringLiteral("y")};
        QVERIFY(manager.setProperty("CompList", names));
        QCOMPARE(manager.CompList(), names);

        TkavFileTheme byName;
        QVERIFY(byName.setProperty("ThemeFile", m_themeB));
        QCOMPARE(byName.ThemeFile(), m_themeB);
    }

    void containersReachTheControls()
    {
        const auto theme = loadedTheme(m_themeB);
        QWidget container;
        auto *control = new TkavFakeControl(&container, QStringLiteral("control"));
        ContainerApplyUIStyle(&container, TkavUIStyle::FromThemeFile, theme.get());
        QCOMPARE(control->writes, (QStringList{QStringLiteral("FileTheme"), QStringLiteral("UIStyle")}));
        QCOMPARE(control->FileTheme(), theme.get());
        compareWithTheme(*control, ThemeB);
        ContainerApplyUIStyle(&container, TkavUIStyle::Protein, nullptr);
        QCOMPARE(control->FileTheme(), nullptr);
        compareWithLook(*control, TkavUIStyle::Protein);
    }

    // --- Theme manager ------------------------------------------------------------------------

    void managerStartsDeepBlue()
    {
        TkavThemeManager manager;
        QCOMPARE(manager.UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(manager.FileTheme(), nullptr);
        QVERIFY(manager.CompList().isEmpty());
    }

    void managerWritesUIStyleThenFileTheme()
    {
        QWidget form;
        const auto theme = loadedTheme(m_themeB);
        auto *manager = new TkavThemeManager(&form);
        auto *listed = new TkavFakeControl(&form, QStringLiteral("listed"));
        auto *nested = new TkavFakeControl(new QWidget(&form), QStringLiteral("nested"));
        auto *unlisted = new TkavFakeControl(&form, QStringLiteral("unlisted"));
        manager->setCompList({QStringLiteral("nested"), QStringLiteral("listed")});
        manager->setFileTheme(theme.get());
        for (TkavFakeControl *control : {listed, nested, unlisted})
            control->resetCounts();

        manager->setUIStyle(TkavUIStyle::FromThemeFile);
        for (TkavFakeControl *control : {listed, nested}) {
            QCOMPARE(control->writes, (QStringList{QStringLiteral("UIStyle"), QStringLiteral("FileTheme")}));
            QCOMPARE(control->UIStyle(), TkavUIStyle::FromThemeFile);
            compareWithTheme(*control, ThemeB);
        }
        QCOMPARE(unlisted->writes, QStringList());
    }

    void updateAllKeepsNamesWithoutComponent()
    {
        QWidget form;
        auto *manager = new TkavThemeManager(&form);
        auto *control = new TkavFakeControl(&form, QStringLiteral("control"));
        const QStringList names{QStringLiteral("ghost"), QStringLiteral("control"), QStringLiteral("Control")};
        manager->setCompList(names);
        control->resetCounts();
        manager->setUIStyle(TkavUIStyle::MacOS);
        QCOMPARE(manager->CompList(), names);
        QCOMPARE(control->styleWrites, 1);
        QCOMPARE(control->UIStyle(), TkavUIStyle::MacOS);
    }

    void uiStyleChangedOnlyOnARealChange()
    {
        QWidget form;
        auto *manager = new TkavThemeManager(&form);
        auto *control = new TkavFakeControl(&form, QStringLiteral("control"));
        manager->setCompList({QStringLiteral("control")});
        QSignalSpy changed(manager, &TkavThemeManager::OnUIStyleChanged);
        control->resetCounts();

        manager->setUIStyle(TkavUIStyle::DeepBlue);
        QCOMPARE(control->styleWrites, 1); // UpdateAll ran
        QCOMPARE(changed.count(), 0);

        manager->setUIStyle(TkavUIStyle::BlueGlass);
        QCOMPARE(control->styleWrites, 2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QObject *>(), manager);

        const auto theme = loadedTheme(m_themeA);
        manager->setFileTheme(theme.get());
        QCOMPARE(control->styleWrites, 3);
        QCOMPARE(control->FileTheme(), theme.get());
        QCOMPARE(changed.count(), 1);

        manager->UpdateTheme();
        QCOMPARE(control->styleWrites, 4);
        QCOMPARE(changed.count(), 1);
        manager->setFileTheme(nullptr); // before the theme goes, so the control keeps BlueGlass
    }

    void destroyedComponentLeavesTheList()
    {
        QWidget form;
        auto *manager = new TkavThemeManager(&form);
        auto *first = new TkavFakeControl(&form, QStringLiteral("first"));
        new TkavFakeControl(&form, QStringLiteral("second"));
        manager->setCompList({QStringLiteral("first"), QStringLiteral("ghost"), QStringLiteral("second")});
        delete first;
        QCOMPARE(manager->CompList(), (QStringList{QStringLiteral("ghost"), QStringLiteral("second")}));
        // A component found only later, by UpdateAll, is watched as well.
        manager->setCompList({QStringLiteral("late"), QStringLiteral("second")});
        auto *late = new TkavFakeControl(&form, QStringLiteral("late"));
        manager->UpdateAll();
        delete late;
        QCOMPARE(manager->CompList(), QStringList{QStringLiteral("second")});
    }

    void managerNeverWritesToManagers()
    {
        QWidget form;
        auto *manager = new TkavThemeManager(&form);
        manager->setObjectName(QStringLiteral("manager"));
        auto *otherManager = new TkavThemeManager(&form);
        otherManager->setObjectName(QStringLiteral("otherManager"));
        otherManager->setCompList({QStringLiteral("manager")});
        manager->setCompList({QStringLiteral("manager"), QStringLiteral("otherManager")});
        manager->setUIStyle(TkavUIStyle::WinXP); // would recurse for ever if managers were written
        QCOMPARE(otherManager->UIStyle(), TkavUIStyle::DeepBlue);
        QCOMPARE(manager->UIStyle(), TkavUIStyle::WinXP);
    }

    void managerOffAWindowWritesNothing()
    {
        QWidget form;
        auto *panel = new QWidget(&form);
        auto *manager = new TkavThemeManager(panel);
        auto *control = new TkavFakeControl(panel, QStringLiteral("control"));
        manager->setCompList({QStringLiteral("control")});
        control->resetCounts();
        manager->setUIStyle(TkavUIStyle::MacOS);
        QCOMPARE(control->styleWrites, 0);
    }

    // --- Editing dialog -----------------------------------------------------------------------

    void dialogLayout()
    {
        TfrmMgr dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Theme Manager - Corvane"));
        QCOMPARE(dialog.size(), QSize(233, 301));
        QCOMPARE(dialog.List->geometry(), QRect(16, 16, 201, 185));
        QCOMPARE(dialog.btn_sel->geometry(), QRect(120, 208, 97, 25));
        QCOMPARE(dialog.btn_sel->text(), QStringLiteral("&Select all"));
        QCOMPARE(dialog.btn_unsel->geometry(), QRect(16, 208, 97, 25));
        QCOMPARE(dialog.btn_unsel->text(), QStringLiteral("&Unselect all"));
        QCOMPARE(dialog.btn_ok->geometry(), QRect(72, 264, 89, 25));
        QCOMPARE(dialog.btn_ok->text(), QStringLiteral("&OK"));
        QVERIFY(dialog.btn_ok->isDefault());
        QCOMPARE(KavThemeFileDialogFilter, QStringLiteral("Corvane Theme File(*.kav)"));
    }

    void dialogListsSelectsAndApplies()
    {
        QWidget form;
        auto *manager = new TkavThemeManager(&form);
        manager->setObjectName(QStringLiteral("manager"));
        new TkavFakeControl(&form, QStringLiteral("alpha"));
        new OtherFakeControl(&form, QStringLiteral("otherClass"));
        new TkavFakeControl(&form); // no name: nothing to list it by
        auto *panel = new QWidget(&form);
        panel->setObjectName(QStringLiteral("panel"));
        new TkavFakeControl(panel, QStringLiteral("beta"));
        new TkavFakeControl(&form, QStringLiteral("gamma"));
        (new TkavFileTheme(&form))->setObjectName(QStringLiteral("theme"));
        manager->setCompList({QStringLiteral("gamma"), QStringLiteral("ghost")});

        TfrmMgr dialog;
        dialog.loadFrom(manager);
        QStringList listed;
        QStringList checked;
        for (int i = 0; i < dialog.List->count(); ++i) {
            listed << dialog.List->item(i)->text();
            if (dialog.List->item(i)->checkState() == Qt::Checked)
                checked << dialog.List->item(i)->text();
        }
        QCOMPARE(listed, (QStringList{QStringLiteral("alpha"), QStringLiteral("otherClass"), QStringLiteral("beta"),
                                      QStringLiteral("gamma")}));
        QCOMPARE(checked, QStringList{QStringLiteral("gamma")});

        dialog.btn_sel->click();
        for (int i = 0; i < dialog.List->count(); ++i)
            QCOMPARE(dialog.List->item(i)->checkState(), Qt::Checked);
        dialog.applyTo(manager);
        QCOMPARE(manager->CompList(), listed);

        dialog.btn_unsel->click();
        for (int i = 0; i < dialog.List->count(); ++i)
            QCOMPARE(dialog.List->item(i)->checkState(), Qt::Unchecked);
        dialog.List->item(3)->setCheckState(Qt::Checked);
        dialog.List->item(0)->setCheckState(Qt::Checked);
        dialog.applyTo(manager);
        QCOMPARE(manager->CompList(), (QStringList{QStringLiteral("alpha"), QStringLiteral("gamma")}));
    }

    void editingNeedsAManagerOnAForm()
    {
        TkavThemeManager loose;
        QVERIFY(!ThemeManagerEdit(&loose));
        QVERIFY(!ThemeManagerEdit(nullptr));
        QVERIFY(!FileThemeEdit(nullptr));
    }
};

QTEST_MAIN(tst_KAVMgr)
#include "tst_kavmgr.moc"
