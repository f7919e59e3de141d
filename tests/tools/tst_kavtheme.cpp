#include "kav_look_rows.h"
#include "KAVMgr.h"
#include "KAVThemeValues.h"
#include "KAVThemes.h"
#include "tst_kavtheme_support.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace KavThemeToolTest;

// A look exported by kav-theme and read back through a file theme is the built-in look: every
// one of the 42 keys, pictures pixel for pixel.
class tst_KavTheme : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath() + QStringLiteral(" is not built")));
    }

    void exportedLookReadsBackAsBuiltIn_data()
    {
        kavAddLookRows("look");
    }

    void exportedLookReadsBackAsBuiltIn()
    {
        QFETCH(TkavUIStyle, look);
        const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".kav"));
        const QString failure = exportLook(QString::fromLatin1(QTest::currentDataTag()), file);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        TkavFileTheme theme;
        theme.setThemeFile(file);
        QVERIFY2(theme.CanUse(), qPrintable(theme.errorString()));
        const KavThemeValues fromFile(TkavUIStyle::FromThemeFile, &theme);
        const KavThemeValues builtIn(look, nullptr);
        QVERIFY(fromFile.usesFile());

        for (int key = 1; key <= KavThemeKeyCount; ++key) {
            const QByteArray where = Kav::KavThemeKeyName(key).toLatin1();
            switch (Kav::KavThemeKeyKind(key)) {
            case TkavType::Str: {
                QImage expected;
                GetInsideThemeBitmap(look, key, &expected, 0, 0);
                QVERIFY2(!expected.isNull(), where.constData());
                QImage actual;
                theme.GetBitmap(key, &actual);
                const QString whole = pictureDifference(actual, expected);
                QVERIFY2(whole.isEmpty(), qPrintable(where + ": " + whole));
                const QString frame = pictureDifference(fromFile.bitmap(key, 2, 2), builtIn.bitmap(key, 2, 2));
                QVERIFY2(frame.isEmpty(), qPrintable(where + " frame 2 of 2: " + frame));
                break;
            }
            case TkavType::Bool:
                QVERIFY2(theme.GetBool(key) == GetInsideThemeBool(look, key), where.constData());
                QVERIFY2(fromFile.boolean(key) == builtIn.boolean(key), where.constData());
                break;
            case TkavType::Int:
                QVERIFY2(theme.GetInt(key) == GetInsideThemeInt(look, key), where.constData());
                QVERIFY2(fromFile.integer(key) == builtIn.integer(key), where.constData());
                break;
            case TkavType::Color:
                QVERIFY2(theme.GetColor(key) == GetInsideThemeColor(look, key), where.constData());
                QVERIFY2(fromFile.color(key) == builtIn.color(key), where.constData());
                break;
            }
        }
    }
};

QTEST_MAIN(tst_KavTheme)
#include "tst_kavtheme.moc"
