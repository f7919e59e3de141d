// The data layer against a real SQLite file: navigation, the edit / insert / post / cancel /
// delete cycle read back through a second connection, refused posts that must lose nothing, field
// conversions, and links that outlive their data source. Another program working on the same
// file is tst_kavdataconcurrency.

#include "KAVDataSet.h"
#include "kav_db_fixture.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {

// A data set on the fixture's pupils, ordered by id, opened.
struct PupilTable {
    explicit PupilTable(const KavTest::SchoolDatabase &school, const QString &table = QStringLiteral("pupils"))
    {
        set.setDatabase(school.database());
        set.setTableName(table);
        set.setIndexFieldNames(QStringLiteral("id"));
        // A lock is reported after a short wait instead of the users' two seconds.
        set.setLockTimeout(50);
        source.setDataSet(&set);
    }
    TkavDataSet set;
    TkavDataSource source;
};

// A field link that counts what it is told and writes a value it is given.
struct RecordingLink : TkavFieldDataLink {
    RecordingLink()
    {
        OnDataChange = [this] {
            ++dataChanges;
            shown = Field().AsString();
        };
        OnActiveChange = [this] { ++activeChanges; };
        OnUpdateData = [this] { Field().setAsString(typed); };
    }
    int dataChanges = 0;
    int activeChanges = 0;
    QString shown;
    QString typed;
};

} // namespace

class TestKavDataSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openReadsTheTableInOrder();
    void openRefusesAMissingTable();
    void navigationBoundaries();
    void editPostReadsBackFromAFreshConnection();
    void cancelRestoresTheStoredRecord();
    void insertPostStaysOnTheNewRecord();
    void appendAndDelete();
    void movingPostsFirst();
    void refusedPostLosesNothing_data();
    void refusedPostLosesNothing();
    void readOnlyDatabaseFileIsRefused();
    void vanishedDatabaseFileIsRefused();
    void fieldConversions_data();
    void fieldConversions();
    void linksFollowTheirSourceAndOutliveIt();
    void twoLinksOnOneFieldStayInStep();
    void modelEditsThroughTheDataSet();
    void refreshKeepsTheCurrentRecord();
    void lookupAndLocate();
};

void TestKavDataSet::openReadsTheTableInOrder()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QSignalSpy active(&pupils.set, &TkavDataSet::ActiveChanged);
    QVERIFY2(pupils.set.Open(), qPrintable(pupils.set.LastError()));
    QCOMPARE(active.count(), 1);
    QCOMPARE(pupils.set.State(), TkavDataSet::dsBrowse);
    QCOMPARE(pupils.set.RecordCount(), 4);
    QCOMPARE(pupils.set.RecNo(), 0);
    QCOMPARE(pupils.set.FindField(QStringLiteral("NAME")).AsString(), QStringLiteral("Anna"));
    QVERIFY(pupils.set.FindField(QStringLiteral("passed")).IsBoolean());
    QVERIFY(pupils.set.FindField(QStringLiteral("photo")).IsBlob());
    QVERIFY(!pupils.set.FindField(QStringLiteral("nothing")).isValid());
    QCOMPARE(pupils.set.model()->rowCount(), 4);
    pupils.set.Close();
    QCOMPARE(pupils.set.State(), TkavDataSet::dsInactive);
    QVERIFY(!pupils.set.FindField(QStringLiteral("name")).isValid());
    QVERIFY(!pupils.set.Next());
}

void TestKavDataSet::openRefusesAMissingTable()
{
    KavTest::SchoolDatabase school;
    PupilTable missing(school, QStringLiteral("teachers"));
    QVERIFY(!missing.set.Open());
    QVERIFY(missing.set.LastError().contains(QStringLiteral("teachers")));
    QVERIFY(!missing.set.Active());
}

