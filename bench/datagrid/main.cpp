// The data layer and its grid against plain Qt on the same SQLite file: a TkavDataSet shown in a
// TkavDBGrid, side by side with a QSqlTableModel shown in a QTableView, both windows the same
// size. Each has a table of its own, with the same records, in the one file (else each would find
// the record it saves changed by the other), and they share one connection: each keeps the file's
// read lock while part of a large table is still unread, and on connections of their own they
// would wait for each other's writes. The two take turns in every round; the median of each is
// printed with the ratio and the goal (each operation at most 1.5 times the plain model's).
//
// Usage: bench_datagrid [ROWS] [ROUNDS] [PICTURE_MB]   (defaults 100000, 15, 50)
//
// The operations, each ending with the view painted:
//   open               data set Open / setTable + select + setModel
//   go to last         Last / fetch every row, make the last current
//   scroll             200 pages down the scroll bar from the top of a freshly read table
//   edit + save        at the last record: Edit, a field, Post / setData + submitAll, back to the
//                      record (submitAll reads the table again and the view forgets its place)
//   refresh            at the first and at the last record: Refresh / select, back to the record
//   picture table      edit + save of the first record of a 1,000-record table whose second record
//                      holds a PICTURE_MB picture
// Painting is the views' render() into an image; without QT_QPA_PLATFORM the windows are
// offscreen.

#include "KAVDBGrid.h"
#include "KAVDataSet.h"
#include "KavBenchTiming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using KavBench::median;

constexpr double Goal = 1.5;
constexpr QSize WindowSize{800, 600};
constexpr int ScrollPages = 200;
constexpr int QuickRoundsFactor = 5;
// Neither view shows the pictures: a plain view would draw 50 MB of bytes as text.
constexpr int PhotoColumn = 7;

