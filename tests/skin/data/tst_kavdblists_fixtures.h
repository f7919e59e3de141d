#pragma once

// Fixtures of the data-aware list and grid tests: the school database opened through data sets
// and sources, and catchers for the error box and the beep.

#include "KAVDataSet.h"
#include "KAVEdit.h"
#include "KAVErrorBox.h"
#include "KAVMetrics.h"
#include "kav_db_fixture.h"

#include <QList>
#include <QMetaEnum>
#include <QStringList>

namespace fixtures {

// The pupils (ordered by id: Anna, Ben, Chloe, Dev) and the classes (1A, 2B, 3C), each opened
// behind a data source.
struct School {
    School()
    {
        for (TkavDataSet *set : {&pupils, &classes}) {
            set->setDatabase(db.database());
            set->setIndexFieldNames(QStringLiteral("id"));
            set->setLockTimeout(50);
        }
        pupils.setTableName(QStringLiteral("pupils"));
        classes.setTableName(QStringLiteral("classes"));
        if (!pupils.Open() || !classes.Open())
            qFatal("cannot open the school: %s %s", qPrintable(pupils.LastError()),
                   qPrintable(classes.LastError()));
        pupilSource.setDataSet(&pupils);
        classSource.setDataSet(&classes);
    }

    QVariant stored(const QString &column, const QString &pupil) const
    {
        return db.readBack(QStringLiteral("SELECT %1 FROM pupils WHERE name = '%2'").arg(column, pupil));
    }

    KavTest::SchoolDatabase db;
    TkavDataSet pupils;
    TkavDataSet classes;
    TkavDataSource pupilSource;
    TkavDataSource classSource;
};

// Takes the error box's messages instead of showing them.
class ErrorCatcher {
public:
    ErrorCatcher()
        : m_previous(Kav::KavSetErrorBoxHandler([this](QWidget *, const QString &text) { messages << text; }))
    {
    }
    ~ErrorCatcher() { Kav::KavSetErrorBoxHandler(m_previous); }
    ErrorCatcher(const ErrorCatcher &) = delete;
    ErrorCatcher &operator=(const ErrorCatcher &) = delete;

    QStringList messages;

private:
    Kav::ErrorBoxHandler m_previous;
};

// Counts the beeps instead of sounding them.
class BeepCounter {
public:
    BeepCounter() : m_previous(Kav::KavSetBeepHandler([this](QWidget *) { ++count; })) {}
    ~BeepCounter() { Kav::KavSetBeepHandler(m_previous); }
    BeepCounter(const BeepCounter &) = delete;
    BeepCounter &operator=(const BeepCounter &) = delete;

    int count = 0;

private:
    Kav::BeepHandler m_previous;
};

inline QString lookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}

} // namespace fixtures