void TestKavDataSet::navigationBoundaries()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Bof());
    QVERIFY(!pupils.set.Eof());
    QSignalSpy scrolled(&pupils.set, &TkavDataSet::Scrolled);
    QVERIFY(pupils.set.Prior());
    QCOMPARE(scrolled.count(), 0); // nothing before the first record
    QVERIFY(pupils.set.Next());
    QVERIFY(!pupils.set.Bof() && !pupils.set.Eof());
    QVERIFY(pupils.set.Last());
    QCOMPARE(pupils.set.RecNo(), 3);
    QVERIFY(pupils.set.Eof());
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Dev"));
    QVERIFY(pupils.set.MoveBy(-2));
    QCOMPARE(pupils.set.RecNo(), 1);
    QVERIFY(pupils.set.setRecNo(99));
    QCOMPARE(pupils.set.RecNo(), 3);

    QSqlQuery(school.database()).exec(QStringLiteral("DELETE FROM pupils"));
    QVERIFY(pupils.set.Refresh());
    QVERIFY(pupils.set.IsEmpty());
    QVERIFY(pupils.set.Bof() && pupils.set.Eof());
    QCOMPARE(pupils.set.RecNo(), -1);
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).IsNull());
}

void TestKavDataSet::editPostReadsBackFromAFreshConnection()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Next()); // Ben
    QVERIFY(pupils.set.Edit());
    QCOMPARE(pupils.set.State(), TkavDataSet::dsEdit);
    QVERIFY(pupils.set.FindField(QStringLiteral("score")).setAsString(QStringLiteral("64")));
    QVERIFY(pupils.set.FindField(QStringLiteral("passed")).setAsBoolean(true));
    QVERIFY(pupils.set.Modified());
    // Not in the database before the post.
    QCOMPARE(school.readBack(QStringLiteral("SELECT score FROM pupils WHERE name = 'Ben'")).toInt(), 40);
    QVERIFY2(pupils.set.Post(), qPrintable(pupils.set.LastError()));
    QCOMPARE(pupils.set.State(), TkavDataSet::dsBrowse);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Ben"));
    QCOMPARE(school.readBack(QStringLiteral("SELECT score FROM pupils WHERE name = 'Ben'")).toInt(), 64);
    QCOMPARE(school.readBack(QStringLiteral("SELECT passed FROM pupils WHERE name = 'Ben'")).toInt(), 1);
}

void TestKavDataSet::cancelRestoresTheStoredRecord()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Annabel")));
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Annabel"));
    pupils.set.Cancel();
    QCOMPARE(pupils.set.State(), TkavDataSet::dsBrowse);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Anna"));

    QVERIFY(pupils.set.Next());
    QVERIFY(pupils.set.Insert());
    QCOMPARE(pupils.set.RecordCount(), 5);
    pupils.set.Cancel();
    QCOMPARE(pupils.set.RecordCount(), 4);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Ben"));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt(), 4);
}

void TestKavDataSet::insertPostStaysOnTheNewRecord()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Next());
    QVERIFY(pupils.set.Insert());
    QCOMPARE(pupils.set.State(), TkavDataSet::dsInsert);
    QCOMPARE(pupils.set.RecNo(), 1);
    QVERIFY(pupils.set.FindField(QStringLiteral("id")).IsNull());
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Eve")));
    QVERIFY(pupils.set.FindField(QStringLiteral("class_id")).setAsString(QStringLiteral("2")));
    QVERIFY2(pupils.set.Post(), qPrintable(pupils.set.LastError()));
    // Ordered by id, the new record is the last one; the data set stands on it.
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Eve"));
    QCOMPARE(pupils.set.FindField(QStringLiteral("id")).Value().toInt(), 5);
    QCOMPARE(pupils.set.RecNo(), 4);
    QCOMPARE(school.readBack(QStringLiteral("SELECT class_id FROM pupils WHERE name = 'Eve'")).toInt(), 2);
}

void TestKavDataSet::appendAndDelete()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Append());
    QCOMPARE(pupils.set.RecNo(), 4);
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Fay")));
    QVERIFY(pupils.set.Post());
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt(), 5);

    QVERIFY(pupils.set.setRecNo(1));
    QVERIFY2(pupils.set.Delete(), qPrintable(pupils.set.LastError()));
    QCOMPARE(pupils.set.RecordCount(), 4);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Chloe"));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE name = 'Ben'")).toInt(), 0);

    // Deleting the record being inserted only drops it.
    QVERIFY(pupils.set.Insert());
    QVERIFY(pupils.set.Delete());
    QCOMPARE(pupils.set.RecordCount(), 4);
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt(), 4);
}