bool exec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    std::fprintf(stderr, "bench_datagrid: %s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

QSqlDatabase openConnection(const QString &name, const QString &file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    db.open();
    return db;
}

// Two tables of the same rows records, pupils and plain_pupils (with a picture of pictureBytes in
// the second record of each, when given).
bool writeTables(const QString &file, int rows, qsizetype pictureBytes)
{
    bool ok = false;
    {
        QSqlDatabase db = openConnection(QStringLiteral("writer"), file);
        ok = db.isOpen();
        for (const QString &table : {QStringLiteral("pupils"), QStringLiteral("plain_pupils")}) {
            ok = ok
                 && exec(db, QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL,"
                                            " class_id INTEGER, score INTEGER, passed BOOLEAN, colour TEXT, notes TEXT,"
                                            " photo BLOB)")
                                 .arg(table))
                 && exec(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
                                            " INSERT INTO %2 (name, class_id, score, passed, colour, notes)"
                                            " SELECT printf('Pupil %06d', i), i % 30 + 1, i % 101, i % 2,"
                                            " CASE i % 3 WHEN 0 THEN 'Red' WHEN 1 THEN 'Green' ELSE 'Blue' END,"
                                            " 'Notes on pupil ' || i FROM n")
                                 .arg(rows)
                                 .arg(table));
            if (ok && pictureBytes > 0) {
                QSqlQuery picture(db);
                picture.prepare(QStringLiteral("UPDATE %1 SET photo = ? WHERE id = 2").arg(table));
                picture.addBindValue(QByteArray(pictureBytes, '\x5a'));
                ok = picture.exec();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    return ok;
}

// The library's side: a data set in a grid.
struct Ours {
    explicit Ours(const QSqlDatabase &db)
    {
        set.setDatabase(db);
        set.setTableName(QStringLiteral("pupils"));
        set.setIndexFieldNames(QStringLiteral("id"));
        source.setDataSet(&set);
        grid.setDataSource(&source);
        grid.resize(WindowSize);
        grid.show();
    }
    void paint() { grid.render(&canvas); }
    bool open()
    {
        const bool ok = set.Open();
        grid.setColumnHidden(PhotoColumn, true);
        paint();
        return ok;
    }
    void reopen()
    {
        set.Close();
        open();
    }
    bool editAndSave(int value)
    {
        const bool ok = set.Edit() && set.FindField(QStringLiteral("score")).setValue(value) && set.Post();
        paint();
        return ok;
    }

    TkavDataSet set;
    TkavDataSource source;
    TkavDBGrid grid;
    QImage canvas{WindowSize, QImage::Format_RGB32};
};

// Plain Qt: a table model in a table view.
struct Plain {
    explicit Plain(const QSqlDatabase &db) : database(db)
    {
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.resize(WindowSize);
        view.show();
    }
    void paint() { view.render(&canvas); }
    bool open()
    {
        auto fresh = std::make_unique<QSqlTableModel>(nullptr, database);
        fresh->setEditStrategy(QSqlTableModel::OnManualSubmit);
        fresh->setTable(QStringLiteral("plain_pupils"));
        fresh->setSort(0, Qt::AscendingOrder);
        const bool ok = fresh->select();
        view.setModel(fresh.get());
        view.setColumnHidden(PhotoColumn, true);
        model = std::move(fresh);
        view.setCurrentIndex(model->index(0, 0));
        paint();
        return ok;
    }
    void reopen()
    {
        view.setModel(nullptr);
        model.reset();
        open();
    }
    void stayOn(int row)
    {
        while (row >= model->rowCount() && model->canFetchMore())
            model->fetchMore();
        view.setCurrentIndex(model->index(row, 0));
        paint();
    }
    void goToLast()
    {
        while (model->canFetchMore())
            model->fetchMore();
        stayOn(model->rowCount() - 1);
    }
    bool editAndSave(int row, int value)
    {
        const bool ok = model->setData(model->index(row, 3), value) && model->submitAll();
        stayOn(row);
        return ok;
    }
    bool refresh(int row)
    {
        const bool ok = model->select();
        stayOn(row);
        return ok;
    }

    QSqlDatabase database;
    std::unique_ptr<QSqlTableModel> model;
    QTableView view;
    QImage canvas{WindowSize, QImage::Format_RGB32};
};

// Pages down the scroll bar, the view painted after each page (reading more rows as it nears the
// end of those read, as views do).
void scroll(QAbstractItemView &view, QImage &canvas)
{
    QScrollBar *bar = view.verticalScrollBar();
    bar->setValue(0);
    for (int page = 0; page < ScrollPages; ++page) {
        bar->setValue(bar->value() + bar->pageStep());
        view.render(&canvas);
    }
}

struct Result {
    const char *what;
    double ours;
    double plain;
};

// Runs both sides rounds times in turns, each after its untimed preparation; the medians.
Result measure(const char *what, int rounds, const std::function<void()> &prepareOurs, const std::function<void()> &ours,
               const std::function<void()> &preparePlain, const std::function<void()> &plain)
{
    std::vector<double> timesOurs, timesPlain;
    const auto timed = [](const std::function<void()> &prepare, const std::function<void()> &work) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    // Who goes first changes from round to round: neither side always finds the other's leftovers.
    for (int round = 0; round < rounds; ++round) {
        if (round % 2) {
            timesPlain.push_back(timed(preparePlain, plain));
            timesOurs.push_back(timed(prepareOurs, ours));
        } else {
            timesOurs.push_back(timed(prepareOurs, ours));
            timesPlain.push_back(timed(preparePlain, plain));
        }
    }
    return {what, median(std::move(timesOurs)), median(std::move(timesPlain))};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int rows = std::max(300, arguments.value(1).toInt() > 0 ? arguments.value(1).toInt() : 100000);
    const int rounds = std::max(1, arguments.value(2).toInt() > 0 ? arguments.value(2).toInt() : 15);
    const int pictureMb = arguments.value(3).toInt() > 0 ? arguments.value(3).toInt() : 50;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pupils.db"));
    const QString pictureFile = dir.filePath(QStringLiteral("pictures.db"));
    if (!dir.isValid() || !writeTables(file, rows, 0) || !writeTables(pictureFile, 1000, qsizetype(pictureMb) << 20)) {
        std::fprintf(stderr, "bench_datagrid: cannot write the tables in %s\n", qPrintable(dir.path()));
        return 1;
    }

    std::vector<Result> results;
    bool ok = true;
    // Tells of the first operation that fails, with the data set's reason.
    const auto require = [&ok](bool done, const char *what, const TkavDataSet &set) {
        if (!done && ok)
            std::fprintf(stderr, "bench_datagrid: %s failed: %s\n", what, qPrintable(set.LastError()));
        ok = ok && done;
    };
    int value = 0;
    {
        const QSqlDatabase db = openConnection(QStringLiteral("pupils"), file);
        Ours ours(db);
        Plain plain(db);
        const int last = rows - 1;
        // One untimed round brings the file into the page cache and the code into memory.
        require(ours.open() && plain.open(), "opening", ours.set);
        ours.set.Last();
        plain.goToLast();

        // The quick operations run more rounds: a few milliseconds are easily moved by the machine.
        const int quickRounds = QuickRoundsFactor * rounds;
        results.push_back(measure(
            "open", quickRounds, [&] { ours.set.Close(); }, [&] { require(ours.open(), "open", ours.set); },
            [&] {
                plain.view.setModel(nullptr);
                plain.model.reset();
            },
            [&] { require(plain.open(), "plain open", ours.set); }));
        results.push_back(measure(
            "go to last", rounds, [&] { ours.reopen(); },
            [&] {
                require(ours.set.Last(), "Last", ours.set);
                ours.paint();
            },
            [&] { plain.reopen(); }, [&] { plain.goToLast(); }));
        results.push_back(measure(
            "scroll 200 pages", rounds, [&] { ours.reopen(); }, [&] { scroll(ours.grid, ours.canvas); },
            [&] { plain.reopen(); }, [&] { scroll(plain.view, plain.canvas); }));
        results.push_back(measure(
            "edit + save at the last record",
            rounds, [&] { ours.set.Last(); }, [&] { require(ours.editAndSave(++value % 101), "edit + save", ours.set); },
            [&] { plain.stayOn(last); }, [&] { require(plain.editAndSave(last, ++value % 101), "plain edit + save", ours.set); }));
        results.push_back(measure(
            "refresh at the first record", quickRounds, [&] { ours.set.First(); },
            [&] {
                require(ours.set.Refresh(), "Refresh", ours.set);
                ours.paint();
            },
            [&] { plain.stayOn(0); }, [&] { require(plain.refresh(0), "plain refresh", ours.set); }));
        results.push_back(measure(
            "refresh at the last record", rounds, [&] { ours.set.Last(); },
            [&] {
                require(ours.set.Refresh(), "Refresh", ours.set);
                ours.paint();
            },
            [&] { plain.stayOn(last); }, [&] { require(plain.refresh(last), "plain refresh", ours.set); }));
        require(ours.set.RecNo() == last && plain.view.currentIndex().row() == last, "staying on the last record",
                ours.set);
    }
    {
        const QSqlDatabase db = openConnection(QStringLiteral("pictures"), pictureFile);
        Ours ours(db);
        Plain plain(db);
        require(ours.open() && plain.open(), "opening the picture table", ours.set);
        results.push_back(measure(
            "edit + save, picture in the table", rounds, {}, [&] { require(ours.editAndSave(++value % 101), "edit + save", ours.set); }, {},
            [&] { require(plain.editAndSave(0, ++value % 101), "plain edit + save", ours.set); }));
    }
    if (!ok)
        return 1;

    std::printf("%d records (the picture table: 1000 records, a %d MB picture), median of %d rounds (%d for open and "
                "the refresh at the first record)\n",
                rows, pictureMb, rounds, QuickRoundsFactor * rounds);
    std::printf("%-36s %12s %12s %8s  %s\n", "", "data set", "plain model", "ratio", "goal");
    bool allMet = true;
    for (const Result &result : results) {
        const double ratio = result.ours / result.plain;
        const bool met = ratio <= Goal;
        allMet &= met;
        std::printf("%-36s %9.3f ms %9.3f ms %7.2fx  <= %.1fx %s\n", result.what, result.ours, result.plain, ratio,
                    Goal, met ? "met" : "MISSED");
    }
    std::printf("goal (each operation at most %.1f x the plain model): %s\n", Goal, allMet ? "met" : "missed");
    return 0;
}
