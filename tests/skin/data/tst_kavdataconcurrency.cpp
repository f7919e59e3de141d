// The data layer against another program working on the same SQLite file through a connection
// of its own: locks, records changed or deleted under the data set, tables without a primary key,
// what a post reads back, and where the record it wrote goes. Nothing may be lost, hidden or
// silently overwritten, and every refusal says so in words for the user.

#include "KAVDataSet.h"
#include "kav_db_fixture.h"

#include <QAbstractItemModel>
#include <QSet>
#include <QSqlQuery>
#include <QtTest>

namespace {

// A data set on one of the school's tables, with a short wait for locks.
struct Table {
    explicit Table(const KavTest::SchoolDatabase &school, const QString &table = QStringLiteral("pupils"),
                   const QString &order = QStringLiteral("id"))
    {
        set.setDatabase(school.database());
        set.setTableName(table);
        set.setIndexFieldNames(order);
        set.setLockTimeout(50);
    }
    QString text(const char *field) { return set.FindField(QString::fromLatin1(field)).AsString(); }
    bool write(const char *field, const QVariant &value) { return set.FindField(QString::fromLatin1(field)).setValue(value); }
    TkavDataSet set;
};

void run(const KavTest::SchoolDatabase &school, const QString &sql)
{
    QSqlQuery query(school.database());
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

// The ids of all records, in order.
QList<int> idsOf(TkavDataSet &set)
{
    QList<int> ids;
    const int column = set.FieldIndex(QStringLiteral("id"));
    for (int row = 0; row < set.RecordCount(); ++row)
        ids.append(set.model()->index(row, column).data().toInt());
    return ids;
}

} // namespace

class TestKavDataConcurrency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lockedDatabaseRefusesAndLosesNothing_data();
    void lockedDatabaseRefusesAndLosesNothing();
    void concurrentEdits_data();
    void concurrentEdits();
    void concurrentDeletes_data();
    void concurrentDeletes();
    void tableWithoutKeyEditsOneOfTwoEqualRecords();
    void tablesWithoutAWayToNameARecordAreReadOnly_data();
    void tablesWithoutAWayToNameARecordAreReadOnly();
    void postReadsBackOnlyTheRecordItWrote();
    void postedRecordTakesItsPlaceInTheOrder();
    void writesWhileReadingIsUnfinishedMakeNoDuplicates_data();
    void writesWhileReadingIsUnfinishedMakeNoDuplicates();
    void everyRecordReadLetsOthersWrite();
};

void TestKavDataConcurrency::lockedDatabaseRefusesAndLosesNothing_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("state");

    QTest::newRow("open") << "open" << "The table 'pupils' could not be opened because another program"
                          << int(TkavDataSet::dsInactive);
    QTest::newRow("refresh") << "refresh" << "The records could not be read again because another program"
                             << int(TkavDataSet::dsBrowse);
    QTest::newRow("refresh while editing")
        << "refresh while editing" << "The record could not be saved because another program" << int(TkavDataSet::dsEdit);
    QTest::newRow("post") << "post" << "The record could not be saved because another program" << int(TkavDataSet::dsEdit);
    QTest::newRow("post a new record") << "insert" << "The record could not be saved because another program"
                                       << int(TkavDataSet::dsInsert);
    QTest::newRow("delete") << "delete" << "The record could not be deleted because another program"
                            << int(TkavDataSet::dsBrowse);
}