void TestKavDataSet::movingPostsFirst()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("notes")).setAsString(QStringLiteral("Moved on")));
    QVERIFY(pupils.set.Next());
    QCOMPARE(pupils.set.State(), TkavDataSet::dsBrowse);
    QCOMPARE(school.readBack(QStringLiteral("SELECT notes FROM pupils WHERE name = 'Anna'")).toString(), QStringLiteral("Moved on"));

    // A refused post keeps the data set on the record, editing.
    QVERIFY(pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("score")).setAsString(QStringLiteral("150")));
    QVERIFY(!pupils.set.Next());
    QCOMPARE(pupils.set.RecNo(), 1);
    QCOMPARE(pupils.set.State(), TkavDataSet::dsEdit);
    QCOMPARE(pupils.set.FindField(QStringLiteral("score")).AsString(), QStringLiteral("150"));
}

void TestKavDataSet::refusedPostLosesNothing_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("detail");

    QTest::newRow("check constraint") << false << "score" << QVariant(150) << "a value is outside what the table allows"
                                      << "CHECK constraint failed";
    QTest::newRow("not null") << false << "name" << QVariant() << "the field 'name' must not be empty"
                              << "NOT NULL constraint failed";
    QTest::newRow("insert without a name") << true << "class_id" << QVariant(2) << "the field 'name' must not be empty"
                                           << "NOT NULL constraint failed";
}

