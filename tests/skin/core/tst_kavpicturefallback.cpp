// No control vanishes because of a theme file: a picture entry that cannot be decoded, or is not
// there at all, shows as the built-in look's picture of that key. Every control is checked for
// every picture key it draws, against the same control on a theme file that holds that look's
// picture in the entry: the two must look the same, pixel for pixel and size for size.

#include "KAVButton.h"
#include "KAVCheckBox.h"
#include "KAVImagePanel.h"
#include "KAVMgr.h"
#include "KAVProgressBar.h"
#include "KAVScrollBar.h"
#include "KAVTabControl.h"
#include "KAVThemeFile.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"
#include "KAVTitleBar.h"
#include "KAVTrackBar.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

namespace {

// Makes a control on the window, ready for its look to be applied.
using ControlMaker = std::function<QWidget *(QWidget *window)>;

// A 24-bit 4 x 4 bitmap file whose header makes no picture.
QByteArray brokenBitmap(qint32 width, qint32 height, quint16 bitDepth, quint32 headerSize = 40)
{
    QByteArray bytes(14 + 40 + 48, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<qint32>(qint32(bytes.size()), bytes.data() + 2);
    qToLittleEndian<qint32>(14 + 40, bytes.data() + 10);
    qToLittleEndian<quint32>(headerSize, bytes.data() + 14);
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    qToLittleEndian<quint16>(1, bytes.data() + 26);
    qToLittleEndian<quint16>(bitDepth, bytes.data() + 28);
    return bytes;
}

// What a picture entry holds in place of a picture.
enum class Entry { Undecodable, Missing, DeepBlue, MacOS };

QImage faceOf(QWidget *control)
{
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_KAVPictureFallback : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // The MacOS look as a theme file, with the picture of key as asked.
    QString writeTheme(int key, Entry entry, const QByteArray &broken)
    {
        const QString path = m_dir.filePath(QStringLiteral("theme%1.kav").arg(++m_files));
        TkavThemeFileWriter writer(path);
        for (int k = 1; k <= KavThemeKeyCount; ++k) {
            const QString name = Kav::KavThemeKeyName(k);
            switch (Kav::KavThemeKeyKind(k)) {
            case TkavType::Str:
                if (k != key || entry == Entry::MacOS) {
                    writer.AddFile(name, QStringLiteral(":/looks/") + GetInsideThemeStr(TkavUIStyle::MacOS, k));
                } else if (entry == Entry::DeepBlue) {
                    writer.AddFile(name, QStringLiteral(":/looks/") + GetInsideThemeStr(TkavUIStyle::DeepBlue, k));
                } else if (entry == Entry::Undecodable) {
                    const QString source = m_dir.filePath(QStringLiteral("broken%1.bmp").arg(m_files));
                    QFile file(source);
                    if (!file.open(QIODevice::WriteOnly) || file.write(broken) != broken.size())
                        return {};
                    file.close();
                    writer.AddFile(name, source);
                }
                break;
            case TkavType::Bool:
                writer.AddBool(name, GetInsideThemeBool(TkavUIStyle::MacOS, k));
                break;
            case TkavType::Int:
                writer.AddInteger(name, GetInsideThemeInt(TkavUIStyle::MacOS, k));
                break;
            case TkavType::Color:
                writer.AddInteger(name, qint32(GetInsideThemeColor(TkavUIStyle::MacOS, k).value));
                break;
            }
        }
        return writer.Save() ? path : QString();
    }

    struct Shown {
        QSize size;
        QImage face;
    };

    // The control made on a window of its own, in the theme file's look.
    Shown show(const ControlMaker &make, const TkavFileTheme &theme)
    {
        QWidget window;
        window.resize(400, 200);
        QWidget *control = make(&window);
        Kav::KavWriteFileTheme(control, const_cast<TkavFileTheme *>(&theme));
        Kav::KavWriteUIStyle(control, TkavUIStyle::FromThemeFile);
        window.show();
        QCoreApplication::processEvents();
        return {control->size(), faceOf(control)};
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void everyControlShowsEveryKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<ControlMaker>("make");

        const auto button = [](QWidget *window) -> QWidget * {
            auto *control = new TkavButton(window);
            control->setText(QStringLiteral("OK"));
            control->setGeometry(10, 10, 90, 30);
            return control;
        };
        const auto checkBox = [](QWidget *window) -> QWidget * {
            auto *control = new TkavCheckBox(window);
            control->setText(QStringLiteral("Check"));
            control->setChecked(true);
            control->move(10, 10);
            return control;
        };
        const auto radioButton = [](QWidget *window) -> QWidget * {
            auto *control = new TkavRadioButton(window);
            control->setText(QStringLiteral("Radio"));
            control->move(10, 10);
            return control;
        };
        const auto titleBar = [](QWidget *window) -> QWidget * {
            auto *control = new TkavTitleBar(window);
            control->setGeometry(0, 0, 380, 30);
            return control;
        };
        const auto progressBar = [](QWidget *window) -> QWidget * {
            auto *control = new TkavProgressBar(window);
            control->setGeometry(10, 10, 200, 20);
            control->setPosition(60);
            return control;
        };
        const auto trackBar = [](KavOrientation::TkavProgressBarOrientation orientation) {
            return [orientation](QWidget *window) -> QWidget * {
                auto *control = new TkavTrackBar(window);
                control->setOrientation(orientation);
                control->setGeometry(10, 10, orientation == KavOrientation::kavVertical ? 40 : 200,
                                     orientation == KavOrientation::kavVertical ? 150 : 40);
                control->setPosition(3);
                return control;
            };
        };
        const auto scrollBar = [](QWidget *window) -> QWidget * {
            auto *control = new TkavScrollBar(window);
            control->setGeometry(10, 10, 200, 20);
            control->setPageSize(30);
            control->setPosition(20);
            return control;
        };
        const auto tabControl = [](QWidget *window) -> QWidget * {
            auto *control = new TkavTabControl(window);
            QStringList tabs;
            for (int i = 1; i <= 12; ++i)
                tabs << QStringLiteral("Page %1").arg(i);
            control->setTabs(tabs); // more than fit: the scroll buttons show
            control->setGeometry(10, 10, 240, 120);
            return control;
        };
        const auto panel = [](QWidget *window) -> QWidget * {
            auto *control = new TkavPanel(window);
            control->setCaption(QStringLiteral("Panel"));
            control->setGeometry(10, 10, 200, 120);
            return control;
        };

        QTest::addRow("button: ButtonImage") << int(KavKey::ButtonImage) << ControlMaker(button);
        QTest::addRow("check box: CheckBoxImage") << int(KavKey::CheckBoxImage) << ControlMaker(checkBox);
        QTest::addRow("radio button: RadioButtonImage") << int(KavKey::RadioButtonImage) << ControlMaker(radioButton);
        QTest::addRow("title bar: TitleBarButtonImage") << int(KavKey::TitleBarButtonImage) << ControlMaker(titleBar);
        QTest::addRow("title bar: TitleBarLeftImage") << int(KavKey::TitleBarLeftImage) << ControlMaker(titleBar);
        QTest::addRow("title bar: TitleBarClientImage") << int(KavKey::TitleBarClientImage) << ControlMaker(titleBar);
        QTest::addRow("title bar: TitleBarRightImage") << int(KavKey::TitleBarRightImage) << ControlMaker(titleBar);
        QTest::addRow("progress bar: ProgressBarImage") << int(KavKey::ProgressBarImage) << ControlMaker(progressBar);
        QTest::addRow("track bar: TrackBarBarImage")
            << int(KavKey::TrackBarBarImage) << ControlMaker(trackBar(KavOrientation::kavHorizontal));
        QTest::addRow("track bar: TrackBarSliderImage")
            << int(KavKey::TrackBarSliderImage) << ControlMaker(trackBar(KavOrientation::kavHorizontal));
        QTest::addRow("track bar: TrackBarSliderVImage")
            << int(KavKey::TrackBarSliderVImage) << ControlMaker(trackBar(KavOrientation::kavVertical));
        QTest::addRow("scroll bar: ScrollBarButtonImage") << int(KavKey::ScrollBarButtonImage) << ControlMaker(scrollBar);
        QTest::addRow("scroll bar: ScrollBarSliderImage") << int(KavKey::ScrollBarSliderImage) << ControlMaker(scrollBar);
        QTest::addRow("tab control: ScrollButtonImage") << int(KavKey::ScrollButtonImage) << ControlMaker(tabControl);
        QTest::addRow("tab control: TabControlTabImage") << int(KavKey::TabControlTabImage) << ControlMaker(tabControl);
        QTest::addRow("tab control: TabControlBarImage") << int(KavKey::TabControlBarImage) << ControlMaker(tabControl);
        QTest::addRow("panel: SideChannelBarImage") << int(KavKey::SideChannelBarImage) << ControlMaker(panel);
    }

    void everyControlShowsEveryKey()
    {
        QFETCH(int, key);
        QFETCH(ControlMaker, make);

        // Each row breaks its picture another way (every way is checked on its own in
        // tst_kavpicturebudget).
        const QByteArray ways[] = {
            brokenBitmap(0, 4, 24),       brokenBitmap(4, std::numeric_limits<qint32>::min(), 24),
            brokenBitmap(4, 4, 7),        brokenBitmap(4, 4, 24, 0xFFFFFFF0),
            brokenBitmap(-4, 4, 24),      brokenBitmap(4, 4, 64),
            brokenBitmap(4, 4, 0),        brokenBitmap(4, 4, 2),
            brokenBitmap(4, 4, 24).left(14 + 40), // a whole header, no pixels
        };
        const QByteArray &broken = ways[key % std::size(ways)];

        const QString undecodablePath = writeTheme(key, Entry::Undecodable, broken);
        const QString missingPath = writeTheme(key, Entry::Missing, {});
        const QString deepBluePath = writeTheme(key, Entry::DeepBlue, {});
        const QString macOSPath = writeTheme(key, Entry::MacOS, {});
        for (const QString &path : {undecodablePath, missingPath, deepBluePath, macOSPath})
            QVERIFY(!path.isEmpty());

        const QString name = Kav::KavThemeKeyName(key);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\"%1\" was refused").arg(name)));
        TkavFileTheme undecodable, missing, deepBlue, macOS;
        undecodable.setThemeFile(undecodablePath);
        missing.setThemeFile(missingPath);
        deepBlue.setThemeFile(deepBluePath);
        macOS.setThemeFile(macOSPath);
        for (const TkavFileTheme *theme : {&undecodable, &missing, &deepBlue, &macOS})
            QVERIFY2(theme->CanUse(), qPrintable(theme->errorString()));