void TestKavDataConcurrency::lockedDatabaseRefusesAndLosesNothing()
{
    QFETCH(QString, operation);
    QFETCH(QString, message);
    QFETCH(int, state);

    KavTest::SchoolDatabase school;
    Table pupils(school);
    TkavDataSet &set = pupils.set;
    const auto perform = [&]() -> bool {
        if (operation == u"open")
            return set.Open();
        if (operation.startsWith(u"refresh"))
            return set.Refresh();
        if (operation == u"delete")
            return set.Delete();
        return set.Post();
    };
    if (operation != u"open") {
        QVERIFY(set.Open());
        QVERIFY(set.setRecNo(1)); // Ben
        if (operation == u"insert") {
            QVERIFY(set.Insert());
            QVERIFY(pupils.write("name", QStringLiteral("Gus")));
        } else if (operation == u"post" || operation == u"refresh while editing") {
            QVERIFY(set.Edit());
            QVERIFY(pupils.write("name", QStringLiteral("Benny")));
        }
    }
    const QString titleBefore = set.model() ? set.model()->headerData(1, Qt::Horizontal).toString() : QString();

    KavTest::OtherProgram other(school.path());
    QVERIFY(other.lock());
    QVERIFY(!perform());
    QVERIFY2(set.LastError().startsWith(message), qPrintable(set.LastError()));
    QVERIFY2(set.LastError().contains(QStringLiteral("moment")), qPrintable(set.LastError()));
    QVERIFY2(set.LastErrorDetail().contains(QStringLiteral("locked")), qPrintable(set.LastErrorDetail()));
    // Exactly as it was: state, records, titles, position, what was typed.
    QCOMPARE(int(set.State()), state);
    if (operation != u"open") {
        QCOMPARE(set.RecNo(), 1);
        QCOMPARE(set.RecordCount(), operation == u"insert" ? 5 : 4);
        QCOMPARE(set.FieldCount(), 8);
        QCOMPARE(set.model()->rowCount(), set.RecordCount());
        QCOMPARE(set.model()->headerData(1, Qt::Horizontal).toString(), titleBefore);
        const char *shown = operation == u"insert" ? "Gus" : (set.State() == TkavDataSet::dsEdit ? "Benny" : "Ben");
        QCOMPARE(pupils.text("name"), QString::fromLatin1(shown));
    }

    // The lock gone, the same operation goes through, and the data set works on.
    QVERIFY(other.unlock());
    QVERIFY(other.exec(QStringLiteral("INSERT INTO pupils (name) VALUES ('Zoe')")));
    QVERIFY2(perform(), qPrintable(set.LastError()));
    QVERIFY(set.LastError().isEmpty() && set.LastErrorDetail().isEmpty());
    if (operation == u"delete") {
        QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE name = 'Ben'")).toInt(), 0);
    } else if (operation == u"insert") {
        QCOMPARE(pupils.text("name"), QStringLiteral("Gus"));
    } else if (operation != u"open") {
        QCOMPARE(pupils.text("name"), operation == u"refresh" ? QStringLiteral("Ben") : QStringLiteral("Benny"));
    }
    QVERIFY(set.Refresh());
    QCOMPARE(set.RecordCount(), school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils")).toInt());
    QVERIFY(set.Insert());
    QVERIFY(pupils.write("name", QStringLiteral("Hal")));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(pupils.text("name"), QStringLiteral("Hal"));
}

void TestKavDataConcurrency::concurrentEdits_data()
{
    QTest::addColumn<QString>("otherSql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("storedSql");
    QTest::addColumn<QVariant>("stored");

    const QByteArray picture("\x89PNG-ours", 9);
    QTest::newRow("the same field") << "UPDATE pupils SET score = 50 WHERE id = 2" << "score" << QVariant(64)
                                    << "another program changed it" << "SELECT score FROM pupils WHERE id = 2"
                                    << QVariant(50);
    QTest::newRow("another field") << "UPDATE pupils SET notes = 'Moved' WHERE id = 2" << "score" << QVariant(64)
                                   << "another program changed it"
                                   << "SELECT notes || score FROM pupils WHERE id = 2" << QVariant("Moved40");
    QTest::newRow("deleted") << "DELETE FROM pupils WHERE id = 2" << "score" << QVariant(64)
                             << "another program deleted it" << "SELECT COUNT(*) FROM pupils WHERE id = 2" << QVariant(0);
    QTest::newRow("a picture it writes") << "UPDATE pupils SET photo = x'0102' WHERE id = 2" << "photo"
                                         << QVariant(picture) << "another program changed it"
                                         << "SELECT hex(photo) FROM pupils WHERE id = 2" << QVariant("0102");
    // A picture the post does not write is not compared (it would cost its size on every save),
    // and not overwritten either.
    QTest::newRow("a picture it does not write")
        << "UPDATE pupils SET photo = x'0102' WHERE id = 2" << "score" << QVariant(64) << ""
        << "SELECT hex(photo) || score FROM pupils WHERE id = 2" << QVariant("010264");
    QTest::newRow("another record") << "UPDATE pupils SET score = 1 WHERE id = 3" << "score" << QVariant(64) << ""
                                    << "SELECT score FROM pupils WHERE id = 2" << QVariant(64);
    QTest::newRow("the same value") << "UPDATE pupils SET score = 40 WHERE id = 2" << "score" << QVariant(64) << ""
                                    << "SELECT score FROM pupils WHERE id = 2" << QVariant(64);
}

void TestKavDataConcurrency::concurrentEdits()
{
    QFETCH(QString, otherSql);
    QFETCH(QString, field);
    QFETCH(QVariant, typed);
    QFETCH(QString, refusal);
    QFETCH(QString, storedSql);
    QFETCH(QVariant, stored);

    KavTest::SchoolDatabase school;
    Table pupils(school);
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());
    QVERIFY(set.setRecNo(1)); // Ben, read with score 40 and no photo
    QVERIFY(set.Edit());
    QVERIFY(set.FindField(field).setValue(typed));

    KavTest::OtherProgram other(school.path());
    QVERIFY(other.exec(otherSql));
    const bool written = set.Post();
    QCOMPARE(school.readBack(storedSql).toString(), stored.toString());
    if (refusal.isEmpty()) {
        QVERIFY2(written, qPrintable(set.LastError()));
        QCOMPARE(set.State(), TkavDataSet::dsBrowse);
        QCOMPARE(set.FindField(field).Value().toString(), typed.toString());
        return;
    }
    QVERIFY(!written);
    QVERIFY2(set.LastError().contains(refusal), qPrintable(set.LastError()));
    // The typed value stays, on the same record, still being edited.
    QCOMPARE(set.State(), TkavDataSet::dsEdit);
    QCOMPARE(set.RecNo(), 1);
    QCOMPARE(set.FindField(field).Value().toString(), typed.toString());
    QVERIFY(!set.Next());
    QCOMPARE(set.RecNo(), 1);

    // Cancelled and refreshed, the other program's version is shown; typed again, it is saved.
    set.Cancel();
    QVERIFY(set.Refresh());
    if (otherSql.startsWith(QLatin1String("DELETE"))) {
        QCOMPARE(set.RecordCount(), 3);
        QCOMPARE(pupils.text("name"), QStringLiteral("Chloe"));
        return;
    }
    QCOMPARE(pupils.text("name"), QStringLiteral("Ben"));
    QVERIFY(set.Edit());
    QVERIFY(set.FindField(field).setValue(typed));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT %1 FROM pupils WHERE id = 2").arg(field)).toString(),
             typed.toString());
}