void TestKavDataSet::refusedPostLosesNothing()
{
    QFETCH(bool, inserting);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    QFETCH(QString, detail);

    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(inserting ? pupils.set.Insert() : pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("notes")).setAsString(QStringLiteral("typed")));
    QVERIFY(pupils.set.FindField(field).setValue(value));
    QVERIFY(!pupils.set.Post());
    QVERIFY2(pupils.set.LastError().startsWith(QStringLiteral("The record could not be saved: ") + message),
             qPrintable(pupils.set.LastError()));
    QVERIFY2(pupils.set.LastErrorDetail().contains(detail), qPrintable(pupils.set.LastErrorDetail()));
    QCOMPARE(pupils.set.State(), inserting ? TkavDataSet::dsInsert : TkavDataSet::dsEdit);
    QCOMPARE(pupils.set.FindField(QStringLiteral("notes")).AsString(), QStringLiteral("typed"));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt(), 4);
    QCOMPARE(school.readBack(QStringLiteral("SELECT notes FROM pupils WHERE name = 'Anna'")).toString(), QStringLiteral("Reads well"));

    // Mended, the same record posts.
    if (inserting)
        QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Gus")));
    else
        QVERIFY(pupils.set.FindField(field).setAsString(field == QLatin1String("name") ? QStringLiteral("Anna") : QStringLiteral("99")));
    QVERIFY2(pupils.set.Post(), qPrintable(pupils.set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE notes = 'typed'")).toInt(), 1);
}

void TestKavDataSet::readOnlyDatabaseFileIsRefused()
{
    KavTest::SchoolDatabase school;
    QFile::setPermissions(school.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    // A connection made after the file became read-only, as a program started later would. The
    // driver is asked to open it read-only too, so that the test holds when run by root, who may
    // write any file.
    const QString name = QStringLiteral("readonly-connection");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(school.path());
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(db.open());
        TkavDataSet set;
        set.setDatabase(db);
        set.setTableName(QStringLiteral("pupils"));
        QVERIFY(set.Open());
        QVERIFY(set.Edit());
        QVERIFY(set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Annie")));
        QVERIFY(!set.Post());
        QVERIFY2(set.LastError().contains(QStringLiteral("the database can only be read")), qPrintable(set.LastError()));
        QVERIFY2(set.LastErrorDetail().contains(QStringLiteral("readonly")), qPrintable(set.LastErrorDetail()));
        QCOMPARE(set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Annie"));
        QCOMPARE(set.State(), TkavDataSet::dsEdit);
        set.Close();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile::setPermissions(school.path(), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(school.readBack(QStringLiteral("SELECT name FROM pupils WHERE id = 1")).toString(), QStringLiteral("Anna"));
}

void TestKavDataSet::vanishedDatabaseFileIsRefused()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Annie")));
    const QString moved = school.path() + QStringLiteral(".moved");
    QVERIFY(QFile::rename(school.path(), moved));
    QVERIFY(!pupils.set.Post());
    QVERIFY2(pupils.set.LastError().contains(QStringLiteral("no longer there")), qPrintable(pupils.set.LastError()));
    QCOMPARE(pupils.set.State(), TkavDataSet::dsEdit);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Annie"));
    QVERIFY(!pupils.set.Delete());
    // Back in place, the record as typed is written.
    QVERIFY(QFile::rename(moved, school.path()));
    QVERIFY(pupils.set.Edit());
    QVERIFY(pupils.set.FindField(QStringLiteral("name")).setAsString(QStringLiteral("Annie")));
    QVERIFY2(pupils.set.Post(), qPrintable(pupils.set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT name FROM pupils WHERE id = 1")).toString(), QStringLiteral("Annie"));
}

void TestKavDataSet::fieldConversions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("shown");

    QTest::newRow("integer") << "score" << " 42 " << true << "42";
    QTest::newRow("integer refuses text") << "score" << "abc" << false << "95";
    QTest::newRow("integer refuses a fraction") << "score" << "4.5" << false << "95";
    QTest::newRow("empty integer is null") << "score" << "" << true << "";
    QTest::newRow("boolean word") << "passed" << "no" << true << "False";
    QTest::newRow("boolean refuses other words") << "passed" << "maybe" << false << "True";
    QTest::newRow("text keeps spaces") << "notes" << " two words " << true << " two words ";
}

void TestKavDataSet::fieldConversions()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, shown);

    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    TkavField target = pupils.set.FindField(field);
    QVERIFY(!target.setAsString(text)); // not editing yet
    QVERIFY(pupils.set.Edit());
    QCOMPARE(target.setAsString(text), accepted);
    QCOMPARE(target.AsString(), shown);
    if (!accepted)
        QVERIFY2(pupils.set.LastError().contains(QStringLiteral("not a valid")), qPrintable(pupils.set.LastError()));
}

void TestKavDataSet::linksFollowTheirSourceAndOutliveIt()
{
    KavTest::SchoolDatabase school;
    auto pupils = std::make_unique<PupilTable>(school);
    RecordingLink link;
    link.setFieldName(QStringLiteral("name"));
    link.setDataSource(&pupils->source);
    QVERIFY(!link.Active());
    QVERIFY(pupils->set.Open());
    QVERIFY(link.Active());
    QCOMPARE(link.shown, QStringLiteral("Anna"));
    QVERIFY(pupils->set.Next());
    QCOMPARE(link.shown, QStringLiteral("Ben"));

    pupils->source.setEnabled(false);
    QVERIFY(!link.Active());
    QCOMPARE(link.shown, QString());
    pupils->source.setEnabled(true);
    QCOMPARE(link.shown, QStringLiteral("Ben"));

    // The data set goes first, then the source: the link shows nothing and stays usable.
    TkavDataSource &source = pupils->source;
    source.setDataSet(nullptr);
    QCOMPARE(link.shown, QString());
    {
        TkavDataSet other;
        other.setDatabase(school.database());
        other.setTableName(QStringLiteral("pupils"));
        source.setDataSet(&other);
        QVERIFY(other.Open());
        QCOMPARE(link.shown, QStringLiteral("Anna"));
    }
    QVERIFY(!link.Active());
    QCOMPARE(link.shown, QString());
    pupils.reset();
    QCOMPARE(link.DataSource(), nullptr);
    QVERIFY(!link.Edit());
    QVERIFY(link.UpdateRecord());
    QVERIFY(!link.Field().isValid());
}

void TestKavDataSet::twoLinksOnOneFieldStayInStep()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    RecordingLink first;
    RecordingLink second;
    for (RecordingLink *link : {&first, &second}) {
        link->setFieldName(QStringLiteral("name"));
        link->setDataSource(&pupils.source);
    }
    QVERIFY(pupils.set.Open());
    QVERIFY(first.Edit());
    first.typed = QStringLiteral("Annette");
    first.Modified();
    QVERIFY(first.UpdateRecord());
    QCOMPARE(second.shown, QStringLiteral("Annette"));
    QCOMPARE(first.shown, QStringLiteral("Anna")); // its own write is not sent back to it

    // A value the field refuses stays typed and marked; the post is refused.
    RecordingLink score;
    score.setFieldName(QStringLiteral("score"));
    score.setDataSource(&pupils.source);
    score.typed = QStringLiteral("lots");
    score.Modified();
    QVERIFY(!score.UpdateRecord());
    QVERIFY(score.IsModified());
    QVERIFY(!pupils.set.Post());
    QVERIFY(score.IsModified());
    QCOMPARE(pupils.set.State(), TkavDataSet::dsEdit);
    score.typed = QStringLiteral("88");
    QVERIFY2(pupils.set.Post(), qPrintable(pupils.set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT score FROM pupils WHERE name = 'Annette'")).toInt(), 88);
}

void TestKavDataSet::modelEditsThroughTheDataSet()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QAbstractItemModel *model = pupils.set.model();
    const int nameColumn = pupils.set.FieldIndex(QStringLiteral("name"));
    const int passedColumn = pupils.set.FieldIndex(QStringLiteral("passed"));
    QCOMPARE(model->index(1, passedColumn).data().toString(), QStringLiteral("False"));
    QCOMPARE(model->index(3, passedColumn).data().toString(), QString());

    QVERIFY(model->setData(model->index(2, nameColumn), QStringLiteral("Cleo")));
    QCOMPARE(pupils.set.RecNo(), 2);
    QCOMPARE(pupils.set.State(), TkavDataSet::dsEdit);
    QCOMPARE(model->index(2, nameColumn).data().toString(), QStringLiteral("Cleo"));
    QVERIFY(!model->setData(model->index(2, pupils.set.FieldIndex(QStringLiteral("score"))), QStringLiteral("x")));
    QVERIFY(pupils.set.Post());
    QCOMPARE(school.readBack(QStringLiteral("SELECT name FROM pupils WHERE id = 3")).toString(), QStringLiteral("Cleo"));

    pupils.set.setReadOnly(true);
    QVERIFY(!(model->flags(model->index(0, nameColumn)) & Qt::ItemIsEditable));
    QVERIFY(!model->setData(model->index(0, nameColumn), QStringLiteral("Ann")));
}

void TestKavDataSet::refreshKeepsTheCurrentRecord()
{
    KavTest::SchoolDatabase school;
    PupilTable pupils(school);
    QVERIFY(pupils.set.Open());
    QVERIFY(pupils.set.setRecNo(2)); // Chloe, id 3
    QSqlQuery(school.database()).exec(QStringLiteral("DELETE FROM pupils WHERE id = 1"));
    QVERIFY(pupils.set.Refresh());
    QCOMPARE(pupils.set.RecNo(), 1);
    QCOMPARE(pupils.set.FindField(QStringLiteral("name")).AsString(), QStringLiteral("Chloe"));
}

void TestKavDataSet::lookupAndLocate()
{
    KavTest::SchoolDatabase school;
    PupilTable classes(school, QStringLiteral("classes"));
    QVERIFY(classes.set.Open());
    QCOMPARE(classes.set.Lookup(QStringLiteral("id"), 2, QStringLiteral("name")).toString(), QStringLiteral("Class 2B"));
    QVERIFY(classes.set.Lookup(QStringLiteral("id"), 9, QStringLiteral("name")).isNull());
    QCOMPARE(classes.set.RecNo(), 0); // a lookup does not move
    QVERIFY(classes.set.Locate(QStringLiteral("name"), QStringLiteral("Class 3C")));
    QCOMPARE(classes.set.RecNo(), 2);
    QVERIFY(!classes.set.Locate(QStringLiteral("name"), QStringLiteral("Class 9Z")));
    QCOMPARE(classes.set.RecNo(), 2);
}

QTEST_MAIN(TestKavDataSet)
#include "tst_kavdataset.moc"