        const Shown expected = show(make, deepBlue);
        const Shown fromUndecodable = show(make, undecodable);
        const Shown fromMissing = show(make, missing);
        QVERIFY(!expected.size.isEmpty());

        // The picture matters to this control: the theme's own picture looks otherwise.
        QVERIFY2(show(make, macOS).face != expected.face, "the control does not show this key's picture");

        QVERIFY(undecodable.isDamaged());
        QVERIFY2(undecodable.errorString().contains(name), qPrintable(undecodable.errorString()));
        QVERIFY(!missing.isDamaged());

        QCOMPARE(fromUndecodable.size, expected.size);
        QVERIFY2(fromUndecodable.face == expected.face, "the undecodable picture does not show as the built-in one");
        QCOMPARE(fromMissing.size, expected.size);
        QVERIFY2(fromMissing.face == expected.face, "the missing picture does not show as the built-in one");
    }

    // A picture narrower than its key's frames would give every frame no column: it is replaced
    // like a missing one. A picture that gives each frame at least one column is the file's.
    void pictureTooNarrowForItsFrames()
    {
        const QString path = m_dir.filePath(QStringLiteral("narrow.kav"));
        QImage arrows(5, 7, QImage::Format_RGB32); // six frames wanted
        arrows.fill(Qt::red);
        QImage client(1, 23, QImage::Format_RGB32); // one frame, stretched: as Protein's
        client.fill(Qt::blue);
        const QString arrowsFile = m_dir.filePath(QStringLiteral("narrow-arrows.bmp"));
        const QString clientFile = m_dir.filePath(QStringLiteral("narrow-client.bmp"));
        QVERIFY(arrows.save(arrowsFile, "BMP") && client.save(clientFile, "BMP"));
        {
            TkavThemeFileWriter writer(path);
            writer.AddFile(Kav::KavThemeKeyName(KavKey::ScrollBarButtonImage), arrowsFile);
            writer.AddFile(Kav::KavThemeKeyName(KavKey::TitleBarClientImage), clientFile);
            QVERIFY(writer.Save());
        }
        TkavFileTheme theme;
        theme.setThemeFile(path);
        QVERIFY(theme.CanUse());
        QVERIFY(!theme.isDamaged()); // nothing wrong with the file itself

        const KavThemeValues values(TkavUIStyle::FromThemeFile, &theme);
        const KavThemeValues deepBlue(TkavUIStyle::DeepBlue, nullptr);
        for (int frame = 1; frame <= 6; ++frame) {
            const Kav::PictureRecipe recipe{6, frame, Kav::PictureMask::None, false};
            QCOMPARE(values.picture(KavKey::ScrollBarButtonImage, recipe).id(),
                     deepBlue.picture(KavKey::ScrollBarButtonImage, recipe).id());
            QCOMPARE(values.bitmap(KavKey::ScrollBarButtonImage, 6, frame),
                     deepBlue.bitmap(KavKey::ScrollBarButtonImage, 6, frame));
        }
        QCOMPARE(values.picture(KavKey::TitleBarClientImage).size(), QSize(1, 23));
        QCOMPARE(values.picture(KavKey::TitleBarClientImage).image().pixel(0, 0), QColor(Qt::blue).rgb());
        QCOMPARE(values.bitmap(KavKey::TitleBarClientImage).size(), QSize(1, 23));
    }
};

QTEST_MAIN(tst_KAVPictureFallback)
#include "tst_kavpicturefallback.moc"