void TestKavDataConcurrency::concurrentDeletes_data()
{
    QTest::addColumn<QString>("otherSql");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("bensLeft");

    QTest::newRow("changed") << "UPDATE pupils SET score = 50 WHERE id = 2" << "another program changed it" << 1;
    QTest::newRow("picture changed") << "UPDATE pupils SET photo = x'01' WHERE id = 2" << "another program changed it"
                                     << 1;
    QTest::newRow("already deleted") << "DELETE FROM pupils WHERE id = 2" << "another program has already deleted it"
                                     << 0;
}

void TestKavDataConcurrency::concurrentDeletes()
{
    QFETCH(QString, otherSql);
    QFETCH(QString, refusal);
    QFETCH(int, bensLeft);

    KavTest::SchoolDatabase school;
    Table pupils(school);
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());
    QVERIFY(set.setRecNo(1));
    KavTest::OtherProgram other(school.path());
    QVERIFY(other.exec(otherSql));
    QVERIFY(!set.Delete());
    QVERIFY2(set.LastError().contains(refusal), qPrintable(set.LastError()));
    QVERIFY2(set.LastError().contains(QStringLiteral("Refresh")), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE id = 2")).toInt(), bensLeft);
    // Nothing hidden: the record stays shown until the records are read again.
    QCOMPARE(set.RecordCount(), 4);
    QCOMPARE(pupils.text("name"), QStringLiteral("Ben"));
    QVERIFY(set.Refresh());
    QCOMPARE(set.RecordCount(), 3 + bensLeft);
    if (bensLeft) {
        QVERIFY2(set.Delete(), qPrintable(set.LastError()));
        QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM pupils WHERE id = 2")).toInt(), 0);
    }
}

void TestKavDataConcurrency::tableWithoutKeyEditsOneOfTwoEqualRecords()
{
    KavTest::SchoolDatabase school;
    run(school, QStringLiteral("CREATE TABLE marks (pupil TEXT, mark INTEGER, sheet BLOB)"));
    run(school, QStringLiteral("INSERT INTO marks VALUES ('Ann', 5, x'00'), ('Ann', 5, x'00'), ('Bob', 7, NULL)"));
    Table marks(school, QStringLiteral("marks"), QString());
    TkavDataSet &set = marks.set;
    QVERIFY(set.Open());
    QVERIFY(set.CanModify());
    QVERIFY(set.ReadOnlyReason().isEmpty());

    QVERIFY(set.setRecNo(1));
    QVERIFY(set.Edit());
    QVERIFY(marks.write("mark", 6));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM marks WHERE pupil = 'Ann' AND mark = 5")).toInt(), 1);
    QCOMPARE(school.readBack(QStringLiteral("SELECT COUNT(*) FROM marks WHERE pupil = 'Ann' AND mark = 6")).toInt(), 1);
    QCOMPARE(set.RecNo(), 1);
    QCOMPARE(marks.text("mark"), QStringLiteral("6"));

    QVERIFY(set.First());
    QVERIFY2(set.Delete(), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT group_concat(mark) FROM marks WHERE pupil = 'Ann'")).toString(),
             QStringLiteral("6"));
    QCOMPARE(set.RecordCount(), 2);

    // Without a key too, a record another program changed is not overwritten.
    KavTest::OtherProgram other(school.path());
    QVERIFY(other.exec(QStringLiteral("UPDATE marks SET mark = 8 WHERE pupil = 'Bob'")));
    QVERIFY(set.Last());
    QVERIFY(set.Edit());
    QVERIFY(marks.write("mark", 9));
    QVERIFY(!set.Post());
    QVERIFY2(set.LastError().contains(QStringLiteral("another program changed it")), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT mark FROM marks WHERE pupil = 'Bob'")).toInt(), 8);
}

void TestKavDataConcurrency::tablesWithoutAWayToNameARecordAreReadOnly_data()
{
    QTest::addColumn<QStringList>("schema");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("writable");

    QTest::newRow("view") << QStringList{QStringLiteral("CREATE VIEW good AS SELECT name, score FROM pupils WHERE score > 50")}
                          << "good" << false;
    QTest::newRow("every rowid name taken")
        << QStringList{QStringLiteral("CREATE TABLE odd (rowid TEXT, _rowid_ TEXT, oid TEXT)"),
                       QStringLiteral("INSERT INTO odd VALUES ('a', 'b', 'c')")}
        << "odd" << false;
    QTest::newRow("key without rowid")
        << QStringList{QStringLiteral("CREATE TABLE codes (code TEXT PRIMARY KEY, label TEXT) WITHOUT ROWID"),
                       QStringLiteral("INSERT INTO codes VALUES ('a', 'Apple'), ('b', 'Bee')")}
        << "codes" << true;
}

void TestKavDataConcurrency::tablesWithoutAWayToNameARecordAreReadOnly()
{
    QFETCH(QStringList, schema);
    QFETCH(QString, table);
    QFETCH(bool, writable);

    KavTest::SchoolDatabase school;
    for (const QString &statement : schema)
        run(school, statement);
    Table records(school, table, QString());
    TkavDataSet &set = records.set;
    QVERIFY2(set.Open(), qPrintable(set.LastError()));
    QVERIFY(set.RecordCount() > 0);
    QCOMPARE(set.CanModify(), writable);
    QCOMPARE(set.ReadOnlyReason().isEmpty(), writable);
    QCOMPARE(bool(set.model()->flags(set.model()->index(0, 1)) & Qt::ItemIsEditable), writable);
    QCOMPARE(set.Edit(), writable);
    if (!writable) {
        QVERIFY2(set.LastError().contains(QStringLiteral("can only be read")), qPrintable(set.LastError()));
        QVERIFY(set.LastError().contains(table));
        QVERIFY(!set.Delete());
        QVERIFY(!set.Insert());
        return;
    }
    QVERIFY(set.Field(1).setValue(QStringLiteral("Ant")));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(school.readBack(QStringLiteral("SELECT label FROM codes WHERE code = 'a'")).toString(), QStringLiteral("Ant"));
}

void TestKavDataConcurrency::postReadsBackOnlyTheRecordItWrote()
{
    KavTest::SchoolDatabase school;
    run(school, QStringLiteral("CREATE TRIGGER checked AFTER UPDATE OF score ON pupils BEGIN"
                               " UPDATE pupils SET notes = 'checked' WHERE id = NEW.id; END"));
    Table pupils(school);
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());
    QVERIFY(set.setRecNo(1));
    KavTest::OtherProgram other(school.path());
    QVERIFY(other.exec(QStringLiteral("INSERT INTO pupils (name) VALUES ('Zed')")));
    QVERIFY(other.exec(QStringLiteral("UPDATE pupils SET notes = 'by the other' WHERE id = 3")));

    QVERIFY(set.Edit());
    QVERIFY(pupils.write("score", 64));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    // The record written shows what the database made of it ...
    QCOMPARE(pupils.text("notes"), QStringLiteral("checked"));
    QCOMPARE(pupils.text("score"), QStringLiteral("64"));
    // ... and the others are as they were read, until they are read again.
    QCOMPARE(set.RecordCount(), 4);
    QVERIFY(set.Next());
    QCOMPARE(pupils.text("notes"), QStringLiteral("Likes sums"));
    QVERIFY(set.Refresh());
    QCOMPARE(pupils.text("notes"), QStringLiteral("by the other"));
    QCOMPARE(set.RecordCount(), 5);
}

void TestKavDataConcurrency::postedRecordTakesItsPlaceInTheOrder()
{
    KavTest::SchoolDatabase school;
    Table pupils(school, QStringLiteral("pupils"), QStringLiteral("name"));
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());

    // A new record goes where its name puts it.
    QVERIFY(set.Insert());
    QVERIFY(pupils.write("name", QStringLiteral("Bea")));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(set.RecNo(), 1);
    QCOMPARE(pupils.text("name"), QStringLiteral("Bea"));
    QCOMPARE(idsOf(set), (QList<int>{1, 5, 2, 3, 4}));

    // A renamed one moves; the data set stays on it.
    QVERIFY(set.First());
    QVERIFY(set.Edit());
    QVERIFY(pupils.write("name", QStringLiteral("Eve")));
    QVERIFY(set.Post());
    QCOMPARE(set.RecNo(), 4);
    QCOMPARE(pupils.text("name"), QStringLiteral("Eve"));
    QCOMPARE(idsOf(set), (QList<int>{5, 2, 3, 4, 1}));

    // One that no longer meets the filter leaves the data set, which stands on the next one.
    TkavDataSet &filtered = pupils.set;
    filtered.Close();
    filtered.setFilter(QStringLiteral("class_id = 1"));
    QVERIFY(filtered.Open());
    QCOMPARE(idsOf(filtered), (QList<int>{4, 1})); // Dev, Eve
    QVERIFY(filtered.Edit());
    QVERIFY(pupils.write("class_id", 2));
    QVERIFY(filtered.Post());
    QCOMPARE(idsOf(filtered), (QList<int>{1}));
    QCOMPARE(pupils.text("name"), QStringLiteral("Eve"));
    QCOMPARE(school.readBack(QStringLiteral("SELECT class_id FROM pupils WHERE name = 'Dev'")).toInt(), 2);
}

void TestKavDataConcurrency::writesWhileReadingIsUnfinishedMakeNoDuplicates_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<QString>("name");

    QTest::newRow("new record sorted last") << "name" << true << "Zz";
    QTest::newRow("new record sorted first") << "name" << true << "A";
    QTest::newRow("renamed to sort last") << "name" << false << "Zz";
    QTest::newRow("new record, no order") << "" << true << "Zz";
}

void TestKavDataConcurrency::writesWhileReadingIsUnfinishedMakeNoDuplicates()
{
    QFETCH(QString, order);
    QFETCH(bool, inserting);
    QFETCH(QString, name);

    KavTest::SchoolDatabase school;
    run(school, QStringLiteral("CREATE INDEX pupils_by_name ON pupils (name)"));
    run(school, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)"
                               " INSERT INTO pupils (name) SELECT printf('P%04d', i) FROM n"));
    Table pupils(school, QStringLiteral("pupils"), order);
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());
    QVERIFY(set.model()->canFetchMore({})); // part of the records read so far
    QVERIFY(set.setRecNo(10));
    QVERIFY(inserting ? set.Insert() : set.Edit());
    QVERIFY(pupils.write("name", name));
    QVERIFY2(set.Post(), qPrintable(set.LastError()));
    QCOMPARE(pupils.text("name"), name);

    const QList<int> ids = idsOf(set);
    QCOMPARE(ids.size(), inserting ? 605 : 604);
    QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), ids.size());
    if (!order.isEmpty()) {
        const int column = set.FieldIndex(QStringLiteral("name"));
        for (int row = 1; row < ids.size(); ++row) {
            QVERIFY(set.model()->index(row - 1, column).data().toString()
                    <= set.model()->index(row, column).data().toString());
        }
    }
}

void TestKavDataConcurrency::everyRecordReadLetsOthersWrite()
{
    KavTest::SchoolDatabase school;
    run(school, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)"
                               " INSERT INTO pupils (name) SELECT printf('P%04d', i) FROM n"));
    Table pupils(school);
    TkavDataSet &set = pupils.set;
    QVERIFY(set.Open());
    QVERIFY(set.Last());
    // Once the last record is read, the data set no longer holds the file for reading, and
    // another program can write it; what was read is still shown.
    KavTest::OtherProgram other(school.path());
    QVERIFY(other.exec(QStringLiteral("UPDATE pupils SET notes = 'written' WHERE id = 1")));
    QCOMPARE(set.RecordCount(), 604);
    QCOMPARE(pupils.text("name"), QStringLiteral("P0600"));
    QVERIFY(set.First());
    QCOMPARE(pupils.text("name"), QStringLiteral("Anna"));
}

QTEST_MAIN(TestKavDataConcurrency)
#include "tst_kavdataconcurrency.moc"
